// SPDX-License-Identifier: MIT
// The page: runs the program's WebAssembly module as a terminal would, checks
// each line before it is sent, and shows each run's reading. The build puts
// the texts of every language in the page as JSON, and inlines the modules.
import { checkLine, fixTyped, linkText } from "./check.mjs";
import { explain, readNumbers } from "./explain.mjs";
import { sayer } from "./say.mjs";
import { HEIGHT, WIDTH, graph } from "./graph.mjs";

// The program runs to completion or until it reads past what has been typed,
// so on each line the page runs it again from the start on all that has been
// typed so far. That is sound because it is deterministic and writes each
// prompt before the read that waits for it: each run's output begins with the
// last one's, and what is new follows the echo of the line just typed, where
// a terminal shows it.
const $ = (id) => document.getElementById(id);
const transcript = $("transcript"),
  line = $("line"),
  status = $("status"),
  endButton = $("end");
const bytes = Uint8Array.fromBase64?.($("module").textContent) ?? decoded($("module").textContent);
// The texts: the keys once, and each language's texts in their order.
const { keys, texts } = JSON.parse($("texts").textContent);
const catalogues = Object.fromEntries(
  Object.entries(texts).map(([language, list]) => [language, Object.fromEntries(keys.map((key, i) => [key, list[i]]))]),
);
// Compiled and instantiated at once, with no wait for a promise between
// loading and the first prompt; an engine that won't compile on its main
// thread compiles it asynchronously, before the first run.
let compiled = null;
try {
  compiled = new WebAssembly.Module(bytes);
} catch {
  /* compiled below */
}
const encoder = new TextEncoder();
// A terminal's line discipline takes 4095 bytes on a line, and the line end.
const LINE_BYTES = 4095;
// How the address writes Ctrl-D: after text it sends the text, on an empty
// line it ends the input, as at a terminal.
const EOT = "\x04";

// Base64 where the engine has no Uint8Array.fromBase64 of its own.
function decoded(text) {
  const binary = atob(text),
    made = new Uint8Array(binary.length);
  for (let i = 0; i < made.length; i++) made[i] = binary.charCodeAt(i);
  return made;
}

const WASI_EBADF = 8,
  WASI_ESPIPE = 70,
  CHARACTER_DEVICE = 2;
const starved = new Error("the program waits for input not yet typed");
class Exit {
  constructor(code) {
    this.code = code;
  }
}

let session,
  say,
  point,
  held = null;
const finished = []; // the runs that gave a result, for the address and a change of language

// The six WASI calls the module makes: standard input is what has been
// typed, standard output and error go to the transcript, and no file is open.
function system(run) {
  const view = () => new DataView(run.memory.buffer);
  const buffers = (vector, count) =>
    Array.from(
      { length: count },
      (_, i) =>
        new Uint8Array(
          run.memory.buffer,
          view().getUint32(vector + 8 * i, true),
          view().getUint32(vector + 8 * i + 4, true),
        ),
    );
  return {
    wasi_snapshot_preview1: {
      fd_read(fd, vector, count, done) {
        if (fd !== 0) return WASI_EBADF;
        let total = 0;
        for (const buffer of buffers(vector, count)) {
          const chunk = session.input.subarray(run.read, run.read + buffer.length);
          buffer.set(chunk);
          run.read += chunk.length;
          total += chunk.length;
        }
        if (total === 0 && !session.ended) throw starved;
        view().setUint32(done, total, true);
        return 0;
      },
      fd_write(fd, vector, count, done) {
        if (fd !== 1 && fd !== 2) return WASI_EBADF;
        let total = 0;
        for (const buffer of buffers(vector, count)) {
          run.output += run.decoder.decode(buffer, { stream: true });
          total += buffer.length;
        }
        view().setUint32(done, total, true);
        return 0;
      },
      fd_fdstat_get(fd, stat) {
        if (fd > 2) return WASI_EBADF;
        new Uint8Array(run.memory.buffer, stat, 24).fill(0);
        view().setUint8(stat, CHARACTER_DEVICE);
        return 0;
      },
      fd_seek: () => WASI_ESPIPE,
      fd_close: () => 0,
      proc_exit(code) {
        throw new Exit(code);
      },
    },
  };
}

// Runs the program on everything typed so far, and shows what it wrote that
// the transcript doesn't show yet. Returns its exit status, null while it
// waits for input, or the error that stopped it.
async function runProgram() {
  const run = { read: 0, output: "", decoder: new TextDecoder() };
  let result = 0;
  try {
    compiled ??= await WebAssembly.compile(bytes);
    const instance = new WebAssembly.Instance(compiled, system(run));
    run.memory = instance.exports.memory;
    instance.exports._start();
  } catch (error) {
    result = error === starved ? null : error instanceof Exit ? error.code : error;
  }
  session.view.append(run.output.slice(session.shown));
  session.shown = run.output.length;
  return result;
}

// What the address says: every line of the runs that ended, and of this one.
function remember() {
  const runs = session.finished ? finished : [...finished, session];
  const typed = runs.map((run) => run.keys).join("") + (held ? `${held.text}\n` : "");
  const hash = typed ? "#" + encodeURIComponent(typed.replace(/\n$/, "")) : "";
  if (hash !== location.hash) history.replaceState(null, "", hash || location.pathname + location.search);
}

async function step(typed, end = false) {
  if (session.finished) await startRun();
  session.view.append(typed);
  const more = encoder.encode(typed),
    input = new Uint8Array(session.input.length + more.length);
  input.set(session.input);
  input.set(more, session.input.length);
  session.input = input;
  session.keys += typed + (typed && !typed.endsWith("\n") ? EOT : "") + (end ? EOT : "");
  session.ended ||= end;
  const result = await runProgram();
  if (result !== null) finish(result);
  else waiting(typed);
  remember();
  updateEnd();
}

// While the program waits, what to type next, by the field.
function waiting(typed) {
  const name = context().waiting;
  status.textContent = name ? say(`waiting${name.toUpperCase()}`) : "";
  if (typed) session.block.scrollIntoView({ block: "nearest" });
}

function finish(result) {
  session.finished = true;
  if (result === 0) {
    finished.push(session);
    // How long the reading takes once the result is out: the tests hold it to 50 ms.
    performance.mark("result");
    showReading(session);
    performance.measure("reading", "result");
    session.reading.scrollIntoView({ block: "start" });
  } else {
    status.textContent =
      typeof result === "number" ? say("exitStatus", { code: result }) : say("trapped", { message: result.message });
  }
}

// A run of the program of its own, below the earlier ones, as a terminal
// keeps what scrolled by.
function startRun() {
  const block = document.createElement("section"),
    view = document.createElement("pre");
  block.className = "run";
  block.append(view);
  session = { input: new Uint8Array(), keys: "", shown: 0, ended: false, finished: false, view, block };
  transcript.append(block);
  status.textContent = "";
  return step("");
}

// One action at a time, in the order they came; the transcript is busy until
// the last is done.
let queue = Promise.resolve(),
  pending = 0;
function then(action) {
  pending++;
  transcript.setAttribute("aria-busy", "true");
  queue = queue
    .then(action)
    .catch((error) => {
      status.textContent = say("pageFailed", { error });
    })
    .finally(() => {
      if (--pending === 0) transcript.setAttribute("aria-busy", "false");
    });
}

// As much of a line as a terminal's line takes.
function cut(text) {
  const { read } = encoder.encodeInto(text, new Uint8Array(LINE_BYTES));
  return text.slice(0, read);
}

// What the program waits for, and what it has read this run: a line after a
// result starts a new run.
function context() {
  const comma = point === ",";
  if (!session || session.finished) return { waiting: "a", read: [], comma };
  const prompts = (session.view.textContent.match(/[abc]\.\.\./g) ?? []).length;
  const read = readNumbers(session.input)
    .slice(0, Math.max(0, prompts - 1))
    .map((number) => number.value);
  return { waiting: session.ended ? null : ("abc"[prompts - 1] ?? null), read, comma };
}

// A line the program would not read as meant stays in the field, with a word
// on it; Enter on it unchanged, or the button, sends it as it is.
function hold(text, found) {
  held = { text, found };
  const offer = found.offer;
  $("check-text").textContent = [say(found.key, found.values), offer && say(offer.key, offer.values)]
    .filter(Boolean)
    .join(" ");
  $("offer").hidden = !offer?.line;
  if (offer?.line) $("offer").textContent = say(offer.values.equation ? "solveThis" : "sendThis", offer.values);
  $("check").hidden = false;
  // What is said of the line, and the line, stay in view with the transcript above.
  $("bar").classList.add("holding");
  $("check").scrollIntoView({ block: "nearest" });
  remember();
}

function release() {
  if (!held) return;
  held = null;
  $("check").hidden = true;
  $("bar").classList.remove("holding");
  remember();
}

// Sends a line, unless it is held back; true when it went.
function send(text, asTyped = false) {
  if (!asTyped && held?.text !== text) {
    const found = checkLine(text, context());
    if (found) {
      hold(text, found);
      return false;
    }
  }
  release();
  line.value = "";
  const typed = cut(text) + "\n";
  then(() => step(typed));
  return true;
}

function offered() {
  const { line: text, restart } = held.found.offer;
  release();
  line.value = "";
  if (restart) then(startRun);
  then(() => step(text + "\n"));
}

function startOver() {
  release();
  line.value = "";
  then(startRun);
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
    const caret = line.selectionStart;
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
    // As at a terminal: a line so far is sent without a line end; on an
    // empty line, the end of input, unless the input has ended.
    event.preventDefault();
    const typed = cut(line.value);
    if (typed === "" && session?.finished) return;
    release();
    line.value = "";
    then(() => step(typed, typed === ""));
  }
});
endButton.addEventListener("click", () => {
  const typed = cut(line.value);
  release();
  line.value = "";
  then(() => step(typed, true));
  line.focus();
});
$("again").addEventListener("click", () => {
  startOver();
  line.focus();
});
$("offer").addEventListener("click", () => {
  offered();
  line.focus();
});
$("as-typed").addEventListener("click", () => {
  send(held.text, true);
  line.focus();
});
transcript.addEventListener("click", () => {
  if (getSelection().isCollapsed) line.focus();
});

function element(tag, attributes = {}, ...children) {
  const made =
    tag === "svg" || attributes.svg
      ? document.createElementNS("http://www.w3.org/2000/svg", tag)
      : document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) if (key !== "svg") made.setAttribute(key, value);
  made.append(...children);
  return made;
}

// A step of the working, which a narrow screen may break at its = signs only.
function formula(text) {
  const parts = text.split(" = ").map((part) => element("span", {}, part));
  return element("div", { class: "formula" }, ...parts.flatMap((part, i) => (i ? [" = ", part] : [part])));
}

let figures = 0;
function figure(reading) {
  const { parts, labels } = graph(say, reading.a, reading.b, reading.c, point);
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

// The reading of what was typed, and the result line it gave.
function readingOf(input, output, id) {
  const reading = explain(say, input, output, point);
  const working = reading.working.length
    ? [
        element("h3", {}, say("workingTitle")),
        element(
          "dl",
          {},
          ...reading.working.flatMap(([term, steps]) => [
            element("dt", {}, term),
            element("dd", {}, ...steps.map(formula)),
          ]),
        ),
      ]
    : [];
  const shown = element(
    "div",
    { class: "reading", "aria-labelledby": id, role: "region" },
    element("h2", { id }, say("readingTitle", { equation: reading.equation })),
    ...reading.paragraphs.map((text) => element("p", {}, text)),
    ...working,
    figure(reading),
  );
  return { shown, summary: reading.summary };
}

// The reading of a run that gave a result, below its transcript.
function showReading(run) {
  const { shown, summary } = readingOf(run.input, run.view.textContent, `reading-${finished.indexOf(run) + 1}`);
  if (run.reading) run.reading.replaceWith(shown);
  else run.block.append(shown);
  run.reading = shown;
  if (run === session) status.textContent = summary + say("sentenceGap") + say("another");
}

// The language: the one the address names, else the first of the browser's
// that the page speaks. The address keeps it, so that a link carries it.
function chooseLanguage() {
  const asked = new URLSearchParams(location.search).get("lang");
  const wanted = [asked, ...navigator.languages].filter(Boolean).map((tag) => tag.toLowerCase());
  return wanted.map((tag) => tag.split("-")[0]).find((tag) => tag in catalogues) ?? "en";
}

// The page's texts in a language. The build has written English's into the
// page, so that a page in English is ready as it loads.
function speak(language, written = language === "en") {
  const catalogue = catalogues[language];
  say = sayer(catalogue);
  point = catalogue.decimalPoint;
  $("language").value = language;
  if (written) return;
  document.documentElement.lang = language;
  document.documentElement.dir = catalogue.dir;
  for (const named of document.querySelectorAll("[data-text]")) {
    const text = say(named.dataset.text, { version: document.body.dataset.version });
    if (named.dataset.text === "keys") {
      // [Key] is a key of the keyboard, as the build also shows it.
      named.replaceChildren(...text.split(/\[(\w+)\]/).map((part, i) => (i % 2 ? element("kbd", {}, part) : part)));
    } else if (named.hasAttribute("content") || named.hasAttribute("aria-label")) {
      named.setAttribute(named.hasAttribute("content") ? "content" : "aria-label", text);
    } else {
      named.textContent = text;
    }
  }
  for (const run of finished) showReading(run);
  if (session && !session.finished) waiting("");
  if (held) hold(held.text, held.found);
}

function languages() {
  const select = $("language");
  for (const [tag, catalogue] of Object.entries(catalogues)) select.append(new Option(catalogue.languageName, tag));
  select.addEventListener("change", () => {
    const url = new URL(location.href);
    url.searchParams.set("lang", select.value);
    history.replaceState(null, "", url);
    speak(select.value, false);
  });
}

// A link may carry what to type: after # the lines, each typed and sent with
// Enter, and Ctrl-D where the address has %04. A line the page would hold
// back stays in the field, and the rest of the link is not typed.
async function replay(text) {
  for (const [typed, key] of keystrokes(text)) {
    if (key === EOT) {
      await step(cut(typed), typed === "");
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

// The lines and Ctrl-Ds of a link, each as what was typed and the key after it.
function keystrokes(text) {
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

function follow() {
  finished.length = 0;
  transcript.replaceChildren();
  release();
  const text = linkText(location.hash);
  then(startRun);
  // When the first prompt is out: the page's start-up, as its benchmark reads it.
  then(() => {
    performance.mark("prompt");
    setTimeout(warm);
  });
  then(() => replay(text));
}

languages();
speak(chooseLanguage());
addEventListener("hashchange", follow);
follow();
