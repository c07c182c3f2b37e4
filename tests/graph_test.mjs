// SPDX-License-Identifier: MIT
// The graph's model in Node: the texts of its labels, as each language writes
// a point, and on a seeded sweep of coefficients what every graph keeps: its
// ticks, its dots where the roots, the vertex and the y-intercept are, each
// label in the frame and nearest its own dot, and a curve with no real root
// clear of the x-axis.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { graph } from "../web/graph.mjs";
import { sayer } from "../web/say.mjs";

const LANGUAGES = ["en", "fr", "de", "es", "pt", "zh", "ar"];
const catalogue = (language) =>
  JSON.parse(readFileSync(new URL(`../web/texts/${language}.json`, import.meta.url), "utf8"));
const says = Object.fromEntries(LANGUAGES.map((language) => [language, sayer(catalogue(language))]));
const plain = (text) => text.replaceAll("\u00a0", " ").replace(/[\u2060\u2066-\u2069]/g, "");
const drawn = (language, a, b, c) => graph(says[language], BigInt(a), BigInt(b), BigInt(c));
const texts = (labels, pick) => labels.filter(pick).map((label) => plain(label.text));

// prettier-ignore
const MARKS = [ // language, a, b, c, and the marks' labels
  ["en", 1, -5, 6, ["x₁ (2, 0)", "x₂ (3, 0)", "vertex (2.5, −0.25)", "(0, 6)"]],
  ["en", 1, 2, 1, ["x (−1, 0)", "(0, 1)"]],
  ["en", -1, 0, 2, ["x₁ (1.414, 0)", "x₂ (−1.414, 0)", "vertex (0, 2)"]],
  ["en", -1, 0, 4, ["x₁ (2, 0)", "x₂ (−2, 0)", "vertex (0, 4)"]],
  ["en", 0, 2, 4, ["x (−2, 0)", "(0, 4)"]],
  ["en", 0, 0, 7, ["(0, 7)"]],
  ["en", 0, 0, 0, ["(0, 0)"]],
  ["en", 3, 0, 0, ["x (0, 0)"]],
  ["en", 1, 1534028681, -455521473, ["x₁ (−1.53·10⁹, 0)", "x₂ (0.297, 0)", "vertex (−7.67·10⁸, −5.88·10¹⁷)", "(0, −455521473)"]],
  ["en", 1, 2147483647, 1, ["x₁ (−2.15·10⁹, 0)", "x₂ (−4.66·10⁻¹⁰, 0)", "vertex (−1.07·10⁹, −1.15·10¹⁸)", "(0, 1)"]],
  ["en", 0, 10000, -1, ["x (1·10⁻⁴, 0)", "(0, −1)"]],
  ["fr", 1, -5, 6, ["x₁ (2 ; 0)", "x₂ (3 ; 0)", "sommet (2,5 ; −0,25)", "(0 ; 6)"]],
  ["de", 1, -5, 6, ["x₁ (2 | 0)", "x₂ (3 | 0)", "Scheitel (2,5 | −0,25)", "(0 | 6)"]],
];

test("the marks' labels, each point as its language writes it", () => {
  for (const [language, a, b, c, expected] of MARKS)
    assert.deepEqual(
      texts(drawn(language, a, b, c).labels, (label) => label.kind === "mark"),
      expected,
      `${a} ${b} ${c}`,
    );
});

// prettier-ignore
const TICKS = [ // language, a, b, c, and the ticks' labels, x then y
  ["en", 1, -5, 6, "0 1 2 3", "0 2 4 6 8"],
  ["fr", 0, 10000, -1, "−1,0 −0,5 0 0,5 1,0", "−10000 0 10000"],
  ["en", 1, 1534028681, -455521473, "−2·10⁹ −1·10⁹ 0", "−5·10¹⁷ 0 5·10¹⁷ 1.0·10¹⁸ 1.5·10¹⁸"],
  ["de", 2147441941, 92681, 1, "−2,1580·10⁻⁵ −2,1579·10⁻⁵", "0 5·10⁻¹⁰ 1,0·10⁻⁹ 1,5·10⁻⁹"],
];

test("the ticks' labels", () => {
  for (const [language, a, b, c, xs, ys] of TICKS) {
    const { labels } = drawn(language, a, b, c);
    const ticks = (anchor) => texts(labels, (label) => label.kind === "tick" && label.anchor === anchor).join(" ");
    assert.deepEqual([ticks("middle"), ticks("end")], [xs, ys], `${a} ${b} ${c}`);
  }
});

// xorshift32: the same sets on every run, and a failing one replayed by its seed.
function numbers(seed) {
  let state = seed >>> 0 || 1;
  return (low, high) => {
    state ^= state << 13;
    state ^= state >>> 17;
    state = (state ^ (state << 5)) >>> 0;
    return BigInt(low) + (BigInt(state) * (BigInt(high) - BigInt(low) + 1n)) / 2n ** 32n;
  };
}

const [MIN, MAX] = [-(2n ** 31n), 2n ** 31n - 1n];
const larger = (x, y) => (x > y ? x : y);
// Each kind of set, [a, b, c], from the draws n(low, high).
const KINDS = {
  small: (n) => [n(-20, 20), n(-20, 20), n(-20, 20)],
  any: (n) => [n(MIN, MAX), n(MIN, MAX), n(MIN, MAX)],
  edges: (n) => [0, 0, 0].map(() => (n(0, 1) ? MIN + n(0, 999) : MAX - n(0, 999))),
  line: (n) => [0n, n(MIN, MAX), n(MIN, MAX)],
  noB: (n) => [n(MIN, MAX), 0n, n(-1000, 1000)],
  // k(px + q)²: Δ = 0.
  double: (n) => {
    const [p, q] = [n(1, 300), n(-300, 300)];
    const k = n(1, MAX / [p * p, 2n * p * q, -2n * p * q, q * q].reduce(larger)) * (n(0, 1) ? 1n : -1n);
    return [k * p * p, 2n * k * p * q, k * q * q];
  },
  // Δ just below or above 0 for a near 2³¹: a window 10⁻⁹ wide or high.
  tiny: (n) => {
    const [b, c, flip] = [n(1000, 92681), n(1, 4), n(0, 1) ? 1n : -1n];
    return [flip * ((b * b) / (4n * c) + n(0, 1)), b * (n(0, 1) ? 1n : -1n), flip * c];
  },
};

function* sweep(seed, each) {
  const n = numbers(seed);
  for (const [kind, draw] of Object.entries(KINDS)) for (let i = 0; i < each; i++) yield [kind, ...draw(n)];
}

// A number as the graph writes it, with its power of ten as 1.5·10¹⁸.
const valueOf = (text, say) =>
  Number(
    plain(text)
      .replace(
        /·10([⁻]?[⁰¹²³⁴⁵⁶⁷⁸⁹]+)$/,
        (_, power) => `e${[...power].map((c) => (c === "⁻" ? "-" : "⁰¹²³⁴⁵⁶⁷⁸⁹".indexOf(c))).join("")}`,
      )
      .replaceAll("−", "-")
      .replace(say("decimalPoint"), "."),
  );
const boxOf = ({ x, y, anchor, width, height }) => {
  const left = { start: x, middle: x - width / 2, end: x - width }[anchor];
  return { left, right: left + width, top: y - height / 2, bottom: y + height / 2 };
};
const distance = (box, [x, y]) =>
  Math.hypot(Math.max(box.left - x, 0, x - box.right), Math.max(box.top - y, 0, y - box.bottom));
const close = (x, y, within) => Math.abs(x - y) <= within;

// The ticks' places, evenly spaced, in the frame, with values evenly spaced
// too and rising the given way; the map from a value to its place they give.
function scale(ticks, key, inFrame, way, say) {
  const [at, values] = [ticks.map((tick) => tick[key]), ticks.map((tick) => valueOf(tick.text, say))];
  assert.ok(ticks.length >= 2 && at.every(inFrame), "ticks in the frame");
  for (let i = 2; i < ticks.length; i++) {
    assert.ok(close(at[i] - at[i - 1], at[1] - at[0], 1e-6), "ticks evenly spaced");
    assert.ok(close(values[i] - values[i - 1], values[1] - values[0], 1e-6 * (values[1] - values[0])), "by value");
  }
  const [first, last] = [0, ticks.length - 1];
  assert.ok(values[last] > values[first] && Math.sign(at[last] - at[first]) === way, "ticks in order");
  return (value) => at[first] + ((value - values[first]) / (values[last] - values[first])) * (at[last] - at[first]);
}

// Where the marks must be: the roots, the vertex of a parabola with Δ ≠ 0, and
// the y-intercept where the y-axis is in the window, unless a root or the
// vertex is it.
function expectedMarks(a, b, c, hasAxis) {
  const [A, B, C, delta] = [a, b, c, b * b - 4n * a * c].map(Number);
  const [x, spread] = [-B / (2 * A), Math.sqrt(Math.abs(delta)) / (2 * A)];
  const marks =
    a === 0n
      ? b === 0n
        ? {}
        : { "x ": [-C / B, 0] }
      : delta === 0
        ? { "x ": [x, 0] }
        : { vertex: [x, -delta / (4 * A)] };
  if (a !== 0n && delta > 0) Object.assign(marks, { "x₁ ": [x - spread, 0], "x₂ ": [x + spread, 0] });
  if (hasAxis && !(c === 0n && (a !== 0n || b !== 0n)) && !(a !== 0n && b === 0n)) marks.intercept = [0, C];
  return marks;
}

const nameOf = (text, say) =>
  text.startsWith(say("vertex")) ? "vertex" : (text.match(/^x[₁₂]? /)?.[0] ?? "intercept");

function check(language, a, b, c) {
  const say = says[language],
    { parts, labels } = graph(say, a, b, c);
  const frame = parts.find((part) => part.tag === "rect");
  const inFrame = (x, y = frame.y) =>
    x >= frame.x && x <= frame.x + frame.width && y >= frame.y && y <= frame.y + frame.height;
  const ticks = (anchor) => labels.filter((label) => label.kind === "tick" && label.anchor === anchor);
  const [xs, ys] = [ticks("middle"), ticks("end")];
  const X = scale(xs, "x", (x) => inFrame(x), 1, say);
  const Y = scale(ys, "y", (y) => inFrame(frame.x, y), -1, say);
  const axes = parts.filter((part) => part.class === "axis");
  const across = axes.find((line) => line.y1 === line.y2).y1,
    down = axes.find((line) => line.x1 === line.x2);
  assert.equal(Boolean(down), inFrame(X(0)), "the y-axis drawn where it is in the window");
  assert.ok(!down || close(down.x1, X(0), 1e-3), "the y-axis at x = 0");
  assert.ok(close(across, Y(0), 1e-3) && inFrame(frame.x, across), "the x-axis at y = 0, in the frame");

  const marks = labels.filter((label) => label.kind === "mark");
  const expected = expectedMarks(a, b, c, inFrame(X(0)));
  const names = marks.map((mark) => nameOf(mark.text, say));
  assert.deepEqual(names.toSorted(), Object.keys(expected).sort(), "the marks");
  marks.forEach(({ dot }, i) => {
    const [x, y] = expected[names[i]];
    assert.ok(Math.hypot(dot.x - X(x), dot.y - Y(y)) < 4.001 && inFrame(dot.x, dot.y), `${names[i]} at its place`);
  });

  const dots = parts.filter((part) => part.tag === "circle").map((dot) => [dot.cx, dot.cy]);
  const boxes = marks.map(boxOf);
  boxes.forEach((box, i) => {
    const [what, { dot }] = [plain(marks[i].text), marks[i]];
    assert.ok(inFrame(box.left, box.top) && inFrame(box.right, box.bottom), `${what} in the frame`);
    for (const other of dots) {
      assert.ok(distance(box, other) > 4, `${what} covers no dot`);
      const own = other[0] === dot.x && other[1] === dot.y;
      assert.ok(own || distance(box, [dot.x, dot.y]) < distance(box, other), `${what} nearest its own dot`);
    }
    const apart = (other) =>
      other.left >= box.right || box.left >= other.right || other.top >= box.bottom || box.top >= other.bottom;
    assert.ok(boxes.slice(i + 1).every(apart), `${what} overlaps no other label`);
  });

  const curve = parts.find((part) => part.tag === "polyline").points.split(" ");
  const points = curve.map((point) => point.split(",").map(Number));
  assert.ok(
    points.every(([x, y]) => inFrame(x, y)),
    "the curve in the frame",
  );
  const beyond = ([, y]) => (a > 0n ? y < across : y > across);
  assert.ok(a === 0n || b * b >= 4n * a * c || points.every(beyond), "no real root: the curve off the x-axis");
}

test("every graph of the tables keeps its rules", () => {
  for (const [language, a, b, c] of [...MARKS, ...TICKS]) check(language, BigInt(a), BigInt(b), BigInt(c));
});

test("every graph of a seeded sweep keeps its rules, and none throws", () => {
  const corners = [MIN, MIN + 1n, -1n, 0n, 1n, MAX];
  const all = corners.flatMap((a) => corners.flatMap((b) => corners.map((c) => ["corner", a, b, c])));
  [...sweep(2024, 400), ...all].forEach(([kind, a, b, c], i) => {
    const language = LANGUAGES[i % LANGUAGES.length];
    try {
      check(language, a, b, c);
    } catch (error) {
      error.message = `${kind} ${a} ${b} ${c} in ${language}: ${error.message}`;
      throw error;
    }
  });
});
