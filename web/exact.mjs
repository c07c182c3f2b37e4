// SPDX-License-Identifier: MIT
// Exact arithmetic for the page's explanation of a result: the discriminant,
// its square part, the roots in simplest radical form, and their six-decimal
// readings, rounded once, to nearest, ties to even, as the program rounds them.
//
// Every quantity is a BigInt, so sums, products and quotients are exact
// whatever their size; the only Number arithmetic is in the trial division of
// squarePart and in the first guesses of isqrt and cubeRoot, and each of those
// carries the bound that keeps it exact, or the check that corrects it.

const MINUS = "\u2212";
const MILLION = 1000000n;

// --- Integers ---------------------------------------------------------------

const abs = (n) => (n < 0n ? -n : n);

export function gcd(a, b) {
  let [x, y] = [abs(a), abs(b)];
  while (y !== 0n) [x, y] = [y, x % y];
  return x;
}

// ⌊n/d⌋ for d > 0: BigInt division truncates toward zero.
function floorDivide(n, d) {
  const q = n / d;
  return q * d > n ? q - 1n : q;
}

// ⌊√n⌋ for n < 2^70 from a guess in doubles: Number(n) and Math.sqrt each
// round within 2^-53 relatively, and √n < 2^35, so the guess lies within
// 2^35·2^-52 = 2^-17 of √n and its floor within 1 of ⌊√n⌋; the loops below
// each take at most one step.
function isqrtFromGuess(n) {
  let root = BigInt(Math.floor(Math.sqrt(Number(n))));
  while (root * root > n) root--;
  while ((root + 1n) * (root + 1n) <= n) root++;
  return root;
}

// ⌊√n⌋ for larger n, by Newton's method from above: from any x ≥ √n the step
// ⌊(x + ⌊n/x⌋)/2⌋ stays ≥ ⌊√n⌋ (AM-GM) and decreases while x > ⌊√n⌋.
function isqrtByNewton(n) {
  let x = 1n << BigInt(Math.ceil(n.toString(2).length / 2));
  for (;;) {
    const next = (x + n / x) >> 1n;
    if (next >= x) return x;
    x = next;
  }
}

export function isqrt(n) {
  if (n < 0n) throw new RangeError("isqrt of a negative number");
  return n < 1n << 70n ? isqrtFromGuess(n) : isqrtByNewton(n);
}

// ⌊∛n⌋ as a Number, for n < 2^76: the guess in doubles is within 2^-50 of ∛n
// relatively, ∛n < 2^26, so it is off by at most one; the cubes are BigInts.
function cubeRoot(n) {
  let root = BigInt(Math.floor(Math.cbrt(Number(n))));
  while (root ** 3n > n) root--;
  while ((root + 1n) ** 3n <= n) root++;
  return Number(root);
}

// --- Square part ------------------------------------------------------------

const LIMB = 2 ** 24;
const TRIAL_LIMIT = 2850000n ** 3n;

// n < 2^76 as n = upper·2^24 + lower, upper < 2^52 and lower < 2^24.
function split(n) {
  return [Number(n >> 24n), Number(n & BigInt(LIMB - 1))];
}

// Whether p divides upper·2^24 + lower, for |upper| < 2^52 and 7 ≤ p < 2^26,
// in two reductions x − ⌊x·(1/p)⌋·p, one division for both.
// Each reduction: the double 1/p, then x times it, round within 2^-53
// relatively, so x·(1/p) lies within 2^-51·|x|/p < 1/2 of x/p for |x| < 2^52;
// its floor F is ⌊x/p⌋ or one either side, |F·p| ≤ |x| + 2p < 2^53 is exact,
// and the result, congruent to x, lies in [−p, 2p).
// The first result, within (−2^26, 2^27), times 2^24, plus lower, stays below
// 2^51 + 2^24 in magnitude: exact, and a valid x for the second. That one is 0
// modulo p only as −p, 0 or p. The steps are written out, not called, and
// Math.floor is used, not Math.round: V8 runs this twice as fast so.
function divides(upper, lower, p) {
  const inverse = 1 / p;
  const high = upper - Math.floor(upper * inverse) * p;
  const whole = high * LIMB + lower;
  const r = whole - Math.floor(whole * inverse) * p;
  return r === 0 || r === p || r === -p;
}

// The odd primes below 2850000, by a sieve of Eratosthenes over the odd
// numbers, made once, on first use: 2850000³ > 2^64 + 2^62 ≥ |Δ|, and trial
// division by primes alone tests a quarter of the numbers a wheel would.
const SIEVE_LIMIT = 2850000;
let oddPrimes = null;
function primesBelowLimit() {
  if (oddPrimes) return oddPrimes;
  const composite = new Uint8Array(SIEVE_LIMIT / 2); // [i]: 2i + 1
  let count = 0;
  for (let i = 1; i < composite.length; i++) {
    if (composite[i]) continue;
    count++;
    const p = 2 * i + 1;
    for (let multiple = p * p; multiple < SIEVE_LIMIT; multiple += 2 * p) composite[multiple >> 1] = 1;
  }
  oddPrimes = new Int32Array(count);
  for (let i = 1, at = 0; i < composite.length; i++) if (!composite[i]) oddPrimes[at++] = 2 * i + 1;
  return oddPrimes;
}

// Takes every factor p out of state.rest, into state.square and state.free.
function removePrime(state, p) {
  const prime = BigInt(p);
  let exponent = 0;
  while (state.rest % prime === 0n) {
    state.rest /= prime;
    exponent++;
  }
  state.square *= prime ** BigInt(exponent >> 1);
  if (exponent % 2 === 1) state.free *= prime;
}

// Trial division by 2 and the odd primes up to ∛rest, rest shrinking as
// primes leave it. ∛rest < 2850000 < 2^26, as divides needs, and the primes from 7.
function removeSmallPrimes(state) {
  for (const p of [2, 3, 5]) removePrime(state, p);
  const primes = primesBelowLimit();
  let [upper, lower] = split(state.rest),
    limit = cubeRoot(state.rest);
  for (let i = 2; i < primes.length && primes[i] <= limit; i++) {
    if (!divides(upper, lower, primes[i])) continue;
    removePrime(state, primes[i]);
    [upper, lower] = split(state.rest);
    limit = cubeRoot(state.rest);
  }
}

// n = k²·m with m squarefree, for 1 ≤ n < 2850000³ (|Δ| ≤ 2^64 + 2^62 is within).
// After trial division to ∛rest, every prime factor of rest exceeds ∛rest, so
// rest has at most two, counted with multiplicity: rest is 1, p, p² or p·q,
// and is squarefree unless it is a perfect square.
export function squarePart(n) {
  if (n < 1n || n >= TRIAL_LIMIT) throw new RangeError("squarePart needs 1 ≤ n < 2850000³");
  const state = { square: 1n, free: 1n, rest: n };
  removeSmallPrimes(state);
  const root = isqrt(state.rest);
  if (root * root === state.rest) return [state.square * root, state.free];
  return [state.square, state.free * state.rest];
}

// --- Six decimals -----------------------------------------------------------

// n/d to the nearest integer, ties to even; exact when d divides n.
function roundQuotient(n, d) {
  const [num, den] = d < 0n ? [-n, -d] : [n, d];
  const quotient = floorDivide(num, den);
  const twiceRemainder = 2n * (num - quotient * den);
  const up = twiceRemainder > den || (twiceRemainder === den && quotient % 2n !== 0n);
  return { millionths: up ? quotient + 1n : quotient, exact: twiceRemainder === 0n };
}

export function rounded(n, d) {
  return roundQuotient(n * MILLION, d);
}

// (p + k·√m)/d in millionths. Where k²m is a square the value is rational and
// rounds as one. Otherwise √m is irrational, and so is 10^6·(p + k√m)/d: it is
// never an integer plus a half, no tie can occur, and the millionths are
// ⌊(2·10^6·p + d + 2·10^6·k√m)/2d⌋ with d > 0. The numerator's integer part is
// A + s with s = ⌊2·10^6·|k|·√m⌋ for k > 0, A − s − 1 for k < 0 (the surd is
// never an integer), and flooring that integer part first changes nothing.
export function roundedSurd(p, k, m, d) {
  const root = isqrt(k * k * m);
  if (root * root === k * k * m) return rounded(p + (k < 0n ? -root : root), d);
  const [num, kk, den] = d < 0n ? [-p, -k, -d] : [p, k, d];
  const s = isqrt(4n * MILLION * MILLION * kk * kk * m);
  const whole = 2n * MILLION * num + den + (kk > 0n ? s : -s - 1n);
  return { millionths: floorDivide(whole, 2n * den), exact: false };
}

export function decimal({ millionths }, point = ".") {
  const magnitude = abs(millionths);
  const fraction = String(magnitude % MILLION)
    .padStart(6, "0")
    .replace(/0+$/, "");
  const whole = String(magnitude / MILLION);
  return (millionths < 0n ? MINUS : "") + whole + (fraction ? point + fraction : "");
}

// --- Texts ------------------------------------------------------------------

const signed = (n) => (n < 0n ? MINUS + -n : String(n));
const parenthesized = (n) => (n < 0n ? `(${signed(n)})` : String(n));

// n/d reduced, with d > 0.
function reduced(n, d) {
  const g = gcd(n, d) * (d < 0n ? -1n : 1n);
  return { n: n / g, d: d / g };
}

export function fraction(n, d) {
  const r = reduced(n, d);
  return r.d === 1n ? signed(r.n) : `${signed(r.n)}/${r.d}`;
}

// A coefficient before x or x²: 1 and −1 are written as their sign alone.
function coefficient(n, power) {
  if (n === 1n || n === -1n) return (n < 0n ? MINUS : "") + power;
  return signed(n) + power;
}

// Terms joined by " + " and " − ", the first carrying its own sign.
function joinTerms(terms) {
  const present = terms.filter((t) => t !== "");
  if (present.length === 0) return "0";
  return present.reduce((text, term) =>
    term.startsWith(MINUS) ? `${text} ${MINUS} ${term.slice(1)}` : `${text} + ${term}`,
  );
}

export function polynomial(a, b, c) {
  return joinTerms([
    a === 0n ? "" : coefficient(a, "x²"),
    b === 0n ? "" : coefficient(b, "x"),
    c === 0n ? "" : signed(c),
  ]);
}

export function surd(k, m) {
  if (k === 0n || m === 0n) return "0";
  if (m === 1n) return signed(k);
  return coefficient(k, `√${m}`);
}

// k√m/d for k, d > 0: "√6/2", "3√2/4", "2√3", or a fraction when m = 1.
function surdOver(k, m, d) {
  if (m === 1n) return fraction(k, d);
  return d === 1n ? surd(k, m) : `${surd(k, m)}/${d}`;
}

// The imaginary part k√m/d (k, d > 0, reduced) followed by i: a whole number
// is "2i" or "i", anything else goes in parentheses, "(√6/2)i".
function imaginary(k, m, d) {
  if (m === 1n && d === 1n) return k === 1n ? "i" : `${k}i`;
  return `(${surdOver(k, m, d)})i`;
}

export function linearRoot(b, c) {
  return { text: fraction(-c, b), decimal: rounded(-c, b) };
}

// --- The quadratic ------------------------------------------------------------

function deltaWorking(a, b, c, delta) {
  const fourAC = 4n * a * c;
  const second = fourAC < 0n ? `+ ${-fourAC}` : `${MINUS} ${fourAC}`;
  const product = `4·${parenthesized(a)}·${parenthesized(c)}`;
  return `${parenthesized(b)}² ${MINUS} ${product} = ${b * b} ${second} = ${signed(delta)}`;
}

// √|Δ| = k√m, shown through k² when k > 1: "√24 = √(4·6) = 2√6".
function rootOfMagnitude(magnitude, [k, m]) {
  if (m === 1n) return `√${magnitude} = ${k}`;
  if (k === 1n) return "";
  return `√${magnitude} = √(${k * k}·${m}) = ${surd(k, m)}`;
}

// The real root (p ± k√m)/d with k > 0 over the common denominator, reduced,
// d made positive: sign is "−", "+" or "±" before the surd.
function realSurdRoot(p, sign, k, m, d) {
  const g = gcd(gcd(p, k), d) * (d < 0n ? -1n : 1n);
  const [num, kk, den] = [p / g, abs(k / g), d / g];
  const flipped = g < 0n && sign !== "±" ? (sign === MINUS ? "+" : MINUS) : sign;
  const root = surd(kk, m);
  if (num === 0n) return (flipped === "+" ? "" : flipped) + (den === 1n ? root : `${root}/${den}`);
  const sum = `${signed(num)} ${flipped} ${root}`;
  return den === 1n ? sum : `(${sum})/${den}`;
}

function realIrrational(a, b, [k, m]) {
  const d = 2n * a;
  return {
    x1: realSurdRoot(-b, MINUS, k, m, d),
    x2: realSurdRoot(-b, "+", k, m, d),
    both: realSurdRoot(-b, "±", k, m, d),
    x1Decimal: roundedSurd(-b, -k, m, d),
    x2Decimal: roundedSurd(-b, k, m, d),
  };
}

function realRational(a, b, root) {
  const d = 2n * a;
  return {
    x1: fraction(-b - root, d),
    x2: fraction(-b + root, d),
    both: null,
    x1Decimal: rounded(-b - root, d),
    x2Decimal: rounded(-b + root, d),
  };
}

// p/d ± (k√m/|d|)i, the two parts each reduced on its own.
function complexRoots(a, b, [k, m]) {
  const d = 2n * abs(a);
  const g = gcd(k, d);
  const imag = imaginary(k / g, m, d / g);
  const isZero = b === 0n;
  const re = fraction(-b, 2n * a);
  return {
    x1: isZero ? MINUS + imag : `${re} ${MINUS} ${imag}`,
    x2: isZero ? imag : `${re} + ${imag}`,
    both: isZero ? `±${imag}` : `${re} ± ${imag}`,
    reDecimal: rounded(-b, 2n * a),
    imDecimal: roundedSurd(0n, k, m, d),
  };
}

function roots(a, b, delta, square) {
  if (delta < 0n) return complexRoots(a, b, square);
  if (delta === 0n) return realRational(a, b, 0n);
  return square[1] === 1n ? realRational(a, b, square[0]) : realIrrational(a, b, square);
}

// The steps after the formula: √|Δ| simplified, the formula again with it,
// then each root (rational) or both in simplest form.
function steps(a, b, delta, square, forms) {
  const [minusB, den] = [signed(-b), parenthesized(2n * a)];
  if (delta === 0n) return [`√0 = 0`, `x = ${minusB}/${den}`, `x = ${forms.x1}`];
  const [k, m] = square;
  const radical = m === 1n ? String(k) : surd(k, m);
  const lines = delta < 0n ? [`√${signed(delta)} = √${-delta}·i`] : [];
  lines.push(rootOfMagnitude(abs(delta), square));
  // |Δ| = 1 is impossible (Δ ≡ 0 or 1 mod 4), so a whole radical is never 1.
  if (delta < 0n) lines.push(`x = (${minusB} ± ${radical}${m === 1n ? "" : "·"}i)/${den}`);
  else lines.push(`x = (${minusB} ± ${radical})/${den}`);
  if (forms.both !== null) return [...lines, `x = ${forms.both}`];
  return [
    ...lines,
    `x1 = (${minusB} ${MINUS} ${k})/${den} = ${forms.x1}`,
    `x2 = (${minusB} + ${k})/${den} = ${forms.x2}`,
  ];
}

// Drops empty lines and any line that repeats the one before it.
function withoutRepeats(first, lines) {
  const kept = [];
  let previous = first;
  for (const line of lines) {
    if (line !== "" && line !== previous) kept.push(line);
    if (line !== "") previous = line;
  }
  return kept;
}

function rootWorking(a, b, delta) {
  return `x = (${signed(-b)} ± √${signed(delta)})/${parenthesized(2n * a)}`;
}

// A factor v·x − u of a rational root u/v, v > 0: "x", "2x − 1", "x + 3".
function linearFactor({ n: u, d: v }) {
  const term = v === 1n ? "x" : `${v}x`;
  if (u === 0n) return term;
  return `${term} ${u > 0n ? MINUS : "+"} ${abs(u)}`;
}

const wrapped = (factor) => (factor === "x" ? "x" : `(${factor})`);

// a(x − r1)(x − r2) over the integers: the content of a primitive factor is 1,
// and so is that of their product (Gauss), so v1·v2 divides a. A bare x comes
// first, then factors by decreasing leading coefficient, else as x1, x2.
function factored(a, b, root) {
  const [r1, r2] = [reduced(-b - root, 2n * a), reduced(-b + root, 2n * a)];
  const lead = a / (r1.d * r2.d);
  const sign = lead === 1n ? "" : lead === -1n ? MINUS : signed(lead);
  if (root === 0n) {
    const factor = linearFactor(r1);
    return sign + (factor === "x" ? "x²" : `(${factor})²`);
  }
  const order = (r, s) => (r.n === 0n ? -1 : s.n === 0n ? 1 : Number(s.d - r.d));
  const pair = [r1, r2].sort(order).map((r) => wrapped(linearFactor(r)));
  return sign + pair.join("");
}

function vertex(a, b, delta) {
  const h = reduced(-b, 2n * a);
  const k = reduced(-delta, 4n * a);
  const lead = a === 1n ? "" : a === -1n ? MINUS : signed(a);
  const shift = `${h.n > 0n ? MINUS : "+"} ${fraction(abs(h.n), h.d)}`;
  const square = h.n === 0n ? "x²" : `(x ${shift})²`;
  const sign = k.n > 0n ? "+" : MINUS;
  const tail = k.n === 0n ? "" : ` ${sign} ${fraction(abs(k.n), k.d)}`;
  return {
    vertexForm: lead + square + tail,
    h,
    k,
    hDecimal: rounded(-b, 2n * a),
    kDecimal: rounded(-delta, 4n * a),
    axis: `x = ${fraction(h.n, h.d)}`,
  };
}

function kindOf(delta, square) {
  if (delta < 0n) return { kind: "complex", rational: false };
  if (delta === 0n) return { kind: "double", rational: true };
  return { kind: "two", rational: square[1] === 1n };
}

export function quadraticForms(a, b, c) {
  if (a === 0n) throw new RangeError("quadraticForms needs a ≠ 0");
  const delta = b * b - 4n * a * c;
  const square = delta === 0n ? null : squarePart(abs(delta));
  const sort = kindOf(delta, square);
  const forms = roots(a, b, delta, square);
  const working = rootWorking(a, b, delta);
  const root = sort.rational ? (delta === 0n ? 0n : square[0]) : null;
  return {
    delta,
    square,
    deltaWorking: deltaWorking(a, b, c, delta),
    rootWorking: working,
    simplified: withoutRepeats(working, steps(a, b, delta, square, forms)),
    ...sort,
    ...forms,
    factored: sort.rational ? factored(a, b, root) : null,
    ...vertex(a, b, delta),
    yIntercept: c,
  };
}
