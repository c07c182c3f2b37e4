// SPDX-License-Identifier: MIT
#ifndef QUADRATIC_SOLVER_H
#define QUADRATIC_SOLVER_H

// The discriminant b² - 4ac, exact, rounded to a double: to the nearest one
// wherever |Δ| < 2^62, and within 2^-53 + 2^-61 of Δ, relatively, beyond.
double calculDelta(int a, int b, int c);

// Solves a·x² + b·x + c = 0 and writes "x1 : %f, x2 : %f", with no line end,
// to standard output: real roots as the exact root rounded to six decimals,
// ties to even, the others as the formula in doubles gives them.
void resolve(int a, int b, int c);

#endif
