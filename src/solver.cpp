// SPDX-License-Identifier: MIT
// The quadratic formula. Real roots are computed exactly, in integers, and
// each is rounded once to the six decimals that the result line shows; a zero
// a or a negative discriminant is left to the formula in doubles, and shows
// up as infinities or not-a-number.
#include "solver.h"

#include <cmath>
#include <cstdio>

__extension__ typedef __int128 Wide;
__extension__ typedef unsigned __int128 UnsignedWide;

// |b²| ≤ 2^62 and |4ac| ≤ 2^64, so b² - 4ac lies within ±5·2^62 and each step
// is exact in 128 bits.
static Wide discriminant(int a, int b, int c)
{
	Wide bSquared = static_cast<Wide>(b) * b;
	Wide fourAC = 4 * (static_cast<Wide>(a) * c);
	return bSquared - fourAC;
}

double calculDelta(int a, int b, int c)
{
	return static_cast<double>(discriminant(a, b, c));
}

// The formula as it stands, for the roots that aren't real numbers.
static void writeFormulaRoots(int a, int b, double delta)
{
	double s = std::sqrt(delta);
	// Negated and doubled as integers, then converted: b = 0 gives +0, never
	// -0, and 64 bits hold -b and 2a for every int.
	double m = static_cast<double>(-static_cast<long long>(b));
	double q = static_cast<double>(2 * static_cast<long long>(a));
	std::printf("x1 : %f, x2 : %f", (m - s) / q, (s + m) / q);
}

// 2√n rounded to odd: 2√n itself when n is a perfect square, else the odd
// integer 2·floor(√n) + 1, which lies strictly between the two even integers
// around 2√n. Negated, or plus or minus an even integer, it therefore stays
// on the same side of every even integer as the exact value does, and equals
// it where that is an integer.
//
// For n < 2^105, the guess g = sqrt(double(n)) is floor(√n) or one more: the
// rounding to nearest of n and of its square root are both monotone, and for
// an integer k < 2^53 they give back k from k² exactly (k² rounds within a
// relative 2^-53, its root then within k·2^-54, under half of k's unit in the
// last place), so r² ≤ n < (r + 1)² bounds g between r and r + 1. Both are
// below 2^53: the conversion to an integer is exact, and their squares, below
// 2^106, are exact in 128 bits.
static long long twiceRootToOdd(UnsignedWide n)
{
	auto root = static_cast<unsigned long long>(std::sqrt(static_cast<double>(n)));
	if (static_cast<UnsignedWide>(root) * root > n)
		root--;
	unsigned long long inexact = static_cast<UnsignedWide>(root) * root != n ? 1 : 0;
	return static_cast<long long>(2 * root + inexact);
}

// |v| for |v| < 2^63, which negation can't overflow.
static unsigned long long magnitude(long long v)
{
	return static_cast<unsigned long long>(v < 0 ? -v : v);
}

// n / 4a in millionths, where n is 2(-b ∓ √Δ)·10^6 with the root rounded to
// odd, rounded to nearest, ties to even. Half of 4|a| is even, so every
// boundary of the rounding, an odd multiple of half the divisor, is an even
// integer: n rounds as the exact numerator would, and ties only where that
// one does. 4|a| ≤ 2^33, so twice a remainder fits 64 bits.
static unsigned long long millionths(long long n, int a)
{
	unsigned long long divisor = 4 * magnitude(a);
	unsigned long long quotient = magnitude(n) / divisor;
	unsigned long long twiceRemainder = 2 * (magnitude(n) % divisor);
	if (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2 == 1))
		quotient++;
	return quotient;
}

// The quotient's sign, as a division of doubles gives it: an exact zero takes
// a's sign, and a negative root that rounds to zero keeps its minus.
static const char *sign(long long n, int a)
{
	return (n < 0) != (a < 0) ? "-" : "";
}

// x·10^6 = (-b·10^6 ∓ √(Δ·10^12)) / 2a. Δ·10^12 < 5·2^62·10^12 < 2^105 fits
// 128 bits unsigned. |2b·10^6| ≤ 2^32·10^6 < 2^52 and the doubled root is at
// most 2·√5·2^31·10^6 + 1 < 2^53.1, so both numerators stay below 2^54 in
// magnitude, and so do their negations.
static void writeExactRoots(int a, int b, Wide delta)
{
	long long twiceRoot = twiceRootToOdd(static_cast<UnsignedWide>(delta) * 1000000000000ULL);
	long long twiceB = 2000000LL * b;
	long long n1 = -twiceB - twiceRoot;
	long long n2 = twiceRoot - twiceB;
	unsigned long long x1 = millionths(n1, a);
	unsigned long long x2 = millionths(n2, a);
	const unsigned long long million = 1000000;
	std::printf("x1 : %s%llu.%06llu, x2 : %s%llu.%06llu", sign(n1, a), x1 / million,
	            x1 % million, sign(n2, a), x2 / million, x2 % million);
}

void resolve(int a, int b, int c)
{
	Wide delta = discriminant(a, b, c);
	if (a == 0 || delta < 0)
		writeFormulaRoots(a, b, calculDelta(a, b, c));
	else
		writeExactRoots(a, b, delta);
}
