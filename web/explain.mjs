// SPDX-License-Identifier: MIT
// @ts-check
// What the page says of a run: the numbers the program read from what was
// typed, and what its result line means, in exact arithmetic. No DOM: the
// page shows what this returns, and the tests call it in Node.
import { INT_MAX, INT_MIN } from "./check.mjs";
import { decimal, fraction, isExact, linearRoot, parenthesized, polynomial, quadraticForms, signed } from "./exact.mjs";
import { completingSquare, factoring } from "./methods.mjs";
import { pair } from "./say.mjs";

/** @typedef {import("./say.mjs").Say} Say */
/** @typedef {import("./exact.mjs").Rounded} Rounded */
/**
 * A number as the program read it: its value, and the number typed where it
 * was beyond the program's range, or why there was none.
 * @typedef {{ name: string, value: bigint, typed?: bigint, why?: { key: string, values?: Record<string, string> } }} Read
 */
/** A step of the working as shown: a formula, or a sentence that says what the formulas after it do. */
/** @typedef {string | { sentence: string }} Shown */
/** @typedef {"formula" | "square" | "factor"} Method */
/** A paragraph of the reading, and the formulas set on lines of their own after it. */
/** @typedef {{ text: string, formulas: string[] }} Paragraph */
/**
 * @typedef {object} Reading
 * @property {bigint} a
 * @property {bigint} b
 * @property {bigint} c
 * @property {string} equation
 * @property {string} summary the reading in a sentence, for the line by the field
 * @property {Paragraph[]} paragraphs
 * @property {[string, Shown[]][]} working each step's name, and its formulas and sentences
 * @property {string} graphTitle
 * @property {string} graphText every digit that the graph's labels leave out
 */

const isSpace = (/** @type {number} */ byte) => byte === 32 || (byte >= 9 && byte <= 13);
const isDigit = (/** @type {number} */ byte) => byte >= 48 && byte <= 57;
const PLUS = 43;
const MINUS = 45;

/**
 * A character as a reader can see it: an invisible one by its code.
 * @param {string} character
 */
const visible = (character) =>
  /[\p{Z}\p{C}]/u.test(character)
    ? `U+${(character.codePointAt(0) ?? 0).toString(16).toUpperCase().padStart(4, "0")}`
    : character;

/**
 * The three numbers as the program reads them from the bytes typed: white
 * space skipped, one sign, the digits, saturating to the int range. A read
 * that finds no number leaves 0 and takes nothing but a lone sign.
 * @param {Uint8Array} input
 * @returns {Read[]}
 */
export function readNumbers(input) {
  let at = 0;
  const text = (/** @type {number} */ from, /** @type {number} */ to) =>
    new TextDecoder().decode(input.subarray(from, to));
  return ["a", "b", "c"].map((name) => {
    while (isSpace(input[at])) at++;
    const start = at;
    if (input[at] === PLUS || input[at] === MINUS) at++;
    if (!isDigit(input[at])) {
      /** @type {Read["why"]} */
      const why =
        at > start
          ? { key: "whySign", values: { sign: text(start, at) } }
          : at < input.length
            ? { key: "whyText", values: { text: visible([...text(at, at + 4)][0]) } }
            : { key: "whyEnd" };
      return { name, value: 0n, why };
    }
    while (isDigit(input[at])) at++;
    const typed = BigInt(text(start, at));
    const value = typed < INT_MIN ? INT_MIN : typed > INT_MAX ? INT_MAX : typed;
    return { name, value, typed };
  });
}

/**
 * An exact value, then its decimals where they say more than it does: "=" where
 * they are its value, "≈" where they round it.
 * @param {Say} say
 * @param {string} exact
 * @param {Rounded} number
 */
function valued(say, exact, number) {
  const digits = decimal(number, say("decimalPoint"));
  return exact === digits ? exact : `${exact} ${isExact(number) ? "=" : "≈"} ${digits}`;
}

/**
 * A point, exactly, and in decimals where they differ.
 * @param {Say} say
 * @param {[string, string]} exact
 * @param {[Rounded, Rounded]} numbers
 */
function located(say, exact, numbers) {
  const digits = numbers.map((number) => decimal(number, say("decimalPoint")));
  const text = pair(say, ...exact);
  if (digits.every((digit, i) => digit === exact[i])) return text;
  return `${text} ${numbers.every(isExact) ? "=" : "≈"} ${pair(say, digits[0], digits[1])}`;
}

/**
 * A complex root, exactly, and in decimals where they differ.
 * @param {Say} say
 * @param {string} exact
 * @param {{ reDecimal: Rounded, imDecimal: Rounded }} forms
 * @param {string} sign before the imaginary part
 * @param {boolean} pure whether the real part is 0
 */
function complexValued(say, exact, { reDecimal, imDecimal }, sign, pure) {
  const part = decimal(imDecimal, say("decimalPoint"));
  const imaginary = `${part === "1" ? "" : part}i`;
  const digits = pure
    ? `${sign === "+" ? "" : "−"}${imaginary}`
    : `${decimal(reDecimal, say("decimalPoint"))} ${sign} ${imaginary}`;
  if (digits === exact) return exact;
  return `${exact} ${isExact(reDecimal) && isExact(imDecimal) ? "=" : "≈"} ${digits}`;
}

/**
 * @param {Say} say
 * @param {string[]} items
 */
function list(say, items) {
  return items.length < 2
    ? items.join("")
    : say("and", { first: items.slice(0, -1).join(say("listComma")), second: items[items.length - 1] });
}

/**
 * @param {string} text
 * @param {string[]} formulas
 * @returns {Paragraph}
 */
const paragraph = (text, formulas = []) => ({ text, formulas });

/**
 * What became of input that was no number, or too large a one.
 * @param {Say} say
 * @param {Read[]} numbers
 */
function readingNotes(say, numbers) {
  const notes = [];
  /** @type {Map<string, string[]>} */
  const failed = new Map();
  for (const { name, value, typed, why } of numbers) {
    if (why) {
      const said = say(why.key, why.values);
      failed.set(said, [...(failed.get(said) ?? []), name]);
    } else if (typed !== undefined && typed !== value) {
      const key = typed < 0n ? "beyondSmallest" : "beyondLargest";
      notes.push(say(key, { typed: signed(typed), name, value: signed(value) }));
    }
  }
  for (const [why, names] of failed) notes.push(say("stayedZero", { why, names: list(say, names) }));
  return notes.map((note) => paragraph(note));
}

/**
 * The quadratic formula with the numbers: the discriminant's working, the
 * formula, and the roots, exactly and in decimals.
 * @param {Say} say
 * @param {import("./exact.mjs").Forms} forms
 * @param {bigint} b
 */
function formulaWorking(say, forms, b) {
  const delta = say("delta");
  const general = forms.delta < 0n ? `x = (−b ± √(−${delta})·i)/(2a)` : `x = (−b ± √${delta})/(2a)`;
  /** @type {string[]} */
  let roots;
  if (forms.kind === "complex") {
    const [first, second] = forms.imaginarySigns;
    roots = [
      `x₁ = ${complexValued(say, forms.x1, forms, first, b === 0n)}`,
      `x₂ = ${complexValued(say, forms.x2, forms, second, b === 0n)}`,
    ];
  } else if (forms.kind === "double") {
    roots = [`${say("doubleRoot")} = ${valued(say, forms.x1, forms.x1Decimal)}`];
  } else {
    roots = [`x₁ = ${valued(say, forms.x1, forms.x1Decimal)}`, `x₂ = ${valued(say, forms.x2, forms.x2Decimal)}`];
  }
  return {
    deltaWorking: `${delta} = b² − 4ac = ${forms.deltaWorking}`,
    formula: `${general} = ${forms.rootWorking.replace(/^x = /, "")}`,
    roots,
  };
}

/**
 * The hints of practice, one step of the method each: with the formula, a,
 * b and c; the discriminant; its square root, simplified; the formula with
 * the numbers; the roots. With completing the square or factoring, each
 * sentence of the method and the formulas it leads to.
 * @param {Say} say
 * @param {bigint} a ≠ 0
 * @param {bigint} b
 * @param {bigint} c
 * @param {Method} method
 * @returns {Paragraph[]}
 */
export function hints(say, a, b, c, method) {
  const steps = method === "square" ? completingSquare(a, b, c) : method === "factor" ? factoring(a, b, c) : null;
  if (steps) {
    return steps.reduce((made, step) => {
      if (typeof step !== "string") made.push(paragraph(say(step.key, step.values)));
      else if (made.length) made[made.length - 1].formulas.push(step);
      else made.push(paragraph("", [step]));
      return made;
    }, /** @type {Paragraph[]} */ ([]));
  }
  const forms = quadraticForms(a, b, c);
  const { deltaWorking, formula, roots } = formulaWorking(say, forms, b);
  const size = forms.delta < 0n ? -forms.delta : forms.delta;
  const root = forms.simplified.find((line) => line.startsWith("√")) ?? `√${size}`;
  // Δ < 0: the square root of −Δ, a positive number, with i beside it.
  const radical = root.split(" = ").at(-1);
  const radicals =
    forms.delta < 0n ? [`√(−${say("delta")}) = ${root}`, `√(−${say("delta")})·i = ${radical}·i`] : [root];
  return [
    paragraph(say("hintCoefficients"), [
      [`a = ${signed(a)}`, `b = ${signed(b)}`, `c = ${signed(c)}`].join(say("listComma")),
    ]),
    paragraph(say("hintDelta"), [deltaWorking]),
    paragraph(say(forms.delta < 0n ? "hintRootNegative" : "hintRoot"), radicals),
    paragraph(say("hintFormula"), [formula]),
    paragraph(say("hintRoots"), roots),
  ];
}

/**
 * The reading of a quadratic equation: a ≠ 0.
 * @param {Say} say
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} c
 * @param {string[]} printed the roots as the program wrote them
 * @param {Method} method the method shown first
 */
function quadratic(say, a, b, c, printed, method) {
  const forms = quadraticForms(a, b, c);
  const { deltaWorking, formula, roots } = formulaWorking(say, forms, b);
  /** @type {Paragraph[]} */
  const paragraphs = [paragraph(say("discriminant"), [deltaWorking])];
  /** @type {[string, ...import("./methods.mjs").Step[]][]} */
  const working = [
    ["workingDelta", deltaWorking],
    ["workingFormula", formula, ...forms.simplified],
  ];
  let summary;
  if (forms.kind === "complex") {
    paragraphs.push(paragraph(say("negative"), roots), paragraph(say("wroteNan")));
    summary = say("summaryComplex", { roots: forms.both ?? "" });
  } else if (forms.kind === "double") {
    paragraphs.push(paragraph(say("zero"), roots));
    working.push(["workingRoots", ...roots]);
    summary = say("summaryDouble", { x: forms.x1 });
  } else {
    paragraphs.push(paragraph(say("positive"), roots), paragraph(say("wrote", { x1: printed[0], x2: printed[1] })));
    if (a < 0n) paragraphs.push(paragraph(say("largerFirst")));
    working.push(["workingRoots", ...roots]);
    summary = say("summaryTwo", { x1: forms.x1, x2: forms.x2 });
  }
  // Completing the square always, and factoring where the roots are rational,
  // before or after the formula, as the class is taught.
  const factors = factoring(a, b, c);
  const others = [
    ["workingSquare", ...completingSquare(a, b, c)],
    ...(factors ? [["workingFactoring", ...factors]] : []),
  ];
  const first = others.findIndex(([key]) => key === { square: "workingSquare", factor: "workingFactoring" }[method]);
  if (first >= 0) working.unshift(.../** @type {typeof working} */ (others.splice(first, 1)));
  working.push(.../** @type {typeof working} */ (others));
  // A form that is the polynomial itself, as x² is, says nothing.
  if (forms.factored && forms.factored !== polynomial(a, b, c)) {
    working.push(["workingFactored", `${polynomial(a, b, c)} = ${forms.factored}`]);
  }
  if (b !== 0n) working.push(["workingVertex", `${polynomial(a, b, c)} = ${forms.vertexForm}`]);
  working.push(["workingAxis", forms.axis], ["workingIntercept", intercept(say, c)]);
  const vertex = located(
    say,
    [fraction(forms.h.n, forms.h.d), fraction(forms.k.n, forms.k.d)],
    [forms.hDecimal, forms.kDecimal],
  );
  paragraphs.push(paragraph(say(a > 0n ? "opensUp" : "opensDown", { polynomial: polynomial(a, b, c) }), [vertex]));
  return { paragraphs, working, summary, forms, vertex };
}

/**
 * The reading of an equation with a = 0, which is not a quadratic one.
 * @param {Say} say
 * @param {bigint} b
 * @param {bigint} c
 */
function linear(say, b, c) {
  if (b !== 0n) {
    const root = linearRoot(b, c);
    const value = valued(say, root.text, root.decimal);
    const over = `x = ${signed(-c)}/${parenthesized(b)}`;
    /** @type {[string, ...string[]]} */
    const steps = [
      "workingLinear",
      `${polynomial(0n, b, 0n)} = ${signed(-c)}`,
      over === `x = ${root.text}` ? `x = ${value}` : `${over} = ${value}`,
    ];
    return {
      paragraphs: [paragraph(say("linear"), [`x = ${value}`]), paragraph(say("dividesByZero"))],
      summary: say("summaryLinear", { x: root.text }),
      working: [steps],
      root,
    };
  }
  return {
    paragraphs: [paragraph(say(c === 0n ? "everyX" : "noX", { c: signed(c) })), paragraph(say("dividesByZero"))],
    summary: say(c === 0n ? "summaryEvery" : "summaryNone"),
    working: [],
  };
}

/**
 * The reading of one run: what was typed, and the result line it gave.
 * @param {Say} say
 * @param {Uint8Array} input the bytes typed
 * @param {string} resultLine the program's last line
 * @param {Method} method the method of solving shown first
 * @returns {Reading}
 */
export function explain(say, input, resultLine, method = "formula") {
  const numbers = readNumbers(input);
  const [a, b, c] = numbers.map((number) => number.value);
  const printed = (resultLine.match(/x1 : (\S+), x2 : (\S+)$/) ?? []).slice(1);
  const equation = `${polynomial(a, b, c)} = 0`;
  const opening = [
    paragraph(say("solved", { equation, a: signed(a), b: signed(b), c: signed(c) })),
    ...readingNotes(say, numbers),
  ];
  const body = a !== 0n ? quadratic(say, a, b, c, printed, method) : linear(say, b, c);
  const closing = printed.includes("-0.000000") ? [paragraph(say("negativeZero"))] : [];
  return {
    a,
    b,
    c,
    equation,
    summary: body.summary,
    paragraphs: [...opening, ...body.paragraphs, ...closing],
    working: body.working.map(([key, ...steps]) => {
      const shown = steps.map((step) => (typeof step === "string" ? step : { sentence: say(step.key, step.values) }));
      return /** @type {[string, Shown[]]} */ ([say(key), shown]);
    }),
    graphTitle: say("graphTitle", { polynomial: polynomial(a, b, c) }),
    graphText: graphText(say, a, b, c, body),
  };
}

/**
 * Where the curve meets the y-axis, as the language names it: the point, or
 * the number c.
 * @param {Say} say
 * @param {bigint} c
 */
const intercept = (say, c) => say("intercept", { point: pair(say, "0", signed(c)), c: signed(c) });

/**
 * The graph's text alternative: every digit its labels leave out.
 * @param {Say} say
 * @param {bigint} a
 * @param {bigint} b
 * @param {bigint} c
 * @param {{ forms?: ReturnType<typeof quadraticForms>, root?: ReturnType<typeof linearRoot>, vertex?: string }} body
 */
function graphText(say, a, b, c, body) {
  const said = [say(a > 0n ? "graphUp" : a < 0n ? "graphDown" : b !== 0n ? "graphLine" : "graphLevel")];
  const { forms, root } = body;
  if (forms && forms.kind !== "complex") {
    const x1 = valued(say, forms.x1, forms.x1Decimal);
    const x2 = valued(say, forms.x2, forms.x2Decimal);
    const points = forms.kind === "double" ? `x = ${x1}` : say("and", { first: `x₁ = ${x1}`, second: `x₂ = ${x2}` });
    said.push(say("graphMeets", { points }));
  }
  if (root) said.push(say("graphMeets", { points: `x = ${valued(say, root.text, root.decimal)}` }));
  if (body.vertex) said.push(say("graphVertex", { point: body.vertex }));
  said.push(say("graphIntercept", { point: pair(say, "0", signed(c)) }));
  return said.join(say("sentenceGap"));
}
