# SPDX-License-Identifier: MIT
"""The page in the three browser engines: Chromium, Firefox, and WebKit, which every browser on an
iPhone or iPad uses. In each, every dialogue of the terminal table, typed into the page with the keys
and with the buttons, leaves the transcript a terminal shows, byte for byte, a line held back for a
word being sent as typed; a mistake is held back; a link types what it carries; the graph is drawn
as the tables below say; Arabic is laid out right to left; and axe-core finds nothing to fault, in
light and dark. In Chromium, each language shows no English sentence. Nothing may be fetched. What
the page says of a result is tested in Node.js (page_logic_test.mjs).

Chromium and WebKit are driven over W3C WebDriver, by Debian's chromedriver and WebKitWebDriver;
Firefox by its own Marionette protocol, whose commands are WebDriver's, so no third driver is needed.

usage: python3 page_test.py PAGE AXE-JS   (WebKit needs a display: run it under xvfb-run -a)
"""
import glob, json, os, pathlib, re, socket, subprocess, sys, tempfile, time, urllib.request
from quadratic_test import TERMINAL, WASI, check, with_texts

ENTER, ESCAPE, CONTROL = "\ue007", "\ue00c", "\ue009"
ELEMENT = "element-6066-11e4-a52e-4f735466cecf"
ROUTES = {"Navigate": "url", "ExecuteScript": "execute/sync", "ExecuteAsyncScript": "execute/async",
          "SetWindowRect": "window/rect", "ExecuteCdpCommand": "goog/cdp/execute", "FindElement": "element", "ElementSendKeys": "element/{id}/value", "ElementClick": "element/{id}/click"}
CHROMIUM = ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
            "--disable-background-networking", "--disable-component-update"]  # root needs no sandbox
ANOTHER = "To solve another equation, type its numbers."
LAST = "const runs = document.querySelectorAll('#transcript .run'); const last = runs[runs.length - 1];"


def plain(text):  # what the page says, its no-break spaces as plain ones, without its marks of direction
    return re.sub("[\u2066-\u2069\u2060]", "", re.sub("[\u00a0\u202f]", " ", text))


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

    def open(self, page, hash="", query=""):  # a fresh load, even where only the hash differs
        self.command("Navigate", url="about:blank")
        self.command("Navigate", url=pathlib.Path(page).resolve().as_uri() + query + hash)
        return self.idle()

    def idle(self):  # the last run, once the page has done all it was given
        until(lambda: self.run("return document.getElementById('transcript').getAttribute('aria-busy') === 'false'"))
        transcript, status = self.run(LAST + "return [last ? last.querySelector('pre').textContent : null, document.getElementById('status').textContent]")
        return [transcript, plain(status)]

    def held(self):  # what the page says of a line it holds back, or None
        said = self.run("const check = document.getElementById('check');"
                        "return check.hidden ? null : document.getElementById('check-text').textContent")
        return None if said is None else plain(said)

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
    """Types each answer; a line the page holds back is sent as typed, as a terminal would send it."""
    browser.click("#again") if touch else browser.press("#line", ESCAPE)
    for answer in typed:
        if answer == "\x04":
            browser.click("#end") if touch else browser.press("#line", CONTROL + "d")
            continue
        browser.press("#line", answer.rstrip("\n"))
        if answer.endswith("\n") or touch:
            browser.click("#send") if touch else browser.press("#line", ENTER)
            if browser.held() is not None:
                browser.click("#as-typed") if touch else browser.press("#line", ENTER)
    return browser.idle()


def read_as(browser):  # the coefficients the page says the program read
    said = browser.run(LAST + "return last.querySelector('.reading').textContent")
    return " ".join(re.search(r"with a = (\S+), b = (\S+) and c = (\S+?)\.", plain(said)).groups()).replace("−", "-")


def terminal_rows(browser):
    """Each dialogue, then the coefficients that the page says were read, typed on a line: they must
    give the same result line, so that the page reads bad input, its end and large numbers as the
    program does."""
    results = []
    for touch in (False, True):
        for typed, shown in TERMINAL:
            if touch and any(answer == "\x04" and before[-1:] != "\n" for before, answer in zip([""] + typed, typed)):
                continue  # Ctrl-D after text on a line: no button does that
            transcript, status = dialogue(browser, typed, touch)
            results.append(check(f"{typed!r}, {'touch' if touch else 'keys'}", [transcript, status.endswith(ANOTHER)],
                                 ["ax2 + bx + c\n" + with_texts(WASI, shown).decode(), True]))
            if not touch:
                line = read_as(browser)
                result = lambda text: re.search("x1 : .*$", text)[0]
                results.append(check(f"{typed!r}, read as {line}", result(dialogue(browser, [line + "\n"], False)[0]),
                                     result(with_texts(WASI, shown).decode())))
    return results


LAST_GRAPH = LAST + "const figure = last.querySelector('.figure'), svg = figure.querySelector('svg');"


def graph_rows(browser):
    """The graph as drawn, in the fonts of the engine: each label inside the frame, none over another,
    and the curve of a parabola with no real root above the x-axis, however near. The model's labels and
    places are tested in Node.js (graph_test.mjs)."""
    results = []
    for typed in ("1 -5 6", "-1 0 4", "1 1534028681 -455521473", "2147441941 92681 1"):
        dialogue(browser, [typed + "\n"], False)
        results.append(check(f"graph of {typed}: the labels as drawn", browser.run(LAST_GRAPH + """
            const frame = svg.querySelector('rect').getBoundingClientRect();
            const boxes = [...figure.querySelectorAll('.mark')].map(label => label.getBoundingClientRect());
            const inside = boxes.every(b => b.left >= frame.left - 1 && b.right <= frame.right + 1 && b.top >= frame.top - 1 && b.bottom <= frame.bottom + 1);
            const apart = boxes.every((b, i) => boxes.every((o, j) => j <= i || o.right <= b.left || b.right <= o.left || o.bottom <= b.top || b.bottom <= o.top));
            return [boxes.length > 0, inside, apart, svg.getAttribute('aria-labelledby').split(' ').length];"""), [True, True, True, 1]))
    results.append(check("no real root: the curve stays above the x-axis", browser.run(LAST_GRAPH + """
        const axis = svg.querySelector('.axis').y1.baseVal.value;
        return svg.querySelector('.curve').getAttribute('points').split(' ').every(p => Number(p.split(',')[1]) < axis);"""), True))
    return results


def behaviour_rows(browser, page):
    end = "x1 : 1.000000, x2 : 2.000000"
    results = [check("a link types its lines", [browser.open(page, "#1%0A-3%0A2"), browser.run("return location.hash")],
                     [["ax2 + bx + c\na...1\nb...-3\nc...2\n" + end, "Two roots: x = 1 and x = 2. " + ANOTHER], "#1%0A-3%0A2"])]
    before = browser.run("return document.querySelectorAll('#transcript .run').length")
    browser.press("#line", "1 2 1" + ENTER)
    results.append(check("a line after the result is a new run, below the last, and the address keeps both",
                         [browser.idle()[0], browser.run("return document.querySelectorAll('#transcript .run').length - arguments[0]", before),
                          browser.run("return location.hash")],
                         ["ax2 + bx + c\na...1 2 1\nb...c...x1 : -1.000000, x2 : -1.000000", 1, "#1%0A-3%0A2%0A1%202%201"]))
    browser.press("#line", ESCAPE)
    browser.run("document.getElementById('line').value = '9'.repeat(1 << 20)")  # a paste, past maxlength
    browser.press("#line", ENTER)
    browser.press("#line", ENTER)  # beyond the program's range: held, and sent as typed
    results.append(check("a pasted megabyte is one terminal line", browser.idle(),
                         ["ax2 + bx + c\na..." + "9" * 4095 + "\nb...", "Type b, the number in front of x, and send it."]))
    browser.run("""const script = document.createElement('script');  // in the page's own world
        script.textContent = `const Instance = WebAssembly.Instance;
          WebAssembly.Instance = function (...args) { const made = new Instance(...args);
            return { exports: { memory: made.exports.memory, _start() { throw new WebAssembly.RuntimeError('unreachable'); } } }; };`;
        document.body.append(script);""")
    browser.press("#line", ESCAPE)
    results.append(check("a trap ends the run and says so", [browser.idle()[1], browser.run("return document.getElementById('end').disabled")],
                         ["The program stopped on an internal error (unreachable). What it wrote is above.", True]))
    browser.open(page)
    browser.run("for (const hidden of document.querySelectorAll('[hidden]')) hidden.hidden = false")
    results.append(check("every control at least 44 px tall, to touch", browser.run(
        "return [...document.querySelectorAll('button, input, select, summary')].filter(c => c.offsetHeight < 44).map(c => c.id || c.tagName)"), []))
    results.append(check("nothing fetched", browser.run("return performance.getEntriesByType('resource').length"), 0))
    return results


def typed_into(browser, page, hash, *keys):  # the last run and what the page holds back, after the keys
    if hash is not None:
        browser.open(page, hash)
    for key in keys:
        browser.click(key) if key[0] in "#." else browser.press("#line", key)
    transcript, status = browser.idle()
    return [transcript.removeprefix("ax2 + bx + c\n"), browser.held(), browser.run("return document.getElementById('line').value")]


WHOLE = ("The program takes integers only: it would read 1.5 as 1, then stop at “.5”. To solve the equation with integers, "
         "type all three numbers on one line, such as 1.5 -5 6: the page then finds integers with the same roots.")
RANGE = ("The program takes integers from −2147483648 to 2147483647 only: it would read 2147483648 as 2147483647. "
         "Send it as typed, or press Enter again, if that is what you mean.")
MISTAKES = [  # link, keys typed or buttons pressed: the last run, what the page says of the held line, the field
    ("", ["1.5" + ENTER], ["a...", WHOLE, "1.5"]),
    ("", ["1.5" + ENTER, ENTER], ["a...1.5\nb...c...x1 : 0.000000, x2 : 0.000000", None, ""]),
    ("", ["1.5 -5 6" + ENTER, ".offer"], ["a...3 -10 12\nb...c...x1 : M-NAN, x2 : NAN", None, ""]),
    ("", ["\u22123 2 1" + ENTER], ["a...-3 2 1\nb...c...x1 : 1.000000, x2 : -0.333333", None, ""]),
    ("", ["1" + ENTER, ENTER], ["a...1\nb...", "The line is empty, and the program is waiting for b: type a number.", ""]),
    ("", ["1" + ENTER, "x^2" + ENTER], ["a...1\nb...", "The program reads numbers only, not “x^2”: type the number in front of x² for a, the number in front of x for b, and the number on its own for c.", "x^2"]),
    ("", ["1", ESCAPE, "2" + ENTER], ["a...2\nb...", None, ""]),
    ("", ["1 2 1" + ENTER, CONTROL + "d"], ["a...1 2 1\nb...c...x1 : -1.000000, x2 : -1.000000", None, ""]),
    ("#1%04%04", [], ["a...1b...c...x1 : 0.000000, x2 : 0.000000", None, ""]),
    ("#1+-5+6", [], ["a...1 -5 6\nb...c...x1 : 2.000000, x2 : 3.000000", None, ""]),
    ("#1,-5,6", [], ["a...1 -5 6\nb...c...x1 : 2.000000, x2 : 3.000000", None, ""]),
    ("#1.5%0A-5%0A6", [], ["a...", WHOLE, "1.5"]),
    # What a student's own keyboard types: Arabic-Indic digits, a Chinese input method's full-width forms.
    ("", ["١ -٥ ٦" + ENTER], ["a...1 -5 6\nb...c...x1 : 2.000000, x2 : 3.000000", None, ""]),
    ("", ["１　－５　６" + ENTER], ["a...1 -5 6\nb...c...x1 : 2.000000, x2 : 3.000000", None, ""]),
    ("", ["1 -5 6" + ENTER, ".offer"], ["a...1 -5 6\nb...c...x1 : 2.000000, x2 : 3.000000", None, ""]),
    ("", ["2147483648" + ENTER], ["a...", RANGE, "2147483648"]),
    ("", ["2147483648" + ENTER, ENTER], ["a...2147483648\nb...", None, ""]),
    ("#1/00", [], ["a...", "1/00 has no value: in mathematics, division by 0 is undefined.", "1/00"]),
    ("#x^2+5x+6=0", [".offer"], ["a...1 5 6\nb...c...x1 : -3.000000, x2 : -2.000000", None, ""]),
    ("#2x%5E2%2B3x-2%3D0", [".offer"], ["a...2 3 -2\nb...c...x1 : -2.000000, x2 : 0.500000", None, ""]),
    ("#1%202%201%0A%04", [], ["a...1 2 1\nb...c...x1 : -1.000000, x2 : -1.000000", None, ""]),
]


def mistake_rows(browser, page):
    results = [check(f"{hash} {keys!r}", typed_into(browser, page, hash, *keys),
                     [with_texts(WASI, want[0]).decode(), *want[1:]]) for hash, keys, want in MISTAKES]
    browser.open(page)
    browser.click("#end")
    browser.idle()
    results.append(check("No more input is in the address", browser.run("return location.hash"), "#%04"))
    browser.open(page, "#1%20-3%202%0A1%202%201")
    results.append(check("each equation of a link keeps its reading", [plain(heading) for heading in browser.run(
        "return [...document.querySelectorAll('.reading h2')].map(h => h.textContent)")],
        ["What x² − 3x + 2 = 0 means", "What x² + 2x + 1 = 0 means"]))
    browser.open(page, "#1.5")
    browser.run("location.hash = '#1%20-5%206'")  # changed by hand, while 1.5 is held
    results.append(check("an address changed by hand starts afresh, whatever is held", typed_into(browser, page, None),
                         ["a...1 -5 6\nb...c...x1 : 2.000000, x2 : 3.000000", None, ""]))
    browser.open(page)
    browser.press("#line", "1.5" + ENTER)
    browser.press("#line", "\ue003\ue003\ue003")  # Backspace: the field is 1.5 no longer
    results.append(check("the field's description says nothing of a line no longer held", browser.run(
        "return document.getElementById('line').getAttribute('aria-describedby').split(' ')"
        ".map(id => document.getElementById(id).textContent).join('|')"), "|Type a, the number in front of x², and send it.|With a keyboard: Enter sends the line. "
        "Ctrl+D sends it without a line end, or on an empty line says there is no more input. Esc starts over."))
    return results


def practice_rows(browser, page):
    """Practice: the roots out of sight until the answer is right, or asked for; the likely mistake
    named; hints one step at a time, in the method asked for; the reading's methods in that order."""
    program = "return [!document.getElementById('program').hidden, document.getElementById('feedback').textContent]"
    browser.open(page, "#1%20-5%206", "?practice")
    hidden = browser.run(program)
    browser.press("#answer", "-2 and -3" + ENTER)
    wrong = browser.run(program)
    for _ in range(2):
        browser.click("#hint")
    hints = browser.run("return document.querySelectorAll('#hints li').length")
    browser.run("document.getElementById('answer').value = ''")
    browser.press("#answer", "x = 2 or x = 3" + ENTER)
    until(lambda: browser.run("return document.querySelector('.reading') !== null"))
    transcript, _ = browser.idle()
    right = browser.run(program)
    results = [check("practice: nothing shown until the answer is right", [hidden, [wrong[0], plain(wrong[1])[:20]], hints,
                     right[0], transcript.endswith("x1 : 2.000000, x2 : 3.000000")],
                     [[False, ""], [False, "Look at the signs: t"], 2, True, True])]
    browser.open(page, "#2%204%205", "?practice&method=square")
    browser.click("#hint")
    first = plain(browser.run("return document.querySelector('#hints li p').textContent"))
    browser.click("#reveal")
    until(lambda: browser.run("return document.querySelector('.reading dt') !== null"))
    results.append(check("practice: hints and working in the method asked for, and the answer on request",
                         [first, plain(browser.run("return document.querySelector('.reading dt').textContent")),
                          "nan" in browser.idle()[0]],
                         ["Divide both sides by a = 2, so that the coefficient of x² is 1:", "Completing the square", True]))
    browser.open(page, "#1.5", "?practice")
    results.append(check("practice: a link with no equation of the second degree opens the plain page",
                         browser.run(program)[0], True))
    browser.open(page, "#1%20-5%206")
    another = browser.run("return document.querySelector('.reading a').getAttribute('href')")
    numbers = re.fullmatch(r"\?practice#(-?\d+)%20(-?\d+)%20(-?\d+)", another)
    results.append(check("the plain page offers another like it", bool(numbers) and numbers.groups() != ("1", "-5", "6"), True))
    return results


def worksheet_rows(browser, page):
    """The form writes the sheet's address; the sheet, the same for the same seed in every engine,
    with its key, which starts a page of its own when printed."""
    browser.open(page, "", "?worksheet")
    browser.run("const form = document.getElementById('sheet-form'); form.count.value = 10; form.seed.value = 7;"
                "form.querySelector('[value=complex]').checked = false; form.requestSubmit()")
    until(lambda: browser.run("return location.search.includes('count')"))
    until(lambda: browser.run("return document.querySelectorAll('.sheet > li').length === 10"))
    sheet = browser.run("return [location.search, [...document.querySelectorAll('.sheet > li .formula')].map(f => f.textContent),"
                        "document.querySelectorAll('#sheet-key li').length, document.querySelector('.sheet a').getAttribute('href')]")
    results = [check("the worksheet's form writes the sheet's address", sheet[0], "?worksheet&count=10&seed=7&kinds=integer,rational,irrational,double")]
    browser.open(page, "", "?worksheet&count=10&seed=7")
    again = browser.run("return [...document.querySelectorAll('.sheet > li .formula')].map(f => f.textContent)")
    results.append(check("the same seed, the same sheet, and a key for each equation",
                         [len(sheet[1]), sheet[2], sheet[3].startswith("?practice#"), [plain(f) for f in again][:2]],
                         [10, 10, True, ["9x² + 49x + 20 = 0", "x² + 5x − 13 = 0"]]))
    return results


def phone_rows(browser, page):
    """On a phone's screen, after a result: its summary by the field and the reading in view."""
    browser.command("SetWindowRect", width=390, height=844)
    browser.open(page)
    browser.press("#line", "1 -5 6" + ENTER)
    browser.idle()
    seen = browser.run(LAST + """const inView = element => { const box = element.getBoundingClientRect();
        return box.top >= 0 && box.top < innerHeight && box.bottom <= innerHeight; };
      return [inView(document.getElementById('status')), inView(document.getElementById('line')),
              inView(last.querySelector('.reading h2')), document.documentElement.scrollWidth <= innerWidth];""")
    browser.command("SetWindowRect", width=800, height=2400)
    return [check("on a phone: the summary, the field and the reading's heading in view, nothing wider", seen, [True] * 4)]


def language_rows(browser, page):
    """The menu changes the language, and the address keeps it; the reading follows, decimal comma and all."""
    browser.open(page, "#1%200%20-2")
    browser.run("const menu = document.getElementById('language'); menu.value = 'fr';"
                "menu.dispatchEvent(new Event('change'))")
    search, hash, lang, heading, decimals = browser.run(
        "return [location.search, location.hash, document.documentElement.lang, document.querySelector('.reading h2').textContent,"
        "document.querySelector('.reading').textContent.includes('≈ 1,414214')]")
    results = [check("the menu changes the language", [search, hash, lang, plain(heading), decimals],
                     ["?lang=fr", "#1%200%20-2", "fr", "Étude de x² − 2 = 0", True])]
    browser.open(page, "#1,5%20-5%206", "?lang=fr")
    field, offer = browser.run("return [document.getElementById('line').value, document.querySelector('.offer').textContent]")
    results.append(check("a link's decimal comma, in the language of the link", [browser.held().startswith(
        "Le programme ne lit que des nombres entiers : il lirait 1,5 comme 1"), field, plain(offer)],
        [True, "1,5 -5 6", "Résoudre 3x² − 10x + 12 = 0"]))
    return results


# Readings of every kind, the longest numbers there are, and a line held at the end.
SET = "#" + "%0A".join(["1%20-5%206", "2%204%205", "-1107730878%20-2147340163%201153622184", "0%203%20-1",
                        "-826639427%20-448450516%20-60820915", "1.5%20-5%206"])
BREAKS = """const OPERATOR = /[=≈+−±·×<>≤≥]/, faults = [];
  for (const block of document.querySelectorAll('h1, .reading h2, .reading p, .formula, #status, #check-text')) {
    const chars = [], walker = document.createTreeWalker(block, NodeFilter.SHOW_TEXT);
    let depth = 0, isolates = 0;  // an inline formula right to left: the outermost isolate each character is in
    for (let node; (node = walker.nextNode()); ) for (let i = 0; i < node.data.length; i++) {
      const ch = node.data[i], range = document.createRange();
      if (ch === '\u2066' && depth++ === 0) isolates++;
      if (ch === '\u2069') depth--;
      range.setStart(node, i);
      range.setEnd(node, i + 1);
      const box = range.getClientRects()[0];
      chars.push({ ch, isolate: depth > 0 ? isolates : 0, top: box && box.width > 0 && !/\s/.test(ch) ? box.top : null });
    }
    const text = chars.map(c => c.ch).join(''), half = parseFloat(getComputedStyle(block).lineHeight) / 2 || 10;
    let before = -1;
    chars.forEach((c, i) => {
      if (c.top === null) return;
      if (before >= 0 && c.top > chars[before].top + half) {
        const last = chars[before].ch, said = `${text.slice(Math.max(0, before - 12), before + 1)} / ${text.slice(i, i + 12)}`;
        const open = text.slice(0, i).lastIndexOf('('), pair = open > text.slice(0, i).lastIndexOf(')') && /\d\s*[,;|]\s/.test(text.slice(open, i));
        // An operator, not a sign: a space after it.
        if (OPERATOR.test(c.ch) && /\s/.test(text[i + 1] ?? '')) faults.push('before an operator: ' + said);
        if (i === before + 1 && /[\d.,]/.test(last) && /[\d.,]/.test(c.ch)) faults.push('inside a number: ' + said);
        if (pair) faults.push('inside a pair: ' + said);
        if (document.dir === 'rtl' && c.isolate && c.isolate === chars[before].isolate && !/[=≈]/.test(last))
          faults.push('inside an inline formula: ' + said);
      }
      before = i;
    });
  }
  return faults;"""


def line_rows(browser, page, languages):
    """At 320 and 390 px, in each language: a formula breaks only after a relation or an operator, never
    before one, never inside a number or a pair, and in Arabic an inline formula only after = or ≈."""
    results = []
    for language in languages:
        for width in (320, 390):
            browser.command("ExecuteCdpCommand", cmd="Emulation.setDeviceMetricsOverride",
                            params={"width": width, "height": 800, "deviceScaleFactor": 1, "mobile": False})
            browser.open(page, SET, f"?lang={language}")
            results.append(check(f"lines at {width} px, {language}", browser.run(BREAKS), []))
    browser.command("ExecuteCdpCommand", cmd="Emulation.clearDeviceMetricsOverride", params={})
    return results


def axe_findings(browser):
    return browser.command("ExecuteAsyncScript", args=[], script="""const done = arguments[arguments.length - 1];
        axe.run(document, { resultTypes: ['violations', 'incomplete'] }).then(r => done(
          [...r.violations, ...r.incomplete].map(rule => `${rule.id}: ${rule.nodes.map(n =>
            `${n.target} (${[...n.any, ...n.all, ...n.none].map(c => c.message).join('; ')})`).join(', ')}`)));""")


def english(text):  # the English catalogue's phrases of three words or more found in a page's visible text
    catalogue = json.loads(pathlib.Path(__file__).parent.parent.joinpath("web/texts/en.json").read_text())
    phrases = {part.strip(" .,:;“”") for value in catalogue.values() for part in re.split(r"\{\w+\}", value)}
    return sorted(phrase for phrase in phrases if len(phrase.split()) >= 3 and phrase in text)


DIALOGUE = ["1 -5 6" + ENTER, "2 4 5" + ENTER, "0 2 4" + ENTER, "1.5" + ENTER]  # real, complex, linear, a mistake


SHOWN = ("const style = document.createElement('style');"
         "style.textContent = 'pre, details, select { display: none }'; document.head.append(style);"
         "const text = document.body.innerText; style.remove(); return text")
# Practice after a wrong answer and a hint, the worksheet's form, a sheet with its key.
LESSONS = [("practice", "#1%20-5%206", "?practice&lang={}", [("#answer", "-2 and -3" + ENTER), ("#hint", None)]),
           ("the worksheet's form", "", "?worksheet&lang={}", []), ("a worksheet", "", "?worksheet&count=6&seed=7&lang={}", [])]


def accessibility(browser, page, axe, scheme, languages):
    """In each language, axe-core's findings on the page freshly loaded, mid-dialogue and after the
    dialogue above, in practice and on the worksheet: none may be a violation, nor left incomplete;
    and no English phrase shows but in English."""
    results = []
    for language in languages:
        for state, keys in (("fresh", []), ("mid-dialogue", ["1" + ENTER]), ("after a dialogue", [ESCAPE] + DIALOGUE)):
            if not keys:
                browser.open(page, query=f"?lang={language}")
                browser.run(axe)
            for key in keys:
                browser.press("#line", key)
                browser.idle()
            results.append(check(f"axe, {language}, {state}, {scheme}", axe_findings(browser), []))
        shown = [browser.run(SHOWN)]
        for state, hash, query, steps in LESSONS:
            browser.open(page, hash, query.format(language))
            for css, keys in steps:  # keys typed, or a click
                browser.press(css, keys) if keys else browser.click(css)
            browser.run(axe)
            results.append(check(f"axe, {language}, {state}, {scheme}", axe_findings(browser), []))
            shown.append(browser.run(SHOWN))
        if language != "en":
            results.append(check(f"no English in {language}", english("\n".join(shown)), []))
    return results


def right_to_left(browser, page):
    """Arabic at 390 px: the page right to left; the transcript, the typed line and the working left to
    right; nothing beyond the screen's edges."""
    browser.command("SetWindowRect", width=390, height=844)
    browser.open(page, "#1%20-5%206", "?lang=ar")
    browser.press("#line", "1.5" + ENTER)
    laid = browser.run("""const direction = element => getComputedStyle(element).direction;
        const outside = [...document.querySelectorAll('body *')].filter(e => { const box = e.getBoundingClientRect();
          return box.width > 0 && (box.left < -0.5 || box.right > innerWidth + 0.5); }).map(e => e.tagName + '.' + e.className);
        return [document.documentElement.dir, direction(document.body), direction(document.querySelector('#transcript pre')),
                direction(document.getElementById('line')), direction(document.querySelector('.formula')),
                direction(document.querySelector('.figure')), outside];""")
    browser.command("SetWindowRect", width=800, height=2400)
    return [check("Arabic, right to left at 390 px", laid, ["rtl", "rtl", "ltr", "ltr", "ltr", "ltr", []])]


def main(page, axe_js):
    axe = pathlib.Path(axe_js).read_text()
    languages = sorted(path.stem for path in pathlib.Path(__file__).parent.parent.glob("web/texts/*.json"))
    results = []
    for engine in ("chromium", "firefox", "webkit"):
        for dark in (False, True):
            with tempfile.TemporaryDirectory() as profile:
                started = time.monotonic()
                browser = Browser(engine, dark, profile)
                try:
                    print(f"{engine}, {'dark' if dark else 'light'}: started in {time.monotonic() - started:.1f} s")
                    if not dark:
                        browser.open(page)
                        results += terminal_rows(browser) + graph_rows(browser) + behaviour_rows(browser, page)
                        results += mistake_rows(browser, page) + phone_rows(browser, page) + right_to_left(browser, page)
                        results += language_rows(browser, page) + practice_rows(browser, page) + worksheet_rows(browser, page)
                    results += accessibility(browser, page, axe, "dark" if dark else "light",
                                             languages if engine == "chromium" else ["en"])
                    if engine == "chromium" and not dark:
                        results += line_rows(browser, page, languages)
                finally:
                    browser.close()
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
