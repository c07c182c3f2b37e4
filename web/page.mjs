// SPDX-License-Identifier: MIT
// @ts-check
// The page: runs the program's WebAssembly module as a terminal would, checks
// each line before it is sent, and shows each run's reading. The build puts
// the texts of every language in the page as JSON, and the module in base64.
import { INT_MAX, INT_MIN, addressOf, checkLine, fixTyped, linkText } from "./check.mjs";
import { explain, readNumbers } from "./explain.mjs";
import { HEIGHT, WIDTH, graph } from "./graph.mjs";
import { $, element, formula, inline, show } from "./dom.mjs";
import { sayer } from "./say.mjs";
import { runProgram } from "./wasi.mjs";
import * as check from "./check.mjs";
import * as dom from "./dom.mjs";
import * as exact from "./exact.mjs";
import * as explanation from "./explain.mjs";
import * as methods from "./methods.mjs";

/** @typedef {import("./check.mjs").Finding} Finding */
/** @typedef {import("./check.mjs").Offer} Offer */
/**
 * A run of the program: what was typed into it, and how the address records
 * it; its transcript, and its reading once it has given a result.
 * @typedef {object} Run
 * @property {Uint8Array} input
 * @property {string} record what was typed, each line ended by a line end or Ctrl-D
 * @property {number} shown how much of its output the transcript shows
 * @property {boolean} ended whether its input has ended
 * @property {boolean} finished whether it has run to its end
 * @property {HTMLElement} view
 * @property {HTMLElement} block
 * @property {HTMLElement} [reading]
 */

// The program runs to completion or until it reads past what has been typed,
// so on each line the page runs it again from the start on all that has been
// typed so far. That is sound because it is deterministic and writes each
// prompt before the read that waits for it: each run's output begins with the
// last one's, and what is new follows the echo of the line just typed, where
// a terminal shows it.
const transcript = $("transcript");
const line = /** @type {HTMLInputElement} */ ($("line"));
const status = $("status");
const endButton = /** @type {HTMLButtonElement} */ ($("end"));
/** @param {string} id the element whose text is in base64 */
// @ts-ignore: Uint8Array.fromBase64 is newer than the engines' types
const base64 = (id) =>
  /** @type {Uint8Array<ArrayBuffer>} */ (Uint8Array.fromBase64?.($(id).textContent) ?? decoded($(id).textContent));
const bytes = base64("module");
/** @type {Record<string, Record<string, string>>} */
const catalogues = {};
// The texts of every language, their keys once and each language's texts in
// their order, compressed: decoded once the program's first prompt is out,
// as the build has written English's into the page; then the page speaks its
// language.
/** @type {Promise<void> | null} */
let decoding = null;
function texts() {
  decoding ??= new Response(new Blob([base64("texts")]).stream().pipeThrough(new DecompressionStream("gzip")))
    .json()
    .then(({ keys, texts }) => {
      for (const [language, list] of Object.entries(texts)) {
        catalogues[language] = Object.fromEntries(
          keys.map((/** @type {string} */ key, /** @type {number} */ i) => [key, list[i]]),
        );
      }
      speak(language);
    });
  return decoding;
}
// Compiled and instantiated at once, with no wait for a promise between
// loading and the first prompt; an engine that won't compile on its main
// thread compiles it asynchronously, before the first run.
/** @type {WebAssembly.Module | null} */
let compiled = null;
try {
  compiled = new WebAssembly.Module(bytes);
} catch {
  /* compiled before the first run */
}
const encoder = new TextEncoder();
// A terminal's line discipline takes 4095 bytes on a line, and the line end.
const LINE_BYTES = 4095;
// How the address writes Ctrl-D: after text it sends the text, on an empty
// line it ends the input, as at a terminal.
const EOT = "\x04";

/**
 * Base64 where the engine has no Uint8Array.fromBase64 of its own.
 * @param {string} text
 */
function decoded(text) {
  const binary = atob(text);
  const made = new Uint8Array(binary.length);
  for (let i = 0; i < made.length; i++) made[i] = binary.charCodeAt(i);
  return made;
}

/** @type {Run} */
let session;
/** @type {import("./say.mjs").Say} the page's language, as speak sets it: nothing until the texts are read */
let say = () => "";
/** @type {{ text: string, found: Finding } | null} */
let held = null;
// Practice and the worksheet, which the build keeps as text in the page,
// evaluated where they are first wanted, with the modules they share with
// the page given them by the names they import.
/** @type {Record<string, object>} */
const shared = {
  "./check.mjs": check,
  "./dom.mjs": dom,
  "./exact.mjs": exact,
  "./explain.mjs": explanation,
  "./methods.mjs": methods,
};
/** @type {Promise<typeof import("./lessons.mjs")> | null} */
let lessons = null;
function lessonsPart() {
  lessons ??= Promise.resolve().then(() => {
    const module = { exports: {} };
    new Function("require", "module", /** @type {string} */ ($("lessons").textContent))(
      (/** @type {string} */ name) => shared[name],
      module,
    );
    return /** @type {typeof import("./lessons.mjs")} */ (module.exports);
  });
  return lessons;
}

/** @type {Run[]} the runs that gave a result, for the address and a change of language */
const solved = [];
// The method of solving that the class is taught, shown first: ?method=square or factor.
const method = /** @type {import("./explain.mjs").Method} */ (
  ["square", "factor"].find((name) => name === new URLSearchParams(location.search).get("method")) ?? "formula"
);

// Runs the program on everything typed so far, and shows what it wrote that
// the transcript doesn't show yet. Returns its exit status, null while it
// waits for input, or the error that stopped it.
async function run() {
  compiled ??= await WebAssembly.compile(bytes);
  const { output, status } = runProgram(compiled, session.input, session.ended);
  session.view.append(output.slice(session.shown));
  session.shown = output.length;
  return status;
}

// What the address says: every line of the runs that ended, and of this one.
function remember() {
  const runs = session.finished ? solved : [...solved, session];
  const hash = addressOf(runs.map((each) => each.record).join("") + (held ? `${held.text}\n` : ""));
  if (hash !== location.hash) history.replaceState(null, "", hash || location.pathname + location.search);
}

/**
 * Types a line, or the end of input, into the program.
 * @param {string} typed
 * @param {boolean} end
 */
async function step(typed, end = false) {
  if (session.finished) await startRun();
  session.view.append(typed);
  const more = encoder.encode(typed);
  const input = new Uint8Array(session.input.length + more.length);
  input.set(session.input);
  input.set(more, session.input.length);
  session.input = input;
  session.record += typed + (typed && !typed.endsWith("\n") ? EOT : "") + (end ? EOT : "");
  session.ended ||= end;
  const result = await run();
  if (result !== null) finish(result);
  else sayWhatNext(typed);
  remember();
  updateEnd();
}

/**
 * While the program waits, what to type next, by the field.
 * @param {string} typed
 */
function sayWhatNext(typed) {
  const name = context().waiting;
  show(status, name ? say(`waiting${name.toUpperCase()}`) : "");
  if (typed) session.block.scrollIntoView({ block: "nearest" });
}

/** @param {number | Error} result */
function finish(result) {
  session.finished = true;
  if (result === 0) {
    solved.push(session);
    // How long the reading takes once the result is out, for bench/page-reading.py.
    performance.mark("result");
    showReading(session);
    performance.measure("reading", "result");
    session.reading?.scrollIntoView({ block: "start" });
  } else {
    const key = typeof result === "number" ? "exitStatus" : "trapped";
    show(status, say(key, { code: String(result), message: typeof result === "number" ? "" : result.message }));
  }
}

// A run of the program of its own, below the earlier ones, as a terminal
// keeps what scrolled by.
function startRun() {
  const block = document.createElement("section");
  const view = document.createElement("pre");
  block.className = "run";
  block.append(view);
  session = { input: new Uint8Array(), record: "", shown: 0, ended: false, finished: false, view, block };
  transcript.append(block);
  status.textContent = "";
  return step("");
}

// One action at a time, in the order they came; the transcript is busy until
// the last is done.
/** @type {Promise<unknown>} */
let queue = Promise.resolve();
let pending = 0;
/** @param {() => unknown} action */
function enqueue(action) {
  pending++;
  transcript.setAttribute("aria-busy", "true");
  queue = queue
    .then(action)
    .catch((error) => {
      show(status, say("pageFailed", { error: String(error) }));
    })
    .finally(() => {
      if (--pending === 0) transcript.setAttribute("aria-busy", "false");
    });
}

/**
 * As much of a line as a terminal's line takes.
 * @param {string} text
 */
function cut(text) {
  const { read } = encoder.encodeInto(text, new Uint8Array(LINE_BYTES));
  return text.slice(0, read);
}

/**
 * What the program waits for, and what it has read this run: a line after a
 * result starts a new run.
 * @returns {import("./check.mjs").Context}
 */
function context() {
  const comma = say("decimalPoint") === ",";
  if (!session || session.finished) return { waiting: "a", read: [], comma };
  const prompts = (session.view.textContent?.match(/[abc]\.\.\./g) ?? []).length;
  const read = readNumbers(session.input)
    .slice(0, Math.max(0, prompts - 1))
    .map((number) => number.value);
  return { waiting: session.ended ? null : ("abc"[prompts - 1] ?? null), read, comma };
}

/**
 * A line the program would not read as meant stays in the field, with a word
 * on it and a button for each line it may mean; Enter on it unchanged, or
 * Send as typed, sends it as it is. With more than one line offered, the
 * buttons say them.
 * @param {string} text
 * @param {Finding} found
 */
function hold(text, found) {
  held = { text, found };
  const lined = found.offers.filter((offer) => offer.line !== undefined);
  const said = found.offers.filter((offer) => offer.key && (offer.line === undefined || lined.length === 1));
  const parts = [found, ...said].map((part) => say(/** @type {string} */ (part.key), part.values));
  show($("check-text"), parts.join(say("sentenceGap")));
  const buttons = lined.map((offer) => {
    const button = element(
      "button",
      { type: "button", class: "offer" },
      say(offer.values.equation ? "solveThis" : "sendThis", offer.values),
    );
    button.addEventListener("click", () => {
      offered(offer);
      line.focus();
    });
    return button;
  });
  $("offers").replaceChildren(...buttons, $("as-typed"));
  $("check").hidden = false;
  // What is said of the line, and the line, stay in view with the transcript above.
  $("bar").classList.add("holding");
  $("check").scrollIntoView({ block: "nearest" });
  remember();
}

// The line is no longer held; what was said of it no longer describes the field.
function release(write = true) {
  if (!held) return;
  held = null;
  $("check").hidden = true;
  $("check-text").textContent = "";
  $("bar").classList.remove("holding");
  if (write) remember();
}

/**
 * Sends a line, unless it is held back.
 * @param {string} whole the line in the field
 * @param {boolean} asTyped
 */
function send(whole, asTyped = false) {
  // The program reads only as much as a terminal's line takes.
  const text = cut(whole);
  if (!asTyped && held?.text !== text) {
    const found = checkLine(text, context());
    if (found) return hold(text, found);
  }
  release();
  line.value = "";
  enqueue(() => step(text + "\n"));
}

/** @param {Offer} offer */
function offered({ line: text, restart }) {
  release();
  line.value = "";
  if (restart) enqueue(startRun);
  enqueue(() => step(text + "\n"));
}

function startOver() {
  release();
  line.value = "";
  enqueue(startRun);
}

// The button and Ctrl-D on an empty line agree: neither ends what has ended.
function updateEnd() {
  endButton.disabled = Boolean(session?.finished) && line.value === "";
}

$("form").addEventListener("submit", (event) => {
  event.preventDefault();
  send(line.value);
  line.focus();
});
line.addEventListener("input", () => {
  const fixed = fixTyped(line.value);
  if (fixed !== line.value) {
    const caret = fixTyped(line.value.slice(0, line.selectionStart ?? line.value.length)).length;
    line.value = fixed;
    line.setSelectionRange(caret, caret);
  }
  if (held && held.text !== line.value) release();
  updateEnd();
});
// The keys work wherever the focus is, on a button as in the field.
document.addEventListener("keydown", (event) => {
  if (event.key === "Escape") {
    event.preventDefault();
    startOver();
  } else if (event.ctrlKey && !event.altKey && event.key.toLowerCase() === "d") {
    event.preventDefault();
    endOfLine(cut(line.value));
  }
});
/**
 * Ctrl-D, as at a terminal: a line so far is sent without a line end; on an
 * empty line, the end of input, unless the input has ended.
 * @param {string} typed
 */
function endOfLine(typed) {
  if (typed === "" && session?.finished) return;
  release();
  line.value = "";
  enqueue(() => step(typed, typed === ""));
}
endButton.addEventListener("click", () => {
  const typed = cut(line.value);
  release();
  line.value = "";
  enqueue(() => step(typed, true));
  line.focus();
});
$("again").addEventListener("click", () => {
  startOver();
  line.focus();
});
$("as-typed").addEventListener("click", () => {
  if (held) send(held.text, true);
  line.focus();
});
transcript.addEventListener("click", () => {
  if (getSelection()?.isCollapsed) line.focus();
});

let figures = 0;
/** @param {import("./explain.mjs").Reading} reading */
function figure(reading) {
  const { parts, labels } = graph(say, reading.a, reading.b, reading.c);
  const id = `graph-${++figures}`;
  const svg = element(
    "svg",
    { viewBox: `0 0 ${WIDTH} ${HEIGHT}`, role: "img", "aria-labelledby": id },
    element("title", { svg: true, id }, reading.graphTitle),
    element("desc", { svg: true }, reading.graphText),
    ...parts.map(({ tag, ...attributes }) => element(tag, { svg: true, ...attributes })),
  );
  const shift = { start: "0", middle: "-50%", end: "-100%" };
  const spans = labels.map(({ x, y, anchor, text, kind }) =>
    element(
      "span",
      { class: kind, style: `left: ${(x / WIDTH) * 100}%; top: ${(y / HEIGHT) * 100}%; --shift: ${shift[anchor]}` },
      text,
    ),
  );
  return element("div", { class: "figure" }, svg, element("div", { class: "labels", "aria-hidden": "true" }, ...spans));
}

/**
 * The link to practise another equation of the same kind.
 * @param {import("./explain.mjs").Reading} reading
 */
function another({ a, b, c }) {
  const link = element("a", { href: "?practice" }, say("anotherLikeIt"));
  lessonsPart().then(({ anotherLikeIt }) => link.setAttribute("href", anotherLikeIt(a, b, c)));
  return link;
}

/**
 * The reading of what was typed, and the result line it gave.
 * @param {Uint8Array} input
 * @param {string} output
 * @param {string} id
 */
function readingOf(input, output, id) {
  const reading = explain(say, input, output, method);
  const working = reading.working.length
    ? [
        element("h3", {}, say("workingTitle")),
        element(
          "dl",
          {},
          ...reading.working.flatMap(([term, steps]) => [
            element("dt", {}, term),
            element(
              "dd",
              {},
              ...steps.map((step) =>
                typeof step === "string" ? formula(step) : element("p", { class: "step" }, ...inline(step.sentence)),
              ),
            ),
          ]),
        ),
      ]
    : [];
  const shown = element(
    "div",
    { class: "reading", "aria-labelledby": id, role: "region" },
    element("h2", { id }, ...inline(say("readingTitle", { equation: reading.equation }))),
    ...reading.paragraphs.flatMap(({ text, formulas }) => [
      element("p", {}, ...inline(text)),
      ...formulas.map(formula),
    ]),
    ...working,
    figure(reading),
    ...(reading.a === 0n ? [] : [element("p", {}, another(reading))]),
  );
  return { shown, summary: reading.summary };
}

/**
 * The reading of a run that gave a result, below its transcript.
 * @param {Run} done
 */
function showReading(done) {
  const { shown, summary } = readingOf(done.input, done.view.textContent ?? "", `reading-${solved.indexOf(done) + 1}`);
  if (done.reading) done.reading.replaceWith(shown);
  else done.block.append(shown);
  done.reading = shown;
  if (done === session) show(status, summary + say("sentenceGap") + say("another"));
}

// The language: the one the address names, else the first of the browser's
// that the page speaks. The address keeps it, so that a link carries it.
function chooseLanguage() {
  const asked = new URLSearchParams(location.search).get("lang");
  const wanted = [asked, ...navigator.languages].filter(Boolean).map((tag) => String(tag).toLowerCase());
  const spoken = [.../** @type {HTMLSelectElement} */ ($("language")).options].map((option) => option.value);
  return wanted.map((tag) => tag.split("-")[0]).find((tag) => spoken.includes(tag)) ?? "en";
}

/**
 * The page's texts in a language. The build has written English's into the
 * page, so that a page in English is ready as it loads.
 * @param {string} language
 */
function speak(language, written = language === "en") {
  const catalogue = catalogues[language];
  say = sayer(catalogue);
  /** @type {HTMLSelectElement} */ ($("language")).value = language;
  if (written) return;
  document.documentElement.lang = language;
  document.documentElement.dir = catalogue.dir;
  for (const named of /** @type {NodeListOf<HTMLElement>} */ (document.querySelectorAll("[data-text]"))) {
    const key = /** @type {string} */ (named.dataset.text);
    const text = say(key, { version: /** @type {string} */ (document.body.dataset.version) });
    if (key === "keys") {
      // [Key] is a key of the keyboard, as the build also shows it.
      named.replaceChildren(...text.split(/\[(\w+)\]/).map((part, i) => (i % 2 ? element("kbd", {}, part) : part)));
    } else if (named.hasAttribute("content") || named.hasAttribute("aria-label")) {
      named.setAttribute(named.hasAttribute("content") ? "content" : "aria-label", text);
    } else {
      named.textContent = text;
    }
  }
  for (const done of solved) showReading(done);
  if (!$("practice").hidden) lessonsPart().then(({ render }) => render(say));
  if (!$("worksheet").hidden) lessonsPart().then(({ renderWorksheet }) => renderWorksheet(say));
  if (session && !session.finished) sayWhatNext("");
  if (held) hold(held.text, held.found);
}

// The menu of languages, which the build has written into the page.
function languages() {
  const select = /** @type {HTMLSelectElement} */ ($("language"));
  select.value = language;
  select.addEventListener("change", async () => {
    const url = new URL(location.href);
    url.searchParams.set("lang", select.value);
    history.replaceState(null, "", url);
    await texts();
    speak(select.value, false);
  });
}

/**
 * A link may carry what to type: after # the lines, each typed and sent with
 * Enter, and Ctrl-D where the address has %04, which after a result does
 * nothing, as the key does. A line the page would hold back stays in the
 * field, and the rest of the link is not typed.
 * @param {string} text
 */
async function replay(text) {
  for (const [typed, key] of linesOf(text)) {
    if (key === EOT) {
      if (typed !== "" || !session.finished) await step(cut(typed), typed === "");
      continue;
    }
    const found = checkLine(typed, context());
    if (found) {
      line.value = typed;
      hold(typed, found);
      return;
    }
    await step(cut(typed) + "\n");
  }
}

/**
 * The lines and Ctrl-Ds of a link, each as what was typed and the key after it.
 * @param {string} text
 * @returns {[string, string][]}
 */
function linesOf(text) {
  /** @type {[string, string][]} */
  const found = [];
  let typed = "";
  for (const key of text) {
    if (key === "\n" || key === EOT) {
      found.push([typed, key]);
      typed = "";
    } else {
      typed += key;
    }
  }
  return typed ? [...found, [typed, "\n"]] : found;
}

// The reading of the hardest result there is, Δ a prime of 65 bits, once,
// while the page waits for the first line, and left unshown: the engine has
// then compiled the reading's code, and a student's first reading comes as
// fast as the next.
function warm() {
  readingOf(encoder.encode("-2147483648 2147483637 2147483647"), "x1 : 1.000000, x2 : -1.000000", "warm");
}

// What the address carries, typed afresh: on a load, and when the address
// is changed by hand, whatever the page holds.
function follow() {
  const hash = location.hash;
  solved.length = 0;
  transcript.replaceChildren();
  release(false);
  line.value = "";
  enqueue(startRun);
  // When the first prompt is out: the page's start-up, as its benchmark
  // reads it. What to type next is said once the texts are read.
  enqueue(async () => {
    performance.mark("prompt");
    await texts();
    sayWhatNext("");
    setTimeout(warm);
  });
  enqueue(() => replay(linkText(hash, say("decimalPoint") === ",")));
}

// The program, from the address's first line to its last.
function start() {
  addEventListener("hashchange", follow);
  follow();
}

// Practice, where the address asks for it and names an equation of the
// second degree: the program runs once the student's answer is right, or
// once the student asks to see it.
async function practise() {
  const numbers = linkText(location.hash)
    .split(/[ \t\n\v\f\r]+/)
    .filter(Boolean);
  if (numbers.length !== 3 || !numbers.every((number) => /^[+-]?\d{1,10}$/.test(number))) return false;
  const [a, b, c] = numbers.map(BigInt);
  if (a === 0n || ![a, b, c].every((n) => n >= INT_MIN && n <= INT_MAX)) return false;
  $("program").hidden = true;
  const { render, startPractice } = await lessonsPart();
  startPractice({ a, b, c, method, reveal: start });
  render(say);
  $("answer").focus();
  return true;
}

const asked = new URLSearchParams(location.search);
const language = chooseLanguage();
languages();
if (asked.has("worksheet")) {
  $("program").hidden = true;
  await texts();
  (await lessonsPart()).renderWorksheet(say);
} else if (asked.has("practice")) {
  await texts();
  if (!(await practise())) start();
} else {
  start();
}
// The program has nothing to do until it is given something.
if (pending === 0) transcript.setAttribute("aria-busy", "false");
