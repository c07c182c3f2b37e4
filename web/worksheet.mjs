// SPDX-License-Identifier: MIT
// @ts-check
// Equations a teacher would set, for practice and for a worksheet: of a
// chosen kind of roots, with classroom-sized whole coefficients (|a| ≤ 9,
// |b| ≤ 99, |c| ≤ 99, no factor common to all three), each with its answer.
// A sheet comes from a seed, through a generator of 32-bit integer
// arithmetic only, so that every engine makes the same sheet of the same
// seed, and its address says how to make it again. No DOM.
import { gcd, isqrt, polynomial, quadraticForms } from "./exact.mjs";
import { kindOf } from "./methods.mjs";

/** @typedef {import("./methods.mjs").Kind} Kind */
/** @typedef {(bound: number) => number} Random an integer from 0 to bound − 1, for an integer 1 ≤ bound ≤ 2^32 */
/** @typedef {{ a: bigint, b: bigint, c: bigint }} Equation a·x² + b·x + c = 0 */
/**
 * @typedef {Equation & { kind: Kind, equation: string, delta: bigint, roots: string[], factored: string | null }} Problem
 *   an equation and its answer: Δ, the roots as quadraticForms writes them (x₁ and x₂ where they are rational, the
 *   one root where it is double, both at once with ± otherwise) and the factored form where the roots are rational
 */
/** @typedef {{ count: number, seed: number, kinds: Kind[] }} SheetOptions */

/** @type {Kind[]} */
export const KINDS = ["integer", "rational", "irrational", "complex", "double"];
const MIN_COUNT = 1;
export const MAX_COUNT = 60;
const DEFAULT_COUNT = 20;
const DEFAULT_SEED = 1;
const MAX_SEED = 2 ** 32 - 1;

/**
 * A seeded generator: a Weyl sequence of step 0x9e3779b9, each state mixed
 * by the finaliser of MurmurHash3. Math.imul, the shifts and the xors are
 * exact 32-bit integer operations in every engine; the result, below 2^32,
 * and its remainder are exact in doubles. A remainder of bound ≤ 60 is
 * uneven by at most 2^-26, which no sheet shows.
 * @param {number} seed an integer from 0 to 2^32 − 1
 * @returns {Random}
 */
export function seeded(seed) {
  let state = seed | 0;
  return (bound) => {
    state = (state + 0x9e3779b9) | 0;
    let z = Math.imul(state ^ (state >>> 16), 0x85ebca6b);
    z = Math.imul(z ^ (z >>> 13), 0xc2b2ae35);
    return ((z ^ (z >>> 16)) >>> 0) % bound;
  };
}

/** An integer from lo to hi, as a BigInt; |lo|, |hi| < 2^31. @param {Random} random @param {number} lo @param {number} hi */
const between = (random, lo, hi) => BigInt(lo + random(hi - lo + 1));
/** @template T @param {Random} random @param {T[]} list */
const pick = (random, list) => list[random(list.length)];

// Leading coefficients as a teacher chooses them: mostly 1, 2 and 3.
const LEADS = [1, 1, 1, 1, 2, 2, 2, 3, 3, 4, 5, 6];

/** (p1·x + q1)(p2·x + q2). @param {bigint[]} first @param {bigint[]} second @returns {Equation} */
const expanded = ([p1, q1], [p2, q2]) => ({ a: p1 * p2, b: p1 * q2 + p2 * q1, c: q1 * q2 });

/** An integer from −most to most but 0. @param {Random} random @param {number} most */
function nonZero(random, most) {
  const n = between(random, -most, most - 1);
  return n < 0n ? n : n + 1n;
}

/**
 * A binomial p·x + q in lowest terms, p from the list, 0 < |q| ≤ most.
 * @param {Random} random @param {number[]} leads @param {number} most
 * @returns {bigint[]}
 */
function binomial(random, leads, most) {
  for (;;) {
    const [p, q] = [BigInt(pick(random, leads)), nonZero(random, most)];
    if (gcd(p, q) === 1n) return [p, q];
  }
}

/** Two distinct integer roots from −9 to 9; a is 1, as the only content-free choice. @param {Random} random */
function integerRoots(random) {
  for (;;) {
    const [r1, r2] = [between(random, -9, 9), between(random, -9, 9)];
    if (r1 !== r2) return expanded([1n, -r1], [1n, -r2]);
  }
}

/**
 * Two distinct rational roots, not both integers, of (p1·x + q1)(p2·x + q2):
 * a = p1·p2 ≤ 9, |q| ≤ 7, and the product of binomials in lowest terms is in
 * lowest terms (Gauss).
 * @param {Random} random
 */
function rationalRoots(random) {
  for (;;) {
    const first = binomial(random, [1, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9], 7);
    const room = 9n / first[0];
    const second = binomial(
      random,
      [1, 2, 3].filter((p) => BigInt(p) <= room),
      7,
    );
    const distinct = first[0] * second[1] !== first[1] * second[0];
    if (first[0] * second[0] > 1n && distinct) return expanded(first, second);
  }
}

/** (p·x + q)², p ≤ 3 so that a = p² ≤ 9, and 0 < |q| ≤ 9: 40 in all. @param {Random} random */
function doubleRoot(random) {
  const factor = binomial(random, random(4) === 0 ? [2, 3] : [1], 9);
  return expanded(factor, factor);
}

/** a, b and c of the sign Δ asks for, with gcd 1. @param {Random} random @param {(delta: bigint) => boolean} fits */
function drawn(random, fits) {
  for (;;) {
    const [a, b] = [BigInt(pick(random, LEADS)), between(random, -12, 12)];
    const c = between(random, -20, 20);
    if (fits(b * b - 4n * a * c) && gcd(gcd(a, b), c) === 1n) return { a, b, c };
  }
}

/** Δ > 0 and not a square. @param {bigint} delta */
const notSquare = (delta) => delta > 0n && isqrt(delta) ** 2n !== delta;

/** One equation of a kind, before any sign change. @param {Kind} kind @param {Random} random @returns {Equation} */
function ofKind(kind, random) {
  if (kind === "integer") return integerRoots(random);
  if (kind === "rational") return rationalRoots(random);
  if (kind === "double") return doubleRoot(random);
  if (kind === "irrational") return drawn(random, notSquare);
  return drawn(random, (delta) => delta < 0n);
}

/** −a·x² − b·x − c = 0. @param {Equation} equation @returns {Equation} */
const negated = ({ a, b, c }) => ({ a: -a, b: -b, c: -c });

/** One in eight with a negative leading coefficient. @param {Kind} kind @param {Random} random @returns {Equation} */
function draw(kind, random) {
  const equation = ofKind(kind, random);
  return random(8) === 0 ? negated(equation) : equation;
}

/** An equation with its answer. @param {Equation} equation @returns {Problem} */
function withAnswer({ a, b, c }) {
  const forms = quadraticForms(a, b, c);
  const kind = kindOf(a, b, c);
  const roots = kind === "double" ? [forms.x1] : forms.both !== null ? [forms.both] : [forms.x1, forms.x2];
  return { a, b, c, kind, equation: `${polynomial(a, b, c)} = 0`, delta: forms.delta, roots, factored: forms.factored };
}

/**
 * An equation with roots of the given kind, with its answer.
 * @param {Kind} kind
 * @param {Random} random
 * @returns {Problem}
 */
export function generate(kind, random) {
  if (!KINDS.includes(kind)) throw new RangeError(`no kind of roots called ${kind}`);
  return withAnswer(draw(kind, random));
}

/** The same equation up to a common factor and sign. @param {Equation} equation */
function sameUpToFactor({ a, b, c }) {
  const g = gcd(gcd(a, b), c) * (a < 0n ? -1n : 1n);
  return `${a / g} ${b / g} ${c / g}`;
}

const written = (/** @type {Equation} */ { a, b, c }) => `${a} ${b} ${c}`;

// Draws before a sheet takes an equation that differs from one on it only in
// sign: there are 40 double roots in bounds up to sign, and 60 to find.
const TRIES = 64;

/**
 * An equation of the kind not yet on the sheet, as written in seen: new up
 * to sign where one comes within TRIES draws, then new as written, its
 * opposite tried too. Drawn equations have no common factor, so up to sign
 * is up to any factor.
 * @param {Kind} kind @param {Random} random @param {Set<string>} seen
 */
function fresh(kind, random, seen) {
  const isNew = (/** @type {Equation} */ equation) => !seen.has(written(equation));
  for (let tries = 1; ; tries++) {
    const equation = draw(kind, random);
    const choices = tries > TRIES ? [equation, negated(equation)] : isNew(negated(equation)) ? [equation] : [];
    const found = choices.find(isNew);
    if (!found) continue;
    seen.add(written(found));
    return found;
  }
}

/** The kinds of a sheet, in turn, then shuffled (Fisher-Yates). @param {number} count @param {Kind[]} kinds @param {Random} random */
function kindsInOrder(count, kinds, random) {
  const order = Array.from({ length: count }, (_, i) => kinds[i % kinds.length]);
  for (let i = order.length - 1; i > 0; i--) {
    const j = random(i + 1);
    [order[i], order[j]] = [order[j], order[i]];
  }
  return order;
}

/**
 * A worksheet: count distinct equations, the kinds in turn and shuffled, so
 * that each kind appears once count reaches their number.
 * @param {Partial<SheetOptions>} [options] count from 1 to 60; seed from 0 to 2^32 − 1
 * @returns {Problem[]}
 */
export function worksheet({ count = DEFAULT_COUNT, seed = DEFAULT_SEED, kinds = KINDS } = {}) {
  if (!Number.isInteger(count) || count < MIN_COUNT || count > MAX_COUNT) throw new RangeError(`count ${count}`);
  if (kinds.length === 0 || !kinds.every((kind) => KINDS.includes(kind))) throw new RangeError(`kinds ${kinds}`);
  const random = seeded(seed);
  const seen = new Set();
  return kindsInOrder(count, kinds, random).map((kind) => withAnswer(fresh(kind, random, seen)));
}

/** @param {string | null} value @param {number} lo @param {number} hi */
function wholeNumber(value, lo, hi) {
  if (value === null || !/^\d+$/.test(value.trim())) return null;
  return Math.min(hi, Math.max(lo, Number(value)));
}

/**
 * A sheet's options from its address: count (a whole number, taken to 1 to
 * 60; 20 if missing or unreadable), seed (0 to 2^32 − 1, larger ones taken
 * to 2^32 − 1; fallbackSeed if missing or unreadable) and kinds (names
 * separated by commas, any case; unknown ones left out; all five if none).
 * @param {URLSearchParams} params
 * @param {number} [fallbackSeed] the seed of an address without one, such as one the page draws
 * @returns {SheetOptions}
 */
export function sheetOptions(params, fallbackSeed = DEFAULT_SEED) {
  const named = (params.get("kinds") ?? "").split(",").map((name) => name.trim().toLowerCase());
  const kinds = KINDS.filter((kind) => named.includes(kind));
  return {
    count: wholeNumber(params.get("count"), MIN_COUNT, MAX_COUNT) ?? DEFAULT_COUNT,
    seed: wholeNumber(params.get("seed"), 0, MAX_SEED) ?? fallbackSeed,
    kinds: kinds.length ? kinds : [...KINDS],
  };
}

/**
 * The query that makes the same sheet again, without the "?":
 * "worksheet&count=30&seed=7&kinds=integer,complex"; kinds only where not all five.
 * @param {SheetOptions} options
 * @returns {string}
 */
export function sheetQuery({ count, seed, kinds }) {
  const named = KINDS.filter((kind) => kinds.includes(kind));
  const some = named.length < KINDS.length ? `&kinds=${named.join(",")}` : "";
  return `worksheet&count=${count}&seed=${seed}${some}`;
}

/**
 * Another equation like a·x² + b·x + c = 0: roots of the same kind, the
 * leading coefficient of the same sign, classroom-sized, and not the same
 * equation, even up to a common factor.
 * @param {bigint} a ≠ 0
 * @param {bigint} b
 * @param {bigint} c
 * @param {number} seed from 0 to 2^32 − 1
 * @returns {Problem}
 */
export function likeIt(a, b, c, seed) {
  const kind = kindOf(a, b, c);
  const random = seeded(seed);
  const given = sameUpToFactor({ a, b, c });
  for (;;) {
    const equation = draw(kind, random);
    const like = equation.a < 0n === a < 0n ? equation : negated(equation);
    if (sameUpToFactor(like) !== given) return withAnswer(like);
  }
}
