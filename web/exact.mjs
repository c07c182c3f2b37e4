// SPDX-License-Identifier: MIT
// @ts-check
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

/** @param {bigint} n */
export const abs = (n) => (n < 0n ? -n : n);

/**
 * @param {bigint} a
 * @param {bigint} b
 * @returns {bigint} the greatest common divisor of |a| and |b|, 0 for two zeros
 */
export function gcd(a, b) {
  let [x, y] = [abs(a), abs(b)];
  while (y !== 0n) [x, y] = [y, x % y];
  return x;
}

/**
 * ⌊n/d⌋ for d > 0: BigInt division truncates toward zero.
 * @param {bigint} n
 * @param {bigint} d
 */
function floorDivide(n, d) {
  const q = n / d;
  return q * d > n ? q - 1n : q;
}

// ⌊√n⌋ for n < 2^70 from a guess in doubles: Number(n) and Math.sqrt each
// round within 2^-53 relatively, and √n < 2^35, so the guess lies within
// 2^35·2^-52 = 2^-17 of √n and its floor within 1 of ⌊√n⌋; the loops below
// each take at most one step.
/** @param {bigint} n */
function isqrtFromGuess(n) {
  let root = BigInt(Math.floor(Math.sqrt(Number(n))));
  while (root * root > n) root--;
  while ((root + 1n) * (root + 1n) <= n) root++;
  return root;
}

// ⌊√n⌋ for larger n, by Newton's method from above: from any x ≥ √n the step
// ⌊(x + ⌊n/x⌋)/2⌋ stays ≥ ⌊√n⌋ (AM-GM) and decreases while x > ⌊√n⌋.
/** @param {bigint} n */
function isqrtByNewton(n) {
  let x = 1n << BigInt(Math.ceil(n.toString(2).length / 2));
  for (;;) {
    const next = (x + n / x) >> 1n;
    if (next >= x) return x;
    x = next;
  }
}

/**
 * @param {bigint} n ≥ 0
 * @returns {bigint} ⌊√n⌋
 */
export function isqrt(n) {
  if (n < 0n) throw new RangeError("isqrt of a negative number");
  return n < 1n << 70n ? isqrtFromGuess(n) : isqrtByNewton(n);
}

// ⌊∛n⌋ as a Number, for n < 2^76: the guess in doubles is within 2^-50 of ∛n
// relatively, ∛n < 2^26, so it is off by at most one; the cubes are BigInts.
/**
 * @param {bigint} n
 * @returns {number}
 */
function cubeRoot(n) {
  let root = BigInt(Math.floor(Math.cbrt(Number(n))));
  while (root ** 3n > n) root--;
  while ((root + 1n) ** 3n <= n) root++;
  return Number(root);
}

// --- Square part ------------------------------------------------------------

const LIMB = 2 ** 24;
const TRIAL_LIMIT = 2850000n ** 3n;

/**
 * n < 2^76 as n = upper·2^24 + lower, upper < 2^52 and lower < 2^24: two
 * Numbers, each exact.
 * @param {bigint} n
 * @returns {[number, number]}
 */
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
/**
 * @param {number} upper
 * @param {number} lower
 * @param {number} p
 */
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
/** @type {Int32Array | null} */
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
  const primes = new Int32Array(count);
  for (let i = 1, at = 0; i < composite.length; i++) if (!composite[i]) primes[at++] = 2 * i + 1;
  oddPrimes = primes;
  return primes;
}

/** @typedef {{ square: bigint, free: bigint, rest: bigint }} Factoring n = square²·free·rest, as the search goes */

/**
 * Takes every factor p out of state.rest, into state.square and state.free.
 * @param {Factoring} state
 * @param {number} p a prime, below 2^26: exact as a BigInt
 */
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
/** @param {Factoring} state */
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

// Below 2^32, as a classroom's discriminants are, trial division by every
// number up to √n < 2^16 in Numbers, which hold every product here exactly,
// costs less than the sieve that larger ones need.
const SMALL = 2n ** 32n;

/**
 * @param {number} n an integer, 1 ≤ n < 2^32
 * @returns {[bigint, bigint]}
 */
function smallSquarePart(n) {
  let [square, free, rest] = [1, 1, n];
  for (let p = 2; p * p <= rest; p += p === 2 ? 1 : 2) {
    while (rest % (p * p) === 0) {
      rest /= p * p;
      square *= p;
    }
    if (rest % p === 0) {
      rest /= p;
      free *= p;
    }
  }
  return [BigInt(square), BigInt(free * rest)];
}

// n = k²·m with m squarefree, for 1 ≤ n < 2850000³ (|Δ| ≤ 2^64 + 2^62 is within).
// After trial division to ∛rest, every prime factor of rest exceeds ∛rest, so
// rest has at most two, counted with multiplicity: rest is 1, p, p² or p·q,
// and is squarefree unless it is a perfect square.
/**
 * @param {bigint} n
 * @returns {[bigint, bigint]} k and m, with n = k²·m and m squarefree
 */
export function squarePart(n) {
  if (n < 1n || n >= TRIAL_LIMIT) throw new RangeError("squarePart needs 1 ≤ n < 2850000³");
  if (n < SMALL) return smallSquarePart(Number(n));
  // A reading factors its Δ for the formula, the methods and the hints: once.
  const known = squareParts.get(n);
  if (known) return known;
  if (squareParts.size >= 8) squareParts.clear();
  const made = largeSquarePart(n);
  squareParts.set(n, made);
  return made;
}

/** @type {Map<bigint, [bigint, bigint]>} the square parts last found */
const squareParts = new Map();

/**
 * @param {bigint} n
 * @returns {[bigint, bigint]}
 */
function largeSquarePart(n) {
  const state = { square: 1n, free: 1n, rest: n };
  removeSmallPrimes(state);
  const root = isqrt(state.rest);
  if (root * root === state.rest) return [state.square * root, state.free];
  return [state.square, state.free * state.rest];
}

// --- Six decimals -----------------------------------------------------------

/**
 * A value rounded as the program rounds it, to millionths, ties to even, and
 * whether that is exact. A value that is not 0 but rounds to it also has its
 * first three significant digits, digits·10^(exponent − 2), as a calculator
 * switches to them, so that it never reads as a bare 0.
 * @typedef {{ millionths: bigint, exact: boolean, tiny?: { digits: bigint, exponent: number, exact: boolean } }} Rounded
 */
/** @typedef {(scale: bigint) => { units: bigint, exact: boolean }} Scaled the value times scale, rounded */

/**
 * n/d to the nearest integer, ties to even; exact when d divides n.
 * @param {bigint} n
 * @param {bigint} d
 */
function roundQuotient(n, d) {
  const [num, den] = d < 0n ? [-n, -d] : [n, d];
  const quotient = floorDivide(num, den);
  const twiceRemainder = 2n * (num - quotient * den);
  const up = twiceRemainder > den || (twiceRemainder === den && quotient % 2n !== 0n);
  return { units: up ? quotient + 1n : quotient, exact: twiceRemainder === 0n };
}

/**
 * The reading of a value that the function gives at any scale: in millionths,
 * and where it rounds to 0 without being 0, its three significant digits,
 * found at the first scale 10^s that gives 100 or more: the scale before gave
 * 99 at most, that is less than 99.5, so this one gives less than 995, never
 * 1000. A value below 10^−80 is not sought so far: none here comes near it.
 * @param {Scaled} at
 * @returns {Rounded}
 */
function reading(at) {
  const six = at(MILLION);
  /** @type {Rounded} */
  const made = { millionths: six.units, exact: six.exact };
  if (six.units !== 0n || six.exact) return made;
  for (let s = 7; s <= 80; s++) {
    const scaled = at(10n ** BigInt(s));
    if (abs(scaled.units) >= 100n)
      return { ...made, tiny: { digits: scaled.units, exponent: 2 - s, exact: scaled.exact } };
  }
  return made;
}

/**
 * n/d, read as the program rounds it.
 * @param {bigint} n
 * @param {bigint} d
 */
export const rounded = (n, d) => reading((scale) => roundQuotient(n * scale, d));

/**
 * (p + k·√m)/d, read as the program rounds it. Where k²m is a square the value
 * is rational and rounds as one. Otherwise √m is irrational, and so is
 * S·(p + k√m)/d for a scale S: it is never an integer plus a half, no tie can
 * occur, and the rounded value is ⌊(2S·p + d + 2S·k√m)/2d⌋ with d > 0. The
 * numerator's integer part is A + s with s = ⌊2S·|k|·√m⌋ for k > 0, A − s − 1
 * for k < 0 (the surd is never an integer), and flooring that integer part
 * first changes nothing.
 * @param {bigint} p
 * @param {bigint} k
 * @param {bigint} m
 * @param {bigint} d
 */
export function roundedSurd(p, k, m, d) {
  const root = isqrt(k * k * m);
  if (root * root === k * k * m) return rounded(p + (k < 0n ? -root : root), d);
  const [num, kk, den] = d < 0n ? [-p, -k, -d] : [p, k, d];
  return reading((scale) => {
    const s = isqrt(4n * scale * scale * kk * kk * m);
    const whole = 2n * scale * num + den + (kk > 0n ? s : -s - 1n);
    return { units: floorDivide(whole, 2n * den), exact: false };
  });
}

/**
 * A power of ten as textbooks write it: "·10⁻⁷", "·10¹⁸".
 * @param {number} exponent an integer
 */
export const powerOfTen = (exponent) =>
  `·10${exponent < 0 ? "⁻" : ""}${[...String(Math.abs(exponent))].map((digit) => "⁰¹²³⁴⁵⁶⁷⁸⁹"[Number(digit)]).join("")}`;

/**
 * A reading in decimals: six at most, and no trailing zeros; or, for a value
 * that rounds to 0 without being 0, its significant digits, as 2.68·10⁻⁷.
 * @param {Rounded} number
 * @param {string} point the language's decimal point
 */
export function decimal({ millionths, tiny }, point = ".") {
  if (tiny) {
    const digits = String(abs(tiny.digits)).replace(/0+$/, "");
    const mantissa = digits.length > 1 ? `${digits[0]}${point}${digits.slice(1)}` : digits;
    return `${tiny.digits < 0n ? MINUS : ""}${mantissa}${powerOfTen(tiny.exponent)}`;
  }
  const magnitude = abs(millionths);
  const fraction = String(magnitude % MILLION)
    .padStart(6, "0")
    .replace(/0+$/, "");
  const whole = String(magnitude / MILLION);
  return (millionths < 0n ? MINUS : "") + whole + (fraction ? point + fraction : "");
}

/**
 * Whether a reading's decimals are its value exactly.
 * @param {Rounded} number
 */
export const isExact = (number) => (number.tiny ? number.tiny.exact : number.exact);

// --- Texts ------------------------------------------------------------------

/** An integer with the minus sign of the page, U+2212. @param {bigint} n */
export const signed = (n) => (n < 0n ? MINUS + -n : String(n));
/** An integer after an operator: in parentheses when negative. @param {bigint} n */
export const parenthesized = (n) => (n < 0n ? `(${signed(n)})` : String(n));

/** @typedef {{ n: bigint, d: bigint }} Fraction a numerator and a positive denominator, without common factor */

/**
 * n/d reduced, with d > 0.
 * @param {bigint} n
 * @param {bigint} [d] not 0; 1 where omitted
 * @returns {Fraction}
 */
export function reduced(n, d = 1n) {
  const g = gcd(n, d) * (d < 0n ? -1n : 1n);
  return { n: n / g, d: d / g };
}

/**
 * n/d reduced, as text: "2", "−5/2".
 * @param {bigint} n
 * @param {bigint} d ≠ 0
 */
export function fraction(n, d) {
  const r = reduced(n, d);
  return r.d === 1n ? signed(r.n) : `${signed(r.n)}/${r.d}`;
}

/**
 * A coefficient before x or x²: 1 and −1 are written as their sign alone.
 * @param {bigint} n
 * @param {string} power
 */
function coefficient(n, power) {
  if (n === 1n || n === -1n) return (n < 0n ? MINUS : "") + power;
  return signed(n) + power;
}

/**
 * Terms joined by " + " and " − ", the first carrying its own sign.
 * @param {string[]} terms
 */
export function joinTerms(terms) {
  const present = terms.filter((t) => t !== "");
  if (present.length === 0) return "0";
  return present.reduce((text, term) =>
    term.startsWith(MINUS) ? `${text} ${MINUS} ${term.slice(1)}` : `${text} + ${term}`,
  );
}

/**
 * a·x² + b·x + c as a textbook writes it: "x² − 5x + 6", "−x", "0".
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} c
 */
export function polynomial(a, b, c) {
  return joinTerms([
    a === 0n ? "" : coefficient(a, "x²"),
    b === 0n ? "" : coefficient(b, "x"),
    c === 0n ? "" : signed(c),
  ]);
}

/**
 * k√m: "4√3", "−√3", and k alone where m = 1.
 * @param {bigint} k
 * @param {bigint} m
 */
export function surd(k, m) {
  if (k === 0n || m === 0n) return "0";
  if (m === 1n) return signed(k);
  return coefficient(k, `√${m}`);
}

/**
 * k√m/d for k, d > 0: "√6/2", "3√2/4", "2√3", or a fraction when m = 1.
 * @param {bigint} k
 * @param {bigint} m
 * @param {bigint} d
 */
function surdOver(k, m, d) {
  if (m === 1n) return fraction(k, d);
  return d === 1n ? surd(k, m) : `${surd(k, m)}/${d}`;
}

// The imaginary part k√m/d (k, d > 0, reduced) followed by i: a whole number
// is "2i" or "i", anything else goes in parentheses, "(√6/2)i".
/**
 * @param {bigint} k
 * @param {bigint} m
 * @param {bigint} d
 */
function imaginary(k, m, d) {
  if (m === 1n && d === 1n) return k === 1n ? "i" : `${k}i`;
  return `(${surdOver(k, m, d)})i`;
}

/**
 * The root of b·x + c = 0, b ≠ 0: as text, and read in decimals.
 * @param {bigint} b
 * @param {bigint} c
 */
export function linearRoot(b, c) {
  return { text: fraction(-c, b), decimal: rounded(-c, b) };
}

// --- The quadratic ------------------------------------------------------------

/**
 * b² − 4ac with the numbers, each step: "(−5)² − 4·1·6 = 25 − 24 = 1".
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} c
 * @param {bigint} delta
 */
function deltaWorking(a, b, c, delta) {
  const fourAC = 4n * a * c;
  const second = fourAC < 0n ? `+ ${-fourAC}` : `${MINUS} ${fourAC}`;
  const product = `4·${parenthesized(a)}·${parenthesized(c)}`;
  return `${parenthesized(b)}² ${MINUS} ${product} = ${b * b} ${second} = ${signed(delta)}`;
}

/**
 * √|Δ| = k√m, shown through k² when k > 1: "√24 = √(4·6) = 2√6".
 * @param {bigint} magnitude
 * @param {[bigint, bigint]} square
 */
function rootOfMagnitude(magnitude, [k, m]) {
  if (m === 1n) return `√${magnitude} = ${k}`;
  if (k === 1n) return "";
  return `√${magnitude} = √(${k * k}·${m}) = ${surd(k, m)}`;
}

// The real root (p ± k√m)/d with k > 0 over the common denominator, reduced,
// d made positive: sign is "−", "+" or "±" before the surd.
/**
 * @param {bigint} p
 * @param {string} sign
 * @param {bigint} k
 * @param {bigint} m
 * @param {bigint} d
 */
function realSurdRoot(p, sign, k, m, d) {
  const g = gcd(gcd(p, k), d) * (d < 0n ? -1n : 1n);
  const [num, kk, den] = [p / g, abs(k / g), d / g];
  const flipped = g < 0n && sign !== "±" ? (sign === MINUS ? "+" : MINUS) : sign;
  const root = surd(kk, m);
  if (num === 0n) return (flipped === "+" ? "" : flipped) + (den === 1n ? root : `${root}/${den}`);
  const sum = `${signed(num)} ${flipped} ${root}`;
  return den === 1n ? sum : `(${sum})/${den}`;
}

/**
 * @param {bigint} a
 * @param {bigint} b
 * @param {[bigint, bigint]} square
 */
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

/**
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} root √Δ, an integer
 */
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

// p/d ± (k√m/|2a|)i, the two parts each reduced on its own. x₁, the root
// with the minus sign in the formula, (−b − √(−Δ)·i)/(2a), has the minus sign
// before its imaginary part where a > 0, the plus sign where a < 0.
/**
 * @param {bigint} a
 * @param {bigint} b
 * @param {[bigint, bigint]} square
 */
function complexRoots(a, b, [k, m]) {
  const d = 2n * abs(a);
  const g = gcd(k, d);
  const imag = imaginary(k / g, m, d / g);
  const isZero = b === 0n;
  const re = fraction(-b, 2n * a);
  const [first, second] = a > 0n ? [MINUS, "+"] : ["+", MINUS];
  const part = (/** @type {string} */ sign) => (isZero ? (sign === "+" ? "" : MINUS) + imag : `${re} ${sign} ${imag}`);
  return {
    x1: part(first),
    x2: part(second),
    both: isZero ? `±${imag}` : `${re} ± ${imag}`,
    reDecimal: rounded(-b, 2n * a),
    imDecimal: roundedSurd(0n, k, m, d),
    /** @type {[string, string]} */
    imaginarySigns: [first, second],
  };
}

/**
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} delta
 * @param {[bigint, bigint] | null} square the square part of |Δ|, null for Δ = 0
 */
function roots(a, b, delta, square) {
  if (square === null) return realRational(a, b, 0n);
  if (delta < 0n) return complexRoots(a, b, square);
  return square[1] === 1n ? realRational(a, b, square[0]) : realIrrational(a, b, square);
}

// The steps after the formula: √|Δ| simplified, the formula again with it,
// then each root (rational) or both in simplest form. Where Δ < 0 the square
// root is taken of −Δ, a positive number, and i stands beside it.
/**
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} delta
 * @param {[bigint, bigint] | null} square
 * @param {{ x1: string, x2: string, both: string | null }} forms
 */
function steps(a, b, delta, square, forms) {
  const [minusB, den] = [signed(-b), parenthesized(2n * a)];
  if (square === null) return [`√0 = 0`, `x = ${minusB}/${den}`, `x = ${forms.x1}`];
  const [k, m] = square;
  const radical = m === 1n ? String(k) : surd(k, m);
  const lines = [rootOfMagnitude(abs(delta), square)];
  // Δ = −1 is impossible (Δ ≡ 0 or 1 mod 4), so for Δ < 0 a whole radical is never 1.
  if (delta < 0n) lines.push(`x = (${minusB} ± ${radical}${m === 1n ? "" : "·"}i)/${den}`);
  else lines.push(`x = (${minusB} ± ${radical})/${den}`);
  if (forms.both !== null) return [...lines, `x = ${forms.both}`];
  return [
    ...lines,
    `x₁ = (${minusB} ${MINUS} ${k})/${den} = ${forms.x1}`,
    `x₂ = (${minusB} + ${k})/${den} = ${forms.x2}`,
  ];
}

/**
 * Drops empty lines and any line that repeats the one before it.
 * @param {string} first
 * @param {string[]} lines
 */
function withoutRepeats(first, lines) {
  const kept = [];
  let previous = first;
  for (const line of lines) {
    if (line !== "" && line !== previous) kept.push(line);
    if (line !== "") previous = line;
  }
  return kept;
}

/**
 * The formula with the numbers; for Δ < 0, the square root of −Δ, and i.
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} delta
 */
function rootWorking(a, b, delta) {
  const root = delta < 0n ? `√${-delta}·i` : `√${delta}`;
  return `x = (${signed(-b)} ± ${root})/${parenthesized(2n * a)}`;
}

/**
 * A factor v·x − u of a rational root u/v, v > 0: "x", "2x − 1", "x + 3".
 * @param {Fraction} root
 */
function linearFactor({ n: u, d: v }) {
  const term = v === 1n ? "x" : `${v}x`;
  if (u === 0n) return term;
  return `${term} ${u > 0n ? MINUS : "+"} ${abs(u)}`;
}

const wrapped = (/** @type {string} */ factor) => (factor === "x" ? "x" : `(${factor})`);

// a(x − r1)(x − r2) over the integers: the content of a primitive factor is 1,
// and so is that of their product (Gauss), so v1·v2 divides a. A bare x comes
// first, then factors by decreasing leading coefficient, else as x1, x2.
/**
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} root √Δ, an integer
 */
function factored(a, b, root) {
  const [r1, r2] = [reduced(-b - root, 2n * a), reduced(-b + root, 2n * a)];
  const lead = a / (r1.d * r2.d);
  const sign = lead === 1n ? "" : lead === -1n ? MINUS : signed(lead);
  if (root === 0n) {
    const factor = linearFactor(r1);
    return sign + (factor === "x" ? "x²" : `(${factor})²`);
  }
  const order = (/** @type {Fraction} */ r, /** @type {Fraction} */ s) =>
    r.n === 0n ? -1 : s.n === 0n ? 1 : Number(s.d - r.d);
  const pair = [r1, r2].sort(order).map((r) => wrapped(linearFactor(r)));
  return sign + pair.join("");
}

/**
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} delta
 */
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

/**
 * What an equation with a ≠ 0 gives, exactly: its discriminant and the square
 * part of |Δ|, the working, the roots as text and read in decimals, the
 * factored form where they are rational, the vertex form, the vertex and the
 * axis.
 * @typedef {object} Common
 * @property {bigint} delta
 * @property {[bigint, bigint] | null} square k and m with |Δ| = k²·m, null for Δ = 0
 * @property {string} deltaWorking
 * @property {string} rootWorking
 * @property {string[]} simplified the steps after the formula
 * @property {boolean} rational whether the roots are rational
 * @property {string} x1 the root with the minus sign in the formula
 * @property {string} x2
 * @property {string | null} both the two roots in one, with ±, where they are irrational or complex
 * @property {string | null} factored
 * @property {string} vertexForm
 * @property {Fraction} h the vertex's x
 * @property {Fraction} k the vertex's y
 * @property {Rounded} hDecimal
 * @property {Rounded} kDecimal
 * @property {string} axis
 */
/** @typedef {Common & { kind: "two" | "double", x1Decimal: Rounded, x2Decimal: Rounded }} RealForms */
/**
 * @typedef {Common & { kind: "complex", reDecimal: Rounded, imDecimal: Rounded, imaginarySigns: [string, string] }} ComplexForms
 * imDecimal is the size of the imaginary part; imaginarySigns, the sign before it in x₁ and in x₂
 */
/** @typedef {RealForms | ComplexForms} Forms */

/**
 * @param {bigint} a ≠ 0
 * @param {bigint} b
 * @param {bigint} c
 * @returns {Forms}
 */
export function quadraticForms(a, b, c) {
  if (a === 0n) throw new RangeError("quadraticForms needs a ≠ 0");
  const delta = b * b - 4n * a * c;
  const square = delta === 0n ? null : squarePart(abs(delta));
  const kind = delta < 0n ? "complex" : delta === 0n ? "double" : "two";
  const rational = square === null || (delta > 0n && square[1] === 1n);
  const forms = roots(a, b, delta, square);
  const working = rootWorking(a, b, delta);
  return /** @type {Forms} */ ({
    delta,
    square,
    deltaWorking: deltaWorking(a, b, c, delta),
    rootWorking: working,
    simplified: withoutRepeats(working, steps(a, b, delta, square, forms)),
    kind,
    rational,
    ...forms,
    factored: rational ? factored(a, b, square === null ? 0n : square[0]) : null,
    ...vertex(a, b, delta),
  });
}
