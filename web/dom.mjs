// SPDX-License-Identifier: MIT
// @ts-check
// How the page makes its elements, and sets its texts and formulas in them.
import { typesetFormula } from "./say.mjs";

/** @param {string} id */
export const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/**
 * @param {string} tag
 * @param {Record<string, string | number | boolean>} attributes
 * @param {(Node | string)[]} children
 * @returns {HTMLElement}
 */
export function element(tag, attributes = {}, ...children) {
  const svg = tag === "svg" || "svg" in attributes;
  const made = svg ? document.createElementNS("http://www.w3.org/2000/svg", tag) : document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) if (key !== "svg") made.setAttribute(key, String(value));
  made.append(...children);
  return /** @type {HTMLElement} */ (made);
}

/**
 * A text of the page as nodes: each formula that it isolates left to right
 * is a box of its own, which keeps it whole on a line, or, wider than the
 * line, breaks within itself, its lines one under the other, and scrolls
 * where even that is too wide, so that no number breaks.
 * @param {string} text
 * @returns {(Node | string)[]}
 */
export function inline(text) {
  /** @type {(Node | string)[]} */
  const nodes = [];
  let depth = 0;
  let start = 0;
  [...text].forEach((character, at, all) => {
    if (character === "\u2066" && depth++ === 0) {
      nodes.push(all.slice(start, at).join(""));
      start = at;
    } else if (character === "\u2069" && --depth === 0) {
      // A sign alone needs no box, and a box of signs alone has no text for a reader's contrast.
      const formula = all.slice(start, at + 1).join("");
      nodes.push(/[\p{L}\p{N}]/u.test(formula) ? element("span", { class: "inline", dir: "ltr" }, formula) : formula);
      start = at + 1;
    }
  });
  return [...nodes, [...text].slice(start).join("")].filter((node) => node !== "").reduce(held, []);
}

// A box and the punctuation about it stay together: no line starts with a
// full stop, nor ends on an opening quotation mark.
/** @param {(Node | string)[]} made @param {Node | string} node */
function held(made, node) {
  let before = made[made.length - 1];
  if (typeof node !== "string") {
    const [, text = "", mark = ""] = typeof before === "string" ? (before.match(/^([^]*?)([“«„‘(]+)$/) ?? []) : [];
    if (!mark) return [...made, node];
    return [...made.slice(0, -1), ...(text ? [text] : []), element("span", { class: "nowrap" }, mark, node)];
  }
  const [, mark = "", rest = node] = node.match(/^([.,;:!?)»”、，。：；]+)([^]*)$/) ?? [];
  if (!mark || typeof before === "string" || before === undefined) return [...made, node];
  return [...made.slice(0, -1), element("span", { class: "nowrap" }, before, mark), ...(rest ? [rest] : [])];
}

/** @param {HTMLElement} shown @param {string} text */
export const show = (shown, text) => shown.replaceChildren(...inline(text));

/**
 * A formula on a line of its own, left to right in every language, broken
 * where a narrow screen needs it only after a relation or an operator: after
 * its spaces, after the dot of a product of numbers, after a quotient's
 * slash. What cannot break so scrolls.
 * @param {string} text
 */
export const formula = (text) =>
  element(
    "div",
    { class: "formula" },
    ...typesetFormula(text)
      .split(/(?<=·(?=[\d(√])|\)\/)/)
      .flatMap((part, i) => (i ? [element("wbr"), part] : [part])),
  );
