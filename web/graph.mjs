// SPDX-License-Identifier: MIT
// The graph of a reading, as shapes and labels in the graph's own units: the
// page turns them into SVG and HTML. Everything is drawn about a centre, the
// parabola's vertex or the line's root, from exact values converted once, so
// that a window 10⁹ wide or 10⁻⁹ high keeps its precision in doubles, and a
// parabola with no real root never touches the x-axis. No DOM.
export const WIDTH = 400;
export const HEIGHT = 300;
const BOX = { left: 64, right: WIDTH - 12, top: 12, bottom: HEIGHT - 30 };

// The curve as y(t), t = x − centre, and the window of t that holds the
// roots, the vertex and, when it is near, the y-axis.
function shape(a, b, c) {
  const [A, B, C] = [a, b, c].map(Number);
  if (a !== 0n) {
    const delta = b * b - 4n * a * c;
    const centre = -B / (2 * A), top = Number(-delta) / (4 * A);
    const reach = Math.sqrt(Math.abs(top / A)) || 1;
    const roots = delta >= 0n ? [-1, 1].map(sign => sign * Math.sqrt(Number(delta)) / (2 * A)) : [];
    return { centre, half: 1.5 * reach, y: t => A * t * t + top, roots, vertex: top };
  }
  if (b !== 0n) {
    const root = Number(-c) / B;
    return { centre: root, half: Math.max(1, Math.abs(root)), y: t => B * t, roots: [0] };
  }
  return { centre: 0, half: 5, y: () => C, roots: [] };
}

function niceStep(span) {
  const size = 10 ** Math.floor(Math.log10(span / 4)), ratio = span / 4 / size;
  return (ratio < 1.5 ? 1 : ratio < 3.5 ? 2 : ratio < 7.5 ? 5 : 10) * size;
}

const local = (text, point) => text.replace(/^-/, "−").replace(".", point);

function tickLabel(value, step, point) {
  if (Math.abs(value) < step / 2) return "0";
  const digits = Math.floor(Math.log10(Math.abs(value))) - Math.floor(Math.log10(step));
  return local(Math.abs(value) >= 1e7 ? value.toExponential(Math.max(0, digits)).replace("e+", "e")
    : value.toFixed(Math.max(0, -Math.floor(Math.log10(step)))), point);
}

// A coordinate short enough for a phone's screen; the text alternative and
// the reading give every digit.
export function short(value, point) {
  if (Math.abs(value) >= 1e7 || (value !== 0 && Math.abs(value) < 1e-3)) return local(value.toPrecision(3).replace(/\.?0+e/, "e").replace("e+", "e"), point);
  return local(String(Number(value.toFixed(3))), point);
}

function windowOf(centre, half) {
  let [low, high] = [-half, half];
  const axis = -centre;
  // The y-axis, and so the y-intercept, when it lies within twice the
  // window's width: the window then grows to hold it.
  if (Math.abs(axis) <= 5 * half) [low, high] = [Math.min(low, axis), Math.max(high, axis)];
  const room = (high - low) / 10;
  return [low - room, high + room];
}

export function graph(say, a, b, c, point = ".") {
  const { centre, half, y, roots, vertex } = shape(a, b, c);
  const [left, right] = windowOf(centre, half);
  const ts = Array.from({ length: 121 }, (_, i) => left + i * (right - left) / 120);
  const ys = [0, ...ts.map(y)];
  let low = Math.min(...ys), high = Math.max(...ys);
  if (low === high) [low, high] = [low - 1, high + 1];
  // Room beyond the curve for the marks' labels.
  [low, high] = [low - (high - low) / 6, high + (high - low) / 6];
  const X = t => BOX.left + (t - left) / (right - left) * (BOX.right - BOX.left);
  const Y = v => BOX.top + (high - v) / (high - low) * (BOX.bottom - BOX.top);
  const parts = [{ tag: "rect", class: "frame", x: BOX.left, y: BOX.top, width: BOX.right - BOX.left, height: BOX.bottom - BOX.top }];
  const labels = [];
  const xStep = niceStep(right - left), yStep = niceStep(high - low);
  for (let tick = Math.ceil((centre + left) / xStep) * xStep; tick <= centre + right; tick += xStep) {
    const at = X(tick - centre);
    parts.push({ tag: "line", class: "frame", x1: at, x2: at, y1: BOX.bottom, y2: BOX.bottom + 5 });
    labels.push({ x: at, y: HEIGHT - 13, anchor: "middle", text: tickLabel(tick, xStep, point), kind: "tick" });
  }
  for (let tick = Math.ceil(low / yStep) * yStep; tick <= high; tick += yStep) {
    parts.push({ tag: "line", class: "frame", x1: BOX.left - 5, x2: BOX.left, y1: Y(tick), y2: Y(tick) });
    labels.push({ x: BOX.left - 7, y: Y(tick), anchor: "end", text: tickLabel(tick, yStep, point), kind: "tick" });
  }
  parts.push({ tag: "line", class: "axis", x1: BOX.left, x2: BOX.right, y1: Y(0), y2: Y(0) });
  const axis = -centre, axisInside = axis >= left && axis <= right;
  if (axisInside) parts.push({ tag: "line", class: "axis", x1: X(axis), x2: X(axis), y1: BOX.top, y2: BOX.bottom });
  if (a !== 0n) parts.push({ tag: "line", class: "symmetry", x1: X(0), x2: X(0), y1: BOX.top, y2: BOX.bottom });
  parts.push({ tag: "polyline", class: "curve", points: ts.map(t => `${X(t).toFixed(1)},${Y(y(t)).toFixed(1)}`).join(" ") });

  // Each mark's label goes where the curve is not: below the axis and away
  // from the other root where the parabola opens upwards, and beyond the vertex.
  const up = a > 0n || (a === 0n && b >= 0n) ? 1 : -1;
  const marks = [];
  const names = roots.length === 2 && roots[0] !== roots[1] ? ["x1", "x2"] : roots.length ? ["x"] : [];
  names.forEach((name, i) => marks.push({ name, t: roots[i], v: 0, side: a === 0n ? 1 : Math.sign(roots[i]) || 1, below: up }));
  if (vertex !== undefined && !(names.length === 1 && vertex === 0)) marks.push({ name: say("vertex"), t: 0, v: vertex, side: 1, below: up });
  if (axisInside && !marks.some(mark => mark.t === axis)) marks.push({ name: "y", t: axis, v: y(axis), side: axis < 0 ? -1 : 1, below: up, intercept: true });
  for (const mark of marks) {
    const at = X(mark.t), level = Y(mark.v);
    // A vertex near the axis has its label on the axis's other side,
    // between the roots, where the curve is not.
    const near = !mark.intercept && mark.t === 0 && names.length === 2 && Math.abs(level - Y(0)) < 24;
    const coordinates = `(${short(centre + mark.t, point)}${point === "," ? ";" : ","} ${mark.intercept ? String(c).replace("-", "−") : short(mark.v, point)})`;
    parts.push({ tag: "circle", class: "point", cx: at, cy: level, r: 4 });
    const text = mark.intercept ? coordinates : `${mark.name} ${coordinates}`;
    // About 9 units a character on a phone: a label that would leave the
    // graph on its side goes to the other, or is centred.
    const width = 9 * text.length, fitsRight = at + 6 + width <= WIDTH, fitsLeft = at - 6 - width >= 0;
    const toRight = mark.side > 0 || near ? fitsRight || !fitsLeft : !fitsLeft;
    const x = fitsRight || fitsLeft ? at + (toRight ? 6 : -6) : Math.min(Math.max(at, width / 2), WIDTH - width / 2);
    const anchor = fitsRight || fitsLeft ? (toRight ? "start" : "end") : "middle";
    labels.push({ x, y: near ? Y(0) - 14 * mark.below : level + 14 * mark.below, anchor, text, kind: "mark" });
  }
  return { parts, labels };
}
