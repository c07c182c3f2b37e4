// SPDX-License-Identifier: MIT
// @ts-check
// A teacher's worksheet: a form that writes the sheet's address, and the
// sheet that the address makes, the same in every engine: its equations,
// numbered, with room to work and a link to practise each, then its answer
// key, which begins a page of its own when printed.
import { $, element, formula } from "./dom.mjs";
import { KINDS, MAX_COUNT, sheetOptions, sheetQuery, worksheet } from "./worksheet.mjs";

/** @typedef {import("./say.mjs").Say} Say */

const KIND_TEXTS = {
  integer: "kindInteger",
  rational: "kindRational",
  irrational: "kindIrrational",
  complex: "kindComplex",
  double: "kindDouble",
};

/**
 * The address with the query, and the language kept.
 * @param {string} query without its "?"
 */
function addressWith(query) {
  const language = new URLSearchParams(location.search).get("lang");
  return `?${query}${language ? `&lang=${language}` : ""}`;
}

/**
 * The worksheet part of the page, in the page's language: the form where the
 * address asks for no sheet yet, else the sheet.
 * @param {Say} say
 */
export function renderWorksheet(say) {
  const params = new URLSearchParams(location.search);
  const asked = ["count", "seed", "kinds"].some((name) => params.has(name));
  $("worksheet").hidden = false;
  $("worksheet").replaceChildren(...(asked ? sheet(say, params) : form(say)));
}

/**
 * The form of a sheet: how many equations, the seed, the kinds.
 * @param {Say} say
 */
function form(say) {
  const field = (
    /** @type {string} */ name,
    /** @type {string} */ label,
    /** @type {Record<string, string | number>} */ attributes,
  ) => element("label", {}, say(label), " ", element("input", { name, type: "number", required: true, ...attributes }));
  const kinds = KINDS.map((kind) =>
    element(
      "label",
      { class: "kind" },
      element("input", { type: "checkbox", name: "kinds", value: kind, checked: true }),
      " ",
      say(KIND_TEXTS[kind]),
    ),
  );
  const made = element(
    "form",
    { id: "sheet-form" },
    field("count", "sheetCount", { min: 1, max: MAX_COUNT, value: 20 }),
    field("seed", "sheetSeed", { min: 0, max: 2 ** 32 - 1, value: Math.floor(Math.random() * 10000) }),
    element("fieldset", {}, element("legend", {}, say("sheetKinds")), ...kinds),
    element("button", {}, say("sheetMake")),
  );
  made.addEventListener("submit", (event) => {
    event.preventDefault();
    const data = new FormData(/** @type {HTMLFormElement} */ (made));
    const params = new URLSearchParams({
      count: String(data.get("count")),
      seed: String(data.get("seed")),
      kinds: data.getAll("kinds").join(","),
    });
    location.search = addressWith(sheetQuery(sheetOptions(params)));
  });
  return [element("h2", {}, say("sheetFormTitle")), element("p", {}, say("sheetFormAbout")), made];
}

/**
 * The sheet, then its answer key.
 * @param {Say} say
 * @param {URLSearchParams} params
 */
function sheet(say, params) {
  performance.mark("sheet");
  const options = sheetOptions(params);
  const problems = worksheet(options);
  const practise = (/** @type {import("./worksheet.mjs").Problem} */ problem) =>
    addressWith(`practice#${encodeURIComponent(`${problem.a} ${problem.b} ${problem.c}`)}`);
  const equations = problems.map((problem) =>
    element(
      "li",
      {},
      formula(problem.equation),
      element("div", { class: "room" }),
      element("a", { href: practise(problem) }, say("sheetPractise")),
    ),
  );
  const answers = problems.map((problem) => {
    const roots =
      problem.roots.length === 2
        ? [`x₁ = ${problem.roots[0]}`, `x₂ = ${problem.roots[1]}`]
        : [`${problem.kind === "double" ? say("doubleRoot") : "x"} = ${problem.roots[0]}`];
    const lines = [`${say("delta")} = ${String(problem.delta).replace("-", "−")}`, ...roots];
    if (problem.factored) lines.push(`${problem.equation.replace(/ = 0$/, "")} = ${problem.factored}`);
    return element("li", {}, formula(problem.equation), ...lines.map(formula));
  });
  const made = [
    element("h2", {}, say("sheetTitle")),
    element("p", {}, say("sheetAbout", { count: String(options.count), seed: String(options.seed) })),
    element("ol", { class: "sheet" }, ...equations),
    element(
      "section",
      { id: "sheet-key", "aria-labelledby": "sheet-key-title" },
      element("h2", { id: "sheet-key-title" }, say("sheetKey")),
      element("ol", {}, ...answers),
    ),
  ];
  performance.measure("sheet made", "sheet");
  return made;
}
