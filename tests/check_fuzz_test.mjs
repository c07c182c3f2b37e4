// SPDX-License-Identifier: MIT
// The check of a line against the program itself, on lines made from a
// grammar of what students type: digits of several scripts, every Unicode
// space and dash, signs, separators of thousands and decimals, fractions,
// powers of ten, letters and equations. No line may throw; a line let through
// must be read by the program exactly as the check says, the integers between
// the program's white space; a line held may offer only lines that go
// through; and every address the page writes must type its lines again.
// QUADRATIC_FUZZ_SEED and QUADRATIC_FUZZ_LINES replay or lengthen the run.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { addressOf, checkLine, fixTyped, linkText } from "../web/check.mjs";
import { readNumbers } from "../web/explain.mjs";
import { sayer } from "../web/say.mjs";
import { runProgram } from "../web/wasi.mjs";

const SEED = Number(process.env.QUADRATIC_FUZZ_SEED ?? 35);
const LINES = Number(process.env.QUADRATIC_FUZZ_LINES ?? 20000);
const module = new WebAssembly.Module(readFileSync(process.env.QUADRATIC_WASM));
const say = sayer(JSON.parse(readFileSync(new URL("../web/texts/en.json", import.meta.url), "utf8")));

// A small generator of 32-bit integers (mulberry32), so that a seed replays a run.
function generator(seed) {
  let state = seed >>> 0;
  return (n) => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) % n;
  };
}

const ZEROS = [0x30, 0x660, 0x6f0, 0x966, 0x9e6, 0xe50, 0xff10, 0x1d7ce, 0x1d7ec];
const SIGNS = [
  "-",
  "+",
  "\u2212",
  "\u2010",
  "\u2011",
  "\u2012",
  "\u2013",
  "\u2014",
  "\u2015",
  "\ufe63",
  "\uff0d",
  "\uff0b",
];
const SPACES = [
  " ",
  " ",
  " ",
  "\t",
  "\v",
  "\f",
  "\r",
  "\u00a0",
  "\u1680",
  "\u2000",
  "\u2002",
  "\u2003",
  "\u2007",
  "\u2008",
  "\u2009",
  "\u200a",
  "\u2028",
  "\u2029",
  "\u202f",
  "\u205f",
  "\u3000",
  "\u0085",
];
const INVISIBLE = ["\u200b", "\u200e", "\u200f", "\ufeff", "\u2066", "\u2069", "\u061c", "\u00ad"];
const SEPARATORS = [".", ",", "'", "’", "\u066c", "\u066b", "\u060c", "\u3001", "\uff0c", "\uff0e", ";"];
const LETTERS = [
  "x",
  "X",
  "x^2",
  "x²",
  "x2",
  "=",
  "*",
  "·",
  "×",
  "e",
  "abc",
  "é",
  "中",
  "😀",
  "\ud800",
  "½",
  "⅔",
  "∞",
  "NaN",
];

// A line of the program's own characters, or one of a student's keyboard.
function line(random) {
  return random(5) < 2 ? plainLine(random) : keyboardLine(random);
}

function plainLine(random) {
  const number = () =>
    (random(4) ? "" : random(2) ? "-" : "+") + String(random(random(4) ? 100 : 2 ** 31) * 2 ** random(3));
  const gaps = [" ", " ", "  ", "\t", "\r", "\v", "\f", " - ", ", ", ".", "/"];
  const parts = Array.from({ length: random(5) }, number);
  return parts.reduce((made, next, i) => made + (i ? gaps[random(random(3) ? 2 : gaps.length)] : "") + next, "");
}

function keyboardLine(random) {
  const pick = (list) => list[random(list.length)];
  const digits = (count, zero = pick(ZEROS)) =>
    Array.from({ length: count }, () => String.fromCodePoint(zero + random(10))).join("");
  const integer = () => digits(1 + random(random(4) ? 4 : 13), random(3) ? 0x30 : pick(ZEROS));
  const grouped = () =>
    digits(1 + random(3), 0x30) +
    Array.from(
      { length: 1 + random(3) },
      () => pick([...SEPARATORS, " ", "\u00a0", "\u202f", "\u2009"]) + digits(3, 0x30),
    ).join("");
  const signed = (number) => (random(3) ? "" : pick(SIGNS) + (random(5) ? "" : pick(SPACES))) + number;
  const number = () =>
    signed(
      [
        integer,
        integer,
        grouped,
        () => `${integer()}${pick([".", ","])}${integer()}`,
        () => `${integer()}/${random(4) ? integer() : "0".repeat(1 + random(2))}`,
        () => `${integer()}${pick(["e", "E"])}${random(2) ? "-" : ""}${digits(1 + random(4), 0x30)}`,
        () => pick(["½", "⅔", "1½"]),
        () => String(2n ** 31n + BigInt(random(3)) - 1n),
      ][random(8)](),
    );
  const term = () => `${random(2) ? number() : ""}${pick(["x^2", "x²", "x", ""])}`;
  const equation = () =>
    `${term()}${pick(SIGNS.slice(0, 2))}${term()}${pick(SIGNS.slice(0, 2))}${term()}${random(2) ? "=0" : ""}`;
  const part = () =>
    [number, number, number, equation, () => pick(LETTERS), () => pick(INVISIBLE) + number()][random(6)]();
  const gap = () => (random(4) ? " " : pick([...SPACES, ...SEPARATORS, " - ", " + ", "  "]));
  const parts = Array.from({ length: random(6) }, part);
  return parts.reduce((made, next, i) => made + (i ? gap() : "") + next, random(8) ? "" : pick(SPACES));
}

const CONTEXTS = [
  { waiting: "a", read: [] },
  { waiting: "b", read: [3n] },
  { waiting: "c", read: [-2n, 5n] },
  { waiting: null, read: [] },
];

const resultLine = (input) => runProgram(module, new TextEncoder().encode(input), true).output.match(/x1 : .*$/)?.[0];

// What the program reads of a line let through, against what the check says:
// the line's integers, then 7 for each number still wanted.
function readAsSaid(text, { read }) {
  const tokens = text.split(/[ \t\n\v\f\r]+/).filter(Boolean);
  assert.ok(tokens.length <= 3 - read.length, `${JSON.stringify(text)}: more numbers than wanted`);
  assert.ok(
    tokens.every((token) => /^[+-]?\d+$/.test(token) && BigInt(token) >= -(2n ** 31n) && BigInt(token) < 2n ** 31n),
    JSON.stringify(text),
  );
  const numbers = [...read, ...tokens.map(BigInt), 7n, 7n, 7n].slice(0, 3);
  const typed = `${read.join("\n")}${read.length ? "\n" : ""}${text}\n7\n7\n7\n`;
  const program = readNumbers(new TextEncoder().encode(typed)).map((number) => number.value);
  assert.deepEqual(program, numbers, JSON.stringify(text));
  assert.equal(resultLine(typed), resultLine(numbers.join(" ")), JSON.stringify(text));
}

test(`the check against the program, ${LINES} lines from seed ${SEED}`, () => {
  const random = generator(SEED);
  const found = new Map();
  const started = performance.now();
  let slowest = 0;
  for (let i = 0; i < LINES; i++) {
    const text = line(random);
    const context = { ...CONTEXTS[random(CONTEXTS.length)], comma: random(2) === 1 };
    const before = performance.now();
    const held = checkLine(text, context);
    slowest = Math.max(slowest, performance.now() - before);
    found.set(held?.key ?? "sent", (found.get(held?.key ?? "sent") ?? 0) + 1);
    if (!held) readAsSaid(text, context);
    for (const offer of held?.offers ?? []) {
      for (const value of Object.values(offer.values)) assert.equal(typeof value, "string", JSON.stringify(text));
      assert.doesNotMatch(say(offer.key ?? "sendThis", offer.values), /\{\w+\}/, JSON.stringify(text));
      if (offer.line === undefined) continue;
      const state = offer.restart || !context.waiting ? { waiting: "a", read: [], comma: context.comma } : context;
      assert.equal(checkLine(offer.line, state), null, `${JSON.stringify(text)} offers ${JSON.stringify(offer.line)}`);
    }
    if (held) assert.doesNotMatch(say(held.key, held.values), /\{\w+\}/, JSON.stringify(text));
    const typed = fixTyped(text);
    assert.equal(fixTyped(typed), typed, JSON.stringify(text));
    const lines = `${typed}\n${fixTyped(line(random))}\x04`;
    assert.equal(linkText(addressOf(lines), context.comma), lines.toWellFormed(), JSON.stringify(lines));
  }
  const seconds = (performance.now() - started) / 1000;
  console.log(
    `${LINES} lines from seed ${SEED} in ${seconds.toFixed(1)} s, the slowest check ${slowest.toFixed(1)} ms:`,
    Object.fromEntries([...found].sort((x, y) => y[1] - x[1])),
  );
});
