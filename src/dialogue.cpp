// SPDX-License-Identifier: MIT
// The console dialogue: the banner, a prompt and a read for each coefficient,
// then the solver's result line.  Bad input is not an error here: a read that
// finds no number leaves its coefficient at 0 and the dialogue goes on.  Only
// input/output errors are reported, once each, and fail the run.
#include "solver.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static void report(const char *what, int error)
{
	if (error != 0)
		std::fprintf(stderr, "quadratic: %s: %s\n", what, std::strerror(error));
	else
		std::fprintf(stderr, "quadratic: %s\n", what);
}

static int skipSpace()
{
	int ch = std::getc(stdin);
	while (std::isspace(ch) != 0)
		ch = std::getc(stdin);
	return ch;
}

// Takes the whole run of digits that begins with first and returns the
// character after it.  The magnitude stops growing at 2^31, so a number of
// any length saturates to the int range, and memory stays constant.
static int readDigits(int first, bool negative, int *coefficient)
{
	const unsigned long long cap = 1ULL << 31;
	unsigned long long magnitude = 0;
	int ch = first;
	for (; std::isdigit(ch) != 0; ch = std::getc(stdin)) {
		magnitude = magnitude * 10 + static_cast<unsigned>(ch - '0');
		if (magnitude > cap)
			magnitude = cap;
	}
	if (negative)
		*coefficient = static_cast<int>(-static_cast<long long>(magnitude));
	else
		*coefficient = static_cast<int>(magnitude < cap ? magnitude : cap - 1);
	return ch;
}

// Reads one coefficient the way scanf("%d") does: white space skipped, one
// optional sign, the digits; the first character that can't belong stays
// unread.  A sign with no digit after it is consumed, and nothing is stored.
// Once the input has failed, nothing more is read from it.
static void readCoefficient(int *coefficient)
{
	if (std::ferror(stdin) != 0)
		return;
	int ch = skipSpace();
	bool negative = ch == '-';
	if (ch == '-' || ch == '+')
		ch = std::getc(stdin);
	if (std::isdigit(ch) != 0)
		ch = readDigits(ch, negative, coefficient);
	if (ch != EOF)
		std::ungetc(ch, stdin);
	else if (std::ferror(stdin) != 0)
		report("read error", errno);
}

// The prompt has no line end, so it is flushed by hand: a terminal user or a
// program at the other end of a pipe must see it before it is waited on.
static void ask(const char *prompt, int *coefficient)
{
	std::fputs(prompt, stdout);
	std::fflush(stdout);
	readCoefficient(coefficient);
}

void saisie()
{
	int a = 0;
	int b = 0;
	int c = 0;

	std::puts("ax2 + bx + c");
	ask("a...", &a);
	ask("b...", &b);
	ask("c...", &c);
	resolve(a, b, c);
}

// Closes standard output the way the GNU tools do, so that a write error that
// stdio kept to itself until now still fails the run.
static bool closeOutput()
{
	bool failedEarlier = std::ferror(stdout) != 0;
	if (std::fclose(stdout) != 0) {
		report("write error", errno);
		return false;
	}
	if (failedEarlier) {
		report("write error", 0);
		return false;
	}
	return true;
}

int main()
{
	saisie();
	bool written = closeOutput();
	return written && std::ferror(stdin) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
