// SPDX-License-Identifier: MIT
// A student's answers, read (web/answer.mjs) and judged (web/mistakes.mjs):
// tables of what each arrangement reads as and of what each answer is worth
// on a few equations, every classic mistake on one where it stands apart,
// then a seeded sweep against Python's exact fractions (tests/answer_oracle.py).
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { test } from "node:test";
import { format, readAnswer } from "../web/answer.mjs";
import { judge } from "../web/mistakes.mjs";

/** @type {(and: string, or: string, noRealRoot: string, rest?: object) => import("../web/answer.mjs").Language} */
const words = (and, or, noRealRoot, rest = {}) => ({
  decimalPoint: ",",
  and: and.split("|"),
  or: or.split("|"),
  noRealRoot: noRealRoot.split("|"),
  ...rest,
});
// prettier-ignore
const LANGUAGES = {
  en: words("and", "or", "no real root|no real solution|no solution|no root|none", { decimalPoint: ".", discriminant: ["discriminant"] }),
  fr: words("et", "ou", "pas de solution réelle|pas de solutions réelles|aucune solution réelle|pas de racine réelle|pas de racines réelles|aucune racine réelle|pas de solution|aucune solution", { discriminant: ["discriminant"] }),
  es: words("y", "o|ó", "no tiene solución real|no tiene soluciones reales|no hay solución real|no hay soluciones reales|no tiene raíces reales|no hay raíces reales|sin solución real|sin raíces reales|no tiene solución|no hay solución", { discriminant: ["discriminante"] }),
  de: words("und", "oder", "keine reelle Lösung|keine reellen Lösungen|keine reelle Nullstelle|keine reellen Nullstellen|keine Lösung|keine Nullstelle|nicht lösbar|unlösbar", { discriminant: ["Diskriminante"] }),
  pt: words("e", "ou", "não tem raiz real|não tem raízes reais|nenhuma raiz real|sem raiz real|sem raízes reais|não tem solução real|não há raízes reais|não existe raiz real|sem solução real|impossível", { discriminant: ["discriminante"] }),
  zh: words("和|与|及", "或|或者", "无实数根|没有实数根|无实根|没有实根|无实数解|没有实数解|无解", { decimalPoint: ".", discriminant: ["判别式"] }),
  ar: words("و", "أو", "لا يوجد جذر حقيقي|لا توجد جذور حقيقية|ليس لها جذور حقيقية|لا يوجد حل حقيقي|لا توجد حلول حقيقية|لا يوجد حل|لا حل", { discriminant: ["المميز"] }),
};

/** What an answer reads as, in one line. */
function read(text, language = "en") {
  const answer = readAnswer(text, LANGUAGES[language]);
  if (answer.unread) return `${answer.unread.reason} «${answer.text.slice(answer.unread.at, answer.unread.end)}»`;
  const roots = answer.roots.map((root) => format(root.value) + (root.decimals === null ? "" : ` [${root.decimals}]`));
  const delta = answer.discriminant ? [`Δ = ${format(answer.discriminant.value)}`] : [];
  return [...roots, ...delta, ...(answer.noRealRoot ? ["no real root"] : [])].join(" | ");
}

// prettier-ignore
const READ = [ // typed, its language, what it reads as
  ["x = 2 or x = 3", "en", "2 | 3"],
  ["2, 3", "en", "2 | 3"],
  ["3; 2", "en", "3 | 2"],
  ["2 and 3", "en", "2 | 3"],
  ["x₁ = 2, x₂ = 3", "en", "2 | 3"],
  ["x1=2 x2=3", "en", "2 | 3"],
  ["{2, 3}", "en", "2 | 3"],
  ["S = {2; 3}", "en", "2 | 3"],
  ["2; 3", "fr", "2 | 3"],
  ["2,5 ; 3", "fr", "5/2 [1] | 3"],
  ["2,5", "en", "2 | 5"],
  ["2 -3", "en", "2 | −3"],
  ["2 - 3", "en", "−1"],
  ["(5 ± √13)/2", "en", "5/2 + √13/2 | 5/2 − √13/2"],
  ["5/2 ± √13/2", "en", "5/2 + √13/2 | 5/2 − √13/2"],
  ["(5+-sqrt(13))/2", "en", "5/2 + √13/2 | 5/2 − √13/2"],
  ["x = (5 ∓ √13)/2", "en", "5/2 − √13/2 | 5/2 + √13/2"],
  ["−1 ± i√6/2", "en", "−1 + (√6/2)i | −1 − (√6/2)i"],
  ["-1 ± (√6/2)i", "en", "−1 + (√6/2)i | −1 − (√6/2)i"],
  ["(-4 ± √-24)/4", "en", "−1 + (√6/2)i | −1 − (√6/2)i"],
  ["2 ± √12", "en", "2 + 2√3 | 2 − 2√3"],
  ["1/√2", "en", "√2/2"],
  ["√8·√18", "en", "12"],
  ["√2 + √8 − √18", "en", "0"],
  ["2/(1 + √3)", "en", "−1 + √3"],
  ["1/(2 + i)", "en", "2/5 − (1/5)i"],
  ["(5 ± √13)/-2", "en", "−5/2 − √13/2 | −5/2 + √13/2"],
  ["(-5)² − 4·1·6", "en", "1"],
  ["2½", "en", "5/2"],
  ["x ≈ 0.697…", "en", "697/1000 [3]"],
  ["0.697", "en", "697/1000 [3]"],
  ["0,697", "fr", "697/1000 [3]"],
  ["4.30", "de", "43/10 [2]"],
  ["(5 ± 3.606)/2", "en", "4303/1000 [3] | 697/1000 [3]"],
  ["x = -1", "en", "−1"],
  ["x1 = x2 = -1", "en", "−1"],
  ["x1,2 = (5 ± 1)/2", "de", "3 | 2"],
  ["x1/2 = 5 ± 1", "de", "6 | 4"],
  ["x' = 2 e x'' = 3", "pt", "2 | 3"],
  ["Δ = 1", "en", "Δ = 1"],
  ["D = 1", "de", "Δ = 1"],
  ["delta = 1", "en", "Δ = 1"],
  ["b²−4ac = 1", "en", "Δ = 1"],
  ["b^2-4ac=1", "en", "Δ = 1"],
  ["Δ = b² − 4ac = 25 − 24 = 1", "en", "Δ = 1"],
  ["Diskriminante = 1", "de", "Δ = 1"],
  ["Δ = 1, x = 2 or x = 3", "en", "2 | 3 | Δ = 1"],
  ["No real roots.", "en", "no real root"],
  ["L'équation n'a pas de solution réelle.", "fr", "no real root"],
  ["Keine reellen Lösungen", "de", "no real root"],
  ["no tiene solucion real", "es", "no real root"],
  ["Não tem raízes reais", "pt", "no real root"],
  ["方程无实数根", "zh", "no real root"],
  ["لا يوجد جذر حقيقي", "ar", "no real root"],
  ["S = ∅", "fr", "no real root"],
  ["{}", "en", "no real root"],
  ["Δ < 0: no real root", "en", "no real root"],
  ["no real root, x = −1 ± (√6/2)i", "en", "−1 + (√6/2)i | −1 − (√6/2)i | no real root"],
  ["x = ٢ or x = ٣", "en", "2 | 3"],
  ["ｘ＝２ ｏｒ ｘ＝－３", "en", "2 | −3"],
  ["x = −2 or x = –3", "en", "−2 | −3"],
  ["x₁=2，x₂=3", "zh", "2 | 3"],
  ["x=2或x=3", "zh", "2 | 3"],
  ["2和3", "zh", "2 | 3"],
  ["س = ٢ أو س = ٣", "ar", "2 | 3"],
  ["٠٫٦٩٧ و ٤٫٣٠٣", "ar", "697/1000 [3] | 4303/1000 [3]"],
  ["", "en", "empty «»"],
  ["x = 2 or y", "en", "unexpected «y»"],
  ["(5 ± √13/2", "en", "end «(5 ± √13/2»"],
  ["x = 2/0", "en", "zero «0»"],
  ["√(2 + √3)", "en", "radical «√(2 + √3)»"],
  ["x =", "en", "end «x =»"],
  ["x = 2 ou x = 3", "en", "unexpected «ou»"],
  ["2^99", "en", "unexpected «99»"],
];

test("answers read as people write them", () => {
  for (const [text, language, want] of READ) assert.equal(read(text, language), want, `${text} (${language})`);
});

const COMMON = new Set(["equation", "a", "b", "c"]);
/** What an answer is worth, in one line: its key, its own values, then the keys said after it. */
function worth(coefficients, text, options = {}, language = "en") {
  const j = judge(readAnswer(text, LANGUAGES[language]), ...coefficients.split(" ").map(BigInt), options);
  const values = Object.entries(j.values).filter(([name]) => !COMMON.has(name));
  return [j.key, ...values.map(([name, value]) => `${name}=${value}`), ...j.also.map((said) => `+${said.key}`)].join(
    " ",
  );
}

// prettier-ignore
const JUDGED = [ // a b c, the answer, what it is worth
  ["1 -5 6", "x = 3 or x = 2", "answerRight"],
  ["1 -5 6", "2.0; 3.00", "answerRight"],
  ["1 2 1", "x = -1", "answerRightDouble"],
  ["1 2 1", "x1 = -1, x2 = -1", "answerRightDouble"],
  ["1 -5 3", "x = 2 ± √12", "answerWrong"],
  ["1 -4 -8", "x = 2 ± √12", "answerRight"],
  ["1 -5 3", "0.697, 4.303", "answerRightDecimals digits=3 +answerExactRadical"],
  ["1 -5 3", "0.70; 4.3", "answerRightDecimals digits=1 +answerExactRadical"],
  ["3 -1 0", "0; 0.33", "answerRightDecimals digits=2 +answerExactFraction"],
  ["2 4 5", "-1 ± 1.225i", "answerRightDecimals digits=3 +answerExactRadical"],
  ["1 -5 3", "0.69, 4.30", "mistakeCutOff"],
  ["1 -5 3", "0.6973, 4.3027", "mistakeRounding"],
  ["1 -5 3", "0.695, 4.305", "answerWrong"],
  ["1 -5 6", "-2, -3", "mistakeSigns"],
  ["1 -5 6", "4.5, 5.5", "mistakeSurdOnlyOver2a"],
  ["2 -10 12", "0.5; 4.5", "mistakeBOnlyOver2a"],
  ["2 -10 12", "4, 6", "mistakeOver2 +mistakeOverA"],
  ["3 -15 18", "6; 9", "mistakeOver2"],
  ["3 -15 18", "4 and 6", "mistakeOverA"],
  ["1 -5 6", "x = (5 ± 7i)/2", "mistakeDeltaNegativeSquare"],
  ["1 -5 6", "-1 and 6", "mistakeDeltaPlus"],
  ["1 -5 3", "(5 ± √22)/2", "mistakeDeltaNoFour"],
  ["1 -5 6", "(5 ± i√29)/2", "mistakeDeltaNotSquared"],
  ["1 -5 6", "(5 ± √-34)/2", "mistakeDeltaDoubled"],
  ["2 4 5", "-1 ± √6/2", "mistakeDeltaSign"],
  ["1 -5 6", "5/2 ± i/2", "mistakeDeltaSign"],
  ["2 -10 12", "(5 ± √13)/2", "mistakeDeltaNoA"],
  ["1 -5 6", "(5 ± i√24)/2", "mistakeDeltaNoB"],
  ["1 -5 3", "(5 ± 13)/2", "mistakeNoSquareRoot"],
  ["1 -5 6", "1/2, 1/3", "mistakeSwapAC"],
  ["6 -1 -1", "-1 and 1", "mistakeFactorLead"],
  ["1 -5 6", "-6, -1", "mistakeZeroProduct"],
  ["2 -10 12", "5 ± √13", "mistakeNotDividedByA"],
  ["1 -5 3", "5 ± √22", "mistakeNotHalved"],
  ["2 -10 12", "11/4, 9/4", "mistakeMixedDelta"],
  ["3 -6 -1", "1 ± √3/3", "mistakeDeltaNoB +mistakeMixedDelta"],
  ["3 -6 -1", "1 ± 4√3/3", "mistakeMixedDelta"],
  ["1 -5 6", "1, 6", "mistakeProductOnly"],
  ["1 -5 6", "1, 4", "mistakeSumOnly"],
  ["1 -5 6", "-2", "mistakeSigns root=−2"],
  ["1 -5 3", "0.7, 4.5", "answerOneOfTwo right=0.7 wrong=4.5"],
  ["1 -5 6", "2", "answerOneRoot root=2"],
  ["1 -4 0", "x = 4", "answerOneRootZero root=4"],
  ["1 0 -9", "x = 3", "answerOneRootSquare root=3"],
  ["1 -5 6", "7", "answerWrongOne root=7"],
  ["1 -5 6", "2, 3, 4", "answerTooMany count=3"],
  ["1 -5 6", "Δ = 49, x = -1, x = 6", "mistakeDeltaPlus"],
  ["1 -5 6", "Δ = 49, x = 2, x = 3", "answerRight +answerDeltaWrong +mistakeDeltaPlus"],
  ["1 -5 6", "Δ = 49, x = 1, x = 3", "answerDeltaWrong delta=49 +mistakeDeltaPlus"],
  ["1 -5 6", "Δ = 1", "answerDeltaRight delta=1"],
  ["1 -5 6", "Δ = -49", "answerDeltaWrong delta=−49 +mistakeDeltaNegativeSquare"],
  ["2 -10 12", "D = 1", "answerDeltaWrong delta=1 +mistakeDeltaReduced"],
  ["1 -5 6", "delta = 2", "answerDeltaWrong delta=2"],
  ["2 4 5", "no real root", "answerRightNoReal +answerComplexRoots"],
  ["1 -5 6", "no real root", "answerNoRealWrong"],
  ["1 -5 6", "Δ = -49, no real root", "answerNoRealWrong +answerDeltaWrong +mistakeDeltaNegativeSquare"],
  ["2 4 5", "x = -1 ± (√6/2)i", "answerRight"],
  ["1 -5 6", "x = 2 or y", "answerUnread text=y"],
  ["1 -5 6", "(5 ± 1", "answerUnfinished text=(5 ± 1"],
  ["1 -5 6", "", "answerEmpty text="],
];

test("answers judged, each mistake where it stands apart", () => {
  for (const [coefficients, text, want] of JUDGED)
    assert.equal(worth(coefficients, text), want, `${coefficients}: ${text}`);
  assert.equal(worth("2 4 5", "no real root", { complex: true }), "answerComplexWanted");
  assert.equal(worth("1 -5 3", "0,7 ; 4,5", { decimalPoint: "," }, "fr"), "answerOneOfTwo right=0,7 wrong=4,5");
  const roots = judge(readAnswer("none", LANGUAGES.en), 2n, 4n, 5n).also[0].values.roots;
  assert.equal(roots, "−1 ± (√6/2)i");
});

test("seeded sweep against Python's exact fractions", () => {
  const oracle = new URL("answer_oracle.py", import.meta.url).pathname;
  const rows = execFileSync("python3", [oracle, "20250", "1200"])
    .toString()
    .trim()
    .split("\n")
    .map((line) => JSON.parse(line));
  assert.equal(rows.length, 1200);
  for (const row of rows) {
    const j = judge(readAnswer(row.text, LANGUAGES[row.lang]), BigInt(row.a), BigInt(row.b), BigInt(row.c), {
      complex: row.complex,
    });
    const got = j.key === "answerDeltaWrong" ? `${j.key}/${j.also[0]?.key ?? ""}` : j.key;
    assert.equal(got, row.key, `${row.a} ${row.b} ${row.c} (${row.lang}): ${row.text}`);
  }
});
