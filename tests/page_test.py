# SPDX-License-Identifier: MIT
"""The page in the three browser engines: Chromium, Firefox, and WebKit, which every browser on an
iPhone or iPad uses. In each, every dialogue of the terminal table, typed into the page with the keys
and with the buttons, leaves the transcript a terminal shows, byte for byte; the page reads each
result as the tables below say, exact to the last digit; a link types what it carries; and axe-core
finds nothing to fault, in light and dark. Nothing may be fetched.

Chromium and WebKit are driven over W3C WebDriver, by Debian's chromedriver and WebKitWebDriver;
Firefox by its own Marionette protocol, whose commands are WebDriver's, so no third driver is needed.

usage: python3 page_test.py PAGE AXE-JS   (WebKit needs a display: run it under xvfb-run -a)
"""
import glob, json, math, os, pathlib, re, socket, subprocess, sys, tempfile, time, urllib.request
from fractions import Fraction
from quadratic_test import TERMINAL, WASI, check, with_texts

ENTER, ESCAPE, CONTROL = "\ue007", "\ue00c", "\ue009"
ELEMENT = "element-6066-11e4-a52e-4f735466cecf"
ROUTES = {"Navigate": "url", "ExecuteScript": "execute/sync", "ExecuteAsyncScript": "execute/async",
          "SetWindowRect": "window/rect", "FindElement": "element", "ElementSendKeys": "element/{id}/value", "ElementClick": "element/{id}/click"}
CHROMIUM = ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
            "--disable-background-networking", "--disable-component-update"]  # root needs no sandbox
FINISHED = "Finished. To solve another equation, type its numbers."


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def until(ready, seconds=20):
    deadline = time.monotonic() + seconds
    while True:
        try:
            value = ready()
            if value:
                return value
        except OSError:
            pass
        if time.monotonic() > deadline:
            raise TimeoutError("gave up waiting")
        time.sleep(0.05)


class Browser:
    """A session in one engine, through W3C WebDriver's HTTP routes or Marionette's messages."""

    def __init__(self, engine, dark, profile):
        port, environment = free_port(), dict(os.environ, HOME=profile)
        if engine == "firefox":
            with open(os.path.join(profile, "user.js"), "w") as prefs:
                prefs.write(f'user_pref("marionette.port", 0);\nuser_pref("ui.systemUsesDarkTheme", {int(dark)});\n')
            command = ["firefox-esr", "--headless", "--marionette", "--no-remote", "--profile", profile]
        elif engine == "chromium":
            command = ["chromedriver", f"--port={port}"]
            options = CHROMIUM + [f"--user-data-dir={profile}"] + (["--force-dark-mode"] if dark else [])
            capabilities = {"goog:chromeOptions": {"binary": "/usr/bin/chromium", "args": options}}
        else:
            command = ["WebKitWebDriver", f"--port={port}"]
            environment["GTK_THEME"] = "Adwaita:dark" if dark else "Adwaita"
            capabilities = {"webkitgtk:browserOptions": {"args": ["--automation"],
                            "binary": glob.glob("/usr/lib/*/webkit2gtk-4.*/MiniBrowser")[0]}}
        self.process = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if engine == "firefox":
            port = int(until(lambda: pathlib.Path(profile, "MarionetteActivePort").read_text()))
            self.socket = until(lambda: socket.create_connection(("127.0.0.1", port)))
            self.stream, self.serial = self.socket.makefile("rb"), 0
            self.receive()  # Marionette's greeting
            self.command("NewSession", capabilities={})
        else:
            self.base = f"http://127.0.0.1:{port}"
            until(lambda: self.http("GET", "/status"))
            self.base += "/session/" + self.http("POST", "/session", {"capabilities": {"alwaysMatch": capabilities}})["sessionId"]
        # Tall enough for the whole page, which axe-core checks only where it is in view.
        self.command("SetWindowRect", width=800, height=2400)

    def http(self, method, path, body=None):
        request = urllib.request.Request(self.base + path, method=method, headers={"Content-Type": "application/json"},
                                         data=None if body is None else json.dumps(body).encode())
        with urllib.request.urlopen(request, timeout=120) as response:
            return json.load(response)["value"]

    def receive(self):
        length = b""
        while not length.endswith(b":"):
            length += self.stream.read(1)
        return json.loads(self.stream.read(int(length[:-1])))

    def command(self, name, **parameters):
        if hasattr(self, "base"):
            return self.http("POST", "/" + ROUTES[name].format(**parameters), parameters)
        self.serial += 1
        message = json.dumps([0, self.serial, "WebDriver:" + name, parameters]).encode()
        self.socket.sendall(b"%d:%s" % (len(message), message))
        _, _, error, result = self.receive()
        if error:
            raise RuntimeError(f"{name}: {error}")
        return result.get("value") if isinstance(result, dict) else result

    def run(self, script, *args):
        return self.command("ExecuteScript", script=script, args=list(args))

    def press(self, css, keys):
        self.command("ElementSendKeys", id=self.command("FindElement", using="css selector", value=css)[ELEMENT], text=keys)

    def click(self, css):
        self.command("ElementClick", id=self.command("FindElement", using="css selector", value=css)[ELEMENT])

    def open(self, page, hash=""):
        self.command("Navigate", url=pathlib.Path(page).resolve().as_uri() + hash)
        return self.idle()

    def idle(self):  # the last run, once the page has done all it was given
        until(lambda: self.run("return document.getElementById('transcript').getAttribute('aria-busy') === 'false'"))
        return self.run("const runs = document.querySelectorAll('#transcript pre');"
                        "return [runs[runs.length - 1].textContent, document.getElementById('status').textContent]")

    def close(self):
        try:
            if hasattr(self, "base"):
                self.http("DELETE", "")
            else:
                self.command("DeleteSession")
        finally:
            self.process.terminate()
            self.process.wait(30)


def dialogue(browser, typed, touch):
    browser.click("#again") if touch else browser.press("#line", ESCAPE)
    for answer in typed:
        if answer == "\x04":
            browser.click("#end") if touch else browser.press("#line", CONTROL + "d")
        elif touch:
            browser.press("#line", answer.rstrip("\n"))
            browser.click("#send")
        else:
            browser.press("#line", answer.rstrip("\n") + ENTER * answer.endswith("\n"))
    return browser.idle()


def read_as(browser):  # the coefficients the page says the program read
    said = browser.run("return document.getElementById('explanation').textContent")
    return " ".join(re.search(r"with a = (\S+), b = (\S+) and c = (\S+?)\.", said).groups()).replace("−", "-")


def terminal_rows(browser):
    """Each dialogue, then the coefficients that the page says were read, typed on a line: they must
    give the same result line, so that the page reads bad input, its end and large numbers as the
    program does."""
    results = []
    for touch in (False, True):
        for typed, shown in TERMINAL:
            if touch and any(answer == "\x04" and before[-1:] != "\n" for before, answer in zip([""] + typed, typed)):
                continue  # Ctrl-D after text on a line: no button does that
            results.append(check(f"{typed!r}, {'touch' if touch else 'keys'}", dialogue(browser, typed, touch),
                                 ["ax2 + bx + c\n" + with_texts(WASI, shown).decode(), FINISHED]))
            if not touch:
                line = read_as(browser)
                result = lambda text: re.search("x1 : .*$", text)[0]
                results.append(check(f"{typed!r}, read as {line}", result(dialogue(browser, [line + "\n"], False)[0]),
                                     result(with_texts(WASI, shown).decode())))
    return results


READING = [  # coefficients typed on one line, what the page says of the result
    ("1 -3 2", "The program solved x² − 3x + 2 = 0, with a = 1, b = −3 and c = 2.|The discriminant, b² − 4ac, is 9 − 8 = 1.|It is positive, so the equation has two real roots, which the program wrote rounded to six decimals: x1 = 1.000000 and x2 = 2.000000.|The graph of y = x² − 3x + 2 is a parabola that opens upwards, with its vertex at (1.5, −0.25)."),
    ("1 2 1", "The program solved x² + 2x + 1 = 0, with a = 1, b = 2 and c = 1.|The discriminant, b² − 4ac, is 4 − 4 = 0.|It is zero, so the equation has one root, a double one: x = −1, which the program wrote twice.|The graph of y = x² + 2x + 1 is a parabola that opens upwards, with its vertex at (−1, 0)."),
    ("1 1 1", "The program solved x² + x + 1 = 0, with a = 1, b = 1 and c = 1.|The discriminant, b² − 4ac, is 1 − 4 = −3.|It is negative, so the equation has no real root: no real number squared gives a negative one. Its two roots are the complex numbers x = −0.5 ± 0.866025i (rounded). The program works in real numbers only, so it wrote nan, for “not a number”, for both; some machines write it −nan, and the sign means nothing there.|The graph of y = x² + x + 1 is a parabola that opens upwards, with its vertex at (−0.5, 0.75)."),
    ("0 2 4", "The program solved 2x + 4 = 0, with a = 0, b = 2 and c = 4.|As a is 0, this is no quadratic equation but a linear one, with one root: x = −2. The program's formula divides by 2a, which is 0 here: a number other than 0 divided by 0 gives inf or −inf, for infinity, and 0 divided by 0 gives nan, for “not a number”."),
    ("0 0 7", "The program solved 7 = 0, with a = 0, b = 0 and c = 7.|As a and b are 0, the equation says 7 = 0, which is true for no x: it has no root. The program's formula divides by 2a, which is 0 here: a number other than 0 divided by 0 gives inf or −inf, for infinity, and 0 divided by 0 gives nan, for “not a number”."),
    ("0 3 -1", "The program solved 3x − 1 = 0, with a = 0, b = 3 and c = −1.|As a is 0, this is no quadratic equation but a linear one, with one root: x ≈ 0.333333. The program's formula divides by 2a, which is 0 here: a number other than 0 divided by 0 gives inf or −inf, for infinity, and 0 divided by 0 gives nan, for “not a number”."),
    ("0 2000000 -1", "The program solved 2000000x − 1 = 0, with a = 0, b = 2000000 and c = −1.|As a is 0, this is no quadratic equation but a linear one, with one root: x ≈ 0. The program's formula divides by 2a, which is 0 here: a number other than 0 divided by 0 gives inf or −inf, for infinity, and 0 divided by 0 gives nan, for “not a number”."),
    ("1 99999999999 0", "The program solved x² + 2147483647x = 0, with a = 1, b = 2147483647 and c = 0.|99999999999 is beyond the largest number the program takes, so b became 2147483647.|The discriminant, b² − 4ac, is 4611686014132420609 − 0 = 4611686014132420609.|It is positive, so the equation has two real roots, which the program wrote rounded to six decimals: x1 = −2147483647.000000 and x2 = 0.000000.|The graph of y = x² + 2147483647x is a parabola that opens upwards, with its vertex at (−1073741823.5, −1152921503533105152.25)."),
    ("1,5", "The program solved x² = 0, with a = 1, b = 0 and c = 0.|The program found “,” where a number should be, so b and c stayed 0.|The discriminant, b² − 4ac, is 0 − 0 = 0.|It is zero, so the equation has one root, a double one: x = 0, which the program wrote twice.|The graph of y = x² is a parabola that opens upwards, with its vertex at (0, 0)."),
    ("-1 - -99999999999", "The program solved −x² − 2147483648 = 0, with a = −1, b = 0 and c = −2147483648.|−99999999999 is beyond the smallest number the program takes, so c became −2147483648.|The program found “-” with no digit after it, so b stayed 0.|The discriminant, b² − 4ac, is 0 − 8589934592 = −8589934592.|It is negative, so the equation has no real root: no real number squared gives a negative one. Its two roots are the complex numbers x = 0 ± 46340.950012i (rounded). The program works in real numbers only, so it wrote nan, for “not a number”, for both; some machines write it −nan, and the sign means nothing there.|The graph of y = −x² − 2147483648 is a parabola that opens downwards, with its vertex at (0, −2147483648)."),
]

HARD = [  # where rounding is hardest: a near 2³¹, imaginary parts near a tie, tiny and huge
    (2147483647, 2147483647, 1073741824), (-2147483648, -1, -1), (2147483647, 1, 2147483647),
    (1, 1, 2147483647), (-2147483648, 2147483647, -2147483648), (2147483647, -2147483648, 2147483647),
]


def six_decimals(value):  # the page's numbers: rounded half to even, trailing zeros dropped
    millionths = round(value * 10 ** 6)
    text = f"{abs(millionths) // 10 ** 6}.{abs(millionths) % 10 ** 6:06}".rstrip("0").rstrip(".")
    return ("−" if millionths < 0 else "") + text, value * 10 ** 6 == millionths


def complex_roots(a, b, c):  # p ± qi, from exact fractions and a square root to 10⁻³⁰
    p, exact_p = six_decimals(Fraction(-b, 2 * a))
    n = 4 * a * c - b * b
    q, exact_q = six_decimals(Fraction(math.isqrt(n * 10 ** 60), 2 * abs(a) * 10 ** 30))
    exact_q = exact_q and math.isqrt(n) ** 2 == n
    return f"x {'=' if exact_p else '≈'} {p} ± {q}i{'' if exact_q else ' (rounded)'}"


def explanation(browser, typed):
    browser.press("#line", ESCAPE)
    browser.press("#line", typed + ENTER)
    browser.idle()
    return browser.run("return [...document.querySelectorAll('#explanation p')].map(p => p.textContent).join('|')")


def reading_rows(browser):
    results = [check(typed, explanation(browser, typed), said) for typed, said in READING]
    for a, b, c in HARD:
        said = explanation(browser, f"{a} {b} {c}")
        results.append(check(f"{a} {b} {c}", complex_roots(a, b, c) in said, True))
    return results


GRAPH = [  # coefficients, the marks' labels, and what the graph's text alternative says of them
    ("1 -3 2", ["x1", "x2", "vertex"], "A parabola that opens upwards. It meets the x-axis at x1 = 1.000000 and x2 = 2.000000. It has its vertex at (1.5, −0.25)."),
    ("1 2 1", ["x, the vertex"], "A parabola that opens upwards. It meets the x-axis at x = −1, its vertex."),
    ("1 1 1", ["vertex"], "A parabola that opens upwards. It has its vertex at (−0.5, 0.75)."),
    ("0 2 4", ["x"], "A straight line. It meets the x-axis at x = −2."),
    ("0 0 7", [], "A level straight line."),
    ("1 1534028681 -455521473", ["x1", "x2", "vertex"], "A parabola that opens upwards. It meets the x-axis at x1 = −1534028681.296945 and x2 = 0.296945. It has its vertex at (−767014340.5, −588310998988171413.25)."),
]


def graph_rows(browser):
    results = []
    for typed, labels, said in GRAPH:
        explanation(browser, typed)
        marks = browser.run("""
            const frame = document.querySelector('#plot rect').getBBox();
            const inside = [...document.querySelectorAll('#plot circle')].every(c =>
              c.cx.baseVal.value >= frame.x && c.cx.baseVal.value <= frame.x + frame.width &&
              c.cy.baseVal.value >= frame.y && c.cy.baseVal.value <= frame.y + frame.height);
            const labels = [...document.querySelectorAll('#labels .mark')].map(label => label.textContent);
            return [labels, inside, document.getElementById('graph-text').textContent];""")
        results.append(check(f"graph of {typed}", marks, [labels, True, said]))
    return results


def behaviour_rows(browser, page):
    results = [check("a link types its lines", [browser.open(page, "#1%0A-3%0A2"), browser.run("return location.hash")],
                     [["ax2 + bx + c\na...1\nb...-3\nc...2\nx1 : 1.000000, x2 : 2.000000", FINISHED], "#1%0A-3%0A2"])]
    before = browser.run("return document.querySelectorAll('#transcript pre').length")
    browser.press("#line", "1 2 1" + ENTER)
    results.append(check("a line after the result is a new run, below the last",
                         [browser.idle(), browser.run("return document.querySelectorAll('#transcript pre').length - arguments[0]", before)],
                         [["ax2 + bx + c\na...1 2 1\nb...c...x1 : -1.000000, x2 : -1.000000", FINISHED], 1]))
    browser.press("#line", ESCAPE)
    started = time.monotonic()
    browser.run("document.getElementById('line').value = '9'.repeat(1 << 20)")  # a paste, past maxlength
    browser.press("#line", ENTER)
    results.append(check("a pasted megabyte is one terminal line, at once",
                         [browser.idle(), time.monotonic() - started < 10], [["ax2 + bx + c\na..." + "9" * 4095 + "\nb...", ""], True]))
    browser.run("""const script = document.createElement('script');  // in the page's own world
        script.textContent = `const instantiate = WebAssembly.instantiate;
          WebAssembly.instantiate = async (...args) => { const made = await instantiate(...args);
            return { exports: { memory: made.exports.memory, _start() { throw new WebAssembly.RuntimeError('unreachable'); } } }; };`;
        document.body.append(script);""")
    browser.press("#line", ESCAPE)
    results.append(check("a trap ends the run and says so", [browser.idle()[1], browser.run("return document.getElementById('end').disabled")],
                         ["The program stopped on an error of its own (unreachable). What it wrote is above.", True]))
    results.append(check("every control at least 44 px tall, to touch", browser.run(
        "return [...document.querySelectorAll('button, input, summary')].filter(c => c.offsetHeight < 44).map(c => c.id || c.tagName)"), []))
    results.append(check("nothing fetched", browser.run("return performance.getEntriesByType('resource').length"), 0))
    return results


def accessibility(browser, page, axe, scheme):
    """axe-core's findings on the page freshly loaded, mid-dialogue and after a result: none may be
    a violation, nor left incomplete."""
    results = []
    for state, typed in (("fresh", None), ("mid-dialogue", "1" + ENTER), ("after a result", "-3 2" + ENTER)):
        if typed:
            browser.press("#line", typed)
            browser.idle()
        else:
            browser.open(page)
            browser.run(axe)
        found = browser.command("ExecuteAsyncScript", args=[], script="""const done = arguments[arguments.length - 1];
            axe.run(document, { resultTypes: ['violations', 'incomplete'] }).then(r => done(
              [...r.violations, ...r.incomplete].map(rule => `${rule.id}: ${rule.nodes.map(n =>
                `${n.target} (${[...n.any, ...n.all, ...n.none].map(c => c.message).join('; ')})`).join(', ')}`)));""")
        results.append(check(f"axe, {state}, {scheme}", found, []))
    return results


def main(page, axe_js):
    axe = pathlib.Path(axe_js).read_text()
    results = [check("the page fits in 64 KB", os.path.getsize(page) <= 64 * 1024, True)]
    for engine in ("chromium", "firefox", "webkit"):
        for dark in (False, True):
            with tempfile.TemporaryDirectory() as profile:
                started = time.monotonic()
                browser = Browser(engine, dark, profile)
                try:
                    print(f"{engine}, {'dark' if dark else 'light'}: started in {time.monotonic() - started:.1f} s")
                    if not dark:
                        browser.open(page)
                        results += terminal_rows(browser) + reading_rows(browser) + graph_rows(browser)
                        results += behaviour_rows(browser, page)
                    results += accessibility(browser, page, axe, "dark" if dark else "light")
                finally:
                    browser.close()
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
