// SPDX-License-Identifier: MIT
// @ts-check
// A student's answer to a quadratic equation, read as people write it: the
// roots in any arrangement (x = 2 or x = 3, x₁ = 2, x₂ = 3, S = {2; 3}, 2 and
// 3), in exact forms with fractions, square roots, ± and i, or in decimals
// with the language's point; a claim that there is no real root, in the
// language's words; or the discriminant alone (Δ = 1, D = 1, b² − 4ac = 1).
//
// The numbers read are exact: sums of terms q·√m and q·√m·i with q rational,
// BigInt throughout, so that an unsimplified radical, √12, is the same number
// as 2√3, and 1/√2 the same as √2/2. No DOM.
import { fixTyped } from "./check.mjs";
import { abs, gcd, isqrt, reduced, squarePart } from "./exact.mjs";

/** @typedef {{ n: bigint, d: bigint }} Rational n/d without common factor, d > 0 */
/**
 * q·√m, times i where i is set; q ≠ 0, m ≥ 1 holds no square of a prime
 * below 128 and is no square itself, 1 for a rational term.
 * @typedef {{ q: Rational, m: bigint, i: boolean }} Term
 */
/**
 * A sum of terms no two of which are rational multiples of each other (the
 * product of the radicands of two real or two imaginary terms is never a
 * square), so that a number is 0 exactly when it has no term: √m for the
 * square-free parts of the radicands are linearly independent over the
 * rationals, and i times them too.
 * @typedef {Term[]} Exact
 */

const MINUS = "\u2212";

// --- Rationals ----------------------------------------------------------------

const ratio = reduced;

/** @type {(x: Rational, y: Rational) => Rational} */
const plus = (x, y) => ratio(x.n * y.d + y.n * x.d, x.d * y.d);
/** @type {(x: Rational, y: Rational) => Rational} */
const times = (x, y) => ratio(x.n * y.n, x.d * y.d);
/** @type {(x: Rational) => Rational} */
const opposite = (x) => ({ n: -x.n, d: x.d });

// --- Exact numbers ------------------------------------------------------------

// Below 2850000³, as every discriminant is, the exact arithmetic's square
// part makes a radicand square-free; a larger one keeps only a whole square
// taken out, and merging (below) copes with what is left.
const FACTORED = 2850000n ** 3n;

/**
 * q·√m (times i), with the square part taken out of m.
 * @param {Rational} q
 * @param {bigint} m ≥ 0
 * @param {boolean} i
 * @returns {Exact}
 */
function term(q, m, i) {
  if (q.n === 0n || m === 0n) return [];
  if (m < FACTORED) {
    const [k, free] = squarePart(m);
    return [{ q: times(q, ratio(k)), m: free, i }];
  }
  const root = isqrt(m);
  if (root * root === m) return [{ q: times(q, ratio(root)), m: 1n, i }];
  return [{ q, m, i }];
}

/**
 * n/d as an exact number.
 * @param {bigint} n
 * @param {bigint} [d] the denominator, not 0
 * @returns {Exact}
 */
export const rationalNumber = (n, d = 1n) => term(ratio(n, d), 1n, false);

/** @type {Exact} */
const I = [{ q: ratio(1n), m: 1n, i: true }];

/**
 * (p + k·√d)/q, where √d is i·√−d for d < 0.
 * @param {bigint} p
 * @param {bigint} k
 * @param {bigint} d
 * @param {bigint} q ≠ 0
 * @returns {Exact}
 */
export const quadraticSurd = (p, k, d, q) => add(rationalNumber(p, q), term(ratio(k, q), abs(d), d < 0n));

// √n as a rational multiple of √m, or null where m·n is no square.
/**
 * @param {bigint} m
 * @param {bigint} n
 */
function rootRatio(m, n) {
  if (m === n) return ratio(1n);
  const root = isqrt(m * n);
  return root * root === m * n ? ratio(root, m) : null;
}

/**
 * The terms with t added: into the term it is a rational multiple of, if any.
 * @param {Exact} terms
 * @param {Term} t
 * @returns {Exact}
 */
function merged(terms, t) {
  for (const [k, u] of terms.entries()) {
    const r = u.i === t.i ? rootRatio(u.m, t.m) : null;
    if (r === null) continue;
    const q = plus(u.q, times(t.q, r));
    return q.n === 0n ? terms.filter((_, j) => j !== k) : terms.map((v, j) => (j === k ? { ...u, q } : v));
  }
  return [...terms, t];
}

/** @type {(x: Exact, y: Exact) => Exact} */
export const add = (x, y) => y.reduce(merged, x);
/** @type {(x: Exact) => Exact} */
const negate = (x) => x.map((t) => ({ ...t, q: opposite(t.q) }));
/** @type {(x: Exact, y: Exact) => Exact} */
export const subtract = (x, y) => add(x, negate(y));
/** @type {(x: Exact, y: Exact) => boolean} */
export const equal = (x, y) => subtract(x, y).length === 0;

// √m·√n = g·√((m/g)·(n/g)) for g = gcd(m, n), which keeps radicands small.
/**
 * @param {Term} t
 * @param {Term} u
 */
function termProduct(t, u) {
  if (t.m === 1n || u.m === 1n) {
    const q = times(t.q, u.q);
    return [{ q: t.i && u.i ? opposite(q) : q, m: t.m * u.m, i: t.i !== u.i }];
  }
  const g = gcd(t.m, u.m);
  return term(times(times(t.q, u.q), ratio(t.i && u.i ? -g : g)), (t.m / g) * (u.m / g), t.i !== u.i);
}

/** @type {(x: Exact, y: Exact) => Exact} */
export const multiply = (x, y) => x.flatMap((t) => y.flatMap((u) => termProduct(t, u))).reduce(merged, []);

// 1/(q·√m) = √m/(q·m), and 1/i = −i.
/** @param {Term} t @returns {Term} */
function reciprocal({ q, m, i }) {
  const r = ratio(q.d, q.n * m);
  return { q: i ? opposite(r) : r, m, i };
}

/**
 * The divisor with its imaginary terms turned, where it has any, or else with
 * one radical turned: its product with the divisor has fewer terms.
 * @param {Exact} y
 */
function conjugate(y) {
  if (y.some((t) => t.i)) return y.map((t) => (t.i ? { ...t, q: opposite(t.q) } : t));
  const last = y.findLastIndex((t) => t.m !== 1n);
  return y.map((t, k) => (k === last ? { ...t, q: opposite(t.q) } : t));
}

/**
 * x/y, the divisor made one term by multiplying both by conjugates; null
 * where four of them leave more than one term.
 * @param {Exact} x
 * @param {Exact} y ≠ 0
 * @returns {Exact | null}
 */
function divide(x, y) {
  let [top, bottom] = [x, y];
  for (let step = 0; bottom.length > 1 && step < 4; step++) {
    const flip = conjugate(bottom);
    [top, bottom] = [multiply(top, flip), multiply(bottom, flip)];
  }
  return bottom.length === 1 ? multiply(top, [reciprocal(bottom[0])]) : null;
}

/**
 * √x for a rational x: √(n/d) = √(n·d)/d, times i where x < 0; null for any
 * other x.
 * @param {Exact} x
 * @returns {Exact | null}
 */
function squareRoot(x) {
  if (x.length === 0) return [];
  if (x.length > 1 || x[0].m !== 1n || x[0].i) return null;
  const { n, d } = x[0].q;
  return term(ratio(1n, d), abs(n) * d, n < 0n);
}

/** @type {(x: Exact) => Exact} */
export const realPart = (x) => x.filter((t) => !t.i);
/** @type {(x: Exact) => Exact} */
export const imaginaryPart = (x) => x.filter((t) => t.i).map((t) => ({ ...t, i: false }));

/**
 * The sign of a real r + s·√m, one radical at most: that of s·√m − (−r), by
 * the signs of both sides, then by their squares. null for more radicals.
 * @param {Exact} x real
 * @returns {number | null} −1, 0 or 1
 */
export function signOf(x) {
  const surds = x.filter((t) => t.m !== 1n);
  const r = x.find((t) => t.m === 1n)?.q ?? ratio(0n);
  if (surds.length > 1) return null;
  if (surds.length === 0) return r.n > 0n ? 1 : r.n < 0n ? -1 : 0;
  const { q: s, m } = surds[0];
  const [left, right] = [s.n > 0n ? 1 : -1, r.n < 0n ? 1 : r.n > 0n ? -1 : 0];
  if (left !== right) return left > right ? 1 : -1;
  const [square, other] = [times(times(s, s), ratio(m)), times(r, r)];
  const difference = square.n * other.d - other.n * square.d;
  return difference > 0n ? left : difference < 0n ? -left : 0;
}

// --- Texts of exact numbers -----------------------------------------------------

/** @param {Term} t the size of the term, as exact.mjs writes it: "√13/2", "(√6/2)i", "3i" */
function termText({ q, m, i }) {
  const size = abs(q.n);
  const root = m === 1n ? "" : `√${m}`;
  const body = (size === 1n && root ? "" : String(size)) + root + (q.d === 1n ? "" : `/${q.d}`);
  if (!i) return body;
  if (body === "1") return "i";
  return m === 1n && q.d === 1n ? `${body}i` : `(${body})i`;
}

/**
 * An exact number as the page writes one: "5/2 − √13/2", "−1 + (√6/2)i".
 * @param {Exact} x
 * @returns {string}
 */
export function format(x) {
  if (x.length === 0) return "0";
  const order = (/** @type {Term} */ t) => (t.i ? 2 : 0) + (t.m === 1n ? 0 : 1);
  const sorted = [...x].sort((t, u) => order(t) - order(u) || (t.m < u.m ? -1 : t.m > u.m ? 1 : 0));
  return sorted
    .map((t, k) => {
      const text = termText(t);
      if (k === 0) return t.q.n < 0n ? MINUS + text : text;
      return t.q.n < 0n ? ` ${MINUS} ${text}` : ` + ${text}`;
    })
    .join("");
}

// --- Words --------------------------------------------------------------------

/**
 * What a language writes in an answer, besides symbols and the letters x (and
 * س, the x of Arabic schools), i, Δ, D, delta, S, L and V, which every
 * language reads.
 * @typedef {object} Language
 * @property {string} decimalPoint "." or ","; a point between digits is read as one in every language
 * @property {string[]} and words between two roots, as "and"
 * @property {string[]} or words between two roots, as "or"
 * @property {string[]} noRealRoot phrases that say there is no real root: each may take letters at its end, as a plural
 * @property {string[]} [discriminant] words for the discriminant, as "discriminant"
 * @property {string[]} [x] other letters for the unknown
 */

// One test of each Unicode class, shared: a pattern with \p{L} costs a
// fraction of a millisecond to compile, and the page's first answer must
// come quickly.
const LETTER = /\p{L}/u;
const MARK = /\p{M}/u;
const MARKS = /\p{M}/gu;
const HAN = /\p{Script=Han}/u;

/**
 * A text for matching words: accents, other marks and case taken away, with
 * where each of its characters comes from in the text, and back.
 * @param {string} text
 */
function fold(text) {
  let folded = "";
  /** @type {number[]} */
  const foldedAt = [];
  for (const character of text) {
    for (let unit = 0; unit < character.length; unit++) foldedAt.push(folded.length);
    folded += character.normalize("NFD").replace(MARKS, "").toLowerCase().replace(/[‘’′]/g, "'");
  }
  foldedAt.push(folded.length);
  return { folded, foldedAt };
}

/** @typedef {{ kind: "claim" | "separator" | "delta", pattern: RegExp, han: boolean }} Phrase */

/** @type {WeakMap<Language, Phrase[]>} */
const phrasesOfLanguage = new WeakMap();

// The language's phrases, longest first, each a sticky pattern on folded
// text, its words apart by any spaces.
/**
 * @param {Language} language
 * @returns {Phrase[]}
 */
function phrasesOf(language) {
  const known = phrasesOfLanguage.get(language);
  if (known) return known;
  /** @type {(kind: Phrase["kind"], list: string[]) => [Phrase["kind"], string][]} */
  const tagged = (kind, list) => list.map((phrase) => [kind, fold(phrase.trim()).folded]);
  const phrases = [
    ...tagged("claim", language.noRealRoot),
    ...tagged("separator", [...language.and, ...language.or]),
    ...tagged("delta", language.discriminant ?? []),
  ]
    .filter(([, phrase]) => phrase !== "")
    .sort(([, p], [, q]) => q.length - p.length)
    .map(([kind, phrase]) => {
      const words = phrase.split(/\s+/).map((word) => word.replace(/[.*+?^${}()|[\]\\]/g, "\\$&"));
      return { kind, pattern: new RegExp(words.join("\\s+"), "uy"), han: HAN.test(phrase.slice(-1)) };
    });
  phrasesOfLanguage.set(language, phrases);
  return phrases;
}

/**
 * The phrase at a place of the folded text, if any, and where it ends: a
 * word ends with it (but in Chinese, whose words have no spaces between
 * them), and a claim takes the letters after it, as a plural's.
 * @param {Phrase[]} phrases
 * @param {string} folded
 * @param {number} from
 */
function phraseAt(phrases, folded, from) {
  for (const { kind, pattern, han } of phrases) {
    let stop = endOf(pattern, folded, from);
    if (stop === null) continue;
    if (kind === "claim") while (stop < folded.length && LETTER.test(folded[stop])) stop++;
    if (han || kind === "claim" || !LETTER.test(folded[stop] ?? "")) return { kind, stop };
  }
  return null;
}

/**
 * Where a run of letters at a place ends: a Chinese character is one on its
 * own, other letters run on with their marks.
 * @param {string} text
 * @param {number} at
 */
function lettersEnd(text, at) {
  const first = String.fromCodePoint(/** @type {number} */ (text.codePointAt(at)));
  if (!LETTER.test(first)) return null;
  let end = at + first.length;
  if (HAN.test(first)) return end;
  for (const character of text.slice(end)) {
    if (HAN.test(character) || !(LETTER.test(character) || MARK.test(character))) break;
    end += character.length;
  }
  return end;
}

// --- Tokens -------------------------------------------------------------------

/**
 * A piece of the answer: at and end index the text after fixTyped; space
 * says whether white space comes before it.
 * @typedef {object} Token
 * @property {string} kind
 * @property {number} at
 * @property {number} end
 * @property {boolean} [space]
 * @property {string} [op] for a sign: "+", "-", "±" or "∓"
 * @property {Rational} [value] for a number
 * @property {number | null} [decimals] for a number: its digits after the point, null for none
 * @property {number} [power] for a superscript power
 */

/** @type {Record<string, [string, string?]>} */
const SYMBOLS = {
  "+": ["sign", "+"],
  "±": ["sign", "±"],
  "∓": ["sign", "∓"],
  "*": ["times"],
  "/": ["over"],
  "^": ["caret"],
  "√": ["root"],
  "(": ["open"],
  "[": ["open"],
  ")": ["close"],
  "]": ["close"],
  "{": ["setOpen"],
  "}": ["setClose"],
  "∅": ["empty"],
  "²": ["power", "2"],
  "³": ["power", "3"],
};
for (const minus of "-\u2010\u2011\u2012\u2013\u2014\u2015\u2212\ufe63") SYMBOLS[minus] = ["sign", "-"];
for (const mark of "·⋅×∙•") SYMBOLS[mark] = ["times"];
for (const mark of "÷⁄∕") SYMBOLS[mark] = ["over"];
for (const mark of "=≈≃∈:") SYMBOLS[mark] = ["relation"];
// A point that ends a number's digits ends a sentence.
for (const mark of ";؛,&.") SYMBOLS[mark] = ["separator"];

// ± typed on a keyboard without it, ∓ the same way, a power with two stars.
const PAIRS = /\+\/?[-\u2212]|[-\u2212]\+|\*\*/y;
const ELLIPSIS = /\.\.\.|…/y;
const GROUPED = /\d+(?:[\u00a0\u2007\u2009\u202f]\d{3}(?!\d))*/y;
const VULGAR = /[¼½¾\u2150-\u215e]/y;
// What follows x as its index: x1, x₂, x_1, x_{1,2}, x1/2 (German), x' and x'' (Brazilian).
const INDEX = /_?\{?[12₁₂](?:[,/;][12₁₂])?\}?|''?|[′″]/y;
const FORMULA = /b\s*(?:²|\^\s*2|\*\*\s*2|2|[*·×⋅]\s*b)\s*[-−–]\s*4\s*[*·×⋅]?\s*a\s*[*·×⋅]?\s*c/iy;
const LETTER_KINDS = new Map([
  ["sqrt", "root"],
  ["i", "i"],
  ["x", "x"],
  ["δ", "delta"],
  ["delta", "delta"],
  ["d", "delta"],
  ["s", "set"],
  ["l", "set"],
  ["v", "set"],
  ["𝕃", "set"],
  ["ø", "empty"],
]);

/**
 * Whether a sticky pattern matches at a place, and where the match ends.
 * @param {RegExp} pattern sticky
 * @param {string} text
 * @param {number} at
 */
function endOf(pattern, text, at) {
  pattern.lastIndex = at;
  return pattern.test(text) ? pattern.lastIndex : null;
}

/**
 * A number at a place: digits (in groups of three apart by a narrow space,
 * as French writes them), a decimal part after a point, or after a comma in
 * a language that writes one, a vulgar fraction after or instead of them.
 * @param {string} text
 * @param {number} at
 * @param {boolean} comma
 * @returns {Token | null}
 */
function numberAt(text, at, comma) {
  let end = endOf(GROUPED, text, at) ?? at;
  const whole = text.slice(at, end).replace(/\D/g, "");
  let [n, d, decimals] = [BigInt(whole || "0"), 1n, /** @type {number | null} */ (null)];
  const point = text[end];
  if ((point === "." || (comma && point === "," && whole !== "")) && /\d/.test(text[end + 1] ?? "")) {
    const stop = /** @type {number} */ (endOf(/\d+/y, text, end + 1));
    const part = text.slice(end + 1, stop);
    [n, d, decimals, end] = [BigInt(whole + part), 10n ** BigInt(part.length), part.length, stop];
  } else if (endOf(VULGAR, text, end) !== null) {
    const [top, bottom] = text[end].normalize("NFKC").split("⁄").map(BigInt);
    [n, d, end] = [n * bottom + top, bottom, end + 1];
  }
  if (end === at) return null;
  return { kind: "number", at, end: endOf(ELLIPSIS, text, end) ?? end, value: ratio(n, d), decimals };
}

/**
 * The answer's text folded, with its places both ways, the language's
 * phrases and its letters for x.
 * @typedef {{ folded: string, foldedAt: number[], origin: Map<number, number>, phrases: Phrase[], xs: Set<string> }} Words
 */

/**
 * A run of letters at a place: a phrase of the language, the formula
 * b² − 4ac, or a word the reader knows, else an unknown one.
 * @param {string} text
 * @param {number} at
 * @param {Words} words
 * @returns {Token | null}
 */
function lettersAt(text, at, words) {
  const end = lettersEnd(text, at);
  if (end === null) return null;
  const from = words.foldedAt[at];
  const phrase = phraseAt(words.phrases, words.folded, from);
  if (phrase) return { kind: phrase.kind, at, end: words.origin.get(phrase.stop) ?? end };
  const formula = endOf(FORMULA, text, at);
  if (formula !== null) return { kind: "formula", at, end: formula };
  const run = words.folded.slice(from, words.foldedAt[end]);
  const kind = words.xs.has(run) ? "x" : (LETTER_KINDS.get(run) ?? "word");
  return { kind, at, end: kind === "x" ? (endOf(INDEX, text, end) ?? end) : end };
}

/**
 * @param {string} text
 * @param {number} at
 * @returns {Token}
 */
function symbolAt(text, at) {
  const pair = endOf(PAIRS, text, at);
  if (pair !== null) {
    const op = text[at] === "*" ? null : text[at] === "+" ? "±" : "∓";
    return op ? { kind: "sign", at, end: pair, op } : { kind: "caret", at, end: pair };
  }
  const character = String.fromCodePoint(/** @type {number} */ (text.codePointAt(at)));
  const [kind, op] = SYMBOLS[character] ?? ["other"];
  const token = { kind, at, end: at + character.length };
  if (kind === "power") return { ...token, power: Number(op) };
  return op ? { ...token, op } : token;
}

/**
 * @param {string} text after fixTyped
 * @param {Language} language
 * @returns {Token[]}
 */
function tokensOf(text, language) {
  const { folded, foldedAt } = fold(text);
  // A phrase ends before the last character that folds to where it ends: a
  // combining accent after its last letter belongs to it.
  const origin = new Map(foldedAt.map((f, at) => [f, at]));
  const xs = new Set(["x", "س", ...(language.x ?? []).map((x) => fold(x).folded)]);
  const words = { folded, foldedAt, phrases: phrasesOf(language), xs, origin };
  const comma = language.decimalPoint === ",";
  /** @type {Token[]} */
  const tokens = [];
  for (let at = 0, space = false; at < text.length;) {
    if (/\s/.test(text[at])) {
      [at, space] = [at + 1, true];
      continue;
    }
    const ellipsis = endOf(ELLIPSIS, text, at);
    const token =
      ellipsis === null ? (numberAt(text, at, comma) ?? lettersAt(text, at, words) ?? symbolAt(text, at)) : null;
    if (token) tokens.push({ ...token, space });
    [at, space] = [token?.end ?? /** @type {number} */ (ellipsis), false];
  }
  return tokens;
}

// --- Reading ------------------------------------------------------------------

/**
 * A value read: with the digits after the point of its decimals (the most
 * of any number in it), null where it has none; at and end give the part of
 * the text it comes from.
 * @typedef {{ value: Exact, decimals: number | null, at: number, end: number }} Root
 */
/**
 * What could not be read, and where: "unexpected", something the reader
 * can't use there; "end", an answer that stops before it is whole (at: the
 * part begun); "zero", a division by zero; "radical", the square root of
 * something other than a number or fraction; "divisor", a division the reader
 * can't make; "empty", nothing at all.
 * @typedef {{ at: number, end: number, reason: Reason }} Unread
 * @typedef {"unexpected" | "end" | "zero" | "radical" | "divisor" | "empty"} Reason
 */
/**
 * An answer read: its text after fixTyped, which at and end index; the roots
 * read, in the order written, a ± giving two; the discriminant, if given;
 * whether it says there is no real root.
 * @typedef {object} Answer
 * @property {string} text
 * @property {Root[]} roots
 * @property {Root | null} discriminant
 * @property {boolean} noRealRoot
 * @property {Unread | null} unread
 */

/** @typedef {(pm: number) => Exact} Value an expression's value, pm the sign ± takes */

const LABELS = new Set(["x", "set", "delta", "formula"]);
const MAX_POWER = 8;

/**
 * The items of an answer, into it: each a list of roots after its labels,
 * x = …, Δ = …, S = {…}, apart by separators or by white space alone.
 * @param {Token[]} tokens
 * @param {string} text
 * @param {Answer} answer
 */
function readItems(tokens, text, answer) {
  let at = 0,
    itemAt = 0,
    usesPm = false,
    /** @type {number | null} */ decimals = null;
  const kind = () => tokens[at]?.kind ?? "";
  const last = () => tokens[at - 1].end;
  /** @type {(token: { at: number, end: number } | undefined, reason: Unread["reason"]) => never} */
  const fail = (token, reason) => {
    throw token && reason !== "end" ? { ...token, reason } : { at: itemAt, end: text.length, reason: "end" };
  };

  /** @type {(depth: number) => Value} */
  function primary(depth) {
    const token = tokens[at++];
    if (!token) return fail(token, "end");
    if (token.kind === "number") {
      const { n, d } = /** @type {Rational} */ (token.value);
      if (token.decimals != null) decimals = Math.max(decimals ?? 0, token.decimals);
      const value = rationalNumber(n, d);
      return () => value;
    }
    if (token.kind === "i") return () => I;
    if (token.kind === "root") return radical(token, depth);
    if (token.kind !== "open") return fail(token, "unexpected");
    const inner = sum(depth + 1);
    if (kind() !== "close") fail(tokens[at], "unexpected");
    at++;
    return inner;
  }

  // √ of a primary, with a minus before it for √−24.
  /** @type {(token: Token, depth: number) => Value} */
  function radical(token, depth) {
    const minus = kind() === "sign" && tokens[at].op === "-";
    if (minus) at++;
    const inner = primary(depth);
    const where = { at: token.at, end: last() };
    return (pm) => squareRoot(minus ? negate(inner(pm)) : inner(pm)) ?? fail(where, "radical");
  }

  // A primary with its powers: ², ³, or ^k for a whole k up to 8.
  /** @type {(depth: number) => Value} */
  function factor(depth) {
    let value = primary(depth);
    while (kind() === "power" || kind() === "caret") {
      const token = tokens[at++];
      const exponent = token.kind === "power" ? token.power : tokens[at++]?.value;
      const k = typeof exponent === "number" ? exponent : exponent?.d === 1n ? Number(exponent.n) : -1;
      if (!(k >= 0 && k <= MAX_POWER)) fail(tokens[at - 1], "unexpected");
      const base = value;
      value = (pm) => Array.from({ length: k }).reduce((power) => multiply(power, base(pm)), rationalNumber(1n));
    }
    return value;
  }

  // Factors multiplied or divided, left to right, a product written without
  // a sign, as 2√3, i√6 or (√6/2)i, included; a number after a number is no
  // product, but the next root of a list.
  /** @type {(depth: number) => Value} */
  function product(depth) {
    let value = factor(depth);
    for (;;) {
      const operator = kind();
      const written = operator === "times" || operator === "over";
      if (!written && !["root", "i", "open"].includes(operator)) return value;
      if (written) at++;
      const from = tokens[at]?.at ?? text.length;
      // A sign after × or /, as in (5 ± √13)/-2.
      const minus = written && kind() === "sign" && tokens[at].op === "-";
      if (written && kind() === "sign" && /[+-]/.test(tokens[at].op ?? "")) at++;
      const [left, right] = [value, minus ? negated(factor(depth)) : factor(depth)];
      const where = { at: from, end: last() };
      value =
        operator !== "over"
          ? (pm) => multiply(left(pm), right(pm))
          : (pm) => {
              const bottom = right(pm);
              if (bottom.length === 0) fail(where, "zero");
              return divide(left(pm), bottom) ?? fail(where, "divisor");
            };
    }
  }

  // Products added and taken away, ± and ∓ among the signs. At the top, a
  // sign after a space and before its number without one, as in 2 -3, starts
  // the next root of a list.
  /** @type {(depth: number) => Value} */
  function sum(depth) {
    /** @type {[string, Value][]} */
    const parts = [];
    let sign = "+";
    if (kind() === "sign") sign = /** @type {string} */ (tokens[at++].op);
    for (;;) {
      parts.push([sign, product(depth)]);
      const next = tokens[at];
      if (next?.kind !== "sign") break;
      const listed = depth === 0 && /[+-]/.test(next.op ?? "") && next.space && tokens[at + 1]?.space === false;
      if (listed) break;
      [sign, at] = [/** @type {string} */ (next.op), at + 1];
    }
    usesPm ||= parts.some(([sign]) => sign === "±" || sign === "∓");
    const times = (/** @type {string} */ sign, /** @type {number} */ pm) =>
      sign === "+" ? 1 : sign === "-" ? -1 : sign === "±" ? pm : -pm;
    return (pm) =>
      parts.reduce(
        (total, [sign, part]) => add(total, times(sign, pm) > 0 ? part(pm) : negate(part(pm))),
        /** @type {Exact} */ ([]),
      );
  }

  /** @type {(value: Value) => Value} */
  const negated = (value) => (pm) => negate(value(pm));

  // One expression: its roots, two where it has ±.
  /** @returns {Root[]} */
  function expression() {
    [usesPm, decimals] = [false, null];
    const from = tokens[at]?.at ?? text.length;
    const value = sum(0);
    const root = (/** @type {number} */ pm) => ({ value: value(pm), decimals, at: from, end: last() });
    return usesPm ? [root(1), root(-1)] : [root(1)];
  }

  // {2; 3}, after S =, x ∈ or nothing; {} says there is no root.
  function set() {
    at++;
    let empty = true;
    while (kind() !== "setClose") {
      if (at >= tokens.length) fail(undefined, "end");
      if (kind() === "separator") at++;
      else [answer.roots, empty] = [[...answer.roots, ...expression()], false];
    }
    at++;
    if (empty) answer.noRealRoot = true;
  }

  // Labels, each with its relation (x =, x₁ =, Δ =, b² − 4ac =, S =), then
  // a set, or a chain of expressions, x = (5 ± 1)/2 = 3, whose last counts.
  function item() {
    itemAt = tokens[at].at;
    const labels = [];
    while (LABELS.has(kind()) && tokens[at + 1]?.kind === "relation") {
      labels.push(tokens[at].kind);
      at += 2;
    }
    if (LABELS.has(kind())) fail(tokens[at], "unexpected");
    if (kind() === "setOpen") return set();
    if (kind() === "empty") {
      at++;
      answer.noRealRoot = true;
      return;
    }
    let roots = expression();
    while (kind() === "relation") {
      at++;
      roots = expression();
    }
    if (labels.includes("delta") || labels.includes("formula")) answer.discriminant = roots[0];
    else answer.roots = [...answer.roots, ...roots];
  }

  while (at < tokens.length) {
    if (kind() === "separator") at++;
    else item();
  }
}

/**
 * @param {unknown} thrown
 * @returns {thrown is Unread}
 */
const isUnread = (thrown) => typeof thrown === "object" && thrown !== null && "reason" in thrown;

/**
 * A student's answer, read: what the keyboard typed becomes the program's
 * characters first (fixTyped), as in the page's line. A claim of no real
 * root stands whatever else the answer holds: its other words are left
 * aside, and what else can't be read with them.
 * @param {string} text
 * @param {Language} language
 * @returns {Answer}
 */
export function readAnswer(text, language) {
  const typed = fixTyped(text);
  const all = tokensOf(typed, language);
  const claim = all.some((token) => token.kind === "claim");
  const tokens = all.filter((token) => token.kind !== "claim" && !(claim && token.kind === "word"));
  /** @type {Answer} */
  const answer = { text: typed, roots: [], discriminant: null, noRealRoot: claim, unread: null };
  if (all.length === 0) return { ...answer, unread: { at: 0, end: typed.length, reason: "empty" } };
  try {
    readItems(tokens, typed, answer);
  } catch (thrown) {
    if (!isUnread(thrown)) throw thrown;
    if (claim) return { ...answer, roots: [], discriminant: null };
    return { ...answer, unread: { at: thrown.at, end: thrown.end, reason: thrown.reason } };
  }
  return answer;
}
