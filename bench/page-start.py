# SPDX-License-Identifier: MIT
"""How soon the page writes its first prompt: the median of 15 loads of the
page, side by side with the same page whose script writes the prompt at once,
in a browser engine (chromium, firefox or webkit; webkit needs a display).
Each page marks the moment with performance.mark("prompt"). The target is
1.25 times; and the page's size, whose target is 160 KB.

usage: python3 bench/page-start.py PAGE [ENGINE]
"""
import pathlib, statistics, sys, tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
from page_test import Browser, until  # noqa: E402

BARE = ('<script type="module">const pre = document.createElement("pre"); pre.textContent = "ax2 + bx + c\\na...";'
        ' document.getElementById("transcript").append(pre); performance.mark("prompt");</script></body></html>')


def main(page, engine="chromium"):
    made = pathlib.Path(page).read_text(encoding="utf-8")
    with tempfile.TemporaryDirectory() as folder:
        bare = pathlib.Path(folder, "bare.html")
        bare.write_text(made[:made.index('<script type="module">')] + BARE, encoding="utf-8")
        browser, times = Browser(engine, False, folder), {page: [], bare: []}
        try:
            for load in range(16):  # the first load of each warms the engine's caches
                for path in times:
                    browser.command("Navigate", url="about:blank")
                    browser.command("Navigate", url=pathlib.Path(path).resolve().as_uri())
                    taken = until(lambda: browser.run("const m = performance.getEntriesByName('prompt');"
                                                      "return m.length ? m[0].startTime : null"))
                    if load:
                        times[path].append(taken)
        finally:
            browser.close()
    ours, theirs = statistics.median(times[page]), statistics.median(times[bare])
    print(f"{engine}: the first prompt at {ours:.1f} ms, the bare page's at {theirs:.1f} ms: {ours / theirs:.2f} times; "
          f"the page, {len(made.encode())} bytes")


if __name__ == "__main__":
    main(*sys.argv[1:])
