// SPDX-License-Identifier: MIT
// The page's exact arithmetic and texts: tables of the shapes each text takes
// and of the hard cases, then a seeded sweep checked against Python's exact
// integers (tests/exact_oracle.py), with every text read back by a small
// evaluator of its own and compared with the six-decimal readings.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { test } from "node:test";
import * as exact from "../web/exact.mjs";

const M = "\u2212";
const big = (row) => row.map((v) => (typeof v === "number" ? BigInt(v) : v));

test("isqrt is the floor of the square root", () => {
  const roots = [0n, 1n, 2n, 3037000499n, 2n ** 35n - 1n, 10n ** 20n, 2n ** 60n + 12345n];
  for (const r of roots) {
    for (const n of [r * r, r * r + 2n * r, r * r - 1n].filter((n) => n >= 0n)) {
      const got = exact.isqrt(n);
      assert.ok(got * got <= n && (got + 1n) ** 2n > n, `isqrt(${n}) = ${got}`);
    }
  }
});

// n, k, m with n = k²·m; the large ones are products of primes named here.
const p32 = [4801919401n, 4801919393n];
const [p21, q21] = [3355459n, 2621431n];
// prettier-ignore
const squareParts = [
  [1n, 1n, 1n], [12n, 2n, 3n], [2n ** 64n, 2n ** 32n, 1n], [2n * 3n ** 39n, 3n ** 19n, 6n],
  [23058430083547004879n, 1n, 23058430083547004879n], // a prime just below 2^64 + 2^62
  [p32[0] * p32[1], 1n, p32[0] * p32[1]], // two primes near 2^32.1
  [p32[0] ** 2n, p32[0], 1n],
  [p21 * q21 * q21, q21, p21], // q near 2^21.3 is found late in the scan
  [2846287n * 2846323n * 2846329n, 1n, 2846287n * 2846323n * 2846329n], // three just above ∛n
  [2849989n ** 3n, 2849989n, 2849989n], // the largest prime cubed in range: the scan must reach ∛n itself
  [49n * 4294967291n, 7n, 4294967291n],
  [11857290441462382489n, 103n, 1117663346353321n], // 103 leaves a remainder of 103, not 0, in the scan
];

test("squarePart splits n into k²·m", () => {
  for (const [n, k, m] of squareParts) assert.deepEqual(exact.squarePart(n), [k, m], `${n}`);
});

test("rounded and roundedSurd round once, ties to even", () => {
  const N = 1000001n; // N/128 = 7812.5078125, a tie: even is down
  const R = 1000003n; // R/128 = 7812.5234375, a tie: even is up
  const rows = [
    [exact.rounded(1n, 3n), 333333n, false],
    [exact.rounded(-2n, 3n), -666667n, false],
    [exact.rounded(1n, 128n), 7812n, false],
    [exact.rounded(3n, -128n), -23438n, false],
    [exact.rounded(5n, -2n), -2500000n, true],
    [exact.rounded(-(2n ** 31n), 1n), -(2n ** 31n) * 10n ** 6n, true],
    [exact.roundedSurd(0n, 1n, 2n, 1n), 1414214n, false],
    [exact.roundedSurd(5n, -1n, 13n, 2n), 697224n, false],
    [exact.roundedSurd(5n, 1n, 13n, -2n), -4302776n, false],
    [exact.roundedSurd(1n, 3n, 4n, 2n), 3500000n, true],
    [exact.roundedSurd(0n, 1n, N * N, 128n), 7812507812n, false],
    [exact.roundedSurd(0n, 1n, R * R, 128n), 7812523438n, false],
    [exact.roundedSurd(0n, 1n, N * N + 1n, 128n), 7812507813n, false],
    [exact.roundedSurd(0n, 1n, R * R - 1n, 128n), 7812523437n, false],
    [exact.roundedSurd(0n, -1n, N * N + 1n, 128n), -7812507813n, false],
    [exact.roundedSurd(7n, 5n, 0n, 3n), 2333333n, false],
  ];
  for (const [got, millionths, isExact] of rows) assert.deepEqual(got, { millionths, exact: isExact });
});

test("the short texts", () => {
  const rows = [
    [exact.decimal({ millionths: -1414214n }), `${M}1.414214`],
    [exact.decimal({ millionths: 500000n }, ","), "0,5"],
    [exact.decimal({ millionths: 2000000n }), "2"],
    [exact.decimal({ millionths: -7n }), `${M}0.000007`],
    [exact.fraction(4n, 2n), "2"],
    [exact.fraction(-2n, -6n), "1/3"],
    [exact.fraction(5n, -2n), `${M}5/2`],
    [exact.fraction(0n, -7n), "0"],
    [exact.polynomial(1n, -3n, 2n), `x² ${M} 3x + 2`],
    [exact.polynomial(-1n, 0n, 0n), `${M}x²`],
    [exact.polynomial(0n, 2n, 4n), "2x + 4"],
    [exact.polynomial(0n, -1n, -7n), `${M}x ${M} 7`],
    [exact.polynomial(0n, 0n, 7n), "7"],
    [exact.polynomial(0n, 0n, 0n), "0"],
    [exact.surd(4n, 3n), "4√3"],
    [exact.surd(1n, 3n), "√3"],
    [exact.surd(-1n, 3n), `${M}√3`],
    [exact.surd(-4n, 1n), `${M}4`],
    [exact.surd(0n, 3n), "0"],
    [exact.linearRoot(3n, 1n).text, `${M}1/3`],
    [exact.linearRoot(-4n, 2n).decimal.millionths, 500000n],
  ];
  for (const [got, want] of rows) assert.equal(got, want);
});

// a, b, c and the fields that show each shape.
// prettier-ignore
const forms = [
  [[1, -5, 6], { x1: "2", x2: "3", both: null, factored: "(x − 2)(x − 3)", vertexForm: "(x − 5/2)² − 1/4",
    deltaWorking: "(−5)² − 4·1·6 = 25 − 24 = 1", rootWorking: "x = (5 ± √1)/2" }],
  [[1, 0, -2], { x1: "−√2", x2: "√2", both: "±√2", deltaWorking: "0² − 4·1·(−2) = 0 + 8 = 8", factored: null }],
  [[1, -5, 3], { x1: "(5 − √13)/2", x2: "(5 + √13)/2", both: "(5 ± √13)/2", kind: "two", rational: false }],
  [[4, 0, -3], { x1: "−√3/2", both: "±√3/2", vertexForm: "4x² − 3", axis: "x = 0" }],
  [[-3, 5, 1], { x1: "(5 + √37)/6", x2: "(5 − √37)/6", rootWorking: "x = (−5 ± √37)/(−6)" }],
  [[8, 4, -1], { x1: "(−1 − √3)/4", both: "(−1 ± √3)/4", square: [4n, 3n] }],
  [[1, -6, 7], { x1: "3 − √2", both: "3 ± √2" }],
  [[8, 0, -9], { x1: "−3√2/4", x2: "3√2/4" }],
  [[3, -1, 0], { x1: "0", x2: "1/3", factored: "x(3x − 1)", vertexForm: "3(x − 1/6)² − 1/12" }],
  [[2, 5, -3], { factored: "(2x − 1)(x + 3)", simplified: ["√49 = 7", "x = (−5 ± 7)/4", "x₁ = (−5 − 7)/4 = −3", "x₂ = (−5 + 7)/4 = 1/2"] }],
  [[-1, 0, 4], { x1: "2", x2: "−2", factored: "−(x − 2)(x + 2)", vertexForm: "−x² + 4" }],
  [[2, 8, 6], { factored: "2(x + 3)(x + 1)", vertexForm: "2(x + 2)² − 2", h: { n: -2n, d: 1n } }],
  [[1, 2, 1], { kind: "double", rational: true, x1: "−1", x2: "−1", factored: "(x + 1)²", square: null }],
  [[-1, 4, -4], { factored: "−(x − 2)²", vertexForm: "−(x − 2)²", simplified: ["√0 = 0", "x = −4/(−2)", "x = 2"] }],
  [[1, -3, 0], { factored: "x(x − 3)" }], [[-1, 3, 0], { factored: "−x(x − 3)" }], [[3, 0, 0], { factored: "3x²", vertexForm: "3x²" }],
  [[1, 0, 1], { kind: "complex", x1: "−i", x2: "i", both: "±i", vertexForm: "x² + 1" }],
  [[1, -2, 2], { both: "1 ± i", x1: "1 − i" }], [[1, 0, 4], { both: "±2i" }], [[4, 0, 9], { both: "±(3/2)i" }],
  [[1, 0, 12], { both: "±(2√3)i" }], [[1, 0, 3], { both: "±(√3)i" }],
  [[2, 4, 5], { both: "−1 ± (√6/2)i", x2: "−1 + (√6/2)i", rootWorking: "x = (−4 ± √24·i)/4", kDecimal: { millionths: 3000000n, exact: true },
    simplified: ["√24 = √(4·6) = 2√6", "x = (−4 ± 2√6·i)/4", "x = −1 ± (√6/2)i"] }],
  [[2, 4, 5].map((v) => -v), { x1: "−1 + (√6/2)i", both: "−1 ± (√6/2)i", vertexForm: "−2(x + 1)² − 3", deltaWorking: "(−4)² − 4·(−2)·(−5) = 16 − 40 = −24" }],
  [[128, -129, 1], { x1: "1/128", x1Decimal: { millionths: 7812n, exact: false }, factored: "(128x − 1)(x − 1)" }], // a tie, to even
  // The extremes: Δ a prime, a product of two primes above 2^31, p·q² with q near 2^21, b = −2^31.
  [[2147483647, -2147483645, -2147483617], { square: [1n, 23058429804374130821n], x1Decimal: { millionths: -618034n, exact: false },
    x2: "(2147483645 + √23058429804374130821)/4294967294" }],
  [[2147482776, -2147483645, -2146757043], { square: [1n, 2853504463n * 8078550919n], x2Decimal: { millionths: 1617883n, exact: false } }],
  [[-1107730878, -2147340163, 1153622184], { square: [2148053n, 2107153n], x1: "(−2147340163 + 2148053√2107153)/2215461756",
    x1Decimal: { millionths: 438185n, exact: false }, x2Decimal: { millionths: -2376688n, exact: false } }],
  [[-(2 ** 31), -(2 ** 31), 2 ** 31 - 1], { square: [65536n, 5368709118n], both: "(−32768 ± √5368709118)/65536",
    deltaWorking: "(−2147483648)² − 4·(−2147483648)·2147483647 = 4611686018427387904 + 18446744065119617024 = 23058430083547004928" }],
  [[2 ** 31 - 1, 1, 2 ** 31 - 1], { x1: "−1/4294967294 − (√18446744056529682435/4294967294)i", reDecimal: { millionths: 0n, exact: false, tiny: { digits: -233n, exponent: -10, exact: false } },
    imDecimal: { millionths: 1000000n, exact: false } }],
];

test("quadraticForms: every shape of every text", () => {
  for (const [coefficients, want] of forms) {
    const got = exact.quadraticForms(...big(coefficients));
    for (const [field, value] of Object.entries(want)) {
      const text = typeof value === "string" ? value.replaceAll("-", M) : value;
      assert.deepEqual(got[field], text, `${coefficients} ${field}`);
    }
  }
});

// --- The sweep -------------------------------------------------------------

// Reads a text back as a complex Number [re, im]; pm is the sign ± takes.
function evaluate(text, x = 0, pm = 1) {
  const tokens = text.match(/\d+|[−+±/·²()√xi]/g);
  let at = 0;
  const peek = () => tokens[at];
  const mul = ([a, b], [c, d]) => [a * c - b * d, a * d + b * c];
  const primary = () => {
    const t = tokens[at++];
    if (t === "(") return [sum(), at++][0];
    if (t === "√") return [Math.sqrt(Number(tokens[at++])), 0];
    if (t === "x") return [x, 0];
    if (t === "i") return [0, 1];
    assert.match(t, /^\d+$/, text);
    return [Number(t), 0];
  };
  const factor = () => {
    const v = primary();
    return peek() === "²" ? (at++, mul(v, v)) : v;
  };
  const product = () => {
    let v = factor();
    while (at < tokens.length && !["−", "+", "±", ")"].includes(peek())) {
      const op = peek() === "/" || peek() === "·" ? tokens[at++] : "";
      const w = factor();
      v = op === "/" ? [v[0] / w[0], v[1] / w[0]] : mul(v, w);
    }
    return v;
  };
  const sum = () => {
    const lead = peek() === "−" ? -1 : peek() === "±" ? pm : 1;
    if (lead !== 1 || peek() === "±") at++;
    let v = product().map((u) => lead * u);
    while (["−", "+", "±"].includes(peek())) {
      const sign = { "−": -1, "+": 1, "±": pm }[tokens[at++]];
      const w = product();
      v = [v[0] + sign * w[0], v[1] + sign * w[1]];
    }
    return v;
  };
  const value = sum();
  assert.equal(at, tokens.length, `${text} read to its end`);
  return value;
}

const close = (got, want, tolerance, what) =>
  assert.ok(Math.abs(got - want) <= tolerance, `${what}: ${got} against ${want}`);

function checkTypography(forms, what) {
  const texts = [
    forms.deltaWorking,
    forms.rootWorking,
    ...forms.simplified,
    forms.x1,
    forms.x2,
    forms.both,
    forms.factored,
    forms.vertexForm,
    forms.axis,
  ].filter((t) => t !== null);
  for (const t of texts) assert.doesNotMatch(t, /-|\s\s|\(\s|\s\)|√[^\d−(]|[^\s(]±/, `${what}: ${t}`);
}

// The roots: each text read back lies within the six-decimal reading's half
// millionth, plus what Number's rounding costs for terms of that size.
function checkRoots(forms, row, scale) {
  const tolerance = 5.0001e-7 + 4e-16 * scale;
  const pm = (sign) => (forms.both === null ? null : evaluate(forms.both, 0, sign));
  if (forms.kind === "complex") {
    const [re, im] = [Number(row.re) / 1e6, Number(row.im) / 1e6];
    // x₁ has the minus sign in the formula: before its imaginary part where a > 0.
    const first = Number(row.a) > 0 ? -1 : 1;
    for (const [text, s] of [
      [forms.x1, first],
      [forms.x2, -first],
    ]) {
      const [gotRe, gotIm] = evaluate(text);
      close(gotRe, re, tolerance, text);
      close(gotIm, s * im, tolerance, text);
    }
    return close(pm(-1)[1], -im, tolerance, forms.both);
  }
  const [x1, x2] = [Number(row.x1) / 1e6, Number(row.x2) / 1e6];
  close(evaluate(forms.x1)[0], x1, tolerance, forms.x1);
  close(evaluate(forms.x2)[0], x2, tolerance, forms.x2);
  assert.equal(forms.both === null, forms.rational, "both only for irrational roots");
  if (forms.both !== null) close(pm(1)[0] + pm(-1)[0], x1 + x2, 2 * tolerance, forms.both);
}

// The factored and vertex forms are the polynomial itself: read at x = 3.
function checkForms(forms, a, b, c) {
  const poly = (x) => a * x * x + b * x + c;
  const size = Math.abs(a) * (9 + Number(forms.h.n) ** 2) + Math.abs(Number(forms.k.n)) + Math.abs(c);
  for (const text of [forms.factored, forms.vertexForm].filter((t) => t !== null)) {
    close(evaluate(text, 3)[0], poly(3), 1e-13 * size, text);
  }
}

test("seeded sweep against Python's exact integers", () => {
  const output = execFileSync("python3", [new URL("exact_oracle.py", import.meta.url).pathname, "20240", "2400"]);
  const rows = output
    .toString()
    .trim()
    .split("\n")
    .map((line) => JSON.parse(line));
  assert.equal(rows.length, 2400);
  for (const row of rows) {
    const [a, b, c] = [row.a, row.b, row.c].map(BigInt);
    const forms = exact.quadraticForms(a, b, c);
    const what = `${row.a}, ${row.b}, ${row.c}`;
    assert.equal(forms.delta, BigInt(row.delta), what);
    assert.deepEqual(forms.square, row.k === null ? null : [BigInt(row.k), BigInt(row.m)], what);
    assert.equal(forms.rational, forms.delta >= 0n && (row.m === null || row.m === "1"), what);
    const readings = forms.kind === "complex" ? ["re", "im"] : ["x1", "x2"];
    for (const key of [...readings, "h", "k"]) {
      const { millionths, tiny } = forms[`${key}Decimal`];
      assert.equal(millionths, BigInt(row[`${key}${key.length === 1 ? "Decimal" : ""}`]), `${what} ${key}`);
      assert.equal(
        tiny ? `${tiny.digits} ${tiny.exponent}` : null,
        row[`${key}Tiny`],
        `${what} ${key}: significant digits`,
      );
    }
    checkTypography(forms, what);
    checkRoots(forms, row, (Math.abs(Number(b)) + Math.sqrt(Math.abs(Number(forms.delta)))) / Math.abs(Number(a)));
    checkForms(forms, Number(a), Number(b), Number(c));
  }
});
