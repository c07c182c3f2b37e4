# SPDX-License-Identifier: MIT
"""How long the page takes, with Chromium's CPU slowed four times as on a
phone, each the median of LOADS loads (9 by default), as the page measures
itself: the reading of one of the hardest results there are, Δ =
23058430019122495537, a prime of 65 bits and so one of the longest searches for
a square factor, and not the one the page reads while it waits (target: 50 ms
from the result line); the feedback on a student's first answer in
practice, on the largest numbers (target: 50 ms from Enter); and a worksheet
of 30 equations (target: 200 ms).

usage: python3 bench/page-times.py PAGE [LOADS]
"""
import pathlib, statistics, sys, tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
from page_test import ENTER, Browser, until  # noqa: E402

HARDEST = "-2147483648 2147483641 2147483643"
LARGEST = "#-1107730878%20-2147340163%201153622184"


def slowed(browser, rate):
    browser.command("ExecuteCdpCommand", cmd="Emulation.setCPUThrottlingRate", params={"rate": rate})


def measured(browser, name):
    return until(lambda: browser.run("const m = performance.getEntriesByName(arguments[0]); return m.length && m[0].duration", name))


def reading(browser, page):
    browser.open(page)
    slowed(browser, 4)
    browser.press("#line", HARDEST + ENTER)
    return measured(browser, "reading")


def feedback(browser, page):
    browser.open(page, LARGEST, "?practice")
    slowed(browser, 4)
    browser.press("#answer", "0.438 and -2.377" + ENTER)
    return measured(browser, "feedback")


def sheet(browser, page):
    browser.open(page, "", "?worksheet")
    slowed(browser, 4)
    browser.run("const form = document.getElementById('sheet-form'); form.count.value = 30; form.requestSubmit()")
    return measured(browser, "sheet made")


def main(page, loads="9"):
    with tempfile.TemporaryDirectory() as profile:
        browser, took = Browser("chromium", False, profile), {reading: [], feedback: [], sheet: []}
        try:
            for _ in range(int(loads)):
                for measure, times in took.items():
                    times.append(measure(browser, page))
                    slowed(browser, 1)
        finally:
            browser.close()
    for measure, times in took.items():
        print(f"{measure.__name__}, the CPU slowed 4×: median {statistics.median(times):.1f} ms, "
              f"from {min(times):.1f} to {max(times):.1f} ms over {len(times)} loads")


if __name__ == "__main__":
    main(*sys.argv[1:])
