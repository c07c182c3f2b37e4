// SPDX-License-Identifier: MIT
// What the page checks in a line before it sends it: the program reads whole
// numbers only, and stops without a word at anything else, so a decimal, a
// fraction, an exponent, a letter or an empty line would quietly become
// another equation. Such a line is held back with a word on what the program
// would do, and what the student most likely meant. No DOM.
import { INT_MAX, INT_MIN } from "./explain.mjs";
import { polynomial } from "./exact.mjs";

// Dashes that people and word processors type for a minus sign, before a
// digit: the program knows only the hyphen-minus.
const DASHES = /[\u2010-\u2015\u2212\uFE63\uFF0D](?=\s*\d)/g;
export const fixDashes = text => text.replace(DASHES, "-");

const FRACTIONS = { "½": [1n, 2n], "⅓": [1n, 3n], "⅔": [2n, 3n], "¼": [1n, 4n], "¾": [3n, 4n], "⅕": [1n, 5n],
  "⅖": [2n, 5n], "⅗": [3n, 5n], "⅘": [4n, 5n], "⅙": [1n, 6n], "⅚": [5n, 6n], "⅛": [1n, 8n], "⅜": [3n, 8n],
  "⅝": [5n, 8n], "⅞": [7n, 8n] };
const abs = n => (n < 0n ? -n : n);
const gcd = (m, n) => (n === 0n ? abs(m) : gcd(n, m % n));

// A number as a person writes it: [numerator, denominator, kind], or null.
function rational(token, comma) {
  const point = comma ? "[.,]" : "\\.";
  let match = token.match(new RegExp(`^([+-]?)(\\d*)(?:${point}(\\d*))?(?:[eE]([+-]?\\d+))?$`));
  if (match && /\d/.test(match[2] + (match[3] ?? "")) && !(match[4] && match[4].length > 4)) {
    const [, sign, whole, part = "", power] = match;
    let n = BigInt(whole + part || "0"), d = 10n ** BigInt(part.length);
    if (power) [n, d] = Number(power) < 0 ? [n, d * 10n ** BigInt(-power)] : [n * 10n ** BigInt(power), d];
    const kind = power ? "exponent" : token.match(/[.,]/) ? "decimal" : "whole";
    return [sign === "-" ? -n : n, d, kind];
  }
  match = token.match(/^([+-]?)(\d+)\/(\d+)$/) ?? token.match(/^([+-]?)(\d*)([½⅓⅔¼¾⅕⅖⅗⅘⅙⅚⅛⅜⅝⅞])$/u);
  if (!match || match[3] === "0") return null;
  const [, sign, whole, tail] = match;
  const [n, d] = FRACTIONS[tail] ? [BigInt(whole || "0") * FRACTIONS[tail][1] + FRACTIONS[tail][0], FRACTIONS[tail][1]]
    : [BigInt(whole), BigInt(tail)];
  return [sign === "-" ? -n : n, d, "fraction"];
}

// The coefficients of a line that writes the polynomial out, as 3x^2 - 5x + 6
// or x² = 0: [a, b, c] as [numerator, denominator] pairs, or null.
function polynomialOf(line, comma) {
  const text = line.replace(/\s+/g, "").replace(/=0$/, "").replace(/\*|·/g, "");
  if (!/^[+-]?[^+-]+([+-][^+-]+)*$/.test(text) || !/x/i.test(text)) return null;
  const sums = [[0n, 1n], [0n, 1n], [0n, 1n]];
  for (const term of text.match(/[+-]?[^+-]+/g)) {
    const [, number, power] = term.match(/^([+-]?[^x]*)(x(?:\^2|²)?)?$/i) ?? [];
    if (number === undefined) return null;
    const value = /^[+-]?$/.test(number) ? [number === "-" ? -1n : 1n, 1n] : rational(number, comma);
    if (!value) return null;
    const slot = !power ? 2 : power.length > 1 ? 0 : 1, [n, d] = sums[slot];
    sums[slot] = [n * value[1] + value[0] * d, d * value[1]];
  }
  return sums;
}

// Whole numbers with the same ratios: the same equation, the same roots.
export function wholeNumbers(values) {
  const lcm = values.reduce((m, [, d]) => m / gcd(m, d) * abs(d), 1n);
  const whole = values.map(([n, d]) => n * (lcm / d));
  const common = whole.reduce(gcd, 0n) || 1n;
  return whole.map(n => n / common);
}

const inRange = n => n >= INT_MIN && n <= INT_MAX;
const asLine = numbers => numbers.join(" ");
const example = comma => (comma ? "1,5 -5 6" : "1.5 -5 6");

// What to say of the numbers meant, with those already read this run.
function offerFor(meant, read, comma) {
  const all = [...read.map(n => [n, 1n]), ...meant].slice(0, 3);
  const whole = meant.every(([n, d]) => n % d === 0n) && meant.map(([n, d]) => n / d).every(inRange);
  if (whole) {
    const line = asLine(meant.map(([n, d]) => n / d));
    if (all.length < 3) return { key: "offerLine", values: { line }, line };
    return { key: "offerSolve", values: { equation: `${polynomial(...all.map(([n, d]) => n / d))} = 0` }, line };
  }
  if (all.length < 3) return { key: "offerAllThree", values: { example: example(comma) } };
  const [a, b, c] = wholeNumbers(all);
  const equation = `${polynomial(a, b, c)} = 0`;
  if (![a, b, c].every(inRange)) return { key: "offerTooLarge", values: { equation } };
  return { key: "offerEquation", values: { equation }, line: asLine([a, b, c]), restart: read.length > 0 };
}

// How the program would read a token: its leading whole number and the rest.
function programReads(token) {
  const [, read = ""] = token.match(/^([+-]?\d+)/) ?? [];
  return { typed: token, read, rest: token.slice(read.length) };
}

// null: the line goes to the program at once. Else what to say, and what to
// offer in its place. waiting: the name of the number the program waits for,
// or null; read: the numbers it has read this run.
export function checkLine(line, { waiting, read = [], comma = false }) {
  const tokens = line.trim().split(/\s+/).filter(Boolean);
  if (tokens.length === 0) return waiting ? { key: "checkEmpty", values: { name: waiting } } : null;
  if (tokens.every(token => /^[+-]?\d+$/.test(token))) return null;
  const separated = line.split(comma ? /;|,(?!\d)|(?<!\d),/ : /[,;]/);
  if (separated.length > 1 && separated.every(part => rational(part.trim(), comma))) {
    const meant = separated.map(part => rational(part.trim(), comma));
    const respaced = separated.map(part => part.trim()).join(" ");
    return { key: "checkSeparator", values: { separator: line.includes(";") || comma ? ";" : "," },
      offer: meant.every(([, d]) => d === 1n) ? { key: "offerLine", values: { line: respaced }, line: respaced }
        : offerFor(meant, read, comma) };
  }
  const numbers = tokens.map(token => rational(token, comma));
  if (numbers.every(Boolean)) {
    const odd = tokens.find((token, i) => numbers[i][2] !== "whole");
    const kind = numbers[tokens.indexOf(odd)][2];
    const reads = programReads(odd);
    return { key: reads.read === "" ? "checkUnreadable" : kind === "exponent" ? "checkExponent" : "checkWhole",
      values: reads, offer: offerFor(numbers, read, comma) };
  }
  const terms = polynomialOf(line, comma);
  const said = { key: "checkLetters", values: { text: tokens.find(token => !rational(token, comma)) } };
  if (!terms) return said;
  const slot = read.length, alone = terms.every((term, i) => i === slot || term[0] === 0n);
  if (alone) return { ...said, offer: offerFor([terms[slot]], [], comma) };
  return read.length === 0 ? { ...said, offer: offerFor(terms, [], comma) } : said;
}

// The lines of a link's address, as a person writing one means them: +, a
// comma or a semicolon after a number separates it from the next.
export function linkText(hash) {
  let text = "";
  try { text = decodeURIComponent(hash.replace(/^#/, "")); } catch { /* not a link of ours */ }
  return text.replace(/(?<=\d)[+,;](?=\s*[+\-\d])/g, " ");
}
