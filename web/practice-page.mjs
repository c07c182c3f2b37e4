// SPDX-License-Identifier: MIT
// @ts-check
// Practice: the page shows an equation and asks for its roots; it checks the
// student's answer and names the likely mistake, gives hints one step at a
// time, and only on a right answer, or when asked, runs the program and
// shows all that the plain page shows.
import { readAnswer } from "./answer.mjs";
import { $, element, formula, inline, show } from "./dom.mjs";
import { hints } from "./explain.mjs";
import { polynomial } from "./exact.mjs";
import { judge } from "./mistakes.mjs";
import { likeIt } from "./worksheet.mjs";

/** @typedef {import("./say.mjs").Say} Say */
/** @typedef {import("./explain.mjs").Method} Method */
/**
 * @typedef {object} Practice
 * @property {bigint} a
 * @property {bigint} b
 * @property {bigint} c
 * @property {Method} method
 * @property {() => void} reveal runs the program on the equation, and shows the page as the plain page does
 */

/** @type {Practice | null} */
let practice = null;
// How many hints are shown, and what was said of the last answer.
let given = 0;
let said = "";
/** @type {Say} the page's language */
let current = (key) => key;

/**
 * What the language writes in an answer, from its catalogue.
 * @param {Say} say
 * @returns {import("./answer.mjs").Language}
 */
const wordsOf = (say) => ({
  decimalPoint: say("decimalPoint"),
  and: say("answerAnd").split("|"),
  or: say("answerOr").split("|"),
  noRealRoot: say("answerNoRealRoot").split("|"),
  discriminant: say("answerDiscriminant").split("|"),
});

/**
 * The address of another equation of the same kind, to practise, in the
 * page's language and method.
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} c
 */
export function anotherLikeIt(a, b, c) {
  const next = likeIt(a, b, c, Math.floor(Math.random() * 2 ** 32));
  const params = new URLSearchParams(location.search);
  const kept = ["lang", "method", "complex"]
    .map((name) => (params.has(name) ? `&${name}=${params.get(name)}` : ""))
    .join("");
  return `?practice${kept}#${encodeURIComponent(`${next.a} ${next.b} ${next.c}`)}`;
}

/**
 * Starts practice on an equation.
 * @param {Practice} started
 */
export function startPractice(started) {
  practice = started;
  given = 0;
  said = "";
  $("practice").hidden = false;
  $("answer-form").addEventListener("submit", (event) => {
    event.preventDefault();
    check();
  });
  $("hint").addEventListener("click", () => {
    given++;
    render();
  });
  $("reveal").addEventListener("click", () => open());
  // An answer judged once, unshown, while the page waits for the first: the
  // engine has then compiled the reading of answers, and the student's first
  // comes as fast as the next.
  setTimeout(() => judge(readAnswer("0", wordsOf(current)), started.a, started.b, started.c));
}

/** The equation's answer, and all the page says of it. */
function open() {
  if (!practice || !$("program").hidden) return;
  $("program").hidden = false;
  practice.reveal();
}

/** What the page says of the student's answer, within a moment of Enter. */
function check() {
  if (!practice) return;
  performance.mark("answer");
  const { a, b, c } = practice;
  const say = current;
  const answer = readAnswer(/** @type {HTMLInputElement} */ ($("answer")).value, wordsOf(say));
  // ?complex: the class works in complex numbers, and wants the complex roots where Δ < 0.
  const complex = new URLSearchParams(location.search).has("complex");
  const judgement = judge(answer, a, b, c, { decimalPoint: say("decimalPoint"), complex });
  said = [judgement, ...judgement.also].map(({ key, values }) => say(key, values)).join(say("sentenceGap"));
  render();
  performance.measure("feedback", "answer");
  if (judgement.verdict === "right") open();
}

/**
 * The practice in the page's language: the equation, what was said of the
 * last answer, and the hints given so far.
 * @param {Say} [say]
 */
export function render(say = current) {
  current = say;
  if (!practice) return;
  const { a, b, c, method } = practice;
  show($("practice-title"), say("practiceTitle", { equation: `${polynomial(a, b, c)} = 0` }));
  show($("feedback"), said);
  const steps = hints(say, a, b, c, method);
  $("hints").replaceChildren(
    ...steps
      .slice(0, given)
      .map(({ text, formulas }) => element("li", {}, element("p", {}, ...inline(text)), ...formulas.map(formula))),
  );
  /** @type {HTMLButtonElement} */ ($("hint")).disabled = given >= steps.length;
  /** @type {HTMLAnchorElement} */ ($("another")).href = anotherLikeIt(a, b, c);
}
