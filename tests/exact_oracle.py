# SPDX-License-Identifier: MIT
"""Coefficient sets and what exact arithmetic says of them, for tests/exact_test.mjs.

python3 tests/exact_oracle.py SEED COUNT prints COUNT lines of JSON, each a set
a, b, c with its discriminant, the square part k, m of |Δ| (from a full
factorisation: trial division, then Miller-Rabin and Pollard's rho, not the
page's method) and six-decimal readings, ties to even, with the first three
significant digits of a value that they round to 0, computed with Decimal at
80 digits and with Fraction. Integers are written as strings.
"""
import json
import math
import random
import sys
from decimal import ROUND_HALF_EVEN, Decimal, getcontext
from fractions import Fraction

INT_MIN, INT_MAX = -2**31, 2**31 - 1
MILLIONTH = Decimal("0.000001")
getcontext().prec = 80

# Miller-Rabin with the first 13 primes as bases is exact below 3.3·10^24.
BASES = (2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41)


def is_prime(n):
    if n < 2:
        return False
    for p in BASES:
        if n % p == 0:
            return n == p
    d, s = n - 1, 0
    while d % 2 == 0:
        d, s = d // 2, s + 1
    for base in BASES:
        x = pow(base, d, n)
        if x in (1, n - 1):
            continue
        for _ in range(s - 1):
            x = x * x % n
            if x == n - 1:
                break
        else:
            return False
    return True


def rho(n):
    """A proper factor of an odd composite n, by Pollard's rho in Brent's
    form, taking a gcd once every 64 steps, and stepping back on overshoot."""
    for c in range(1, 1000):
        y, r, q, g = 2, 1, 1, 1
        while g == 1:
            x = y
            for _ in range(r):
                y = (y * y + c) % n
            for k in range(0, r, 64):
                saved = y
                for _ in range(min(64, r - k)):
                    y = (y * y + c) % n
                    q = q * abs(x - y) % n
                g = math.gcd(q, n)
                if g != 1:
                    break
            r *= 2
        if g == n:
            y, g = saved, 1
            while g == 1:
                y = (y * y + c) % n
                g = math.gcd(abs(x - y), n)
        if g != n:
            return g
    raise ArithmeticError(n)


SMALL_PRIMES = [p for p in range(2, 1000) if all(p % d for d in range(2, p))]


def prime_factors(n, found):
    for p in SMALL_PRIMES:
        while n % p == 0:
            found.append(p)
            n //= p
    stack = [n] if n > 1 else []
    while stack:
        m = stack.pop()
        if is_prime(m):
            found.append(m)
        else:
            f = rho(m)
            stack += [f, m // f]
    return found


def square_part(n):
    k = m = 1
    factors = prime_factors(n, [])
    for p in set(factors):
        e = factors.count(p)
        k *= p ** (e // 2)
        m *= p ** (e % 2)
    return k, m


def millionths(value):
    """value (Decimal or Fraction) to millionths, ties to even."""
    if isinstance(value, Fraction):
        return round(value * 10**6)
    return int((value / MILLIONTH).quantize(Decimal(1), rounding=ROUND_HALF_EVEN))


def significant(value):
    """A value that rounds to 0 in millionths without being 0: its first three
    significant digits, signed, and the exponent of the first, as "268 -7"."""
    if value == 0 or millionths(value) != 0:
        return None
    shown = value if isinstance(value, Decimal) else Decimal(value.numerator) / Decimal(value.denominator)
    exponent = shown.copy_abs().adjusted()
    scaled = value * Fraction(10) ** (2 - exponent) if isinstance(value, Fraction) else shown.scaleb(2 - exponent)
    digits = round(scaled) if isinstance(value, Fraction) else int(scaled.quantize(Decimal(1), rounding=ROUND_HALF_EVEN))
    if abs(digits) == 1000:
        digits, exponent = digits // 10, exponent + 1
    return f"{digits} {exponent}"


def readings(a, b, c):
    delta = b * b - 4 * a * c
    values = {"h": Fraction(-b, 2 * a), "k": Fraction(-delta, 4 * a)}
    if delta < 0:
        values["re"] = Fraction(-b, 2 * a)
        values["im"] = Decimal(-delta).sqrt() / abs(2 * a)
    else:
        # The square root is exact where Δ is a square; a tie is then exact too.
        root = Decimal(delta).sqrt()
        values["x1"] = (-b - root) / (2 * a)
        values["x2"] = (-b + root) / (2 * a)
    out = {}
    for key, value in values.items():
        out[key + "Decimal" if len(key) == 1 else key] = millionths(value)
        out[key + "Tiny"] = significant(value)
    return delta, out


def in_range(*values):
    return all(INT_MIN <= v <= INT_MAX for v in values)


def uniform(rng):
    return rng.randint(INT_MIN, INT_MAX), rng.randint(INT_MIN, INT_MAX), rng.randint(INT_MIN, INT_MAX)


def edges(rng):
    near = lambda: rng.choice((INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, rng.randint(-9, 9),
                              rng.randint(INT_MIN, INT_MAX), -rng.randint(2**30, 2**31)))
    return near(), near(), near()


def small(rng):
    return rng.randint(-12, 12), rng.randint(-30, 30), rng.randint(-30, 30)


def near_square(rng):
    """Δ = k² + e for e in −1, 0, 1; a power of two times a power of five as a
    puts rational roots on ties, and irrational ones just beside them."""
    while True:
        a = rng.choice((1, -1, 2, -3, 32, -64, 128, -128, 640, rng.randint(-99, 99)))
        b = rng.randint(INT_MIN, INT_MAX) >> rng.randint(0, 30)
        e = rng.choice((-1, 0, 1))
        start = rng.randint(-4 * abs(a), 0)
        for t in range(start, start + 8 * abs(a) + 8):
            k = abs(b) + t
            top = b * b - k * k - e
            if a != 0 and k >= 0 and top % (4 * a) == 0 and in_range(top // (4 * a)):
                return a, b, top // (4 * a)


def tie(rng):
    """h = −b/2a and k = −Δ/4a on a tie: 2a or 4a is 2^7 times a power of 5."""
    a = rng.choice((32, 64)) * 5 ** rng.randint(0, 3) * rng.choice((1, -1))
    return a, 2 * rng.randint(-2**20, 2**20) + 1, rng.randint(INT_MIN, INT_MAX) >> rng.randint(0, 31)


KINDS = (uniform, small, near_square, tie, edges, small, near_square, tie)


def main():
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    for i in range(count):
        a = 0
        while a == 0:
            a, b, c = KINDS[i % len(KINDS)](rng)
        delta, out = readings(a, b, c)
        k, m = square_part(abs(delta)) if delta else (None, None)
        row = {"a": a, "b": b, "c": c, "delta": delta, "k": k, "m": m, **out}
        print(json.dumps({key: value if value is None else str(value) for key, value in row.items()}))


if __name__ == "__main__":
    main()
