// SPDX-License-Identifier: MIT
// @ts-check
// The graph of a reading, as shapes and labels in the graph's own units: the
// page turns them into SVG and HTML. Everything is drawn about a centre, the
// parabola's vertex or the line's root, from exact values converted once, so
// that a window 10⁹ wide or 10⁻⁹ high keeps its precision in doubles, and a
// parabola with no real root never touches the x-axis. No DOM.
import { powerOfTen } from "./exact.mjs";
import { pair } from "./say.mjs";

/** @typedef {import("./say.mjs").Say} Say */

/**
 * A shape of the graph: the SVG element's tag and its attributes.
 * @typedef {{ tag: "rect", class: string, x: number, y: number, width: number, height: number }
 *   | { tag: "line", class: string, x1: number, x2: number, y1: number, y2: number }
 *   | { tag: "circle", class: string, cx: number, cy: number, r: number }
 *   | { tag: "polyline", class: string, points: string }} Part
 */

/**
 * A text over the graph, a tick's value or a mark's name and point, set with
 * its anchor ("start": its left end, "end": its right end, "middle") at x and
 * its middle at y. Width and height are the box the model leaves it; a mark's
 * label gives the centre of its own dot.
 * @typedef {{ x: number, y: number, anchor: "start" | "middle" | "end", text: string, kind: "tick" | "mark",
 *   width: number, height: number, dot?: { x: number, y: number } }} Label
 */

/** @typedef {{ left: number, right: number, top: number, bottom: number }} Box */
/** @typedef {[number, number]} Point */
/** A marked point: its label's text, t = x − centre, its y, and the side its label prefers. */
/** @typedef {{ text: string, t: number, v: number, side: number }} Mark */
/** A tick's step, m·10^e with m 1, 2 or 5. */
/** @typedef {{ m: number, e: number }} Step */

/** The graph's width, in its own units. */
export const WIDTH = 400;
/** The graph's height, in its own units. */
export const HEIGHT = 300;
/** @type {Box} */
const BOX = { left: 64, right: WIDTH - 12, top: 12, bottom: HEIGHT - 30 };
const RADIUS = 4;
// From a dot's centre to its label: the dot, and 2 units of clear space.
const GAP = RADIUS + 2;
// A label's box as a phone some 360 px wide shows it (the graph about 330 px
// wide, its text 13 px, 1.5 lines high): about 8.5 units a character, which
// holds digits even on a 320 px phone, twice that a wide one, and 24 units.
const CHARACTER = 8.5;
const LINE = 24;
const WIDE = /[\p{Script=Han}\p{Script=Hiragana}\p{Script=Katakana}\p{Script=Hangul}]/u;

const minus = (/** @type {string} */ text) => text.replace(/-/g, "−");
// A number as the language writes it, a power of ten as textbooks do.
const local = (/** @type {string} */ text, /** @type {string} */ point) =>
  minus(text)
    .replace(".", point)
    .replace(/e\+?(−?\d+)$/, (_, exponent) => powerOfTen(Number(exponent.replace("−", "-"))));

/** @param {string} text */
function widthOf(text) {
  let characters = 0;
  // Marks of direction take no room.
  for (const character of text) characters += /\p{Cf}/u.test(character) ? 0 : WIDE.test(character) ? 2 : 1;
  return CHARACTER * characters + 4;
}

// A coordinate short enough for a phone's screen; the text alternative and
// the reading give every digit.
/** @param {number} value @param {string} point */
function short(value, point) {
  if (Math.abs(value) >= 1e7 || (value !== 0 && Math.abs(value) < 1e-3))
    return local(value.toExponential(2).replace(/\.?0+e/, "e"), point);
  return local(String(Number(value.toFixed(3))), point);
}

/**
 * A parabola's curve about its vertex, and its marks: the roots, and the
 * vertex where it is no root.
 * @param {Say} say @param {bigint} a @param {bigint} b @param {bigint} c @param {string} point
 */
function parabola(say, a, b, c, point) {
  // Each bigint below 2³² in size, so exact as a number.
  const [A, B, C] = [Number(a), Number(b), Number(c)];
  const delta = b * b - 4n * a * c;
  // Below 2⁶⁵ in size: rounded once.
  const D = Number(delta);
  const centre = -B / (2 * A),
    top = -D / (4 * A);
  const reach = Math.sqrt(Math.abs(D)) / Math.abs(2 * A) || 1;
  /** @type {Mark[]} */
  const marks = [];
  const at = (/** @type {number} */ x) => pair(say, short(x, point), "0");
  if (delta > 0n) {
    const root = Math.sqrt(D);
    // One root from the sum that cancels nothing, the other from their
    // product, c/a, so that a root near 0 keeps its digits.
    const far = -(B + (B < 0 ? -root : root)) / 2;
    const [x1, x2] = B >= 0 ? [far / A, C / far] : [C / far, far / A];
    const t = root / (2 * A);
    marks.push({ text: `x₁ ${at(x1)}`, t: -t, v: 0, side: Math.sign(-t) });
    marks.push({ text: `x₂ ${at(x2)}`, t, v: 0, side: Math.sign(t) });
  }
  if (delta === 0n) marks.push({ text: `x ${at(centre)}`, t: 0, v: 0, side: 1 });
  else
    marks.push({
      text: `${say("vertex")} ${pair(say, short(centre, point), short(top, point))}`,
      t: 0,
      v: top,
      side: 1,
    });
  return { centre, half: 1.5 * reach, y: (/** @type {number} */ t) => A * t * t + top, marks, up: Math.sign(A) };
}

/**
 * The curve as y(t), t = x − centre; the half-width of the window that holds
 * the roots and the vertex; the marks; and which way the curve opens (1: up).
 * @param {Say} say @param {bigint} a @param {bigint} b @param {bigint} c @param {string} point
 * @returns {{ centre: number, half: number, y: (t: number) => number, marks: Mark[], up: number }}
 */
function shape(say, a, b, c, point) {
  if (a !== 0n) return parabola(say, a, b, c, point);
  // Each below 2³² in size, so exact as a number.
  const [B, C] = [Number(b), Number(c)];
  if (b === 0n) return { centre: 0, half: 5, y: () => C, marks: [], up: 1 };
  const root = -C / B;
  const marks = [{ text: `x ${pair(say, short(root, point), "0")}`, t: 0, v: 0, side: 1 }];
  return { centre: root, half: Math.max(1, Math.abs(root)), y: (t) => B * t, marks, up: Math.sign(B) };
}

// Whether the y-intercept is marked already: the origin is a root, or the
// vertex lies on the y-axis.
const interceptMarked = (/** @type {bigint} */ a, /** @type {bigint} */ b, /** @type {bigint} */ c) =>
  (c === 0n && (a !== 0n || b !== 0n)) || (a !== 0n && b === 0n);

/** @param {number} centre @param {number} half @param {number} room */
function windowOf(centre, half, room) {
  let [low, high] = [-half, half];
  const axis = -centre;
  // The y-axis, and so the y-intercept, when it lies within five half-widths
  // of the centre: the window then grows to hold it.
  if (Math.abs(axis) <= 5 * half) [low, high] = [Math.min(low, axis), Math.max(high, axis)];
  return [low - room * (high - low), high + room * (high - low)];
}

// The share of the window's width left beyond what it holds, on each side:
// more where the labels find no place, as when the y-axis, far off, crowds
// the roots and the vertex at one end.
const ROOMS = [0.1, 0.2, 0.35, 0.5, 0.75, 1];

// The heights shown: the curve's, its marks' and the x-axis, with room beyond
// the curve for the marks' labels.
/** @param {number[]} values */
function heights(values) {
  let [low, high] = [Math.min(0, ...values), Math.max(0, ...values)];
  if (low === high) [low, high] = [low - 1, high + 1];
  const room = (high - low) / 6;
  return [low - room, high + room];
}

/** @param {number} e */
const power = (e) => (e >= 0 ? 10 ** e : 1 / 10 ** -e);
/** @param {Step} step */
const sizeOf = ({ m, e }) => (e >= 0 ? m * 10 ** e : m / 10 ** -e);

/** @param {number} span @returns {Step} */
function niceStep(span) {
  const e = Math.floor(Math.log10(span / 4)),
    ratio = span / 4 / power(e);
  return ratio < 1.5 ? { m: 1, e } : ratio < 3.5 ? { m: 2, e } : ratio < 7.5 ? { m: 5, e } : { m: 1, e: e + 1 };
}

/** @param {Step} step @returns {Step} */
const coarser = ({ m, e }) => (m === 5 ? { m: 1, e: e + 1 } : { m: m === 1 ? 2 : 5, e });

/** @param {number} value @param {Step} step @param {string} point */
function tickLabel(value, step, point) {
  if (Math.abs(value) < sizeOf(step) / 2) return "0";
  if (Math.abs(value) < 1e7 && Math.abs(value) >= 1e-3) return local(value.toFixed(Math.max(0, -step.e)), point);
  const exponent = Number(value.toExponential().split("e")[1]);
  return local(value.toExponential(Math.max(0, exponent - step.e)), point);
}

/**
 * The multiples of a step about [low, high] whose place, at(value), lies
 * within [from, to], each from its own index so that they stay evenly spaced.
 * @param {Step} step @param {number} low @param {number} high @param {(value: number) => number} at
 * @param {number} from @param {number} to
 */
function multiples(step, low, high, at, from, to) {
  const size = sizeOf(step),
    first = Math.ceil(low / size) - 1;
  const values = Array.from({ length: Math.max(0, Math.floor(high / size) - first + 2) }, (_, i) => (first + i) * size);
  return values.filter((value) => at(value) >= from && at(value) <= to);
}

/**
 * The x-axis's ticks, as few as their labels need to stand apart, but two.
 * @param {number} low @param {number} high @param {(x: number) => number} at @param {string} point
 */
function xTicks(low, high, at, point) {
  const ticksOf = (/** @type {Step} */ step) =>
    multiples(step, low, high, at, BOX.left, BOX.right).map((value) => ({
      at: at(value),
      text: tickLabel(value, step, point),
    }));
  let step = niceStep(high - low),
    ticks = ticksOf(step);
  while (
    // A character's room between two labels.
    ticks.some(
      (tick, i) =>
        i > 0 && tick.at - ticks[i - 1].at < (widthOf(tick.text) + widthOf(ticks[i - 1].text)) / 2 + CHARACTER,
    )
  ) {
    const fewer = ticksOf(coarser(step));
    if (fewer.length < 2) break;
    [step, ticks] = [coarser(step), fewer];
  }
  return ticks;
}

/** @param {number} low @param {number} high @param {(y: number) => number} at @param {string} point */
function yTicks(low, high, at, point) {
  const step = niceStep(high - low);
  return multiples(step, low, high, at, BOX.top, BOX.bottom).map((value) => ({
    at: at(value),
    text: tickLabel(value, step, point),
  }));
}

/**
 * The ticks' lines and labels.
 * @param {{ at: number, text: string }[]} xs @param {{ at: number, text: string }[]} ys
 */
function ticksDrawn(xs, ys) {
  /** @type {Part[]} */
  const parts = [];
  /** @type {Label[]} */
  const labels = [];
  const tick = (/** @type {string} */ text) => ({
    text,
    kind: /** @type {const} */ ("tick"),
    width: widthOf(text),
    height: LINE,
  });
  for (const { at, text } of xs) {
    parts.push({ tag: "line", class: "frame", x1: at, x2: at, y1: BOX.bottom, y2: BOX.bottom + 5 });
    labels.push({ x: at, y: HEIGHT - 13, anchor: "middle", ...tick(text) });
  }
  for (const { at, text } of ys) {
    parts.push({ tag: "line", class: "frame", x1: BOX.left - 5, x2: BOX.left, y1: at, y2: at });
    labels.push({ x: BOX.left - 7, y: at, anchor: "end", ...tick(text) });
  }
  return { parts, labels };
}

/**
 * The graph of y = a·x² + b·x + c: its frame, ticks, axes, axis of symmetry,
 * curve and dots, and the labels of the ticks and of the marked points (the
 * roots, x₁ and x₂ or x, the vertex and the y-intercept), each written as
 * the language of say writes a point.
 * @param {Say} say
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} c
 * @returns {{ parts: Part[], labels: Label[] }}
 */
export function graph(say, a, b, c) {
  const form = shape(say, a, b, c, say("decimalPoint"));
  for (const room of ROOMS) {
    const drawn = drawing(say, a, b, c, form, room);
    if (drawn.placed) return drawn.graph;
  }
  // Where no window serves, which no graph of the tests has come to: the
  // first, each label at its first place.
  return drawing(say, a, b, c, form, ROOMS[0]).graph;
}

/**
 * The graph in a window with the given room; placed, whether its labels keep
 * their rules.
 * @param {Say} say @param {bigint} a @param {bigint} b @param {bigint} c
 * @param {ReturnType<typeof shape>} form @param {number} room
 */
function drawing(say, a, b, c, { centre, half, y, marks: pointsOfCurve, up }, room) {
  const point = say("decimalPoint");
  const [left, right] = windowOf(centre, half, room);
  const marks = [...pointsOfCurve];
  const axis = -centre,
    axisInside = axis >= left && axis <= right;
  if (axisInside && !interceptMarked(a, b, c))
    // c below 2³² in size: exact as a number.
    marks.push({ text: pair(say, "0", minus(String(c))), t: axis, v: Number(c), side: axis < 0 ? -1 : 1 });
  const ts = Array.from({ length: 121 }, (_, i) => left + (i * (right - left)) / 120);
  const [low, high] = heights([...ts.map(y), ...marks.map((mark) => mark.v)]);
  const X = (/** @type {number} */ t) => BOX.left + ((t - left) / (right - left)) * (BOX.right - BOX.left);
  const Y = (/** @type {number} */ v) => BOX.top + ((high - v) / (high - low)) * (BOX.bottom - BOX.top);
  const ticks = ticksDrawn(
    xTicks(centre + left, centre + right, (x) => X(x - centre), point),
    yTicks(low, high, Y, point),
  );
  const frame = { x: BOX.left, y: BOX.top, width: BOX.right - BOX.left, height: BOX.bottom - BOX.top };
  /** @type {Part[]} */
  const parts = [{ tag: "rect", class: "frame", ...frame }, ...ticks.parts];
  parts.push({ tag: "line", class: "axis", x1: BOX.left, x2: BOX.right, y1: Y(0), y2: Y(0) });
  if (axisInside) parts.push({ tag: "line", class: "axis", x1: X(axis), x2: X(axis), y1: BOX.top, y2: BOX.bottom });
  if (a !== 0n) parts.push({ tag: "line", class: "symmetry", x1: X(0), x2: X(0), y1: BOX.top, y2: BOX.bottom });
  /** @type {Point[]} */
  const curve = ts.map((t) => [X(t), Y(y(t))]);
  parts.push({
    tag: "polyline",
    class: "curve",
    points: curve.map(([x, v]) => `${x.toFixed(1)},${v.toFixed(1)}`).join(" "),
  });
  const { dots, own } = dotsOf(marks.map((mark) => [X(mark.t), Y(mark.v)]));
  for (const [cx, cy] of dots) parts.push({ tag: "circle", class: "point", cx, cy, r: RADIUS });
  const lines = { across: Y(0), down: axisInside ? X(axis) : undefined };
  const { boxes, placed } = placeLabels(marks, own, dots, up, { ...lines, curve });
  const markLabels = marks.map((mark, i) => labelOf(mark.text, boxes[i], dots[own[i]]));
  return { graph: { parts, labels: [...ticks.labels, ...markLabels] }, placed };
}

// One dot for the marks that fall within a dot's radius of each other, which
// no reader could tell apart: the first mark's.
/** @param {Point[]} points */
function dotsOf(points) {
  /** @type {Point[]} */
  const dots = [];
  const own = points.map(([x, y]) => {
    const found = dots.findIndex(([dx, dy]) => Math.hypot(dx - x, dy - y) < RADIUS);
    return found >= 0 ? found : dots.push([x, y]) - 1;
  });
  return { dots, own };
}

/** @param {string} text @param {Box} box @param {Point} dot @returns {Label} */
function labelOf(text, box, [x, y]) {
  const anchor = box.left >= x ? "start" : box.right <= x ? "end" : "middle";
  const at = { start: box.left, end: box.right, middle: (box.left + box.right) / 2 }[anchor];
  const size = { width: box.right - box.left, height: box.bottom - box.top };
  return { x: at, y: (box.top + box.bottom) / 2, anchor, text, kind: "mark", ...size, dot: { x, y } };
}

/**
 * The places for a label about its dot, in the order they are tried: beyond
 * the dot from where the curve opens, first on the mark's own side, then
 * beside it, then farther off. Over or under the dot, the label stands at
 * shares of its width, and flush with the frame or just clear of a dot's x,
 * where the nearest dot changes; beside it, likewise in height.
 * @param {Point} dot @param {number} width @param {number} side @param {number} up @param {Point[]} dots
 * @returns {Box[]}
 */
function candidates([x, y], width, side, up, dots) {
  const ends = side < 0 ? [x - GAP - width, x + GAP] : [x + GAP, x - GAP - width];
  const shares = [0.5, 0.125, 0.25, 0.375, 0.625, 0.75, 0.875].map((share) => (side < 0 ? 1 - share : share));
  const lefts = [BOX.left, BOX.right - width, ...dots.flatMap(([other]) => [other + 2, other - 2 - width])];
  const over = [...shares.map((share) => x - share * width), ...lefts.filter((left) => left >= x - width && left <= x)];
  const near = GAP + LINE / 2;
  const middles = [BOX.top, BOX.bottom - LINE, ...dots.flatMap(([, other]) => [other + 2, other - 2 - LINE])].map(
    (top) => top + LINE / 2,
  );
  const beside = [
    ...[0, 6, -6, 12, -12].map((rise) => y + rise * up),
    ...middles.filter((middle) => Math.abs(middle - y) <= near),
  ];
  const box = (/** @type {number} */ left, /** @type {number} */ middle) => ({
    left,
    right: left + width,
    top: middle - LINE / 2,
    bottom: middle + LINE / 2,
  });
  const around = (/** @type {number[]} */ rises, /** @type {number[]} */ lefts) =>
    rises.flatMap((rise) => lefts.map((left) => box(left, y + rise * up)));
  return [
    ...around([near, -near], [...ends, ...over]),
    ...beside.flatMap((middle) => ends.map((left) => box(left, middle))),
    ...around([near + 20, -near - 20, near + 40, -near - 40, near + 60, -near - 60], [...ends, ...over]),
  ];
}

/** @param {Box} box @param {Point} dot */
const distance = (box, [x, y]) =>
  Math.hypot(Math.max(box.left - x, 0, x - box.right), Math.max(box.top - y, 0, y - box.bottom));

// The rules no label breaks: in the frame, clear of every dot, and nearer its
// own dot than any other, so that a reader pairs it with its point.
/** @param {Box} box @param {number} own @param {Point[]} dots */
function allowed(box, own, dots) {
  if (box.left < BOX.left || box.right > BOX.right || box.top < BOX.top || box.bottom > BOX.bottom) return false;
  const distances = dots.map((dot) => distance(box, dot));
  return distances.every((d, i) => d > RADIUS && (i === own || distances[own] < d));
}

/** @param {Box} box @param {Box} other */
const overlap = (box, other) =>
  other.left < box.right + 2 && box.left < other.right + 2 && other.top < box.bottom + 2 && box.top < other.bottom + 2;

// Whether the segment from p to q meets the box (Liang and Barsky's clipping).
/** @param {Point} p @param {Point} q @param {Box} box */
function crosses([x, y], [qx, qy], box) {
  if (Math.max(x, qx) < box.left || Math.min(x, qx) > box.right) return false;
  if (Math.max(y, qy) < box.top || Math.min(y, qy) > box.bottom) return false;
  const [dx, dy] = [qx - x, qy - y];
  let [enter, leave] = [0, 1];
  for (const [p, q] of [
    [-dx, x - box.left],
    [dx, box.right - x],
    [-dy, y - box.top],
    [dy, box.bottom - y],
  ]) {
    if (p === 0 && q < 0) return false;
    if (p < 0) enter = Math.max(enter, q / p);
    if (p > 0) leave = Math.min(leave, q / p);
  }
  return enter <= leave;
}

/**
 * Whether a box keeps clear of the axes and the curve, by a unit.
 * @param {Box} box @param {{ across: number, down: number | undefined, curve: Point[] }} lines
 */
function clear(box, { across, down, curve }) {
  const near = { left: box.left - 1, right: box.right + 1, top: box.top - 1, bottom: box.bottom + 1 };
  if (across >= near.top && across <= near.bottom) return false;
  if (down !== undefined && down >= near.left && down <= near.right) return false;
  // The curve's points go left to right: only the stretches over the box count.
  let [low, high] = [0, curve.length - 1];
  while (low < high) {
    const middle = (low + high) >> 1;
    if (curve[middle][0] < near.left) low = middle + 1;
    else high = middle;
  }
  for (let i = Math.max(1, low); i < curve.length && curve[i - 1][0] <= near.right; i++) {
    if (crosses(curve[i - 1], curve[i], near)) return false;
  }
  return true;
}

/**
 * A box for each mark's label. The rules of allowed hold for each, and no two
 * overlap; each keeps clear of the curve and the axes too where all can,
 * else where it can.
 * @param {Mark[]} marks @param {number[]} own @param {Point[]} dots @param {number} up
 * @param {{ across: number, down: number | undefined, curve: Point[] }} lines
 */
function placeLabels(marks, own, dots, up, lines) {
  const places = marks.map((mark, i) => candidates(dots[own[i]], widthOf(mark.text), mark.side, up, dots));
  const lawful = places.map((boxes, i) => boxes.filter((box) => allowed(box, own[i], dots)));
  const free = lawful.map((boxes) => boxes.filter((box) => clear(box, lines)));
  const freeFirst = lawful.map((boxes, i) => [...free[i], ...boxes.filter((box) => !free[i].includes(box))]);
  const boxes = search(free) ?? search(freeFirst);
  if (boxes) return { boxes, placed: true };
  return { boxes: places.map((boxes, i) => lawful[i][0] ?? within(boxes[0])), placed: false };
}

/** @param {Box} box */
function within(box) {
  const shift = Math.max(BOX.left - box.left, Math.min(0, BOX.right - box.right));
  return { ...box, left: box.left + shift, right: box.right + shift };
}

/**
 * A box from each list, no two overlapping, each list tried in its order:
 * the shortest list first, and every other pruned of the boxes each choice
 * rules out. Undefined when there is none, or after 2000 tries.
 * @param {Box[][]} lists @returns {Box[] | undefined}
 */
function search(lists) {
  let tries = 2000;
  /** @param {{ index: number, boxes: Box[] }[]} rest @returns {Box[] | undefined} */
  const choose = (rest) => {
    if (!rest.length) return [];
    const [first, ...others] = rest.toSorted((p, q) => p.boxes.length - q.boxes.length);
    for (const box of first.boxes) {
      if (--tries < 0) return undefined;
      const pruned = others.map(({ index, boxes }) => ({
        index,
        boxes: boxes.filter((other) => !overlap(box, other)),
      }));
      if (pruned.some(({ boxes }) => !boxes.length)) continue;
      const chosen = choose(pruned);
      if (!chosen) continue;
      chosen[first.index] = box;
      return chosen;
    }
    return undefined;
  };
  return choose(lists.map((boxes, index) => ({ index, boxes })));
}
