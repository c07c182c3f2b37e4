// SPDX-License-Identifier: MIT
// @ts-check
// What the page checks in a line before it sends it. The program reads
// integers only, in the digits 0 to 9 with at most a sign before them, apart
// by its six white-space characters, and stops without a word at anything
// else, so a decimal, a fraction, a separator of thousands, a sign apart from
// its digits, a letter or an empty line would quietly become another
// equation. Such a line is held back with a word on what the program would
// do, and what the student most likely meant. No DOM.
import { gcd, polynomial } from "./exact.mjs";

/** @typedef {[bigint, bigint]} Ratio a numerator and its denominator, which is positive */
/**
 * What the page offers in place of a held line: a sentence, with its values,
 * and the line that one tap sends (restart: in a new run of the program).
 * @typedef {{ key?: string, values: Record<string, string>, line?: string, restart?: boolean }} Offer
 */
/** @typedef {{ key: string, values: Record<string, string>, offers: Offer[] }} Finding */
/**
 * waiting: the name of the number the program waits for, or null; read: the
 * numbers it has read in this run; comma: whether the student's language
 * writes a decimal comma.
 * @typedef {{ waiting: string | null, read?: bigint[], comma?: boolean }} Context
 */

export const INT_MIN = -(2n ** 31n);
export const INT_MAX = 2n ** 31n - 1n;

// The program's white space, as C's isspace has it: nothing else separates.
const SPACES = /[ \t\n\v\f\r]+/;

// --- A student's keyboard ----------------------------------------------------

// What a student's keyboard types for the program's characters, each with
// one meaning only, becomes that character as it is typed: the digits of
// every script, the full-width forms of a Chinese or Japanese input method,
// the ideographic space and the spaces that never group digits, a dash
// before a digit (a minus sign), the decimal separator of Arabic, and the
// list commas of Arabic and Chinese, as semicolons, which no language takes
// for a decimal comma. Invisible format characters, such as the marks of
// direction that an Arabic keyboard types, are dropped. The spaces that may
// group digits (no-break, narrow, thin, figure, punctuation, hair) stay, for
// the check to ask what they mean.
const FORMAT = /\p{Cf}/gu;
const DIGIT = /\p{Nd}/u;
const SPACE = /[\u0085\u1680\u2000-\u2006\u2028\u2029\u205f\u3000]/g;
const GROUPING = "\u00a0\u2007-\u200a\u202f";
const DASH = new RegExp(`[\\u2010-\\u2015\\u2212\\ufe63](?=[\\s${GROUPING}]*\\d)`, "g");
/** @type {Record<string, string>} */
const SEPARATORS = { "\u066b": ".", "\u060c": ";", "\u3001": ";" };

/**
 * The value of a decimal digit of any script: digits come in runs of whole
 * blocks of ten, 0 to 9, so the distance from the run's start gives it.
 * @param {string} digit one code point of category Nd
 */
function digitValue(digit) {
  const code = digit.codePointAt(0) ?? 0;
  let start = code;
  while (DIGIT.test(String.fromCodePoint(start - 1))) start--;
  return String((code - start) % 10);
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

// --- Numbers as people write them --------------------------------------------

/** @type {Record<string, Ratio>} */
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

/** @typedef {{ value: Ratio, kind: "integer" | "decimal" | "exponent" | "fraction" } | { zero: true }} Written */

/**
 * A number as a person writes it, with a decimal point or comma, a power of
 * ten (at most three digits of it, so that the integers stay small enough
 * to compute at once), or a fraction; a fraction over 0 has no value.
 * @param {string} token
 * @returns {Written | null}
 */
function written(token) {
  let match = token.match(/^([+-]?)(\d*)(?:[.,](\d*))?(?:[eE]([+-]?\d{1,3}))?$/);
  if (match && /\d/.test(match[2] + (match[3] ?? ""))) {
    const [, sign, whole, part = "", power] = match;
    const scale = 10n ** BigInt(part.length),
      shift = 10n ** BigInt(Math.abs(Number(power ?? 0)));
    const n = BigInt(whole + part || "0") * (Number(power) > 0 ? shift : 1n);
    const d = scale * (Number(power) < 0 ? shift : 1n);
    const kind = power ? "exponent" : /[.,]/.test(token) ? "decimal" : "integer";
    return { value: [sign === "-" ? -n : n, d], kind };
  }
  match = token.match(/^([+-]?)(\d+)\/(\d+)$/) ?? token.match(/^([+-]?)(\d*)([½⅓⅔¼¾⅕⅖⅗⅘⅙⅚⅛⅜⅝⅞])$/u);
  if (!match) return null;
  const [, sign, whole, tail] = match;
  const [n, d] = FRACTIONS[tail]
    ? [BigInt(whole || "0") * FRACTIONS[tail][1] + FRACTIONS[tail][0], FRACTIONS[tail][1]]
    : [BigInt(whole), BigInt(tail)];
  if (d === 0n) return { zero: true };
  return { value: [sign === "-" ? -n : n, d], kind: "fraction" };
}

/**
 * A number with a value, or null.
 * @param {string} token
 * @returns {Ratio | null}
 */
function valueOf(token) {
  const number = written(token);
  return number && "value" in number ? number.value : null;
}

/** @param {Ratio} ratio @returns {Ratio} */
const negated = ([n, d]) => [-n, d];
/** @param {Ratio} first @param {Ratio} second @returns {Ratio} */
const sum = ([n, d], [m, e]) => [n * e + m * d, d * e];

// --- Equations written out -----------------------------------------------------

/**
 * One side of an equation written out, as 3x^2 - 5x + 6, or x2 as the
 * program's banner writes x²: its terms in x², x and 1.
 * @param {string} text
 * @returns {Ratio[] | null}
 */
function side(text) {
  if (!/^[+-]?[^+-]+([+-][^+-]+)*$/.test(text)) return null;
  /** @type {Ratio[]} */
  const sums = [
    [0n, 1n],
    [0n, 1n],
    [0n, 1n],
  ];
  for (const term of text.match(/[+-]?[^+-]+/g) ?? []) {
    const [, number, power] = term.match(/^([+-]?[^x]*)(x(?:\^2|²|2)?)?$/i) ?? [];
    if (number === undefined) return null;
    const value = /^[+-]?$/.test(number) ? /** @type {Ratio} */ ([number === "-" ? -1n : 1n, 1n]) : valueOf(number);
    if (!value) return null;
    const slot = !power ? 2 : power.length > 1 ? 0 : 1;
    sums[slot] = sum(sums[slot], value);
  }
  return sums;
}

/**
 * The terms of a line that writes the equation out, all on the left: 2x^2 = 8
 * is 2x² − 8 = 0. Null where it is no such line.
 * @param {string} line
 */
function polynomialOf(line) {
  const sides = line.replace(/[ \t\n\v\f\r*·×]+/g, "").split("=");
  if (sides.length > 2 || !/x/i.test(line)) return null;
  const [left, right] = [...sides, "0"].map(side);
  return left && right ? left.map((term, i) => sum(term, negated(right[i]))) : null;
}

// --- What the page offers ----------------------------------------------------

/**
 * Integers with the same ratios: the same equation, the same roots.
 * @param {Ratio[]} values
 */
function integers(values) {
  const lcm = values.reduce((m, [, d]) => (m / gcd(m, d)) * d, 1n);
  const whole = values.map(([n, d]) => n * (lcm / d));
  const common = whole.reduce(gcd, 0n) || 1n;
  return whole.map((n) => n / common);
}

/** @param {bigint} n */
const inRange = (n) => n >= INT_MIN && n <= INT_MAX;
/** @param {boolean | undefined} comma */
const example = (comma) => (comma ? "1,5 -5 6" : "1.5 -5 6");

/**
 * What to offer for the numbers meant, with those already read this run.
 * @param {Ratio[]} meant
 * @param {Context} context
 * @returns {Offer[]}
 */
function offersFor(meant, { read = [], comma }) {
  const restart = read.length > 0 && meant.length >= 3;
  const all = (restart ? meant : [...read.map((n) => /** @type {Ratio} */ ([n, 1n])), ...meant]).slice(0, 3);
  // The numbers that the line offered sends: a whole equation in a new run,
  // or those the program still waits for.
  const sent = restart ? all : all.slice(read.length);
  if (sent.every(([n, d]) => n % d === 0n && inRange(n / d))) {
    const line = sent.map(([n, d]) => n / d).join(" ");
    if (all.length < 3) return [{ key: "offerLine", values: { line }, line }];
    const equation = `${polynomial(...wholes(all))} = 0`;
    return [{ key: "offerSolve", values: { equation }, line, restart }];
  }
  if (all.length < 3) return [{ key: "offerAllThree", values: { example: example(comma) } }];
  const [a, b, c] = integers(all);
  const equation = `${polynomial(a, b, c)} = 0`;
  if (![a, b, c].every(inRange)) return [{ key: "offerTooLarge", values: { equation } }];
  return [{ key: "offerEquation", values: { equation }, line: [a, b, c].join(" "), restart: read.length > 0 }];
}

/**
 * Three ratios that are integers, as integers.
 * @param {Ratio[]} ratios
 * @returns {[bigint, bigint, bigint]}
 */
const wholes = (ratios) => [ratios[0][0] / ratios[0][1], ratios[1][0] / ratios[1][1], ratios[2][0] / ratios[2][1]];

/**
 * What to offer for each way of reading a held line: the line itself where
 * the program reads it as meant, else what the check offers for it. A
 * reading may be checked without asking again for separators of thousands.
 * @param {[string, boolean][]} readings each line, and whether to ask of its thousands
 * @param {Context} context
 */
function offersOf(readings, context) {
  /** @type {Offer[]} */
  const offers = [];
  for (const [reading, thousands] of readings) {
    const found = examine(reading, context, thousands);
    const tokens = reading.split(SPACES).filter(Boolean);
    if (found) offers.push(...found.offers);
    else if (tokens.length)
      offers.push(
        ...offersFor(
          tokens.map((token) => [BigInt(token), 1n]),
          context,
        ),
      );
  }
  return offers.filter((offer, i) => offers.findIndex((other) => other.line === offer.line) === i);
}

// --- The check -----------------------------------------------------------------

/**
 * Null where the line goes to the program at once; else what to say of it,
 * and what to offer in its place. Total: it reads any string.
 * @param {string} line
 * @param {Context} context
 * @returns {Finding | null}
 */
export const checkLine = (line, context) => examine(line, context, true);

/**
 * @param {string} line
 * @param {Context} context
 * @param {boolean} thousands whether to ask of separators of thousands
 * @returns {Finding | null}
 */
function examine(line, context, thousands) {
  const fixed = fixTyped(line);
  if (fixed !== line) return hold("checkTyped", {}, offersOf([[fixed, true]], context));
  const tokens = line.split(SPACES).filter(Boolean);
  if (tokens.length === 0) return context.waiting ? hold("checkEmpty", { name: context.waiting }) : null;
  return (
    grouped(line, tokens, context, thousands) ??
    (/x|=/i.test(line) ? null : apart(tokens, context)) ??
    (tokens.every((token) => /^[+-]?\d+$/.test(token)) ? plain(tokens, context) : notInteger(line, tokens, context))
  );
}

/**
 * @param {string} key
 * @param {Record<string, string>} values
 * @param {Offer[]} offers
 * @returns {Finding}
 */
const hold = (key, values, offers = []) => ({ key, values, offers });

const THOUSANDS = /^([+-]?)(\d{1,3})((?:([.,'’٬])\d{3})(?:\4\d{3})*)([.,]\d+)?$/;

/**
 * Digits grouped by thousands, with a space (no-break, narrow, thin, or a
 * plain one before a group that begins with 0, as no number does), a point,
 * a comma or an apostrophe; and the spaces that the program doesn't take for
 * its own. A point or a comma before a single group may also be a decimal
 * one: both readings are offered, the likelier in the student's language
 * first.
 * @param {string} line
 * @param {string[]} tokens
 * @param {Context} context
 * @param {boolean} thousands
 * @returns {Finding | null}
 */
function grouped(line, tokens, context, thousands) {
  const spaced = new RegExp(`(?<![\\d.,])([+-]?\\d{1,3})((?:[${GROUPING}]\\d{3})+)(?!\\d)`, "g");
  if (new RegExp(`[${GROUPING}]`).test(line)) {
    const plainSpaces = line.replace(new RegExp(`[${GROUPING}]`, "g"), " ");
    const joined = line.replace(spaced, (_, first, rest) => first + rest.replace(/\D/g, ""));
    if (joined === line) return hold("checkSpace", {}, offersOf([[plainSpaces, true]], context));
    return hold(
      "checkThousands",
      { typed: line.match(spaced)?.[0] ?? "" },
      offersOf(
        [
          [joined, true],
          [plainSpaces, true],
        ],
        context,
      ),
    );
  }
  const zeros = line.match(/(?<![\d.,])[+-]?\d{1,3}(?: \d{3})+(?![\d.,])/g)?.find((run) => / 0/.test(run));
  if (zeros)
    return hold(
      "checkThousands",
      { typed: zeros },
      offersOf([[line.replace(zeros, zeros.replace(/ /g, "")), true]], context),
    );
  const token = thousands ? tokens.find((candidate) => THOUSANDS.test(candidate)) : undefined;
  if (!token) return null;
  const [, sign, head, groups, separator, decimals = ""] = /** @type {RegExpMatchArray} */ (token.match(THOUSANDS));
  const joined = `${sign}${head}${groups.replace(/\D/g, "")}${decimals.replace(",", ".")}`;
  const ambiguous = !decimals && groups.length === 4 && ".,".includes(separator);
  /** @type {[string, boolean][]} */
  const readings = [[line.replace(token, joined), true]];
  if (ambiguous) readings[Boolean(context.comma) === (separator === ",") ? "unshift" : "push"]([line, false]);
  return hold("checkThousands", { typed: token }, offersOf(readings, context));
}

/**
 * A sign apart from its digits, as in - 5, which the program reads as a sign
 * with no digit after it; or a sign alone.
 * @param {string[]} tokens
 * @param {Context} context
 * @returns {Finding | null}
 */
function apart(tokens, context) {
  const at = tokens.findIndex((token) => token === "+" || token === "-");
  if (at < 0) return null;
  const next = tokens[at + 1];
  if (next !== undefined && /^\d/.test(next)) {
    const typed = `${tokens[at]} ${next}`;
    const joined = [...tokens.slice(0, at), tokens[at] + next, ...tokens.slice(at + 2)];
    return hold("checkSign", { typed, joined: tokens[at] + next }, offersOf([[joined.join(" "), true]], context));
  }
  const without = tokens.filter((_, i) => i !== at);
  return hold(
    "checkLoneSign",
    { sign: tokens[at] },
    without.length ? offersOf([[without.join(" "), true]], context) : [],
  );
}

/**
 * Integers, each in the program's range, no more than it still waits for.
 * Beyond its range the program takes the nearest it has; beyond the numbers
 * it waits for, it reads no further: the line is held, and offered as the
 * equation it may mean, or cut to the numbers the program waits for.
 * @param {string[]} tokens
 * @param {Context} context
 * @returns {Finding | null}
 */
function plain(tokens, context) {
  const far = tokens.find((token) => !inRange(BigInt(token)));
  if (far) {
    const value = BigInt(far) < 0n ? INT_MIN : INT_MAX;
    return hold("checkRange", { typed: far.replace("-", "−"), value: String(value).replace("-", "−") });
  }
  const wanted = 3 - (context.read ?? []).length;
  if (tokens.length <= wanted) return null;
  const values = { rest: tokens.slice(wanted).join(" ") };
  if (tokens.length >= 3) {
    return hold(
      "checkExtra",
      values,
      offersFor(
        tokens.slice(0, 3).map((token) => [BigInt(token), 1n]),
        context,
      ),
    );
  }
  const line = tokens.slice(0, wanted).join(" ");
  return hold("checkExtra", values, [{ key: "offerLine", values: { line }, line }]);
}

/**
 * How the program would read a token: its leading integer and the rest.
 * @param {string} token
 */
function programReads(token) {
  const [, read = ""] = token.match(/^([+-]?\d+)/) ?? [];
  return { typed: token, read, rest: token.slice(read.length) };
}

/**
 * What separates the numbers of a line, if not spaces: semicolons, where
 * there are any, else commas, unless each stands between two digits, as a
 * decimal comma does.
 * @param {string} line
 */
function separatorOf(line) {
  if (line.includes(";")) return ";";
  return /,(?!\d)|(?<!\d),|,\d*,/.test(line) ? "," : null;
}

/**
 * A line with something other than integers: separators, decimals,
 * fractions, powers of ten, letters, or the equation written out.
 * @param {string} line
 * @param {string[]} tokens
 * @param {Context} context
 * @returns {Finding}
 */
function notInteger(line, tokens, context) {
  const zero = tokens.find((token) => written(token) && "zero" in /** @type {Written} */ (written(token)));
  if (zero) return hold("checkZero", { typed: zero });
  const separator = separatorOf(line);
  const separated = separator ? line.split(separator).map((part) => part.trim()) : [];
  if (separator && separated.every(valueOf)) {
    return hold("checkSeparator", { separator }, offersFor(/** @type {Ratio[]} */ (separated.map(valueOf)), context));
  }
  const equals = line
    .match(/^([^=x]*)=[ \t\n\v\f\r]*0[ \t\n\v\f\r]*$/i)?.[1]
    .split(SPACES)
    .filter(Boolean);
  if (equals?.length && equals.every(valueOf)) {
    return hold("checkLetters", { text: "=" }, offersFor(/** @type {Ratio[]} */ (equals.map(valueOf)), context));
  }
  const numbers = tokens.map(written);
  if (numbers.every((number) => number && "value" in number)) {
    const at = numbers.findIndex((number) => number && "kind" in number && number.kind !== "integer");
    if (at < 0) return writtenOut(line, tokens, context);
    const reads = programReads(tokens[at]);
    const kind = /** @type {{ kind: string }} */ (numbers[at]).kind;
    const key = reads.read === "" ? "checkUnreadable" : kind === "exponent" ? "checkExponent" : "checkDecimal";
    return hold(
      key,
      reads,
      offersFor(
        tokens.map((token) => /** @type {Ratio} */ (valueOf(token))),
        context,
      ),
    );
  }
  return writtenOut(line, tokens, context);
}

/**
 * Letters: the equation written out, or one term of it, or neither.
 * @param {string} line
 * @param {string[]} tokens
 * @param {Context} context
 * @returns {Finding}
 */
function writtenOut(line, tokens, context) {
  const terms = polynomialOf(line);
  const said = { key: "checkLetters", values: { text: tokens.find((token) => !valueOf(token)) ?? "" } };
  if (!terms) return hold(said.key, said.values);
  // One term, of the number the program waits for, is that number; a line
  // with more, or an equals sign, is an equation of its own.
  const slot = (context.read ?? []).length;
  const used = terms.filter((term) => term[0] !== 0n).length;
  if (!line.includes("=") && used <= 1) {
    const offers = terms[slot][0] || used === 0 ? offersFor([terms[slot]], { ...context, read: [] }) : [];
    return hold(said.key, said.values, offers);
  }
  return hold(said.key, said.values, offersFor(terms, context));
}

// --- Links ---------------------------------------------------------------------

/**
 * The address that carries what was typed: each character as it is, so that
 * the address reopens to the same lines.
 * @param {string} typed the lines, each ended by a line end or by Ctrl-D (U+0004)
 */
export function addressOf(typed) {
  const text = typed.toWellFormed().replace(/\n$/, "");
  return text ? "#" + encodeURIComponent(text) : "";
}

/**
 * The lines of a link's address, as a person writing one means them: in a
 * list of numbers, a +, a comma or a semicolon written as it is after a
 * number separates it from the next (but a comma between digits, in a
 * language that writes a decimal comma, where no other comma of the line
 * can only separate); in an equation written out, a + is
 * a plus. What an address writes with % stays as it is, as the page's own
 * addresses write every such character.
 * @param {string} hash
 * @param {boolean} comma whether the language of the link writes a decimal comma
 */
export function linkText(hash, comma = false) {
  const next = String.raw`(?=(?:%20| )*[+\-\d])`;
  const separators = (/** @type {boolean} */ decimal) =>
    new RegExp(String.raw`(?<=\d)(?:[+;]|,${decimal ? String.raw`(?!\d)` : ""})${next}`, "g");
  return hash
    .replace(/^#/, "")
    .split(/(%0A|%04)/i)
    .map((part, i) => {
      if (i % 2) return part.toUpperCase() === "%0A" ? "\n" : "\x04";
      const text = decoded(part);
      // A comma that can only separate makes every comma of the line a separator.
      const decimal = comma && !/(?<!\d),|,(?!\d)/.test(part);
      return fixTyped(/x|=/i.test(text) ? text : decoded(part.replace(separators(decimal), "%20")));
    })
    .join("");
}

/**
 * @param {string} part
 */
function decoded(part) {
  try {
    return decodeURIComponent(part);
  } catch {
    return ""; // not a link of ours
  }
}
