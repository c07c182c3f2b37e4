# SPDX-License-Identifier: MIT
"""The exact roots of coefficient sets, for tests/methods_test.mjs.

python3 tests/methods_oracle.py SEED COUNT reads lines "a b c" from standard
input, then adds COUNT seeded sets (classroom coefficients, rational and
double roots by their factors, and extremes near ±2^31), and prints for each
a line of JSON: a, b, c, their gcd, Δ, the kind of roots, and the roots as the
page writes them (x1 and x2 where rational, both at once with ± otherwise),
from Fraction and exact_oracle.py's full factorisation. Integers are strings.
"""
import json
import math
import random
import sys
from fractions import Fraction

from exact_oracle import edges, in_range, square_part

MINUS = "\u2212"


def signed(n):
    return f"{MINUS}{-n}" if n < 0 else str(n)


def fraction(q):
    return signed(q.numerator) if q.denominator == 1 else f"{signed(q.numerator)}/{q.denominator}"


def surd(k, m):
    return str(k) if m == 1 else ("" if k == 1 else str(k)) + f"√{m}"


def quotient(r, m):
    """r·√m for a positive Fraction r: "√13/2", "2√3", "1/2"."""
    if m == 1:
        return fraction(r)
    return surd(r.numerator, m) + ("" if r.denominator == 1 else f"/{r.denominator}")


def irrational(centre, r, m):
    """centre ± r·√m over the least common denominator of centre and r."""
    d = math.lcm(centre.denominator, r.denominator)
    p, k = centre * d, r * d
    both = f"±{surd(int(k), m)}" if p == 0 else f"{signed(int(p))} ± {surd(int(k), m)}"
    return both if d == 1 else (f"{both}/{d}" if p == 0 else f"({both})/{d}")


def complex_roots(centre, r, m):
    imag = ("" if r == 1 else str(r)) + "i" if m == 1 and r.denominator == 1 else f"({quotient(r, m)})i"
    return f"±{imag}" if centre == 0 else f"{fraction(centre)} ± {imag}"


def oracle(a, b, c):
    delta = b * b - 4 * a * c
    centre = Fraction(-b, 2 * a)
    row = {"a": a, "b": b, "c": c, "gcd": math.gcd(a, b, c), "delta": delta, "x1": None, "x2": None, "both": None}
    if delta < 0:
        k, m = square_part(-delta)
        return {**row, "kind": "complex", "both": complex_roots(centre, Fraction(k, 2 * abs(a)), m)}
    s = math.isqrt(delta)
    if s * s != delta:
        k, m = square_part(delta)
        return {**row, "kind": "irrational", "both": irrational(centre, Fraction(k, 2 * abs(a)), m)}
    x1, x2 = Fraction(-b - s, 2 * a), Fraction(-b + s, 2 * a)
    kind = "double" if s == 0 else "integer" if x1.denominator == x2.denominator == 1 else "rational"
    return {**row, "kind": kind, "x1": fraction(x1), "x2": fraction(x2)}


def classroom(rng):
    return rng.choice([n for n in range(-9, 10) if n]), rng.randint(-99, 99), rng.randint(-99, 99)


def factored(rng, lead, most, square=False):
    """k(p1·x + q1)(p2·x + q2), p ≤ lead and |q| ≤ most, or k(p·x + q)², within the int range."""
    while True:
        p1, p2 = rng.randint(1, lead), rng.randint(1, lead)
        q1, q2 = rng.randint(-most, most), rng.randint(-most, most)
        if square:
            p2, q2 = p1, q1
        k = rng.choice((1, -1, 2, -3))
        a, b, c = k * p1 * p2, k * (p1 * q2 + p2 * q1), k * q1 * q2
        if in_range(a, b, c):
            return a, b, c


KINDS = (
    classroom,
    lambda rng: factored(rng, 12, 12),
    lambda rng: factored(rng, 9, 9, True),
    edges,
    lambda rng: factored(rng, 46340, 46340),
    lambda rng: factored(rng, 46340, 46340, True),
    lambda rng: factored(rng, 1, 46340),
)


def main():
    rows = [tuple(map(int, line.split())) for line in sys.stdin if line.strip()]
    rng = random.Random(int(sys.argv[1]))
    for i in range(int(sys.argv[2])):
        a = 0
        while a == 0:
            a, b, c = KINDS[i % len(KINDS)](rng)
        rows.append((a, b, c))
    for a, b, c in rows:
        print(json.dumps({key: value if value is None else str(value) for key, value in oracle(a, b, c).items()}))


if __name__ == "__main__":
    main()
