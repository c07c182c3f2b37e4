// SPDX-License-Identifier: MIT
// What the page says of a run: the numbers the program read from what was
// typed, and what its result line means, in exact arithmetic. No DOM: the
// page shows what this returns, and the tests call it in Node.
import { decimal, fraction, linearRoot, polynomial, quadraticForms } from "./exact.mjs";
import { pair as coordinates } from "./say.mjs";

export const INT_MIN = -(2n ** 31n);
export const INT_MAX = 2n ** 31n - 1n;
const isSpace = (byte) => byte === 32 || (byte >= 9 && byte <= 13);
const isDigit = (byte) => byte >= 48 && byte <= 57;
const PLUS = 43,
  MINUS = 45;

// The three numbers as the program reads them from the bytes typed: white
// space skipped, one sign, the digits, saturating to the int range. A read
// that finds no number leaves 0 and takes nothing but a lone sign.
export function readNumbers(input) {
  let at = 0;
  const text = (from, to) => new TextDecoder().decode(input.subarray(from, to));
  return ["a", "b", "c"].map((name) => {
    while (isSpace(input[at])) at++;
    const start = at;
    if (input[at] === PLUS || input[at] === MINUS) at++;
    if (!isDigit(input[at])) {
      const why =
        at > start
          ? { key: "whySign", values: { sign: text(start, at) } }
          : at < input.length
            ? { key: "whyText", values: { text: [...text(at, at + 4)][0] } }
            : { key: "whyEnd" };
      return { name, value: 0n, why };
    }
    while (isDigit(input[at])) at++;
    const typed = BigInt(text(start, at));
    const value = typed < INT_MIN ? INT_MIN : typed > INT_MAX ? INT_MAX : typed;
    return { name, value, typed };
  });
}

const show = (value) => String(value).replace(/^-/, "−");

// An exact value, and its six decimals where they say more than it does.
function valued(exact, number, point) {
  // A value that rounds to 0 but isn't, in the program's own six decimals.
  const digits = !number.exact && number.millionths === 0n ? `0${point}000000` : decimal(number, point);
  if (exact === digits) return exact;
  return `${exact} ${number.exact ? "=" : "≈"} ${digits}`;
}

// A point, exactly, and in decimals where they differ.
function located(say, exact, numbers) {
  const digits = numbers.map((number) => decimal(number, say("decimalPoint")));
  const text = coordinates(say, exact[0], exact[1]);
  if (digits.every((digit, i) => digit === exact[i])) return text;
  return `${text} ${numbers.every((number) => number.exact) ? "=" : "≈"} ${coordinates(say, digits[0], digits[1])}`;
}

function list(say, items) {
  return items.length < 2
    ? items.join("")
    : say("and", { first: items.slice(0, -1).join(say("listComma")), second: items.at(-1) });
}

// What became of input that was no number, or too large a one.
function readingNotes(say, numbers) {
  const notes = [];
  const failed = new Map();
  for (const { name, value, typed, why } of numbers) {
    if (why) {
      const said = say(why.key, why.values);
      failed.set(said, [...(failed.get(said) ?? []), name]);
    } else if (typed !== value) {
      notes.push(
        say(typed < 0n ? "beyondSmallest" : "beyondLargest", { typed: show(typed), name, value: show(value) }),
      );
    }
  }
  for (const [why, names] of failed) notes.push(say("stayedZero", { why, names: list(say, names) }));
  return notes;
}

function quadratic(say, a, b, c, printed, point) {
  const forms = quadraticForms(a, b, c);
  const paragraphs = [],
    working = [];
  working.push(["workingDelta", `Δ = b² − 4ac = ${forms.deltaWorking}`]);
  working.push([
    "workingFormula",
    `x = (−b ± √Δ)/(2a) = ${forms.rootWorking.replace(/^x = /, "")}`,
    ...forms.simplified,
  ]);
  paragraphs.push(say("discriminant", { working: forms.deltaWorking }));
  let summary;
  if (forms.kind === "complex") {
    const both = `${forms.both} ≈ ${decimal(forms.reDecimal, point)} ± ${decimal(forms.imDecimal, point)}i`;
    paragraphs.push(say("negative", { roots: both }), say("wroteNan"));
    summary = say("summaryComplex", { roots: forms.both });
  } else {
    const x1 = valued(forms.x1, forms.x1Decimal, point),
      x2 = valued(forms.x2, forms.x2Decimal, point);
    if (forms.kind === "double") {
      paragraphs.push(say("zero", { x: x1 }));
      summary = say("summaryDouble", { x: forms.x1 });
    } else {
      paragraphs.push(say("positive", { x1, x2 }), say("wrote", { x1: printed[0], x2: printed[1] }));
      if (a < 0n) paragraphs.push(say("largerFirst"));
      summary = say("summaryTwo", { x1: forms.x1, x2: forms.x2 });
    }
    working.push(["workingRoots", ...(forms.kind === "double" ? [`x = ${x1}`] : [`x1 = ${x1}`, `x2 = ${x2}`])]);
  }
  if (forms.factored) working.push(["workingFactored", `${polynomial(a, b, c)} = ${forms.factored}`]);
  if (b !== 0n) working.push(["workingVertex", `${polynomial(a, b, c)} = ${forms.vertexForm}`]);
  working.push(["workingAxis", forms.axis], ["workingIntercept", coordinates(say, "0", show(c))]);
  const vertex = located(
    say,
    [fraction(forms.h.n, forms.h.d), fraction(forms.k.n, forms.k.d)],
    [forms.hDecimal, forms.kDecimal],
  );
  paragraphs.push(say(a > 0n ? "opensUp" : "opensDown", { polynomial: polynomial(a, b, c), vertex }));
  return { paragraphs, working, summary, forms, vertex };
}

function linear(say, b, c, point) {
  if (b !== 0n) {
    const root = linearRoot(b, c),
      x = valued(root.text, root.decimal, point);
    return {
      paragraphs: [say("linear", { x }), say("dividesByZero")],
      summary: say("summaryLinear", { x: root.text }),
      working: [
        [
          "workingLinear",
          `${polynomial(0n, b, 0n)} = ${show(-c)}`,
          `x = ${show(-c)}/${b < 0n ? `(${show(b)})` : show(b)} = ${x}`,
        ],
      ],
      root,
    };
  }
  const key = c === 0n ? "everyX" : "noX";
  return {
    paragraphs: [say(key, { c: show(c) }), say("dividesByZero")],
    summary: say(c === 0n ? "summaryEvery" : "summaryNone"),
    working: [],
  };
}

// The reading of one run: what was typed, and the result line it gave.
export function explain(say, input, resultLine, point = ".") {
  const numbers = readNumbers(input);
  const [a, b, c] = numbers.map((number) => number.value);
  const printed = resultLine.match(/x1 : (\S+), x2 : (\S+)$/).slice(1);
  const equation = `${polynomial(a, b, c)} = 0`;
  const opening = [say("solved", { equation, a: show(a), b: show(b), c: show(c) }), ...readingNotes(say, numbers)];
  const body = a !== 0n ? quadratic(say, a, b, c, printed, point) : linear(say, b, c, point);
  const closing = printed.includes("-0.000000") ? [say("negativeZero")] : [];
  return {
    a,
    b,
    c,
    equation,
    summary: body.summary,
    paragraphs: [...opening, ...body.paragraphs, ...closing],
    working: body.working.map(([key, ...steps]) => [say(key), steps]),
    graphTitle: say("graphTitle", { polynomial: polynomial(a, b, c) }),
    graphText: graphText(say, a, b, c, body, point),
  };
}

// The graph's text alternative: every digit its labels leave out.
function graphText(say, a, b, c, body, point) {
  const said = [say(a > 0n ? "graphUp" : a < 0n ? "graphDown" : b !== 0n ? "graphLine" : "graphLevel")];
  const { forms, root } = body;
  if (forms && forms.kind !== "complex") {
    const x1 = valued(forms.x1, forms.x1Decimal, point),
      x2 = valued(forms.x2, forms.x2Decimal, point);
    said.push(
      say("graphMeets", {
        points: forms.kind === "double" ? `x = ${x1}` : say("and", { first: `x1 = ${x1}`, second: `x2 = ${x2}` }),
      }),
    );
  }
  if (root) said.push(say("graphMeets", { points: `x = ${valued(root.text, root.decimal, point)}` }));
  if (forms) said.push(say("graphVertex", { point: body.vertex }));
  said.push(say("graphIntercept", { point: coordinates(say, "0", show(c)) }));
  return said.join(say("sentenceGap"));
}
