// SPDX-License-Identifier: MIT
// @ts-check
// What a student's answer to a·x² + b·x + c = 0 is worth: right, right to the
// decimals given, one root of two, or wrong; and for a wrong one, the classic
// mistake it most likely comes from. Each mistake is worked out on the
// equation's own coefficients, as the pair of roots (p ± √d)/q it gives, and
// the answer is matched against it exactly, or for decimals by correct
// rounding. What is said is a key of the page's texts with its values, never
// the text itself, and it names the step to look at, never the answer.
//
// The mistakes' pairs are integers, so that matching stays cheap at the
// extremes: two exact roots are a pair's when their sum is 2p/q and their
// product (p² − d)/q², and a decimal is a root's correct rounding when the
// root lies in an interval, which squares of integers decide. No DOM.
import {
  add,
  equal,
  format,
  imaginaryPart,
  multiply,
  quadraticSurd,
  rationalNumber,
  realPart,
  signOf,
  subtract,
} from "./answer.mjs";
import { gcd, isqrt, polynomial, quadraticForms, signed } from "./exact.mjs";

/** @typedef {import("./answer.mjs").Answer} Answer */
/** @typedef {import("./answer.mjs").Exact} Exact */
/** @typedef {import("./answer.mjs").Root} Root */
/** @typedef {{ key: string, values: Record<string, string> }} Said a text of the page, by key, with its values */
/**
 * What an answer is worth: "right", "partial" (one root of two, decimals cut
 * off or rounded wrong, or no real root where complex roots are wanted),
 * "wrong", or "unread"; what to say of it, then what else to say: a note, or
 * the other mistakes that give the same answer, less likely ones.
 * @typedef {Said & { verdict: "right" | "partial" | "wrong" | "unread", also: Said[] }} Judgement
 */
/**
 * complex: the class works in complex numbers, so that where Δ < 0 the
 * complex roots are wanted; decimalPoint: the point of decimals in the texts.
 * @typedef {{ complex?: boolean, decimalPoint?: string }} Options
 */
/** @typedef {{ a: bigint, b: bigint, c: bigint, delta: bigint }} Equation */
/**
 * The roots (p ± √d)/q, q > 0, √d being i·√−d for d < 0; one root for d = 0.
 * @typedef {{ p: bigint, d: bigint, q: bigint }} Pair
 */
/** @typedef {[bigint, bigint]} Ratio a numerator and a positive denominator */

const MINUS = "\u2212";

// --- What each mistake gives ----------------------------------------------------

/** @type {(p: bigint, d: bigint, q: bigint) => Pair} */
const pair = (p, d, q) => (q < 0n ? { p: -p, d, q: -q } : { p, d, q });

/**
 * Two rational roots r and s as a pair: ((r + s) ± √(s − r)²)/2.
 * @param {Ratio} r
 * @param {Ratio} s
 */
function rationalPair([rn, rd], [sn, sd]) {
  const [x, y] = [rn * sd, sn * rd];
  return pair(x + y, (y - x) ** 2n, 2n * rd * sd);
}

/** @type {(e: Equation) => Pair} */
const rightPair = ({ a, b, delta }) => pair(-b, delta, 2n * a);

/** @type {(x: Pair, y: Pair) => boolean} the same roots: the same sum and product */
const samePair = (x, y) => x.p * y.q === y.p * x.q && (x.p * x.p - x.d) * y.q * y.q === (y.p * y.p - y.d) * x.q * x.q;

/** @type {(x: Pair) => Exact[]} */
const rootsOfPair = ({ p, d, q }) =>
  d === 0n ? [rationalNumber(p, q)] : [-1n, 1n].map((k) => quadraticSurd(p, k, d, q));

/**
 * What students take for Δ = b² − 4ac, most often first.
 * @type {[string, (e: Equation) => bigint | null][]}
 */
const DISCRIMINANTS = [
  // (−5)² taken as −25, as a calculator does with −5²: b² made negative.
  ["mistakeDeltaNegativeSquare", ({ a, b, c }) => (b === 0n ? null : -b * b - 4n * a * c)],
  // The sign of the product 4ac lost, or c's sign dropped.
  ["mistakeDeltaPlus", ({ a, b, c }) => b * b + 4n * a * c],
  ["mistakeDeltaNoFour", ({ a, b, c }) => b * b - a * c],
  ["mistakeDeltaNotSquared", ({ a, b, c }) => b - 4n * a * c],
  ["mistakeDeltaDoubled", ({ a, b, c }) => 2n * b - 4n * a * c],
  // 4ac − b², or the minus of a negative Δ dropped under the root: √−24 taken as √24.
  ["mistakeDeltaSign", ({ delta }) => -delta],
  ["mistakeDeltaNoA", ({ b, c }) => b * b - 4n * c],
  // Completing the square without adding (b/2a)² to both sides.
  ["mistakeDeltaNoB", ({ a, c }) => -4n * a * c],
];

/**
 * The roots in which each factor vx − u = 0 gives x = u: the numerators of
 * the rational roots, each in lowest terms; null where every root is whole.
 * @param {Equation} e
 * @returns {Pair | null}
 */
function numeratorsOf({ a, b, delta }) {
  const root = delta < 0n ? -1n : isqrt(delta);
  if (root * root !== delta) return null;
  const [r, s] = [-b - root, -b + root].map((n) => [n / gcd(n, 2n * a), (2n * a) / gcd(n, 2n * a)]);
  if (r[1] * r[1] === 1n && s[1] * s[1] === 1n) return null;
  return rationalPair([r[0] * (r[1] < 0n ? -1n : 1n), 1n], [s[0] * (s[1] < 0n ? -1n : 1n), 1n]);
}

/**
 * Each classic mistake with the roots it gives on this equation, most common
 * first; those that give the right roots on it are left out, as they can't
 * be told from them.
 * @param {Equation} e
 * @returns {{ key: string, pair: Pair }[]}
 */
function mistakesOf(e) {
  const { a, b, c, delta } = e;
  /** @type {[string, Pair | null][]} */
  const all = [
    // −b taken as b, or the factors' signs turned, (x − 2)(x − 3) = 0 read as x = −2.
    ["mistakeSigns", pair(b, delta, 2n * a)],
    // The fraction bar under √Δ only: −b ± √Δ/(2a).
    ["mistakeSurdOnlyOver2a", pair(-2n * a * b, delta, 2n * a)],
    // The fraction bar under −b only, or a term left out of cancelling: −b/(2a) ± √Δ.
    ["mistakeBOnlyOver2a", pair(-b, 4n * a * a * delta, 2n * a)],
    // Over 2: the 2a taken as 2, or the a·c method's roots not divided by a.
    ["mistakeOver2", pair(-b, delta, 2n)],
    ["mistakeOverA", pair(-b, delta, a)],
    ...DISCRIMINANTS.map(([key, of]) => {
      const value = of(e);
      return /** @type {[string, Pair | null]} */ ([key, value === null ? null : pair(-b, value, 2n * a)]);
    }),
    ["mistakeNoSquareRoot", pair(-b, delta * delta, 2n * a)],
    // a and c swapped, or vx − u = 0 solved as x = v/u: the reciprocals.
    ["mistakeSwapAC", c === 0n ? null : pair(-b, delta, 2n * c)],
    ["mistakeFactorLead", numeratorsOf(e)],
    // x(ax + b) = −c read as x = −c or ax + b = −c.
    ["mistakeZeroProduct", c === 0n ? null : rationalPair([-c, 1n], a < 0n ? [c + b, -a] : [-c - b, a])],
    // Completing the square without dividing by a first: (x + b/2)² = b²/4 − c.
    ["mistakeNotDividedByA", pair(-b, b * b - 4n * c, 2n)],
    // Completing the square with b/a in the bracket, not its half: (x + b/a)² = b²/a² − c/a.
    ["mistakeNotHalved", pair(-b, b * b - a * c, a)],
    // The reduced Δ′ = (b/2)² − ac in the whole formula, or Δ in the reduced one.
    ["mistakeMixedDelta", pair(-2n * b, delta, 4n * a)],
    ["mistakeMixedDelta", pair(-b, 4n * delta, 2n * a)],
  ];
  const right = rightPair(e);
  return all.flatMap(([key, found]) => (found === null || samePair(found, right) ? [] : [{ key, pair: found }]));
}

// --- Matching -------------------------------------------------------------------

/**
 * A real exact number as a ratio, or null where it has a radical.
 * @param {Exact} x
 * @returns {Ratio | null}
 */
function ratioOf(x) {
  if (x.length === 0) return [0n, 1n];
  return x.length === 1 && x[0].m === 1n ? [x[0].q.n, x[0].q.d] : null;
}

/**
 * Whether x is n/d, d > 0, by a product of integers rather than a reduction.
 * @param {Exact} x
 * @param {bigint} n
 * @param {bigint} d
 */
function isRatio(x, n, d) {
  const ratio = ratioOf(x);
  return ratio !== null && !x.some((t) => t.i) && ratio[0] * d === n * ratio[1];
}

/**
 * Whether the ratio v lies within 1/(2·10^digits), or within 1/10^digits
 * where whole, of (p + k·√d)/q, for d ≥ 0 and q > 0: k·√d lies in the
 * interval [C − W, C + W]/D around v·q − p, and for each end, √d against it
 * is a sign, or else a comparison of squares.
 * @param {Ratio} v
 * @param {bigint} p
 * @param {bigint} k −1, 0 or 1
 * @param {bigint} d ≥ 0
 * @param {bigint} q > 0
 * @param {number} digits
 * @param {boolean} whole
 */
function near([n, v], p, k, d, q, digits, whole) {
  const scale = 10n ** BigInt(digits) * (whole ? 1n : 2n);
  const [centre, width, den] = [(n * q - p * v) * scale, q * v, v * scale];
  const [low, high] = k < 0n ? [-centre - width, -centre + width] : [centre - width, centre + width];
  if (k === 0n || d === 0n) return low <= 0n && high >= 0n;
  const square = d * den * den;
  return (low <= 0n || square >= low * low) && high >= 0n && square <= high * high;
}

/**
 * Whether a root read is the pair's root with k = −1 or 1 before √d:
 * exactly, or for a decimal, that root rounded correctly to its digits, ties
 * either way, in each part (within one unit of the last digit where loose).
 * @param {Root} root
 * @param {Pair} pair
 * @param {bigint} k
 * @param {boolean} [loose]
 */
function fitsRoot(root, { p, d, q }, k, loose = false) {
  const [re, im] = [ratioOf(realPart(root.value)), ratioOf(imaginaryPart(root.value))];
  if (root.decimals === null || re === null || im === null) {
    const number = quadraticSurd(p, k, d, q);
    return equal(root.value, number) || (root.decimals !== null && nearExactly(root, number, loose ? 1 : 2));
  }
  const [digits, real] = [root.decimals, d >= 0n];
  return (
    near(re, p, real ? k : 0n, real ? d : 0n, q, digits, loose) &&
    near(im, 0n, real ? 0n : k, real ? 0n : -d, real ? 1n : q, digits, loose)
  );
}

/**
 * Whether the parts of a root read with radicals lie within 1/(n·10^digits) of
 * the number's: by the signs of their differences, where each has one
 * radical at most.
 * @param {Root} root
 * @param {Exact} number
 * @param {number} parts 2 for half a unit, 1 for a whole one
 */
function nearExactly(root, number, parts) {
  const bound = rationalNumber(1n, BigInt(parts) * 10n ** BigInt(root.decimals ?? 0));
  const difference = subtract(root.value, number);
  return [realPart(difference), imaginaryPart(difference)].every((x) => {
    const [below, above] = [signOf(subtract(x, bound)), signOf(add(x, bound))];
    return below !== null && above !== null && below <= 0 && above >= 0;
  });
}

/**
 * The sum and product of two exact roots read, which two roots are the
 * pair's exactly when they match.
 * @typedef {{ sum: Exact, product: Exact } | null} Symmetric
 */

/**
 * Whether the roots read, each once, are the pair's roots, in either order.
 * @param {Root[]} roots
 * @param {Symmetric} symmetric of two exact roots read, else null
 * @param {Pair} pair
 * @param {(root: Root, pair: Pair, k: bigint) => boolean} [match]
 */
function fitsPair(roots, symmetric, pair, match = fitsRoot) {
  if (roots.length !== (pair.d === 0n ? 1 : 2)) return false;
  if (roots.length === 1) return match(roots[0], pair, 0n);
  if (symmetric && match === fitsRoot) {
    const { p, d, q } = pair;
    return isRatio(symmetric.sum, 2n * p, q) && isRatio(symmetric.product, p * p - d, q * q);
  }
  const [r, s] = roots;
  return (match(r, pair, -1n) && match(s, pair, 1n)) || (match(r, pair, 1n) && match(s, pair, -1n));
}

/**
 * Whether one root read is either root of the pair: for an exact one,
 * whether it solves q²x² − 2pq·x + p² − d = 0, whose terms share its
 * radicals.
 * @param {Root} root
 * @param {Pair} pair
 */
function isRootOf(root, { p, d, q }) {
  if (root.decimals !== null) return [-1n, 1n].some((k) => fitsRoot(root, { p, d, q }, k));
  const ratio = ratioOf(root.value);
  if (ratio && !root.value.some((t) => t.i)) {
    const [n, m] = ratio;
    return q * q * n * n - 2n * p * q * n * m + (p * p - d) * m * m === 0n;
  }
  const x = root.value;
  const terms = add(multiply(multiply(x, x), rationalNumber(q * q)), multiply(x, rationalNumber(-2n * p * q)));
  return equal(terms, rationalNumber(d - p * p));
}

/**
 * Whether a decimal root is the real root cut off after its digits, toward
 * 0, and not rounded.
 * @param {Root} root
 * @param {Pair} pair
 * @param {bigint} k
 */
function cutsOff(root, pair, k) {
  if (fitsRoot(root, pair, k)) return true;
  if (root.decimals === null || pair.d < 0n || imaginaryPart(root.value).length > 0) return false;
  const number = quadraticSurd(pair.p, k, pair.d, pair.q);
  const [gap, unit] = [subtract(number, root.value), rationalNumber(1n, 10n ** BigInt(root.decimals))];
  const positive = (signOf(number) ?? 0) >= 0;
  const [low, high] = positive ? [signOf(gap), signOf(subtract(gap, unit))] : [signOf(add(gap, unit)), signOf(gap)];
  return low !== null && high !== null && (positive ? low >= 0 && high < 0 : low > 0 && high <= 0);
}

// --- Texts ----------------------------------------------------------------------

/**
 * A root as the page writes it: a decimal with its digits, else exact.
 * @param {Root} root
 * @param {string} point
 */
function shown(root, point) {
  const [value, decimals] = [ratioOf(root.value), root.decimals];
  if (decimals === null || value === null || imaginaryPart(root.value).length > 0) return format(root.value);
  const scaled = value[0] * 10n ** BigInt(decimals);
  if (scaled % value[1] !== 0n) return format(root.value);
  const units = scaled / value[1];
  const digits = String(units < 0n ? -units : units).padStart(decimals + 1, "0");
  const text = decimals === 0 ? digits : `${digits.slice(0, -decimals)}${point}${digits.slice(-decimals)}`;
  return units < 0n ? MINUS + text : text;
}

/**
 * @param {Judgement["verdict"]} verdict
 * @param {string} key
 * @param {Record<string, string>} values
 * @param {Said[]} [also]
 * @returns {Judgement}
 */
const judgement = (verdict, key, values, also = []) => ({ verdict, key, values, also });

/** @param {Judgement} j @returns {Said[]} a judgement as texts said after another */
const besides = (j) => (j.verdict === "right" ? [] : [{ key: j.key, values: j.values }, ...j.also]);

/**
 * @param {string[]} keys the mistakes that give the answer, most likely first
 * @param {Record<string, string>} values
 */
const mistake = (keys, values) =>
  judgement(
    "wrong",
    keys[0],
    values,
    keys.slice(1).map((key) => ({ key, values })),
  );

const UNREAD = {
  unexpected: "answerUnread",
  end: "answerUnfinished",
  zero: "answerDividesByZero",
  radical: "answerRadical",
  divisor: "answerDivisor",
  empty: "answerEmpty",
};

// --- Judging --------------------------------------------------------------------

/**
 * The discriminant given, against Δ and what students take for it, and the
 * reduced discriminant Δ′ = (b/2)² − ac = Δ/4 of some textbooks.
 * @param {Root} given
 * @param {Equation} e
 * @param {Record<string, string>} values
 * @param {string} point
 * @returns {Judgement}
 */
function judgeDiscriminant(given, e, values, point) {
  const said = { ...values, delta: shown(given, point) };
  const right = rationalNumber(e.delta);
  if (equal(given.value, right)) return judgement("right", "answerDeltaRight", said);
  const taken = [
    ...DISCRIMINANTS.flatMap(([key, of]) => {
      const value = of(e);
      return value === null ? [] : [{ key, number: rationalNumber(value) }];
    }),
    { key: "mistakeDeltaReduced", number: rationalNumber(e.delta, 4n) },
  ].find(({ number }) => !equal(number, right) && equal(given.value, number));
  return judgement("wrong", "answerDeltaWrong", said, taken ? [{ key: taken.key, values: said }] : []);
}

/**
 * "No real root", against Δ: right where Δ < 0 for a class in real numbers,
 * with its complex roots then said.
 * @param {Judgement | null} delta the discriminant given with it, judged
 * @param {Equation} e
 * @param {Options} options
 * @param {Record<string, string>} values
 * @returns {Judgement}
 */
function judgeClaim(delta, e, options, values) {
  if (e.delta >= 0n) return judgement("wrong", "answerNoRealWrong", values, delta ? besides(delta) : []);
  if (options.complex) return judgement("partial", "answerComplexWanted", values);
  const roots = quadraticForms(e.a, e.b, e.c).both ?? "";
  return judgement("right", "answerRightNoReal", values, [{ key: "answerComplexRoots", values: { ...values, roots } }]);
}

/**
 * Roots right to the digits given: a note that the exact form is wanted
 * where a root is not given exactly, a radical or a fraction.
 * @param {Root[]} roots
 * @param {Pair} right
 * @param {Record<string, string>} values
 * @returns {Judgement}
 */
function rightInDecimals(roots, right, values) {
  const loose = rootsOfPair(right).filter((number) => !roots.some((root) => equal(root.value, number)));
  if (loose.length === 0) return judgement("right", right.d === 0n ? "answerRightDouble" : "answerRight", values);
  const digits = String(Math.min(...roots.map((root) => root.decimals ?? Infinity)));
  const radical = loose.some((number) => number.some((t) => t.m !== 1n));
  const note = { key: radical ? "answerExactRadical" : "answerExactFraction", values };
  return judgement("right", "answerRightDecimals", { ...values, digits }, [note]);
}

/**
 * Roots that are the right ones but for their last digits.
 * @param {Root[]} roots
 * @param {Pair} right
 * @param {Record<string, string>} values
 */
function nearlyRight(roots, right, values) {
  if (fitsPair(roots, null, right, cutsOff)) return judgement("partial", "mistakeCutOff", values);
  const loose = (/** @type {Root} */ root, /** @type {Pair} */ pair, /** @type {bigint} */ k) =>
    fitsRoot(root, pair, k, true);
  return fitsPair(roots, null, right, loose) ? judgement("partial", "mistakeRounding", values) : null;
}

/**
 * A single root given and right, of two: a word on where the other went.
 * @param {Root} root
 * @param {Equation} e
 * @param {Record<string, string>} values
 */
function oneOfTwo(root, e, values) {
  const zero = e.c === 0n && root.value.length > 0;
  return judgement(
    "partial",
    zero ? "answerOneRootZero" : e.b === 0n ? "answerOneRootSquare" : "answerOneRoot",
    values,
  );
}

/**
 * Two exact roots whose product is c/a but not their sum −b/a, or the other
 * way round (Vieta): the step with b, or the one with Δ, is wrong.
 * @param {Symmetric} symmetric
 * @param {Equation} e
 * @param {Record<string, string>} values
 * @returns {Judgement | null}
 */
function sumOrProduct(symmetric, e, values) {
  if (!symmetric) return null;
  const sum = equal(symmetric.sum, rationalNumber(-e.b, e.a));
  const product = equal(symmetric.product, rationalNumber(e.c, e.a));
  return sum === product ? null : judgement("wrong", product ? "mistakeProductOnly" : "mistakeSumOnly", values);
}

/**
 * The roots given against the equation's, then against each mistake's.
 * @param {Root[]} roots distinct, one or two
 * @param {Judgement | null} delta the discriminant given with them, judged
 * @param {Equation} e
 * @param {Record<string, string>} values
 * @param {string} point
 * @returns {Judgement}
 */
function judgeRoots(roots, delta, e, values, point) {
  const right = rightPair(e);
  const [first, second] = roots;
  const symmetric =
    second && first.decimals === null && second.decimals === null
      ? { sum: add(first.value, second.value), product: multiply(first.value, second.value) }
      : null;
  if (fitsPair(roots, symmetric, right)) {
    const j = rightInDecimals(roots, right, values);
    return delta ? { ...j, also: [...j.also, ...besides(delta)] } : j;
  }
  const near = roots.some((root) => root.decimals !== null) ? nearlyRight(roots, right, values) : null;
  if (near) return near;
  const mistakes = mistakesOf(e);
  const matched = mistakes.filter((m) => fitsPair(roots, symmetric, m.pair)).map((m) => m.key);
  if (matched.length > 0) return mistake([...new Set(matched)], values);
  if (delta && delta.verdict !== "right") return delta;
  const good = roots.filter((root) => isRootOf(root, right));
  if (good.length === 1 && second) {
    const wrong = good[0] === first ? second : first;
    return judgement("partial", "answerOneOfTwo", {
      ...values,
      right: shown(good[0], point),
      wrong: shown(wrong, point),
    });
  }
  const one = { ...values, root: shown(first, point) };
  if (good.length === 1) return oneOfTwo(first, e, one);
  if (!second) {
    const partly = mistakes.filter((m) => isRootOf(first, m.pair)).map((m) => m.key);
    return partly.length > 0 ? mistake([...new Set(partly)], one) : judgement("wrong", "answerWrongOne", one);
  }
  return sumOrProduct(symmetric, e, values) ?? judgement("wrong", "answerWrong", values);
}

/**
 * The roots read, each once: a double root may be given twice.
 * @param {Root[]} roots
 */
const distinct = (roots) => roots.filter((root, k) => roots.findIndex((other) => equal(other.value, root.value)) === k);

/**
 * What an answer to a·x² + b·x + c = 0 is worth, and what to say of it.
 * @param {Answer} answer as readAnswer reads it
 * @param {bigint} a ≠ 0
 * @param {bigint} b
 * @param {bigint} c
 * @param {Options} [options]
 * @returns {Judgement}
 */
export function judge(answer, a, b, c, options = {}) {
  const e = { a, b, c, delta: b * b - 4n * a * c };
  const values = { equation: `${polynomial(a, b, c)} = 0`, a: signed(a), b: signed(b), c: signed(c) };
  const point = options.decimalPoint ?? ".";
  if (answer.unread) {
    const { at, end, reason } = answer.unread;
    return judgement("unread", UNREAD[reason], { ...values, text: answer.text.slice(at, end) });
  }
  const delta = answer.discriminant ? judgeDiscriminant(answer.discriminant, e, values, point) : null;
  const roots = distinct(answer.roots);
  if (roots.length > 2) return judgement("wrong", "answerTooMany", { ...values, count: String(roots.length) });
  if (roots.length > 0) return judgeRoots(roots, delta, e, values, point);
  if (answer.noRealRoot) return judgeClaim(delta, e, options, values);
  return delta ?? judgement("unread", "answerEmpty", { ...values, text: answer.text });
}
