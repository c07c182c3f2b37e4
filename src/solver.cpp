// SPDX-License-Identifier: MIT
// The quadratic formula, applied as it stands: a zero a or a negative
// discriminant shows up as infinities or not-a-number in the result line.
#include "solver.h"

#include <cmath>
#include <cstdio>

// b² - 4ac takes 66 bits for the widest coefficients; in 128 bits every step
// is exact, and the one conversion to double rounds to nearest.
__extension__ typedef __int128 Wide;

double calculDelta(int a, int b, int c)
{
	Wide bSquared = static_cast<Wide>(b) * b;
	Wide fourAC = 4 * (static_cast<Wide>(a) * c);
	return static_cast<double>(bSquared - fourAC);
}

void resolve(int a, int b, int c)
{
	double s = std::sqrt(calculDelta(a, b, c));
	// Negated and doubled as integers, then converted: b = 0 gives +0, never
	// -0, and 64 bits hold -b and 2a for every int.
	double m = static_cast<double>(-static_cast<long long>(b));
	double q = static_cast<double>(2 * static_cast<long long>(a));
	double x1 = (m - s) / q;
	double x2 = (s + m) / q;
	std::printf("x1 : %f, x2 : %f", x1, x2);
}
