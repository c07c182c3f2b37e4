# SPDX-License-Identifier: MIT
"""Answers to random equations and what each is worth, for tests/answer_test.mjs.

python3 tests/answer_oracle.py SEED COUNT prints COUNT lines of JSON: a, b, c
(as strings), a language, an answer written in it, whether the class works in
complex numbers, and the key the judgement must give (for a discriminant, the
mistake it matches after a slash). Each classic mistake is written here as
its roots r ± s·√t, in Fraction; the answers are the right roots or a
mistake's, exact in several arrangements, in decimals rounded, cut off or a
digit off, one root moved, one root alone, the discriminant alone, or "no
real root". Sets of roots are compared by their sums and products.
"""
import json
import math
import random
import sys
from fractions import Fraction as F

INT_MIN, INT_MAX = -2**31, 2**31 - 1
LANGUAGES = {  # point, separators, x, "no real root", digits
    "en": (".", [", ", " and ", " or ", "; "], "x", "no real roots", "0123456789"),
    "fr": (",", [" ; ", " et ", " ou "], "x", "pas de solution réelle", "0123456789"),
    "de": (",", [" ; ", " und ", " oder "], "x", "keine reelle Lösung", "0123456789"),
    "zh": (".", ["，", "和", "或"], "x", "方程无实数根", "0123456789"),
    "ar": ("٫", [" و ", " أو ", "؛ "], "س", "لا يوجد جذر حقيقي", "٠١٢٣٤٥٦٧٨٩"),
}


def pair(key, x, y):
    return key, (x + y) / 2, (y - x) / 2, F(1)


def mistakes(a, b, c):
    """(key, r, s, t) for each classic mistake, most likely first."""
    d, h = b * b - 4 * a * c, F(-b, 2 * a)
    deltas = [("mistakeDeltaNegativeSquare", -b * b - 4 * a * c if b else None),
              ("mistakeDeltaPlus", b * b + 4 * a * c), ("mistakeDeltaNoFour", b * b - a * c), ("mistakeDeltaNotSquared", b - 4 * a * c),
              ("mistakeDeltaDoubled", 2 * b - 4 * a * c), ("mistakeDeltaSign", -d),
              ("mistakeDeltaNoA", b * b - 4 * c), ("mistakeDeltaNoB", -4 * a * c)]
    rows = [("mistakeSigns", -h, F(1, 2 * a), d), ("mistakeSurdOnlyOver2a", F(-b), F(1, 2 * a), d),
            ("mistakeBOnlyOver2a", h, F(1), d), ("mistakeOver2", F(-b, 2), F(1, 2), d),
            ("mistakeOverA", F(-b, a), F(1, a), d)]
    rows += [(key, h, F(1, 2 * a), t) for key, t in deltas if t is not None]
    rows.append(("mistakeNoSquareRoot", h, F(d, 2 * a), F(1)))
    if c:
        rows.append(("mistakeSwapAC", F(-b, 2 * c), F(1, 2 * c), d))
    root = math.isqrt(max(d, 0))
    x, y = F(-b - root, 2 * a), F(-b + root, 2 * a)
    if root * root == d and (x.denominator > 1 or y.denominator > 1):
        rows.append(pair("mistakeFactorLead", F(x.numerator), F(y.numerator)))
    if c:
        rows.append(pair("mistakeZeroProduct", F(-c), F(-c - b, a)))
    rows += [("mistakeNotDividedByA", F(-b, 2), F(1), F(b * b, 4) - c),
             ("mistakeNotHalved", F(-b, a), F(1), F(b * b, a * a) - F(c, a)),
             ("mistakeMixedDelta", h, F(1, 2 * a), F(d, 4)), ("mistakeMixedDelta", h, F(1, a), d)]
    right = (h, F(1, 2 * a), d)
    return right, [m for m in rows if symmetric(*m[1:]) != (2 * h, F(c, a))]


def symmetric(r, s, t):
    return 2 * r, r * r - s * s * t


def approximate(r, s, t, sign):
    """The root r + sign·s·√t as (re, im): exact where t is a rational square, else to 10^-60."""
    t = F(t)
    n = abs(t.numerator) * t.denominator
    root = math.isqrt(n)
    size = F(root, t.denominator) if root * root == n else F(math.isqrt(n * 10**120), t.denominator * 10**60)
    return (r + sign * s * size, F(0)) if t >= 0 else (r, sign * s * size)


def times(u, v, t):
    return u[0] * v[0] + u[1] * v[1] * t, u[0] * v[1] + u[1] * v[0]


def solves(v, t, big_s, big_p):
    """Whether x + y·√t solves X² − S·X + P = 0."""
    square = times(v, v, t)
    return square[0] - big_s * v[0] + big_p == 0 and square[1] - big_s * v[1] == 0


def near(v, x, k, half=True):
    return all(abs(p - q) * 10**k * (2 if half else 1) <= 1 for p, q in zip(v, x))


def cut(v, x, k):
    """Whether the real v is x cut off after k decimals, toward 0."""
    gap = (x[0] - v[0]) * 10**k
    return not v[1] and not x[1] and (0 <= gap < 1 if x[0] >= 0 else -1 < gap <= 0)


def roots_of(m):
    r, s, t = m
    return [approximate(r, s, t, sign) for sign in ((0,) if s * s * t == 0 else (-1, 1))]


def matches(values, m, relation):
    xs = roots_of(m)
    if len(xs) != len(values):
        return False
    return all(map(relation, values, xs)) or all(map(relation, values, xs[::-1]))


def one_root(value, a, b, c):
    return "answerOneRootZero" if c == 0 and value != (0, 0) else "answerOneRootSquare" if b == 0 else "answerOneRoot"


def expect_decimals(values, k, a, b, c, right, found):
    """values: one or two (re, im) with k decimals, distinct."""
    half = lambda v, x: near(v, x, k)
    if matches(values, right, half):
        exact = all(x in values for x in roots_of(right))
        return ("answerRightDouble" if len(values) == 1 else "answerRight") if exact else "answerRightDecimals"
    if matches(values, right, lambda v, x: half(v, x) or cut(v, x, k)):
        return "mistakeCutOff"
    if matches(values, right, lambda v, x: near(v, x, k, False)):
        return "mistakeRounding"
    key = next((m[0] for m in found if matches(values, m[1:], half)), None)
    good = [v for v in values if any(half(v, x) for x in roots_of(right))]
    if key or len(good) == 1:
        return key or ("answerOneOfTwo" if len(values) == 2 else one_root(values[0], a, b, c))
    if len(values) == 1:
        return next((m[0] for m in found if any(half(values[0], x) for x in roots_of(m[1:]))), "answerWrongOne")
    return "answerWrong"


def expect_exact(values, t, a, b, c, right, found):
    """values: one or two x + y·√t, distinct."""
    if len(values) == 2:
        s, p = (values[0][0] + values[1][0], values[0][1] + values[1][1]), times(*values, t)
        same = lambda m: s[1] == p[1] == 0 and m[1] * m[1] * m[2] != 0 and symmetric(*m) == (s[0], p[0])
    else:
        same = lambda m: m[1] * m[1] * m[2] == 0 and values[0] == (m[0], 0)
    if same(right):
        return "answerRightDouble" if len(values) == 1 else "answerRight"
    key = next((m[0] for m in found if same(m[1:])), None)
    good = [v for v in values if solves(v, t, F(-b, a), F(c, a))]
    if key or len(good) == 1:
        return key or ("answerOneOfTwo" if len(values) == 2 else one_root(values[0], a, b, c))
    if len(values) == 1:
        return next((m[0] for m in found if solves(values[0], t, *symmetric(*m[1:]))), "answerWrongOne")
    vieta = (s == (F(-b, a), 0), p == (F(c, a), 0))
    return "answerWrong" if vieta[0] == vieta[1] else "mistakeProductOnly" if vieta[1] else "mistakeSumOnly"


def exactly(values, t):
    """The values x + y·√t with y·√t folded into x where t is a rational square, each once."""
    root = math.isqrt(abs(t.numerator) * t.denominator)
    if t < 0 or root * root != abs(t.numerator) * t.denominator:
        return list(dict.fromkeys(values))
    return list(dict.fromkeys((x + y * F(root, t.denominator), F(0)) for x, y in values))


def written(rng, lang, n):
    text = str(n).replace("-", rng.choice("-−–"))
    return text.translate(str.maketrans("0123456789", LANGUAGES[lang][4]))


def decimal(rng, lang, value, k):
    units = str(abs(value) * 10**k).rjust(k + 1, "0")
    whole = written(rng, lang, ("-" if value < 0 else "") + units[:-k])
    return whole + LANGUAGES[lang][0] + written(rng, lang, units[-k:])


def listed(rng, lang, items):
    _, separators, x, _, _ = LANGUAGES[lang]
    separator = rng.choice(separators)
    style = rng.randrange(3) if len(items) == 2 else 0
    if style == 1:
        return separator.join(f"{x}{i} = {item}" for i, item in zip(("1", "₂"), items))
    return separator.join(f"{x} = {item}" if style == 0 else item for item in items)


def exact_text(rng, lang, p, rad, q, perturbed):
    w = lambda n: written(rng, lang, n)
    pm, root = rng.choice(["±", "+-"]), rng.choice(["√", "sqrt"])
    surd = f"{root}({w(rad)})" if root == "sqrt" or rad < 0 else f"√{w(rad)}"
    if rad < 0 and rng.random() < 0.5:
        surd = f"i√{w(-rad)}"
    over = f"({w(q)})" if q < 0 and rng.random() < 0.5 else w(q)
    if perturbed or rng.random() < 0.3:
        return listed(rng, lang, [f"({w(p)} - {surd})/{over}", f"({w(p + (q if perturbed else 0))} + {surd})/{over}"])
    if rng.random() < 0.3:
        return f"{w(p)}/{over} {pm} {surd}/{over}"
    return f"x = ({w(p)} {pm} {surd})/{over}"


def answer(rng, a, b, c, lang):
    """A text and the key it must get."""
    right, found = mistakes(a, b, c)
    kind = rng.choice(["exact", "exact", "decimal", "decimal", "moved", "alone", "claim", "delta"])
    d = b * b - 4 * a * c
    if kind == "claim":
        return LANGUAGES[lang][3], "answerNoRealWrong" if d >= 0 else None
    if kind == "delta":
        values = [d + 1, d, F(d, 4)] + [m[3] for m in found if m[0].startswith("mistakeDelta")]
        value = F(rng.choice(values))
        keys = [m[0] for m in found if m[0].startswith("mistakeDelta") and m[3] == value and m[3] != d]
        keys += ["mistakeDeltaReduced"] if value == F(d, 4) != d else []
        text = written(rng, lang, value.numerator) + (f"/{value.denominator}" if value.denominator > 1 else "")
        key = "answerDeltaRight" if value == d else "answerDeltaWrong/" + (keys[0] if keys else "")
        return f"{rng.choice(['Δ', 'D', 'b² − 4ac'])} = {text}", key
    r, s, t = rng.choice([right, right] + [m[1:] for m in found])
    s, t = abs(s), F(t)
    big = s * s * t
    # r ± √big = (p ± √rad)/q in integers
    q, p = r.denominator * big.denominator, r.numerator * big.denominator
    rad = big.numerator * big.denominator * r.denominator**2
    if kind == "decimal":
        k, how = rng.randint(1, 4), rng.choice(["round", "round", "cut", "off"])
        xs = [approximate(r, s, t, sign) for sign in ((0,) if big == 0 else (-1, 1))]
        trunc = lambda x: F(math.trunc(x * 10**k), 10**k)
        values = [(trunc(x), trunc(y)) if how == "cut" else (round(x, k), round(y, k)) for x, y in xs]
        if how == "off":
            values[-1] = (values[-1][0] + F(rng.choice((-1, 1)), 10**k), values[-1][1])
        values = list(dict.fromkeys(values))
        imaginary = lambda y: f" {'-+'[y > 0]} {decimal(rng, lang, abs(y), k)}i" if y else ""
        texts = [decimal(rng, lang, x, k) + imaginary(y) for x, y in values]
        return listed(rng, lang, texts), expect_decimals(values, k, a, b, c, right, found)
    if kind == "alone" or big == 0:
        text = f"({written(rng, lang, p)} + √({written(rng, lang, rad)}))/{written(rng, lang, q)}"
        return text, expect_exact(exactly([(r, s)], t), t, a, b, c, right, found)
    moved = kind == "moved"
    values = exactly([(r, -s), (r + (1 if moved else 0), s)], t)
    return exact_text(rng, lang, p, rad, q, moved), expect_exact(values, t, a, b, c, right, found)


def coefficients(rng, kind):
    """Classroom coefficients (|a| ≤ 9, |b|, |c| ≤ 99): any, with rational roots, or with Δ < 0; or extremes."""
    digit = lambda: rng.choice([i for i in range(-9, 10) if i])
    if kind == 0:
        return digit(), rng.randint(-99, 99), rng.randint(-99, 99)
    if kind == 1:  # (v·x − u)(w·x − z)
        v, w, u, z = abs(digit()), rng.choice((1, 1, 2, 3)), digit(), rng.randint(-9, 9)
        return v * w, -(v * z + w * u), u * z
    if kind == 2:  # 4ac > b²
        a, b = digit(), rng.randint(-16, 16)
        return a, b, (b * b // (4 * abs(a)) + rng.randint(1, 30)) * (1 if a > 0 else -1)
    edges = (INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1)
    pick = lambda: rng.choice(edges + (rng.randint(-9, 9), rng.randint(INT_MIN, INT_MAX)))
    a = 0
    while a == 0:
        a, b, c = pick(), pick(), pick()
    return a, b, c


def main():
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    for i in range(count):
        a, b, c = coefficients(rng, i % 5)
        lang, complex_class = rng.choice(sorted(LANGUAGES)), rng.random() < 0.3
        text, key = answer(rng, a, b, c, lang)
        if key is None:
            key = "answerComplexWanted" if complex_class else "answerRightNoReal"
        row = {"a": str(a), "b": str(b), "c": str(c), "lang": lang, "complex": complex_class, "text": text, "key": key}
        print(json.dumps(row, ensure_ascii=False))


if __name__ == "__main__":
    main()
