// SPDX-License-Identifier: MIT
// @ts-check
// The page's words: a text of a language's catalogue with its {placeholders}
// filled in, and set as a textbook sets a formula within a sentence. No DOM.

/** @typedef {Record<string, string>} Catalogue a language's texts, by key */
/** @typedef {(key: string, values?: Record<string, string>) => string} Say */

const NBSP = "\u00a0";
const LTR = "\u2066";
const POP = "\u2069";

// A line may break after a relation or an operator, never before one: the
// space before each is a no-break one.
const BEFORE_OPERATOR = / (?=[=≈<>≤≥+−±·×] )/g;

/**
 * A text set so that a formula in it breaks only after a relation or an
 * operator. Right to left, a formula is isolated left to right, and broken
 * its halves would stand at opposite ends of two lines: there it breaks only
 * after = or ≈, where each half still reads as a statement.
 * @param {string} text
 * @param {boolean} rtl
 */
export function typeset(text, rtl = false) {
  const set = text.replace(BEFORE_OPERATOR, NBSP);
  if (!rtl) return set;
  let depth = 0;
  return [...set]
    .map((character, at, all) => {
      if (character === LTR) depth++;
      if (character === POP) depth--;
      return character === " " && depth > 0 && !/[=≈]/.test(all[at - 1]) ? NBSP : character;
    })
    .join("");
}

/**
 * A formula on a line of its own, set so that where it must break, it breaks
 * after a relation first: a side of it short enough for any line is kept
 * whole, and a longer one breaks after its operators.
 * @param {string} text
 */
export function typesetFormula(text) {
  // A sign before a bracket holds to it, as UAX #14 would part them.
  return typeset(text.replace(/([±−])\(/g, "$1\u2060("))
    .split(/(?<=[=≈] )/)
    .map((side) => (side.length <= 24 ? side.replace(/ (?=.)/g, NBSP) : side))
    .join("");
}

/**
 * The function that says the catalogue's texts. Each value that is a formula
 * or a number is isolated left to right, so that the page can keep it whole:
 * right to left, each value that holds no letter of a right-to-left script;
 * left to right, each that holds no word of two letters or more.
 * @param {Catalogue} catalogue
 * @returns {Say}
 */
export function sayer(catalogue) {
  const rtl = catalogue.dir === "rtl";
  const prose = rtl ? /[\u0590-\u08ff]/ : /\p{L}{2}/u;
  const isolated = (/** @type {string} */ value) => (prose.test(value) || value === "" ? value : LTR + value + POP);
  return (key, values = {}) =>
    typeset(
      catalogue[key].replace(/\{(\w+)\}/g, (found, name) => (name in values ? isolated(values[name]) : found)),
      rtl,
    );
}

/**
 * A point's coordinates as the language writes a pair, kept on one line: its
 * spaces no-break ones, and a bar, after which a line may break, held by
 * word joiners.
 * @param {Say} say
 * @param {string} x
 * @param {string} y
 */
export const pair = (say, x, y) => say("pair", { x, y }).replaceAll(" ", NBSP).replaceAll("|", "\u2060|\u2060");
