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
    const centre = -B / (2 * A),
      top = Number(-delta) / (4 * A);
    const reach = Math.sqrt(Math.abs(top / A)) || 1;
    const roots = delta >= 0n ? [-1, 1].map((sign) => (sign * Math.sqrt(Number(delta))) / (2 * A)) : [];
    return { centre, half: 1.5 * reach, y: (t) => A * t * t + top, roots, vertex: top };
  }
  if (b !== 0n) {
    const root = Number(-c) / B;
    return { centre: root, half: Math.max(1, Math.abs(root)), y: (t) => B * t, roots: [0] };
  }
  return { centre: 0, half: 5, y: () => C, roots: [] };
}

function niceStep(span) {
  const size = 10 ** Math.floor(Math.log10(span / 4)),
    ratio = span / 4 / size;
  return (ratio < 1.5 ? 1 : ratio < 3.5 ? 2 : ratio < 7.5 ? 5 : 10) * size;
}

const local = (text, point) => text.replace(/-/g, "−").replace(".", point);

function tickLabel(value, step, point) {
  if (Math.abs(value) < step / 2) return "0";
  const digits = Math.floor(Math.log10(Math.abs(value))) - Math.floor(Math.log10(step));
  return local(
    Math.abs(value) >= 1e7
      ? value.toExponential(Math.max(0, digits)).replace("e+", "e")
      : value.toFixed(Math.max(0, -Math.floor(Math.log10(step)))),
    point,
  );
}

// A coordinate short enough for a phone's screen; the text alternative and
// the reading give every digit.
function short(value, point) {
  if (Math.abs(value) >= 1e7 || (value !== 0 && Math.abs(value) < 1e-3))
    return local(
      value
        .toPrecision(3)
        .replace(/\.?0+e/, "e")
        .replace("e+", "e"),
      point,
    );
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
  const ts = Array.from({ length: 121 }, (_, i) => left + (i * (right - left)) / 120);
  const ys = [0, ...ts.map(y)];
  let low = Math.min(...ys),
    high = Math.max(...ys);
  if (low === high) [low, high] = [low - 1, high + 1];
  // Room beyond the curve for the marks' labels.
  [low, high] = [low - (high - low) / 6, high + (high - low) / 6];
  const X = (t) => BOX.left + ((t - left) / (right - left)) * (BOX.right - BOX.left);
  const Y = (v) => BOX.top + ((high - v) / (high - low)) * (BOX.bottom - BOX.top);
  const parts = [
    { tag: "rect", class: "frame", x: BOX.left, y: BOX.top, width: BOX.right - BOX.left, height: BOX.bottom - BOX.top },
  ];
  const labels = [];
  const xStep = niceStep(right - left),
    yStep = niceStep(high - low);
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
  const axis = -centre,
    axisInside = axis >= left && axis <= right;
  if (axisInside) parts.push({ tag: "line", class: "axis", x1: X(axis), x2: X(axis), y1: BOX.top, y2: BOX.bottom });
  if (a !== 0n) parts.push({ tag: "line", class: "symmetry", x1: X(0), x2: X(0), y1: BOX.top, y2: BOX.bottom });
  parts.push({
    tag: "polyline",
    class: "curve",
    points: ts.map((t) => `${X(t).toFixed(1)},${Y(y(t)).toFixed(1)}`).join(" "),
  });

  const up = a > 0n || (a === 0n && b >= 0n) ? 1 : -1;
  const marks = [];
  const names = roots.length === 2 && roots[0] !== roots[1] ? ["x1", "x2"] : roots.length ? ["x"] : [];
  names.forEach((name, i) => marks.push({ name, t: roots[i], v: 0, side: a === 0n ? 1 : Math.sign(roots[i]) || 1 }));
  if (vertex !== undefined && !(names.length === 1 && vertex === 0))
    marks.push({ name: say("vertex"), t: 0, v: vertex, side: 1 });
  if (axisInside && !marks.some((mark) => mark.t === axis))
    marks.push({ name: "", t: axis, v: y(axis), side: axis < 0 ? -1 : 1, intercept: true });
  const dots = marks.map((mark) => [X(mark.t), Y(mark.v)]);
  for (const [cx, cy] of dots) parts.push({ tag: "circle", class: "point", cx, cy, r: 4 });
  const lines = { across: Y(0), down: axisInside ? X(axis) : undefined };
  const curve = ts.map((t) => [X(t), Y(y(t))]);
  const placed = [];
  marks.forEach((mark, i) => {
    const coordinates = `(${short(centre + mark.t, point)}${point === "," ? ";" : ","} ${mark.intercept ? String(c).replace("-", "−") : short(mark.v, point)})`;
    const text = mark.intercept ? coordinates : `${mark.name} ${coordinates}`;
    const box = place(dots[i], text.length, mark.side, up, { dots, lines, curve, placed });
    placed.push(box);
    const x = { start: box.left, end: box.right, middle: (box.left + box.right) / 2 }[box.anchor];
    labels.push({ x, y: (box.top + box.bottom) / 2, anchor: box.anchor, text, kind: "mark" });
  });
  return { parts, labels };
}

// A label's box beside its dot, the first of the places around it that meets
// no dot, axis, stretch of the curve or other label, and stays in the frame:
// beyond the dot from where the curve opens, first on its own side. Where
// none is free, the first, moved into the frame. About 8.5 units a
// character, as a phone shows them.
function place([x, y], characters, side, up, obstacles) {
  const width = 8.5 * characters + 4,
    height = 22;
  const boxes = [];
  for (const rise of [17, -17, 37, -37, 57, -57, 77, -77]) {
    const middle = y + rise * up;
    for (const anchor of side > 0 ? ["start", "end", "middle"] : ["end", "start", "middle"]) {
      const left = anchor === "start" ? x + 6 : anchor === "end" ? x - 6 - width : x - width / 2;
      boxes.push({ left, right: left + width, top: middle - height / 2, bottom: middle + height / 2, anchor });
    }
  }
  // Where the curve leaves no room, a place that meets no dot or label.
  return (
    boxes.find((box) => fits(box, obstacles)) ??
    boxes.find((box) => fits(box, { ...obstacles, curve: [], lines: {} })) ??
    within(boxes[0])
  );
}

function within(box) {
  const shift = Math.max(BOX.left - box.left, Math.min(0, BOX.right - box.right));
  return { ...box, left: box.left + shift, right: box.right + shift };
}

function fits(box, { dots, lines, curve, placed }) {
  const inside = ([x, y], margin = 0) =>
    x >= box.left - margin && x <= box.right + margin && y >= box.top - margin && y <= box.bottom + margin;
  if (box.left < BOX.left || box.right > BOX.right || box.top < BOX.top || box.bottom > BOX.bottom) return false;
  if (dots.some((dot) => inside(dot, 4))) return false;
  if (lines.across >= box.top && lines.across <= box.bottom) return false;
  if (lines.down >= box.left && lines.down <= box.right) return false;
  // Each stretch of the curve, at a few points between its ends.
  for (let i = 1; i < curve.length; i++) {
    for (const f of [0, 0.25, 0.5, 0.75]) {
      if (
        inside(
          [
            curve[i - 1][0] + f * (curve[i][0] - curve[i - 1][0]),
            curve[i - 1][1] + f * (curve[i][1] - curve[i - 1][1]),
          ],
          1,
        )
      )
        return false;
    }
  }
  return !placed.some(
    (other) => other.left < box.right && box.left < other.right && other.top < box.bottom && box.top < other.bottom,
  );
}
