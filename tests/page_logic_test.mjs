// SPDX-License-Identifier: MIT
// The page's logic in Node: what it reads from typed bytes, what it says of a
// result, what it holds back before sending, how it reads a link, and its
// catalogue of texts. The module the page runs is given in QUADRATIC_WASM.
import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync, readdirSync } from "node:fs";
import { checkLine, linkText } from "../web/check.mjs";
import { explain, readNumbers } from "../web/explain.mjs";
import { sayer } from "../web/say.mjs";

const here = new URL(".", import.meta.url);
const texts = new URL("../web/texts/", here);
const catalogue = (language) => JSON.parse(readFileSync(new URL(`${language}.json`, texts), "utf8"));
// What the page says, with its no-break spaces as plain ones.
const said = sayer(catalogue("en"));
const say = (key, values) => said(key, values).replaceAll("\u00a0", " ");
const bytes = (text) => new TextEncoder().encode(text);
const run = (input) =>
  execFileSync("node", ["--no-warnings", new URL("wasi-run.mjs", here).pathname, process.env.QUADRATIC_WASM], {
    input,
  }).toString();
const resultLine = (output) => output.match(/x1 : .*$/)[0];

test("the page reads every odd input of the program's tables as the program does", () => {
  const tables = JSON.parse(
    execFileSync(
      "python3",
      [
        "-c",
        `import json, quadratic_test as q
print(json.dumps([list(i) for i, _ in q.INPUT] + [list("".join(t).replace(chr(4), "").encode()) for t, _ in q.TERMINAL]))`,
      ],
      { cwd: here.pathname },
    ).toString(),
  );
  for (const row of tables) {
    const input = Uint8Array.from(row),
      read = readNumbers(input)
        .map((number) => number.value)
        .join(" ");
    assert.equal(
      resultLine(run(read)),
      resultLine(run(input)),
      `${JSON.stringify(new TextDecoder().decode(input))} read as ${read}`,
    );
  }
});

// prettier-ignore
const READING = [  // typed, the summary, and the reading's paragraphs after the first, in exact forms
  ["1 -5 6", "Two roots: x = 2 and x = 3.", "Δ = b² − 4ac = (−5)² − 4·1·6 = 25 − 24 = 1|x1 = 2 and x2 = 3|(5/2, −1/4) = (2.5, −0.25)", "(x − 2)(x − 3)"],
  ["1 0 -2", "Two roots: x = −√2 and x = √2.", "0 + 8 = 8|x1 = −√2 ≈ −1.414214 and x2 = √2 ≈ 1.414214", null],
  ["2 4 5", "No real root; the complex roots are x = −1 ± (√6/2)i.", "16 − 40 = −24|x = −1 ± (√6/2)i ≈ −1 ± 1.224745i", null],
  ["1 -5 3", "Two roots: x = (5 − √13)/2 and x = (5 + √13)/2.", "(5 − √13)/2 ≈ 0.697224", null],
  ["6 -1 -1", "Two roots: x = −1/3 and x = 1/2.", "x1 = −1/3 ≈ −0.333333 and x2 = 1/2 = 0.5", "(3x + 1)(2x − 1)"],
  ["-1 0 4", "Two roots: x = 2 and x = −2.", "x1 = 2 and x2 = −2|As a is negative, x1", "−(x − 2)(x + 2)"],
  ["1 2 1", "One double root: x = −1.", "one root, a double one: x = −1", "(x + 1)²"],
  ["0 3 -1", "One root: x = 1/3.", "x = 1/3 ≈ 0.333333", null],
  ["0 0 0", "Every x is a root: the equation is always true.", "true for every x", null],
  ["1,5", "One double root: x = 0.", "found “,” where a number should be, so b and c stayed 0", "x²"],
  ["-1 - -99999999999", "No real root; the complex roots are x = ±(32768√2)i.",
    "−99999999999 is beyond the smallest number|found “-” with no digit after it, so b stayed 0|≈ 0 ± 46340.950012i", null],
  ["2147441941 92681 1", "No real root; the complex roots are x = −92681/4294883882 ± (√3/4294883882)i.", "≈ −0.000022 ± 0i", null],
];

test("the reading of each result, exactly", () => {
  for (const [typed, summary, says, factored] of READING) {
    const output = run(typed),
      reading = explain(say, bytes(typed), resultLine(output));
    const text = reading.paragraphs.join("|");
    assert.equal(reading.summary, summary, typed);
    for (const part of says.split("|")) assert.ok(text.includes(part), `${typed}: ${part} in ${text}`);
    const working = new Map(reading.working.map(([term, steps]) => [term, steps.join("|")]));
    assert.equal(working.get("Factored form")?.split(" = ")[1] ?? null, factored, typed);
  }
});

// prettier-ignore
const CHECKS = [  // typed, what the program waits for and has read, what the page says, the line it offers
  ["1.5", "a", [], "it would read 1.5 as 1, then stop at “.5”.", null],
  ["1,5", "a", [], "it would read 1,5 as 1, then stop at “,5”.", null],
  ["1,-5,6", "a", [], "the program stops at “,”. Did you mean x² − 5x + 6 = 0?", "1 -5 6"],
  ["1 -5 6", "b", [2n], "would leave 6 unread", "1 -5 6"],
  ["1 -5 6 4", "a", [], "would leave 4 unread", "1 -5 6"],
  ["4 5", "c", [1n, 2n], "would leave 5 unread", "4"],
  ["1 -5 6 = 0", "a", [], "not “=”", "1 -5 6"],
  ["2x^2=8", "a", [], "Did you mean 2x² − 8 = 0?", "2 0 -8"],
  ["x2-5x+6", "a", [], "Did you mean x² − 5x + 6 = 0?", "1 -5 6"],
  ["x^2", "a", [], "not “x^2”", "1"],
  ["½", "a", [], "can't read ½. To solve the equation with whole numbers, type all three", null],
  ["-3 x", "b", [1n], "not “x”", "-3"],
  ["3e2", "c", [1n, 0n], "doesn't read powers of ten: it would read 3e2 as 3, then stop at “e2”. Did you mean x² + 300 = 0?", "300"],
  ["", "b", [1n], "The line is empty, and the program is waiting for b", null],
  ["1.5 -5 6", "a", [], "The equation 3x² − 10x + 12 = 0 has the same roots", "3 -10 12"],
  ["2/3 -1 1", "a", [], "it would read 2/3 as 2, then stop at “/3”. The equation 2x² − 3x + 3 = 0", "2 -3 3"],
  ["3x^2 - 5x + 6 = 0", "a", [], "Did you mean 3x² − 5x + 6 = 0?", "3 -5 6"],
  ["0.5 1 1073741824", "a", [], "needs a number beyond those the program takes", null],
];

test("a line the program would not read as meant is held back, with what was meant", () => {
  for (const [line, waiting, read, says, offered] of CHECKS) {
    const found = checkLine(line, { waiting, read });
    const text = [say(found.key, found.values), found.offer && say(found.offer.key, found.offer.values)].join(" ");
    assert.ok(text.includes(says), `${line}: ${says} in ${text}`);
    assert.equal(found.offer?.line ?? null, offered, line);
  }
  for (const line of ["1 -3 2", " -7", "+2 3", "99999999999"])
    assert.equal(checkLine(line, { waiting: "a" }), null, line);
  assert.equal(say("solveThis", checkLine("1.0 -5 6", { waiting: "a" }).offer.values), "Solve x² − 5x + 6 = 0");
  assert.equal(checkLine("1.5 -5 6", { waiting: "b", read: [1n] }).offer.restart, true);
});

test("a link's +, commas and semicolons separate its numbers", () => {
  for (const [hash, text] of [
    ["#1+-5+6", "1 -5 6"],
    ["#1,-5,6", "1 -5 6"],
    ["#1;%20-5;6", "1  -5 6"],
    ["#1%0A-5%0A6", "1\n-5\n6"],
    ["#1%04", "1\x04"],
    ["#%E0%A4%A", ""],
    ["#+1 +2 3", "+1 +2 3"],
  ])
    assert.equal(linkText(hash), text, hash);
});

test("every language's catalogue has English's texts, with the same placeholders", () => {
  const english = catalogue("en"),
    names = (text) => (text.match(/\{\w+\}/g) ?? []).sort().join();
  for (const file of readdirSync(texts).filter((name) => name.endsWith(".json"))) {
    const other = catalogue(file.replace(".json", ""));
    assert.deepEqual(Object.keys(other), Object.keys(english), file);
    for (const key of Object.keys(english)) assert.equal(names(other[key]), names(english[key]), `${file}: ${key}`);
  }
});
