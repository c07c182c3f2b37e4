// SPDX-License-Identifier: MIT
// What the page checks in a line before it sends it: the program reads whole
// numbers only, and stops without a word at anything else, so a decimal, a
// fraction, an exponent, a letter or an empty line would quietly become
// another equation. Such a line is held back with a word on what the program
// would do, and what the student most likely meant. No DOM.
import { INT_MAX, INT_MIN } from "./explain.mjs";
import { gcd, polynomial } from "./exact.mjs";

// What a student's keyboard types for the program's characters, each with
// one meaning only, becomes that character as it is typed: the digits of
// every script, the full-width forms of a Chinese or Japanese input method,
// the ideographic space and the spaces that never group digits, a dash
// before a digit (a minus sign), and the decimal separator and list commas
// of Arabic and Chinese. Invisible format characters, such as the marks of
// direction that an Arabic keyboard types, are dropped. The spaces that may
// group digits (no-break, narrow, thin, figure, punctuation, hair) stay, for
// the check to ask what they mean.
const FORMAT = /\p{Cf}/gu;
const DIGIT = /\p{Nd}/u;
const SPACE = /[\u0085\u1680\u2000-\u2006\u2028\u2029\u205f\u3000]/g;
const DASH = /[\u2010-\u2015\u2212\ufe63](?=[\s\u00a0\u2007-\u200a\u202f]*\d)/g;
const SEPARATORS = { "\u066b": ".", "\u060c": ",", "\u3001": "," };

/**
 * The value of a decimal digit of any script: digits come in runs of whole
 * blocks of ten, 0 to 9, so the distance from the run's start gives it.
 * @param {string} digit one code point of category Nd
 */
function digitValue(digit) {
  let start = /** @type {number} */ (digit.codePointAt(0));
  while (DIGIT.test(String.fromCodePoint(start - 1))) start--;
  return String(/** @type {number} */ ((digit.codePointAt(0)) - start) % 10);
}

/**
 * A line as the student's keyboard typed it, in the program's characters
 * where each has one meaning only.
 * @param {string} text
 * @returns {string}
 */
export function fixTyped(text) {
  return text
    .replace(FORMAT, "")
    .replace(/[\uff01-\uff5e]/g, (wide) => String.fromCharCode(wide.charCodeAt(0) - 0xfee0))
    .replace(/\p{Nd}/gu, (digit) => (digit < "\x80" ? digit : digitValue(digit)))
    .replace(SPACE, " ")
    .replace(/[\u066b\u060c\u3001]/g, (mark) => SEPARATORS[mark])
    .replace(DASH, "-");
}

const FRACTIONS = {
  "½": [1n, 2n],
  "⅓": [1n, 3n],
  "⅔": [2n, 3n],
  "¼": [1n, 4n],
  "¾": [3n, 4n],
  "⅕": [1n, 5n],
  "⅖": [2n, 5n],
  "⅗": [3n, 5n],
  "⅘": [4n, 5n],
  "⅙": [1n, 6n],
  "⅚": [5n, 6n],
  "⅛": [1n, 8n],
  "⅜": [3n, 8n],
  "⅝": [5n, 8n],
  "⅞": [7n, 8n],
};

// A number as a person writes it, with a decimal point or comma, an
// exponent or a fraction: [numerator, denominator, kind], or null.
function rational(token) {
  let match = token.match(/^([+-]?)(\d*)(?:[.,](\d*))?(?:[eE]([+-]?\d{1,4}))?$/);
  if (match && /\d/.test(match[2] + (match[3] ?? ""))) {
    const [, sign, whole, part = "", power] = match;
    let n = BigInt(whole + part || "0"),
      d = 10n ** BigInt(part.length);
    if (power) [n, d] = Number(power) < 0 ? [n, d * 10n ** BigInt(-power)] : [n * 10n ** BigInt(power), d];
    const kind = power ? "exponent" : /[.,]/.test(token) ? "decimal" : "whole";
    return [sign === "-" ? -n : n, d, kind];
  }
  match = token.match(/^([+-]?)(\d+)\/(\d+)$/) ?? token.match(/^([+-]?)(\d*)([½⅓⅔¼¾⅕⅖⅗⅘⅙⅚⅛⅜⅝⅞])$/u);
  if (!match || match[3] === "0") return null;
  const [, sign, whole, tail] = match;
  const [n, d] = FRACTIONS[tail]
    ? [BigInt(whole || "0") * FRACTIONS[tail][1] + FRACTIONS[tail][0], FRACTIONS[tail][1]]
    : [BigInt(whole), BigInt(tail)];
  return [sign === "-" ? -n : n, d, "fraction"];
}

const minusOf = ([n, d]) => [-n, d];
const sum = ([n, d], [m, e]) => [n * e + m * d, d * e];

// One side of an equation written out, as 3x^2 - 5x + 6, or x2 as the
// program's banner writes x²: [a, b, c] as [numerator, denominator] pairs.
function side(text) {
  if (!/^[+-]?[^+-]+([+-][^+-]+)*$/.test(text)) return null;
  const sums = [
    [0n, 1n],
    [0n, 1n],
    [0n, 1n],
  ];
  for (const term of text.match(/[+-]?[^+-]+/g)) {
    const [, number, power] = term.match(/^([+-]?[^x]*)(x(?:\^2|²|2)?)?$/i) ?? [];
    if (number === undefined) return null;
    const value = /^[+-]?$/.test(number) ? [number === "-" ? -1n : 1n, 1n] : rational(number);
    if (!value) return null;
    const slot = !power ? 2 : power.length > 1 ? 0 : 1;
    sums[slot] = sum(sums[slot], value);
  }
  return sums;
}

// The coefficients of a line that writes the equation out, all on the left:
// 2x^2 = 8 is 2x² − 8 = 0. Null where it is no such line.
function polynomialOf(line) {
  const sides = line.replace(/\s+|\*|·/g, "").split("=");
  if (sides.length > 2 || !/x/i.test(line)) return null;
  const [left, right] = [...sides, "0"].map(side);
  return left && right ? left.map((term, i) => sum(term, minusOf(right[i]))) : null;
}

// Whole numbers with the same ratios: the same equation, the same roots.
// Every denominator here is positive.
function wholeNumbers(values) {
  const lcm = values.reduce((m, [, d]) => (m / gcd(m, d)) * d, 1n);
  const whole = values.map(([n, d]) => n * (lcm / d));
  const common = whole.reduce(gcd, 0n) || 1n;
  return whole.map((n) => n / common);
}

const inRange = (n) => n >= INT_MIN && n <= INT_MAX;
const asLine = (numbers) => numbers.join(" ");
const example = (comma) => (comma ? "1,5 -5 6" : "1.5 -5 6");

// What to say of the numbers meant, with those already read this run.
function offerFor(meant, read, comma) {
  const restart = read.length > 0 && meant.length >= 3;
  const all = (restart ? meant : [...read.map((n) => [n, 1n]), ...meant]).slice(0, 3);
  const whole = meant.every(([n, d]) => n % d === 0n) && meant.map(([n, d]) => n / d).every(inRange);
  if (whole) {
    const line = asLine(meant.map(([n, d]) => n / d));
    if (all.length < 3) return { key: "offerLine", values: { line }, line };
    return {
      key: "offerSolve",
      values: { equation: `${polynomial(...all.map(([n, d]) => n / d))} = 0` },
      line,
      restart,
    };
  }
  if (all.length < 3) return { key: "offerAllThree", values: { example: example(comma) } };
  const [a, b, c] = wholeNumbers(all);
  const equation = `${polynomial(a, b, c)} = 0`;
  if (![a, b, c].every(inRange)) return { key: "offerTooLarge", values: { equation } };
  return { key: "offerEquation", values: { equation }, line: asLine([a, b, c]), restart };
}

// How the program would read a token: its leading whole number and the rest.
function programReads(token) {
  const [, read = ""] = token.match(/^([+-]?\d+)/) ?? [];
  return { typed: token, read, rest: token.slice(read.length) };
}

// null: the line goes to the program at once. Else what to say, and what to
// offer in its place. waiting: the name of the number the program waits for,
// or null; read: the numbers it has read this run; comma: whether the
// student's language writes a decimal comma, for the example it is given.
export function checkLine(line, { waiting, read = [], comma = false }) {
  const tokens = line.trim().split(/\s+/).filter(Boolean);
  if (tokens.length === 0) return waiting ? { key: "checkEmpty", values: { name: waiting } } : null;
  if (tokens.every((token) => /^[+-]?\d+$/.test(token))) return extra(tokens, read);
  const separator = separatorOf(line),
    separated = separator ? line.split(separator).map((part) => part.trim()) : [];
  if (separator && separated.every((part) => rational(part))) {
    return { key: "checkSeparator", values: { separator }, offer: offerFor(separated.map(rational), read, comma) };
  }
  const equals = line
    .match(/^([^=x]*)=\s*0\s*$/i)?.[1]
    .trim()
    .split(/\s+/);
  if (equals?.every((token) => rational(token))) {
    return { key: "checkLetters", values: { text: "=" }, offer: offerFor(equals.map(rational), read, comma) };
  }
  const numbers = tokens.map(rational);
  if (numbers.every(Boolean)) {
    const odd = tokens.find((token, i) => numbers[i][2] !== "whole");
    const reads = programReads(odd),
      kind = numbers[tokens.indexOf(odd)][2];
    return {
      key: reads.read === "" ? "checkUnreadable" : kind === "exponent" ? "checkExponent" : "checkWhole",
      values: reads,
      offer: offerFor(numbers, read, comma),
    };
  }
  const terms = polynomialOf(line);
  const said = { key: "checkLetters", values: { text: tokens.find((token) => !rational(token)) } };
  if (!terms) return said;
  // One term, of the number the program waits for, is that number; a line
  // with more, or an equals sign, is an equation of its own.
  const slot = read.length,
    used = terms.filter((term) => term[0] !== 0n).length;
  if (!line.includes("=") && used <= 1)
    return terms[slot][0] || used === 0 ? { ...said, offer: offerFor([terms[slot]], [], comma) } : said;
  return { ...said, offer: offerFor(terms, read, comma) };
}

// What separates the numbers of a line, if not spaces: semicolons, where
// there are any, else commas, unless each stands between two digits, as a
// decimal comma does.
function separatorOf(line) {
  if (line.includes(";")) return ";";
  return /,(?!\d)|(?<!\d),|,\d*,/.test(line) ? "," : null;
}

// Whole numbers beyond those the program still waits for would be left
// unread: the line is held, and offered as the equation it may mean, or cut
// to the numbers the program waits for.
function extra(tokens, read) {
  const wanted = 3 - read.length;
  if (tokens.length <= wanted) return null;
  const said = { key: "checkExtra", values: { rest: tokens.slice(wanted).join(" ") } };
  if (tokens.length >= 3)
    return {
      ...said,
      offer: offerFor(
        tokens.slice(0, 3).map((token) => [BigInt(token), 1n]),
        read,
        false,
      ),
    };
  const line = tokens.slice(0, wanted).join(" ");
  return { ...said, offer: { key: "offerLine", values: { line }, line } };
}

// The lines of a link's address, as a person writing one means them: +, a
// comma or a semicolon after a number separates it from the next.
export function linkText(hash) {
  let text = "";
  try {
    text = decodeURIComponent(hash.replace(/^#/, ""));
  } catch {
    /* not a link of ours */
  }
  return text.replace(/(?<=\d)[+,;](?=\s*[+\-\d])/g, " ");
}
