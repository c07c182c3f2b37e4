// SPDX-License-Identifier: MIT
// The page's logic in Node: what it reads from typed bytes, what it says of a
// result, what it holds back before sending, how it reads a link, and its
// catalogue of texts. The module the page runs is given in QUADRATIC_WASM.
import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync, readdirSync } from "node:fs";
import { checkLine, fixTyped, linkText } from "../web/check.mjs";
import { explain, readNumbers } from "../web/explain.mjs";
import { sayer, typeset } from "../web/say.mjs";
import { runProgram } from "../web/wasi.mjs";

const here = new URL(".", import.meta.url);
const texts = new URL("../web/texts/", here);
const catalogue = (language) => JSON.parse(readFileSync(new URL(`${language}.json`, texts), "utf8"));
// What the page says, with its no-break spaces as plain ones.
const plain = (text) => text.replace(/[\u00a0\u202f]/g, " ").replace(/[\u2066-\u2069]/g, "");
const sayIn = (language) => {
  const said = sayer(catalogue(language));
  return (key, values) => plain(said(key, values));
};
const say = sayIn("en");
const bytes = (text) => new TextEncoder().encode(text);
const module = new WebAssembly.Module(readFileSync(process.env.QUADRATIC_WASM));
const run = (input) => runProgram(module, typeof input === "string" ? bytes(input) : input, true).output;
const resultLine = (output) => output.match(/x1 : .*$/)[0];

test("the page reads every odd input of the program's tables as the program does", () => {
  const script = `import json, quadratic_test as q
print(json.dumps([list(i) for i, _ in q.INPUT] + [list("".join(t).replace(chr(4), "").encode()) for t, _ in q.TERMINAL]))`;
  const tables = JSON.parse(execFileSync("python3", ["-c", script], { cwd: here.pathname }).toString());
  for (const row of tables) {
    const input = Uint8Array.from(row);
    const read = readNumbers(input)
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
const READING = [  // typed, the summary, what the reading says after its first paragraph, the factored form
  ["1 -5 6", "Two roots: x = 2 and x = 3.", "The discriminant:|Δ = b² − 4ac = (−5)² − 4·1·6 = 25 − 24 = 1|x₁ = 2|x₂ = 3|(5/2, −1/4) = (2.5, −0.25)", "(x − 2)(x − 3)"],
  ["1 0 -2", "Two roots: x = −√2 and x = √2.", "0 + 8 = 8|x₁ = −√2 ≈ −1.414214|x₂ = √2 ≈ 1.414214", null],
  ["2 4 5", "No real roots; the complex roots are x = −1 ± (√6/2)i.", "16 − 40 = −24|x₁ = −1 − (√6/2)i ≈ −1 − 1.224745i|x₂ = −1 + (√6/2)i ≈ −1 + 1.224745i", null],
  ["-2 -4 -5", "No real roots; the complex roots are x = −1 ± (√6/2)i.", "x₁ = −1 + (√6/2)i ≈ −1 + 1.224745i|x₂ = −1 − (√6/2)i", null],
  ["1 -5 3", "Two roots: x = (5 − √13)/2 and x = (5 + √13)/2.", "x₁ = (5 − √13)/2 ≈ 0.697224", null],
  ["6 -1 -1", "Two roots: x = −1/3 and x = 1/2.", "x₁ = −1/3 ≈ −0.333333|x₂ = 1/2 = 0.5", "(3x + 1)(2x − 1)"],
  ["-1 0 4", "Two roots: x = 2 and x = −2.", "x₁ = 2|x₂ = −2|As a is negative, x₁", "−(x − 2)(x + 2)"],
  ["1 2 1", "One double root: x = −1.", "one root, a double root, which the program wrote twice:|x = −1", "(x + 1)²"],
  ["0 3 -1", "One root: x = 1/3.", "not a quadratic equation|x = 1/3 ≈ 0.333333|In mathematics, division by 0 is undefined", null],
  ["0 0 0", "Every x is a root: the equation is always true.", "true for every x|division by 0 is undefined", null],
  ["1,5", "One double root: x = 0.", "found “,” where a number should be, so b and c stayed 0", null],
  ["1\u00a0-5 6", "One double root: x = 0.", "found “U+00A0” where a number should be", null],
  ["-1 - -99999999999", "No real roots; the complex roots are x = ±(32768√2)i.",
    "−99999999999 is beyond the smallest number|found “-” with no digit after it, so b stayed 0|x₁ = (32768√2)i ≈ 46340.950012i", null],
  ["2147441941 92681 1", "No real roots; the complex roots are x = −92681/4294883882 ± (√3/4294883882)i.", "≈ −0.000022 − 4.03·10⁻¹⁰i", null],
  ["-826639427 -448450516 -60820915", null, "≈ −0.271249 + 2.68·10⁻⁷i", null],
  ["-2147483648 -2 -2147483648", null, "≈ (−4.66·10⁻¹⁰, −2147483648)", null],
  ["10 -201754 1500377849", null, "x₁ = 100877/10 − (69481/10)i = 10087.7 − 6948.1i", null],
  ["-2 -65536 -1073741824", null, "x₁ = −16384 + 16384i|x₂ = −16384 − 16384i|The program works", null],
  ["1 2147483647 1", null, "≈ −4.66·10⁻¹⁰|−0.000000 is a negative number that rounds to 0", null],
];

test("the reading of each result, exactly", () => {
  for (const [typed, summary, says, factored] of READING) {
    const reading = explain(say, bytes(typed), resultLine(run(typed)));
    const text = plain(reading.paragraphs.flatMap(({ text, formulas }) => [text, ...formulas]).join("|"));
    if (summary) assert.equal(reading.summary, summary, typed);
    for (const part of says.split("|")) assert.ok(text.includes(part), `${typed}: ${part} in ${text}`);
    const working = new Map(reading.working.map(([term, steps]) => [term, steps.join("|")]));
    assert.equal(working.get("Factored form")?.split(" = ")[1] ?? null, factored, typed);
  }
  const complex = explain(say, bytes("2 4 5"), "x1 : nan, x2 : nan")
    .working.map(([, steps]) => steps.join("|"))
    .join("|");
  assert.match(
    complex,
    /x = \(−b ± √\(−Δ\)·i\)\/\(2a\) = \(−4 ± √24·i\)\/4\|√24 = √\(4·6\) = 2√6\|x = \(−4 ± 2√6·i\)\/4/,
  );
  assert.doesNotMatch(complex, /√−/);
});

// prettier-ignore
const CHECKS = [  // typed, the language, what the program waits for and has read, what the page says, the lines it offers
  ["1.5", "en", "a", [], "it would read 1.5 as 1, then stop at “.5”.", null],
  ["1,5", "en", "a", [], "it would read 1,5 as 1, then stop at “,5”.", null],
  ["1,-5,6", "en", "a", [], "the program stops at “,”. Did you mean x² − 5x + 6 = 0?", "1 -5 6"],
  ["1 -5 6", "en", "b", [2n], "would leave 6 unread", "1 -5 6"],
  ["1 -5 6 4", "en", "a", [], "would leave 4 unread", "1 -5 6"],
  ["4 5", "en", "c", [1n, 2n], "would leave 5 unread", "4"],
  ["1 -5 6 = 0", "en", "a", [], "not “=”", "1 -5 6"],
  ["2x^2=8", "en", "a", [], "Did you mean 2x² − 8 = 0?", "2 0 -8"],
  ["x2-5x+6", "en", "a", [], "Did you mean x² − 5x + 6 = 0?", "1 -5 6"],
  ["x^2 - 5x + 6", "en", "a", [], "Did you mean x² − 5x + 6 = 0?", "1 -5 6"],
  ["x^2", "en", "a", [], "not “x^2”", "1"],
  ["½", "en", "a", [], "can't read ½. To solve the equation with integers, type all three", null],
  ["-3 x", "en", "b", [1n], "not “x”", "-3"],
  ["3e2", "en", "c", [1n, 0n], "doesn't read powers of ten: it would read 3e2 as 3, then stop at “e2”. Did you mean x² + 300 = 0?", "300"],
  ["", "en", "b", [1n], "The line is empty, and the program is waiting for b", null],
  ["1.5 -5 6", "en", "a", [], "The equation 3x² − 10x + 12 = 0 has the same roots", "3 -10 12"],
  ["2/3 -1 1", "en", "a", [], "it would read 2/3 as 2, then stop at “/3”. The equation 2x² − 3x + 3 = 0", "2 -3 3"],
  ["3x^2 - 5x + 6 = 0", "en", "a", [], "Did you mean 3x² − 5x + 6 = 0?", "3 -5 6"],
  ["0.5 1 1073741824", "en", "a", [], "needs a number beyond those the program takes", null],
  ["٣ -٥ ٦", "ar", "a", [], "لا يقرأ البرنامج إلا الأرقام", "3 -5 6"],
  ["1\u00a0-5\u00a06", "fr", "a", [], "une espace que le programme ne reconnaît pas", "1 -5 6"],
  ["1\u202f000 -5 6", "fr", "a", [], "dont les milliers sont séparés", "1000 -5 6"],
  ["1 000 2 3", "en", "a", [], "a thousands separator", "1000 2 3"],
  ["1.000", "en", "a", [], "a thousands separator", "1 / 1000"],
  ["1,000", "en", "a", [], "a thousands separator", "1000 / 1"],
  ["1,000", "fr", "a", [], "milliers", "1 / 1000"],
  ["1.000.000 2 3", "de", "a", [], "Tausendern", "1000000 2 3"],
  ["1'000 2 3", "en", "a", [], "a thousands separator", "1000 2 3"],
  ["1.234,5 2 3", "de", "a", [], "Tausendern", "2469 4 6"],
  ["- 5", "en", "b", [1n], "in “- 5” it would find no digit after the sign", "-5"],
  ["1 - 5 + 6", "en", "a", [], "no digit after the sign", "1 -5 6"],
  ["5 -", "en", "a", [], "would find “-” with no digit after it", "5"],
  ["2147483648", "en", "a", [], "it would read 2147483648 as 2147483647.", null],
  ["-99999999999", "en", "a", [], "it would read −99999999999 as −2147483648.", null],
  ["1/00", "en", "a", [], "1/00 has no value: in mathematics, division by 0 is undefined.", null],
  ["1 2 3/0", "en", "a", [], "3/0 has no value", null],
];

test("a line the program would not read as meant is held back, with what was meant", () => {
  for (const [line, language, waiting, read, says, offered] of CHECKS) {
    const speak = sayIn(language);
    const found = checkLine(line, { waiting, read, comma: catalogue(language).decimalPoint === "," });
    assert.ok(found, line);
    const text = [found, ...found.offers]
      .filter((part) => part.key)
      .map((part) => speak(part.key, part.values))
      .join(" ");
    assert.ok(text.includes(says), `${line}: ${says} in ${text}`);
    const lines = found.offers.filter((offer) => offer.line !== undefined).map((offer) => offer.line);
    assert.equal(lines.join(" / ") || null, offered, line);
  }
  for (const line of ["1 -3 2", " -7", "+2 3", "2147483647", "-2147483648", "1\t-3\v2\f\r"])
    assert.equal(checkLine(line, { waiting: "a" }), null, line);
  assert.equal(say("solveThis", checkLine("1.0 -5 6", { waiting: "a" }).offers[0].values), "Solve x² − 5x + 6 = 0");
  assert.equal(checkLine("1.5 -5 6", { waiting: "b", read: [1n] }).offers[0].restart, true);
});

// prettier-ignore
const TYPED = [  // what a student's keyboard types, and what the field shows as it is typed
  ["٣ -٥ ٦", "3 -5 6"], ["۳ ۵ ۶", "3 5 6"], ["१२ ३", "12 3"], ["𝟙𝟚 𝟘", "12 0"],
  ["１　－５　６", "1 -5 6"], ["１．５，２", "1.5,2"], ["١٫٥", "1.5"], ["1، -5، 6", "1; -5; 6"], ["1、-5、6", "1;-5;6"],
  ["\u200f٣\u200e \u2212\u2009٥", "3 -\u20095"], ["\u22123 \u2013 5 \u2014", "-3 - 5 \u2014"], ["1\u20035", "1 5"],
  ["1\u00a0000", "1\u00a0000"], ["x² − 5x", "x² - 5x"],
];

test("what a student's keyboard types becomes the program's characters, where each has one meaning", () => {
  for (const [typed, shown] of TYPED) {
    assert.equal(fixTyped(typed), shown, typed);
    assert.equal(fixTyped(shown), shown, `${typed}, twice`);
  }
});

// prettier-ignore
const LINKS = [  // the address after #, whether its language writes a decimal comma, the lines it types
  ["1+-5+6", false, "1 -5 6"], ["1,-5,6", false, "1 -5 6"], ["1;%20-5;6", false, "1  -5 6"],
  ["1%0A-5%0A6", false, "1\n-5\n6"], ["1%04", false, "1\x04"], ["%E0%A4%A", false, ""], ["+1 +2 3", false, "+1 +2 3"],
  ["x^2+5x+6=0", false, "x^2+5x+6=0"], ["2x%5E2%2B3x-2%3D0", false, "2x^2+3x-2=0"], ["1%2C5", false, "1,5"],
  ["1,5%20-5%206", true, "1,5 -5 6"], ["1,5%20-5%206", false, "1 5 -5 6"], ["1,-5,6", true, "1 -5 6"],
  ["%D9%A3%20-%D9%A5%20%D9%A6", false, "3 -5 6"], ["1%2B2", false, "1+2"],
];

test("a link types what its writer meant: numbers apart, an equation as written", () => {
  for (const [hash, comma, text] of LINKS) assert.equal(linkText(`#${hash}`, comma), text, hash);
});

test("every text the page's modules name is in the catalogue", () => {
  const english = catalogue("en");
  const modules = readdirSync(new URL("../web/", here)).filter((name) => name.endsWith(".mjs"));
  for (const name of modules) {
    const source = readFileSync(new URL(`../web/${name}`, here), "utf8");
    const named =
      source.match(/(?<=["`])(answer|mistake|check|offer|complete|factor|hint|sheet|kind|working)[A-Z]\w*(?=["`])/g) ??
      [];
    for (const key of named) assert.ok(key in english, `${name}: ${key}`);
  }
});

test("every language's catalogue has English's texts, with the same placeholders, set as the page sets them", () => {
  const english = catalogue("en");
  const names = (text) => (text.match(/\{\w+\}/g) ?? []).sort().join();
  for (const file of readdirSync(texts).filter((name) => name.endsWith(".json"))) {
    const other = catalogue(file.replace(".json", ""));
    assert.deepEqual(Object.keys(other), Object.keys(english), file);
    for (const [key, text] of Object.entries(english)) {
      assert.equal(names(other[key]), names(text), `${file}: ${key}`);
      // The build writes English's texts into the page as they stand.
      assert.equal(typeset(other[key], other.dir === "rtl"), other[key], `${file}: ${key} set with no-break spaces`);
    }
  }
});
