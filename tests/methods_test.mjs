// SPDX-License-Identifier: MIT
// Completing the square, factoring and the worksheet: tables of each method's
// steps, then a seeded sweep, generated sheets and "another like it" checked
// against Python's exact integers (tests/methods_oracle.py).
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { test } from "node:test";
import { URLSearchParams } from "node:url";
import { quadraticForms } from "../web/exact.mjs";
import { completingSquare, factoring, kindOf } from "../web/methods.mjs";
import { KINDS, likeIt, sheetOptions, sheetQuery, worksheet } from "../web/worksheet.mjs";

const M = "\u2212";
const big = (row) => row.map(BigInt);
// A step as a table writes it: a formula as it is, a sentence as @key(values).
const shown = (step) =>
  typeof step === "string"
    ? step
    : `@${step.key}` + (Object.keys(step.values).length ? `(${Object.values(step.values).join("; ")})` : "");
const shownAll = (steps) => (steps === null ? null : steps.map(shown).join(" | "));

// prettier-ignore
const STEPS = [ // a, b, c; completing the square; factoring, with - for −
  [[1, -5, 6], "@completeMove | x² - 5x = -6 | @completeAdd(-5/2; 25/4) | x² - 5x + 25/4 = -6 + 25/4 | @completeSquare | (x - 5/2)² = -24/4 + 25/4 = 1/4 | @completeRoot | x - 5/2 = ±√(1/4) = ±1/2 | @completeSolve | x = 5/2 ± 1/2 | x₁ = 5/2 - 1/2 = 2 | x₂ = 5/2 + 1/2 = 3",
    "@factorPair(6; -5; -2; -3) | -2·(-3) = 6 | -2 + (-3) = -5 | (x - 2)(x - 3) = 0 | @factorZero | x - 2 = 0 | x₁ = 2 | x - 3 = 0 | x₂ = 3"],
  [[2, -10, 12], "@completeDivide(2) | x² - 5x + 6 = 0 | @completeMove | x² - 5x = -6 | @completeAdd(-5/2; 25/4) | x² - 5x + 25/4 = -6 + 25/4 | @completeSquare | (x - 5/2)² = -24/4 + 25/4 = 1/4 | @completeRoot | x - 5/2 = ±√(1/4) = ±1/2 | @completeSolve | x = 5/2 ± 1/2 | x₁ = 5/2 - 1/2 = 2 | x₂ = 5/2 + 1/2 = 3",
    "@factorCommon(2) | 2(x² - 5x + 6) = 0 | x² - 5x + 6 = 0 | @factorPair(6; -5; -2; -3) | -2·(-3) = 6 | -2 + (-3) = -5 | (x - 2)(x - 3) = 0 | @factorZero | x - 2 = 0 | x₁ = 2 | x - 3 = 0 | x₂ = 3"],
  [[1, -5, 3], "@completeMove | x² - 5x = -3 | @completeAdd(-5/2; 25/4) | x² - 5x + 25/4 = -3 + 25/4 | @completeSquare | (x - 5/2)² = -12/4 + 25/4 = 13/4 | @completeRoot | x - 5/2 = ±√(13/4) = ±√13/2 | @completeSolve | x = 5/2 ± √13/2 | x = (5 ± √13)/2", null],
  [[2, 4, 5], "@completeDivide(2) | x² + 2x + 5/2 = 0 | @completeMove | x² + 2x = -5/2 | @completeAdd(1; 1) | x² + 2x + 1 = -5/2 + 1 | @completeSquare | (x + 1)² = -5/2 + 2/2 = -3/2 | @completeRootNegative | x + 1 = ±√(3/2)·i = ±√(6/4)·i = ±(√6/2)i | @completeSolve | x = -1 ± (√6/2)i", null],
  [[6, -1, -1], "@completeDivide(6) | x² - (1/6)x - 1/6 = 0 | @completeMove | x² - (1/6)x = 1/6 | @completeAdd(-1/12; 1/144) | x² - (1/6)x + 1/144 = 1/6 + 1/144 | @completeSquare | (x - 1/12)² = 24/144 + 1/144 = 25/144 | @completeRoot | x - 1/12 = ±√(25/144) = ±5/12 | @completeSolve | x = 1/12 ± 5/12 | x₁ = 1/12 - 5/12 = -1/3 | x₂ = 1/12 + 5/12 = 1/2",
    "@factorProduct(6·(-1) = -6; -1; -3; 2) | -3·2 = -6 | -3 + 2 = -1 | @factorSplit | 6x² - 3x + 2x - 1 = 0 | @factorGroup | 3x(2x - 1) + (2x - 1) = 0 | (3x + 1)(2x - 1) = 0 | @factorZero | 3x + 1 = 0 | 3x = -1 | x₁ = -1/3 | 2x - 1 = 0 | 2x = 1 | x₂ = 1/2"],
  [[1, 0, -4], "@completeMove | x² = 4 | @completeRoot | x = ±√4 = ±2 | @completeEachSign | x₁ = -2 | x₂ = 2",
    "@factorPair(-4; 0; 2; -2) | 2·(-2) = -4 | 2 + (-2) = 0 | (x + 2)(x - 2) = 0 | @factorZero | x + 2 = 0 | x₁ = -2 | x - 2 = 0 | x₂ = 2"],
  [[3, -6, 0], "@completeDivide(3) | x² - 2x = 0 | @completeAdd(-1; 1) | x² - 2x + 1 = 1 | @completeSquare | (x - 1)² = 1 | @completeRoot | x - 1 = ±√1 = ±1 | @completeSolve | x = 1 ± 1 | x₁ = 1 - 1 = 0 | x₂ = 1 + 1 = 2",
    "@factorCommon(3) | 3(x² - 2x) = 0 | x² - 2x = 0 | @factorX | x(x - 2) = 0 | @factorZero | x₁ = 0 | x - 2 = 0 | x₂ = 2"],
  [[1, 2, 1], "@completeMove | x² + 2x = -1 | @completeAdd(1; 1) | x² + 2x + 1 = -1 + 1 | @completeSquare | (x + 1)² = 0 | @completeRootZero | x + 1 = 0 | @completeSolve | x = -1",
    "@factorPair(1; 2; 1; 1) | 1·1 = 1 | 1 + 1 = 2 | (x + 1)(x + 1) = 0 | (x + 1)² = 0 | @factorSame | x + 1 = 0 | x = -1"],
  [[-1, 4, -4], "@completeDivide(-1) | x² - 4x + 4 = 0 | @completeMove | x² - 4x = -4 | @completeAdd(-2; 4) | x² - 4x + 4 = -4 + 4 | @completeSquare | (x - 2)² = 0 | @completeRootZero | x - 2 = 0 | @completeSolve | x = 2",
    "@factorCommon(-1) | -(x² - 4x + 4) = 0 | x² - 4x + 4 = 0 | @factorPair(4; -4; -2; -2) | -2·(-2) = 4 | -2 + (-2) = -4 | (x - 2)(x - 2) = 0 | (x - 2)² = 0 | @factorSame | x - 2 = 0 | x = 2"],
  // A denominator made a square, a radicand's square taken out, an imaginary whole, a pair that reads "+ 3(…)".
  [[2, 0, -9], "@completeDivide(2) | x² - 9/2 = 0 | @completeMove | x² = 9/2 | @completeRoot | x = ±√(9/2) = ±√(18/4) = ±√18/2 = ±3√2/2", null],
  [[3, 3, -1], "@completeDivide(3) | x² + x - 1/3 = 0 | @completeMove | x² + x = 1/3 | @completeAdd(1/2; 1/4) | x² + x + 1/4 = 1/3 + 1/4 | @completeSquare | (x + 1/2)² = 4/12 + 3/12 = 7/12 | @completeRoot | x + 1/2 = ±√(7/12) = ±√(21/36) = ±√21/6 | @completeSolve | x = -1/2 ± √21/6 | x = (-3 ± √21)/6", null],
  [[1, 0, 12], "@completeMove | x² = -12 | @completeRootNegative | x = ±√12·i = ±(2√3)i", null],
  [[2, 7, 3], null,
    "@factorProduct(2·3 = 6; 7; 1; 6) | 1·6 = 6 | 1 + 6 = 7 | @factorSplit | 2x² + x + 6x + 3 = 0 | @factorGroup | x(2x + 1) + 3(2x + 1) = 0 | (x + 3)(2x + 1) = 0 | @factorZero | x + 3 = 0 | x₁ = -3 | 2x + 1 = 0 | 2x = -1 | x₂ = -1/2"],
];

test("the steps of each method, exactly", () => {
  for (const [row, square, factors] of STEPS) {
    const want = (text) => text?.replaceAll("-", M) ?? null;
    if (square !== null) assert.equal(shownAll(completingSquare(...big(row))), want(square), `${row}`);
    assert.equal(shownAll(factoring(...big(row))), want(factors), `${row}`);
  }
});

// prettier-ignore
const QUERIES = [ // a query; the count, seed and kinds read from it, where the page's own seed is 99
  ["worksheet&count=30&seed=7&kinds=integer,complex", 30, 7, "integer,complex"],
  ["worksheet", 20, 99, KINDS.join()],
  ["worksheet&count=0&seed=-1&kinds=DOUBLE,,cubic,Complex", 1, 99, "complex,double"],
  ["count=61&seed=42949672960000&kinds=", 60, 4294967295, KINDS.join()],
  ["count=2.5&seed=1e3&kinds=rational", 20, 99, "rational"],
];

test("a sheet's options from its query, and the query that makes it again", () => {
  for (const [query, count, seed, kinds] of QUERIES) {
    const options = sheetOptions(new URLSearchParams(query), 99);
    assert.deepEqual(options, { count, seed, kinds: kinds.split(",") }, query);
    assert.deepEqual(sheetOptions(new URLSearchParams(sheetQuery(options))), options, query);
  }
  assert.throws(() => worksheet({ count: 61 }), RangeError);
});

test("a seed makes the same sheet, in every version and engine", () => {
  const equations = (options) => worksheet(options).map((problem) => problem.equation);
  assert.deepEqual(equations({ count: 10, seed: 7 }), equations({ count: 10, seed: 7 }));
  assert.notDeepEqual(equations({ count: 10, seed: 7 }), equations({ count: 10, seed: 8 }));
  const seven = "9x² + 49x + 20 = 0|x² + 5x - 13 = 0|x² - 2x + 4 = 0|x² + 3x - 18 = 0|x² + 7x - 18 = 0";
  assert.equal(equations({ count: 10, seed: 7 }).slice(0, 5).join("|"), seven.replaceAll("-", M));
});

// --- The sweep -------------------------------------------------------------

const BAD_TEXT = /-|[+−±] −|√−|\s\s|\(\s|\s\)|(^|[^\d])[01]x|\/1(?!\d)/;
const tail = (formula) => formula.split(" = ").at(-1);

// Each method's last formulas give the oracle's roots; every text is typeset.
function checkMethods(row, what) {
  const [a, b, c] = big([row.a, row.b, row.c]);
  assert.equal(kindOf(a, b, c), row.kind, what);
  const forms = quadraticForms(a, b, c);
  const roots = row.both ? [row.both] : [row.x1, row.x2];
  assert.deepEqual(row.both ? [forms.both] : [forms.x1, forms.x2], roots, what);
  const square = completingSquare(a, b, c).filter((step) => typeof step === "string");
  const rational = row.both === null;
  if (row.kind === "double") assert.equal(tail(square.at(-1)), row.x1, what);
  else assert.deepEqual(square.slice(-roots.length).map(tail), roots, what);
  assert.match(square.at(-1), /^x[₂]? = /, what);
  const factors = factoring(a, b, c);
  assert.equal(factors === null, !rational, what);
  const formulas = (factors ?? []).filter((step) => typeof step === "string");
  if (factors && row.kind === "double") assert.equal(formulas.at(-1), `x = ${row.x1}`, what);
  else if (factors)
    assert.deepEqual(
      [formulas.find((f) => f.startsWith("x₁")), formulas.at(-1)],
      [`x₁ = ${row.x1}`, `x₂ = ${row.x2}`],
      what,
    );
  for (const step of [...completingSquare(a, b, c), ...(factors ?? [])])
    for (const text of typeof step === "string" ? [step] : Object.values(step.values))
      assert.doesNotMatch(text, BAD_TEXT, `${what}: ${text}`);
}

const key = ({ a, b, c }) => `${a} ${b} ${c}`;
const inBounds = ({ a, b, c }) => a !== 0n && -9n <= a && a <= 9n && -99n <= b && b <= 99n && -99n <= c && c <= 99n;

// A sheet's answer key: the oracle's roots, Δ, and the factored form where the roots are rational.
function checkProblem(problem, row, what) {
  assert.ok(inBounds(problem), what);
  assert.equal(row.gcd, "1", what);
  assert.equal(problem.kind, row.kind, what);
  assert.equal(problem.delta, BigInt(row.delta), what);
  assert.deepEqual(problem.roots, row.both ? [row.both] : row.kind === "double" ? [row.x1] : [row.x1, row.x2], what);
  assert.equal(problem.factored === null, row.both !== null, what);
}

test("every method's roots, every sheet and every equation like another, against Python's exact integers", () => {
  const sheetsAsked = [
    ...KINDS.map((kind, seed) => ({ count: 60, seed, kinds: [kind] })),
    ...[7, 8, 2 ** 32 - 1].map((seed) => ({ count: 30, seed, kinds: KINDS })),
    { count: 3, seed: 5, kinds: ["integer", "complex"] },
  ];
  const sheets = sheetsAsked.map((options) => worksheet(options));
  const extremes = [
    [2147483647, -2147483645, -2147483617],
    [-2147395600, 0, 2147395600],
  ].map(big);
  const givens = [...sheets[5], ...extremes.map(([a, b, c]) => ({ a, b, c }))];
  const alike = givens.map((given, seed) => likeIt(given.a, given.b, given.c, seed));
  const asked = [...sheets.flat(), ...givens, ...alike];
  const output = execFileSync("python3", [new URL("methods_oracle.py", import.meta.url).pathname, "31", "600"], {
    input: asked.map(key).join("\n"),
  });
  const rows = output
    .toString()
    .trim()
    .split("\n")
    .map((line) => JSON.parse(line));
  assert.equal(rows.length, asked.length + 600);
  for (const row of rows) checkMethods(row, `${row.a}, ${row.b}, ${row.c}`);
  let at = 0;
  for (const [i, sheet] of sheets.entries()) {
    const { count, kinds } = sheetsAsked[i];
    assert.equal(new Set(sheet.map(key)).size, count, `sheet ${i} distinct`);
    const upToSign = ({ a, b, c }) => key(a < 0n ? { a: -a, b: -b, c: -c } : { a, b, c });
    if (kinds.join() !== "double")
      assert.equal(new Set(sheet.map(upToSign)).size, count, `sheet ${i} distinct up to sign`);
    assert.deepEqual(new Set(sheet.map((problem) => problem.kind)), new Set(kinds.slice(0, count)), `sheet ${i} kinds`);
    for (const problem of sheet) checkProblem(problem, rows[at++], `sheet ${i}: ${problem.equation}`);
  }
  const sameUpToFactor = (row) => JSON.stringify(big([row.a, row.b, row.c]).map((n, _, [a]) => Number(n) / Number(a)));
  for (const [i, like] of alike.entries()) {
    const [given, row] = [rows[at + i], rows[at + givens.length + i]];
    checkProblem(like, row, `like ${given.a}, ${given.b}, ${given.c}: ${like.equation}`);
    assert.equal(row.kind, given.kind, like.equation);
    assert.equal(like.a < 0n, BigInt(given.a) < 0n, like.equation);
    assert.notEqual(sameUpToFactor(row), sameUpToFactor(given), like.equation);
  }
});
