// SPDX-License-Identifier: MIT
// @ts-check
// Two more ways to solve a·x² + b·x + c = 0, step by step with the student's
// own numbers, exactly: completing the square, which always works, and
// factoring, where the roots are rational. A step is a formula, written as
// exact.mjs writes its own, or a sentence of the page's catalogue, by its key
// and the values of its placeholders, which says what the formulas after it
// do. All arithmetic is BigInt. No DOM.
import { abs, gcd, isqrt, joinTerms, parenthesized, polynomial, reduced, signed, squarePart } from "./exact.mjs";

/** @typedef {{ key: string, values: Record<string, string> }} Sentence a catalogue text and its placeholders */
/** @typedef {string | Sentence} Step a formula, or a sentence that introduces the formulas after it */
/** @typedef {"integer" | "rational" | "irrational" | "complex" | "double"} Kind */
/** @typedef {{ n: bigint, d: bigint }} Ratio n/d in lowest terms, d > 0 */

const MINUS = "\u2212";
const SUB = ["₁", "₂"];

/** @param {string} key @param {Record<string, string>} [values] @returns {Sentence} */
const sentence = (key, values = {}) => ({ key, values });

const ratio = reduced;

/** @param {Ratio} r */
const text = ({ n, d }) => (d === 1n ? signed(n) : `${signed(n)}/${d}`);
/** @param {Ratio} r */
const negated = ({ n, d }) => ({ n: -n, d });
/** @param {Ratio} r @param {Ratio} s */
const added = (r, s) => ratio(r.n * s.d + s.n * r.d, r.d * s.d);

/** @param {bigint} m @param {bigint} n */
const lcm = (m, n) => (m / gcd(m, n)) * n;

/**
 * A term r·power: "x", "−x", "3x", "(5/2)x"; empty where r = 0.
 * @param {Ratio} r
 * @param {string} power
 */
function term(r, power) {
  if (r.n === 0n) return "";
  if (r.d === 1n && abs(r.n) === 1n) return (r.n < 0n ? MINUS : "") + power;
  if (r.d === 1n) return signed(r.n) + power;
  return (r.n < 0n ? MINUS : "") + `(${text({ n: abs(r.n), d: r.d })})${power}`;
}

/** x² + p·x + q, p and q exact fractions. @param {Ratio} p @param {Ratio} q */
const monic = (p, q) => joinTerms(["x²", term(p, "x"), q.n === 0n ? "" : text(q)]);

/** x + h, written "x − 5/2" for h < 0, and "x" for h = 0. @param {Ratio} h */
const shifted = (h) => (h.n === 0n ? "x" : `x ${h.n < 0n ? MINUS : "+"} ${text({ n: abs(h.n), d: h.d })}`);

// --- Square roots of fractions ----------------------------------------------

/** @typedef {{ chain: string[], k: bigint, m: bigint, d: bigint }} Root √(u/v) written out, ending on k√m/d */

/**
 * √(u/v) for u/v = |Δ|/(4a²) in lowest terms, made simple: a denominator
 * v = s²·t, t squarefree, becomes a square by t, √(u/v) = √(u·t)/(s·t), and
 * √(u·t) = k√m takes out its square part. Since u·t/(s·t)² = |Δ|/(4a²), m is
 * the squarefree part of |Δ| and k = K·s·t/(2|a|) for |Δ| = K²·m: no number
 * larger than |Δ| is factored. k/(s·t) is in lowest terms: a prime of s·t
 * divides v, so not u, and would have to divide u·t = k²·m twice, t once.
 * @param {Ratio} r u/v = |Δ|/(4a²), > 0
 * @param {bigint} delta Δ
 * @param {bigint} a
 * @returns {Root}
 */
function rootOf(r, delta, a) {
  const { n: u, d: v } = r;
  const [s, t] = squarePart(v);
  const [K, m] = squarePart(abs(delta));
  const k = (K * s * t) / (2n * abs(a));
  const chain = [v === 1n ? `√${u}` : `√(${u}/${v})`];
  if (t > 1n) chain.push(`√(${u * t}/${(s * t) ** 2n})`);
  if (k > 1n && m > 1n && s * t > 1n) chain.push(`√${u * t}/${s * t}`);
  return { chain, k, m, d: s * t };
}

/** k√m/d, k and d > 0 and in lowest terms: "√13/2", "2√3", "1/2", "3". @param {Root} root */
function surdText({ k, m, d }) {
  if (m === 1n) return text({ n: k, d });
  const surd = k === 1n ? `√${m}` : `${k}√${m}`;
  return d === 1n ? surd : `${surd}/${d}`;
}

/** (k√m/d)·i as exact.mjs writes an imaginary part: "i", "2i", "(√6/2)i". @param {Root} root */
function imaginaryText(root) {
  if (root.m === 1n && root.d === 1n) return root.k === 1n ? "i" : `${root.k}i`;
  return `(${surdText(root)})i`;
}

/** The chain of ±√(u/v) = … = ±k√m/d, without repeats. @param {Root} root */
const realChain = (root) => [...new Set([...root.chain, surdText(root)])].map((part) => `±${part}`);

/** ±√(u/v)·i = … = ±(k√m/d)i; a quotient after the root is bracketed before ·i. @param {Root} root */
function imaginaryChain(root) {
  const times = (/** @type {string} */ part) => (/^√\d+\//.test(part) ? `(${part})·i` : `${part}·i`);
  return [...root.chain.map(times), imaginaryText(root)].map((part) => `±${part}`);
}

// --- Completing the square --------------------------------------------------

/** @param {bigint} a @param {Ratio} p @param {Ratio} q @returns {Step[]} */
function divideByA(a, p, q) {
  if (a === 1n) return [];
  return [sentence("completeDivide", { a: signed(a) }), `${monic(p, q)} = 0`];
}

/** @param {Ratio} p @param {Ratio} q @returns {Step[]} */
function moveConstant(p, q) {
  if (q.n === 0n) return [];
  return [sentence("completeMove"), `${joinTerms(["x²", term(p, "x")])} = ${text(negated(q))}`];
}

/**
 * The right side −q + h², and the same over one denominator where that
 * differs from it.
 * @param {Ratio} q
 * @param {Ratio} square h²
 */
function rightSide(q, square) {
  if (q.n === 0n) return [text(square)];
  const sum = `${text(negated(q))} + ${text(square)}`;
  const d = lcm(q.d, square.d);
  const over = (/** @type {Ratio} */ r) => `${signed((r.n * d) / r.d)}/${d}`;
  const common = `${over(negated(q))} + ${over(square)}`;
  return d === 1n || common === sum ? [sum] : [sum, common];
}

/** @param {Ratio} p @param {Ratio} q @param {Ratio} h b/2a @param {Ratio} right Δ/(4a²) @returns {Step[]} */
function completeSquare(p, q, h, right) {
  if (h.n === 0n) return [];
  const square = ratio(h.n * h.n, h.d * h.d);
  const [sum, common] = rightSide(q, square);
  const combined = [...(common ? [common] : []), text(right)].filter((side) => side !== sum);
  return [
    sentence("completeAdd", { half: text(h), square: text(square) }),
    `${joinTerms(["x²", term(p, "x"), text(square)])} = ${sum}`,
    sentence("completeSquare"),
    [`(${shifted(h)})²`, ...(combined.length ? combined : [sum])].join(" = "),
  ];
}

/** @param {Ratio} h @param {Ratio} right @param {Root | null} root @returns {Step[]} */
function takeRoots(h, right, root) {
  if (root === null) return [sentence("completeRootZero"), `${shifted(h)} = 0`];
  const chain = right.n > 0n ? realChain(root) : imaginaryChain(root);
  return [sentence(right.n > 0n ? "completeRoot" : "completeRootNegative"), [shifted(h), ...chain].join(" = ")];
}

/**
 * x = −h ± r over one denominator, "(5 ± √13)/2", as the quadratic formula's
 * roots are written: with L = lcm of the two denominators, the numerator's
 * parts and L share no factor, since each prime of L divides one of the two
 * denominators to its full power, and that one's numerator not at all.
 * @param {Ratio} centre −b/2a
 * @param {Root} root
 */
function overOneDenominator(centre, { k, m, d }) {
  const L = lcm(centre.d, d);
  const sum = `${signed((centre.n * L) / centre.d)} ± ${(k * L) / d === 1n ? "" : (k * L) / d}√${m}`;
  return L === 1n ? sum : `(${sum})/${L}`;
}

/**
 * The two rational roots, each named as the quadratic formula names it:
 * x₁ = (−b − √Δ)/(2a), which is centre − r for a > 0 and centre + r for a < 0.
 * @param {bigint} a @param {Ratio} centre @param {Ratio} r @returns {Step[]}
 */
function rationalRoots(a, centre, r) {
  const signs = a > 0n ? [MINUS, "+"] : ["+", MINUS];
  return signs.map((sign, i) => {
    const value = text(added(centre, sign === MINUS ? negated(r) : r));
    return centre.n === 0n ? `x${SUB[i]} = ${value}` : `x${SUB[i]} = ${text(centre)} ${sign} ${text(r)} = ${value}`;
  });
}

/** @param {bigint} a @param {Ratio} h @param {Ratio} right @param {Root | null} root @returns {Step[]} */
function solveForX(a, h, right, root) {
  const centre = negated(h);
  if (root === null) return centre.n === 0n ? [] : [sentence("completeSolve"), `x = ${text(centre)}`];
  const rational = right.n > 0n && root.m === 1n;
  const part = right.n < 0n ? imaginaryText(root) : surdText(root);
  if (centre.n === 0n)
    return rational ? [sentence("completeEachSign"), ...rationalRoots(a, centre, ratio(root.k, root.d))] : [];
  const steps = [sentence("completeSolve"), `x = ${text(centre)} ± ${part}`];
  if (rational) return [...steps, ...rationalRoots(a, centre, ratio(root.k, root.d))];
  if (right.n < 0n) return steps;
  const together = `x = ${overOneDenominator(centre, root)}`;
  return together === steps[1] ? steps : [...steps, together];
}

/**
 * Completing the square, step by step: divide by a, move c across, add
 * (b/2a)² to both sides, write the left side as (x + b/2a)² and the right as
 * Δ/(4a²) in lowest terms, take the square roots (by i·√(−Δ)/(2|a|) where the
 * right side is negative), and solve for x. The last formula ends on the roots
 * as quadraticForms writes them: x₁ and x₂ where they are rational, else both
 * at once with ±.
 * @param {bigint} a ≠ 0
 * @param {bigint} b
 * @param {bigint} c
 * @returns {Step[]}
 */
export function completingSquare(a, b, c) {
  if (a === 0n) throw new RangeError("completingSquare needs a ≠ 0");
  const [p, q, h] = [ratio(b, a), ratio(c, a), ratio(b, 2n * a)];
  const delta = b * b - 4n * a * c;
  const right = ratio(delta, 4n * a * a);
  const root = delta === 0n ? null : rootOf(ratio(abs(delta), 4n * a * a), delta, a);
  return [
    // x² = 0 needs no step before its roots but itself.
    ...(a === 1n && b === 0n && c === 0n ? ["x² = 0"] : []),
    ...divideByA(a, p, q),
    ...moveConstant(p, q),
    ...completeSquare(p, q, h, right),
    ...takeRoots(h, right, root),
    ...solveForX(a, h, right, root),
  ];
}

// --- Factoring ---------------------------------------------------------------

/** @typedef {[bigint, bigint]} Factor [P, Q] for the factor P·x + Q, P > 0 */

/** P·x + Q: "x", "2x − 1", "x + 3". @param {Factor} factor */
const linear = ([P, Q]) => joinTerms([term({ n: P, d: 1n }, "x"), Q === 0n ? "" : signed(Q)]);
/** The factor in brackets, but for a bare x. @param {Factor} factor */
const bracketed = (factor) => (factor[1] === 0n && factor[0] === 1n ? "x" : `(${linear(factor)})`);

/** @param {Factor[]} factors @returns {string[]} */
function product(factors) {
  const [first, second] = factors.map(bracketed);
  if (first === "x" && second === "x") return ["x·x = 0"];
  const lines = [`${first}${second} = 0`];
  if (first === second) lines.push(`${first}² = 0`);
  return lines;
}

/** @param {bigint} g @param {bigint[]} inner @returns {Step[]} */
function takeOutCommon(g, [A, B, C]) {
  if (g === 1n) return [];
  const inner = polynomial(A, B, C);
  const lead = g === -1n ? MINUS : signed(g);
  const taken = B === 0n && C === 0n ? [] : [`${lead}(${inner}) = 0`];
  return [sentence("factorCommon", { factor: signed(g) }), ...taken, `${inner} = 0`];
}

/** x taken out of A·x² + B·x. @param {bigint} A @param {bigint} B @returns {[Step[], Factor[]]} */
function takeOutX(A, B) {
  /** @type {Factor[]} */
  const factors = [
    [1n, 0n],
    [A, B],
  ];
  return [[sentence("factorX"), ...product(factors)], factors];
}

/** The two numbers and the check that they are right. @param {bigint} first @param {bigint} second */
const pairCheck = (first, second) => [
  `${signed(first)}·${parenthesized(second)} = ${signed(first * second)}`,
  `${signed(first)} + ${parenthesized(second)} = ${signed(first + second)}`,
];

/**
 * x² + B·x + C = (x + first)(x + second).
 * @param {bigint} B @param {bigint} C @param {bigint} s √(B² − 4C)
 * @returns {[Step[], Factor[]]}
 */
function pairFactors(B, C, s) {
  const [first, second] = [(B + s) / 2n, (B - s) / 2n];
  const values = { product: signed(C), sum: signed(B), first: signed(first), second: signed(second) };
  /** @type {Factor[]} */
  const factors = [
    [1n, first],
    [1n, second],
  ];
  return [[sentence("factorPair", values), ...pairCheck(first, second), ...product(factors)], factors];
}

/**
 * A·x² + B·x + C by the ac method: B split into first + second with
 * first·second = A·C, then the two pairs of terms grouped. The smaller
 * number comes first, so that where the two differ in sign the second pair's
 * factor is positive and the pair reads "+ (…)".
 * Each pair's common factor leaves the same binomial: A:first and
 * second:C are the same ratio, as first·second = A·C, and each binomial
 * is in lowest terms with a positive leading coefficient.
 * @param {bigint} A > 1 @param {bigint} B @param {bigint} C ≠ 0 @param {bigint} s √(B² − 4AC)
 * @returns {[Step[], Factor[]]}
 */
function acFactors(A, B, C, s) {
  const [first, second] = [(B - s) / 2n, (B + s) / 2n];
  const [g1, g2] = [gcd(A, first), gcd(second, C) * (second < 0n ? -1n : 1n)];
  /** @type {Factor} */
  const common = [A / g1, first / g1];
  const lead = g1 === 1n ? "x" : `${g1}x`;
  const size = abs(g2) === 1n ? "" : String(abs(g2));
  const values = { ac: `${A}·${parenthesized(C)} = ${signed(A * C)}`, b: signed(B), first: signed(first) };
  const split = joinTerms([`${A}x²`, term({ n: first, d: 1n }, "x"), term({ n: second, d: 1n }, "x"), signed(C)]);
  /** @type {Factor[]} */
  const factors = [[g1, g2], common];
  const steps = [
    sentence("factorProduct", { ...values, second: signed(second) }),
    ...pairCheck(first, second),
    sentence("factorSplit"),
    `${split} = 0`,
    sentence("factorGroup"),
    `${lead}(${linear(common)}) ${g2 < 0n ? MINUS : "+"} ${size}(${linear(common)}) = 0`,
    ...product(factors),
  ];
  return [steps, factors];
}

/**
 * Each factor set to 0 and solved, in the order of the roots x₁ and x₂ of
 * the quadratic formula; a repeated factor once.
 * @param {Factor[]} factors
 * @param {Ratio} firstRoot x₁ = (−b − √Δ)/(2a)
 * @returns {Step[]}
 */
function rootsOfFactors(factors, firstRoot) {
  const rootOfFactor = (/** @type {Factor} */ [P, Q]) => ratio(-Q, P);
  const same = linear(factors[0]) === linear(factors[1]);
  const isFirst = (/** @type {Factor} */ f) => text(rootOfFactor(f)) === text(firstRoot);
  const ordered = same ? [factors[0]] : isFirst(factors[0]) ? factors : [factors[1], factors[0]];
  const solve = (/** @type {Factor} */ [P, Q], /** @type {string} */ name) => {
    const lines = Q === 0n && P === 1n ? [] : [`${linear([P, Q])} = 0`];
    if (P !== 1n && Q !== 0n) lines.push(`${P}x = ${signed(-Q)}`);
    return [...lines, `${name} = ${text(rootOfFactor([P, Q]))}`];
  };
  if (same) return [sentence("factorSame"), ...solve(ordered[0], "x")];
  return [sentence("factorZero"), ...solve(ordered[0], "x₁"), ...solve(ordered[1], "x₂")];
}

/**
 * Factoring, step by step, where the roots are rational (Δ a perfect square):
 * a factor common to all the coefficients taken out first (with a's sign, so
 * that the leading coefficient left is positive); then x taken out where
 * c = 0, two numbers of product c and sum b where a = 1, or the ac method;
 * then each factor set to 0. Null where the roots are not rational.
 * @param {bigint} a ≠ 0
 * @param {bigint} b
 * @param {bigint} c
 * @returns {Step[] | null}
 */
export function factoring(a, b, c) {
  if (a === 0n) throw new RangeError("factoring needs a ≠ 0");
  const delta = b * b - 4n * a * c;
  const root = delta < 0n ? -1n : isqrt(delta);
  if (root * root !== delta) return null;
  const g = gcd(gcd(a, b), c) * (a < 0n ? -1n : 1n);
  const [A, B, C] = [a / g, b / g, c / g];
  const s = root / abs(g);
  const [steps, factors] = C === 0n ? takeOutX(A, B) : A === 1n ? pairFactors(B, C, s) : acFactors(A, B, C, s);
  return [...takeOutCommon(g, [A, B, C]), ...steps, ...rootsOfFactors(factors, ratio(-b - root, 2n * a))];
}

/**
 * What roots a·x² + b·x + c = 0 has: two integers, two rational numbers not
 * both integers, two irrational or two complex numbers, or one double root.
 * @param {bigint} a ≠ 0
 * @param {bigint} b
 * @param {bigint} c
 * @returns {Kind}
 */
export function kindOf(a, b, c) {
  if (a === 0n) throw new RangeError("kindOf needs a ≠ 0");
  const delta = b * b - 4n * a * c;
  if (delta < 0n) return "complex";
  if (delta === 0n) return "double";
  const root = isqrt(delta);
  if (root * root !== delta) return "irrational";
  return (-b - root) % (2n * a) === 0n && (-b + root) % (2n * a) === 0n ? "integer" : "rational";
}
