// SPDX-License-Identifier: MIT
// The quadratic formula. Real roots are computed exactly, in integers, and
// each is rounded once to the six decimals that the result line shows; a zero
// a or a negative discriminant is left to the formula in doubles, and shows
// up as infinities or not-a-number.
//
// Δ = b² - 4ac takes 66 bits and Δ·10^12 takes 105, yet 64-bit integers
// serve: Δ is carried as 4q + r, and Δ·10^12 is only ever compared with a
// square known to lie within 2^56 of it, a difference that arithmetic modulo
// 2^64 gives exactly. So the code is the same on 32-bit and 64-bit targets.
#include "solver.h"

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>

// Δ = 4q + r with q = ⌊b²/4⌋ - ac and r = b² mod 4, which is 1 for an odd b
// and 0 for an even one. b² ≤ 2^62 fits 64 bits; ⌊b²/4⌋ ≤ 2^60 and
// -2^62 < ac ≤ 2^62, so q lies within [-2^62, 2^62 + 2^60), and Δ < 0 exactly
// when q < 0.
static std::int64_t deltaQuarter(int a, int b, int c)
{
	std::int64_t bSquared = static_cast<std::int64_t>(b) * b;
	return bSquared / 4 - static_cast<std::int64_t>(a) * c;
}

static std::int64_t deltaRest(int b)
{
	return static_cast<std::int64_t>(b % 2 != 0);
}

// |v| for |v| < 2^63, which negation can't overflow.
static std::uint64_t magnitude(std::int64_t v)
{
	return static_cast<std::uint64_t>(v < 0 ? -v : v);
}

// Δ rounded to a double. Within ±2^60, 4q + r fits 63 bits and converts with
// one rounding; a zero a's Δ = b² is there, or is 2^62 exactly (b = -2^31), so
// that √Δ is exactly |b| and -b + √Δ is 0 where it must be. Beyond, only a
// ≠ 0 reaches, where Δ feeds only the square root's guess in twiceRootToOdd,
// or a negative one's not-a-number: 4·double(q) leaves r out, and is within
// 2^-53 + 2^-61 of Δ, relatively.
double calculDelta(int a, int b, int c)
{
	std::int64_t quarter = deltaQuarter(a, b, c);
	if (magnitude(quarter) < std::uint64_t{1} << 60)
		return static_cast<double>(4 * quarter + deltaRest(b));
	return 4 * static_cast<double>(quarter);
}

// The formula as it stands, for the roots that aren't real numbers.
static void writeFormulaRoots(int a, int b, double delta)
{
	double s = std::sqrt(delta);
	// Negated and doubled as integers, then converted: b = 0 gives +0, never
	// -0, and 64 bits hold -b and 2a for every int.
	double m = static_cast<double>(-static_cast<std::int64_t>(b));
	double q = static_cast<double>(2 * static_cast<std::int64_t>(a));
	std::printf("x1 : %f, x2 : %f", (m - s) / q, (s + m) / q);
}

// 2√n rounded to odd, for n = Δ·10^12 and Δ ≥ 0: 2√n itself when n is a perfect
// square, else the odd integer 2·floor(√n) + 1, which lies strictly between
// the two even integers around 2√n. Negated, or plus or minus an even
// integer, it therefore stays on the same side of every even integer as the
// exact value does, and equals it where that is an integer.
//
// √n ≤ √(5·2^62)·10^6 < 1.07·2^52. The guess comes from doubles: Δ is within
// 2^-53 + 2^-61 of its value, relatively, and the product and the square
// root each round within 2^-53 (2^-53 + 2^-64 where x87 rounds to its own 64
// bits first), so the guess is within 2.01·2^-53·√n < 1.08 of √n, and its integer part within 2 of
// floor(√n). Three more is above √n, and at most 5 above floor(√n), so that
// above² - n lies in (0, 10√n + 25], below 2^56: computed modulo 2^64, with n
// taken modulo 2^64 too, it comes out exact. Each step down keeps it so.
static std::uint64_t twiceRootToOdd(int a, int b, int c)
{
	const std::uint64_t trillion = 1000000000000;
	std::uint64_t nModulo = static_cast<std::uint64_t>(deltaQuarter(a, b, c)) * 4 * trillion +
	                        static_cast<std::uint64_t>(deltaRest(b)) * trillion;
	auto above = static_cast<std::uint64_t>(std::sqrt(calculDelta(a, b, c) * 1e12)) + 3;
	std::uint64_t excess = above * above - nModulo;
	// (above - 1)² > n: above - 1 is above √n too.
	while (excess > 2 * above - 1) {
		excess -= 2 * above - 1;
		above--;
	}
	// Now floor(√n) = above - 1, and n is its square when excess is 2·above - 1.
	return 2 * above - 1 - static_cast<std::uint64_t>(excess == 2 * above - 1);
}

// n / 4a in millionths, where n is 2(-b ∓ √Δ)·10^6 with the root rounded to
// odd, rounded to nearest, ties to even. Half of 4|a| is even, so every
// boundary of the rounding, an odd multiple of half the divisor, is an even
// integer: n rounds as the exact numerator would, and ties only where that
// one does. 4|a| ≤ 2^33, so twice a remainder fits 64 bits.
static std::uint64_t millionths(std::int64_t n, int a)
{
	std::uint64_t divisor = 4 * magnitude(a);
	std::uint64_t quotient = magnitude(n) / divisor;
	std::uint64_t twiceRemainder = 2 * (magnitude(n) % divisor);
	if (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2 == 1))
		quotient++;
	return quotient;
}

// The quotient's sign, as a division of doubles gives it: an exact zero takes
// a's sign, and a negative root that rounds to zero keeps its minus.
static const char *sign(std::int64_t n, int a)
{
	return (n < 0) != (a < 0) ? "-" : "";
}

// x·10^6 = (-b·10^6 ∓ √(Δ·10^12)) / 2a. |2b·10^6| ≤ 2^32·10^6 < 2^52 and the
// doubled root is at most 2·1.07·2^52 + 1 < 2^53.1, so both numerators stay
// below 2^54 in magnitude, and so do their negations.
static void writeExactRoots(int a, int b, int c)
{
	auto twiceRoot = static_cast<std::int64_t>(twiceRootToOdd(a, b, c));
	std::int64_t twiceB = 2000000 * static_cast<std::int64_t>(b);
	std::int64_t n1 = -twiceB - twiceRoot;
	std::int64_t n2 = twiceRoot - twiceB;
	std::uint64_t x1 = millionths(n1, a);
	std::uint64_t x2 = millionths(n2, a);
	const std::uint64_t million = 1000000;
	std::printf("x1 : %s%" PRIu64 ".%06" PRIu64 ", x2 : %s%" PRIu64 ".%06" PRIu64, sign(n1, a),
	            x1 / million, x1 % million, sign(n2, a), x2 / million, x2 % million);
}

void resolve(int a, int b, int c)
{
	if (a == 0 || deltaQuarter(a, b, c) < 0)
		writeFormulaRoots(a, b, calculDelta(a, b, c));
	else
		writeExactRoots(a, b, c);
}
