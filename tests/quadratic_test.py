# SPDX-License-Identifier: MIT
"""Golden tests: standard input in, the exact bytes of standard output and the exit status out.

usage: python3 quadratic_test.py solver|input|sweep|io|terminal|setup|all [EMULATOR...] PROGRAM
"""
import contextlib, fcntl, math, os, pty, random, re, select, subprocess, sys, tempfile, termios, time
from fractions import Fraction

SOLVER = [  # coefficients, result line, with the platform's not-a-number texts for NAN and M-NAN
    ("1 -3 2", "x1 : 1.000000, x2 : 2.000000"),  # two distinct real roots
    ("-1 0 4", "x1 : 2.000000, x2 : -2.000000"),  # not sorted: x1 is the larger root when a < 0
    ("1 2 1", "x1 : -1.000000, x2 : -1.000000"),  # double root
    ("1 1 -1", "x1 : -1.618034, x2 : 0.618034"),  # rounded to six decimals
    ("1 0 0", "x1 : 0.000000, x2 : 0.000000"),  # -b of b = 0 is +0
    ("-1 0 0", "x1 : -0.000000, x2 : -0.000000"),  # +0 over a negative 2a
    ("1 0 1", "x1 : M-NAN, x2 : NAN"),  # negative discriminant
    ("0 1 5", "x1 : -inf, x2 : NAN"),  # zero a, b > 0
    ("0 -1 5", "x1 : NAN, x2 : inf"),  # zero a, b < 0
    ("0 0 7", "x1 : NAN, x2 : NAN"),  # zero a and b
    ("0 -2147483648 5", "x1 : NAN, x2 : inf"),  # zero a, Δ = 2⁶² past the discriminant's exact path
    ("1 50000 1", "x1 : -49999.999980, x2 : -0.000020"),  # b² past 32 bits
    ("1073741823 2147483646 1073741823", "x1 : -1.000000, x2 : -1.000000"),  # b² = 4ac exactly, past 53 bits
    ("-2147483648 -2147483648 2147483647", "x1 : 0.618034, x2 : -1.618034"),  # -b, 2a and b² - 4ac past 64 bits
    ("1 1534028681 -455521473", "x1 : -1534028681.296945, x2 : 0.296945"),  # -b + √Δ cancels: 0.2969445…
    ("1 1218289948 755", "x1 : -1218289947.999999, x2 : -0.000001"),  # doubles near 10⁹ are 1.2e-7 apart
    ("1 2147483647 1", "x1 : -2147483647.000000, x2 : -0.000000"),  # a negative root that rounds to zero
    ("2000000 -2000005 5", "x1 : 0.000002, x2 : 1.000000"),  # x1 is 0.0000025: a tie goes to even, down
    ("2000000 -2000007 7", "x1 : 0.000004, x2 : 1.000000"),  # 0.0000035: up
    ("410240 -3283201 6568965", "x1 : 4.001560, x2 : 4.001562"),  # nearly double (Δ = 1), x2 a tie
    ("-1 1023127632 -1776108167", "x1 : 1023127630.264040, x2 : 1.735960"),  # √(Δ·10¹²) in doubles: 1 over
    ("48 -1655704570 165415", "x1 : 0.000100, x2 : 34493845.208233"),  # and 1 under
    ("256000000 -32000 1", "x1 : 0.000062, x2 : 0.000062"),  # double root 0.0000625, a tie that doubles round up
    ("-2147483648 1518469120 2147395600", "x1 : 1.414185, x2 : -0.707092"),  # Δ a square past 2⁶⁴: 4555407360²
    ("-2147483648 0 -2147483648", "x1 : M-NAN, x2 : NAN"),  # Δ = -2⁶⁴, which is 0 modulo 2⁶⁴
]

INPUT = [  # standard input, result line
    (b"1\n-3\n2\n", "x1 : 1.000000, x2 : 2.000000"),  # one per line
    (b"\t1\r\n -3\r\n\v+2\f", "x1 : 1.000000, x2 : 2.000000"),  # tabs, CRLF, plus sign
    (b"\b1 -3 2", "x1 : NAN, x2 : NAN"),  # backspace, just below tab, is no white space
    (b"\x0e1 -3 2", "x1 : NAN, x2 : NAN"),  # shift out, just above carriage return, is none either
    (b"1 /", "x1 : 0.000000, x2 : 0.000000"),  # '/', just below '0', is no digit
    (b"1 :", "x1 : 0.000000, x2 : 0.000000"),  # ':', just above '9', is none either
    (b"1 -3 2 9 junk", "x1 : 1.000000, x2 : 2.000000"),  # text after c is never read
    (b"1 -0000000000000000003 2", "x1 : 1.000000, x2 : 2.000000"),  # leading zeros don't saturate
    (b"", "x1 : NAN, x2 : NAN"),  # empty input: a = b = c = 0
    (b"1.5\n-3\n2\n", "x1 : 0.000000, x2 : 0.000000"),  # the point stops a, and b and c fail on it
    (b"1 x 2", "x1 : 0.000000, x2 : 0.000000"),  # a failed read stores nothing and consumes nothing
    (b"- 1 2", "x1 : -inf, x2 : NAN"),  # a sign alone fails and is consumed
    (b"1 -3 -", "x1 : 0.000000, x2 : 3.000000"),  # a sign at the end of the input
    (b"1 2147483648 0", "x1 : -2147483647.000000, x2 : 0.000000"),  # one past the top saturates
    (b"1 -2147483649 0", "x1 : 0.000000, x2 : 2147483648.000000"),  # one past the bottom too
    (b"1 99999999999 0", "x1 : -2147483647.000000, x2 : 0.000000"),  # saturates; all digits consumed
    (b"1 -99999999999 0", "x1 : 0.000000, x2 : 2147483648.000000"),  # saturates low
]

TERMINAL = [  # what is typed at each prompt (\x04: Ctrl-D), what a terminal shows after the banner
    (["1\n", "-3\n", "2\n"], "a...1\nb...-3\nc...2\nx1 : 1.000000, x2 : 2.000000"),  # one per line
    (["1 -3 2\n"], "a...1 -3 2\nb...c...x1 : 1.000000, x2 : 2.000000"),  # all on one line
    (["x\n"], "a...x\nb...c...x1 : NAN, x2 : NAN"),  # bad input
    (["1\n", "\x04"], "a...1\nb...c...x1 : 0.000000, x2 : 0.000000"),  # end of input at a prompt
    (["1", "\x04", " -3 2\n"], "a...1 -3 2\nb...c...x1 : 1.000000, x2 : 2.000000"),  # Ctrl-D after text sends it
    (["1\n", "99999999999\n", "0\n"], "a...1\nb...99999999999\nc...0\nx1 : -2147483647.000000, x2 : 0.000000"),
    (["1 1534028681\n", "-455521473\n"], "a...1 1534028681\nb...c...-455521473\nx1 : -1534028681.296945, x2 : 0.296945"),
]

# What each platform writes its own way: the line end of text mode; not-a-number, from 0/0 or the
# root of a negative (NAN) and after m - s has passed one on (M-NAN), since x86's default one has its
# sign bit set, ARM's hasn't, soft-float ARM's subtraction flips it, and mingw-w64's printf writes
# none; the error of a read from a directory; the end of a write to a pipe nobody reads, SIGPIPE's or,
# under Node.js, which ignores it, a write error; and whether the checks that lean on Linux run.
# WebAssembly leaves a NaN's sign to the engine, which takes its host's: x86's under Node on x86.
LINUX = {"line end": b"\n", "nan": "nan", "m-nan": "nan", "directory": b"Is a directory", "linux": True,
         "closed pipe": (-13, b"")}
LINUX_X86 = dict(LINUX, nan="-nan", **{"m-nan": "-nan"})
LINUX_SOFT_FLOAT_ARM = dict(LINUX, **{"m-nan": "-nan"})
WINDOWS = {"line end": b"\r\n", "nan": "nan", "m-nan": "nan", "directory": b"Invalid argument", "linux": False}
WASI = dict(LINUX_X86 if re.fullmatch("x86_64|i[3-6]86", os.uname().machine) else LINUX,
            directory=b"Bad file descriptor", **{"closed pipe": (1, b"quadratic: write error: Broken pipe\n")})


def platform(command):
    with open(command[-1], "rb") as program:
        header = program.read(52)
    if header.startswith(b"MZ"):
        return WINDOWS
    if header.startswith(b"\0asm"):
        return WASI
    field = lambda start, size: int.from_bytes(header[start:start + size], "little" if header[5] == 1 else "big")
    machine, flags = field(18, 2), field(36, 4)  # e_flags is where a 32-bit header keeps it
    if machine in (3, 62):  # EM_386, EM_X86_64
        return LINUX_X86
    if machine == 40 and not flags & 0x400:  # EM_ARM without EF_ARM_ABI_FLOAT_HARD
        return LINUX_SOFT_FLOAT_ARM
    return LINUX


def run(command, stdin, stdout=None):
    """Standard output and error go to files: a pipe would stay open as long as a process that the
    program leaves behind (Wine's server) holds it. Returns them with the exit status."""
    feed = {"input": stdin} if isinstance(stdin, bytes) else {"stdin": stdin}
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(command, stdout=stdout or out, stderr=err, timeout=60, **feed).returncode
        out.seek(0), err.seek(0)
        return out.read(), err.read(), status


def check(name, got, want):
    if got != want:
        print(f"FAIL {name}\n  want {want!r}\n  got  {got!r}")
    return got == want


def with_texts(host, text):  # the platform's not-a-number texts in place of NAN and M-NAN
    return text.replace("M-NAN", host["m-nan"]).replace("NAN", host["nan"]).encode()


def dialogue(command, line):  # the whole standard output of a run that ends with this result line
    host = platform(command)
    return b"ax2 + bx + c" + host["line end"] + b"a...b...c..." + with_texts(host, line)


def error(command, text):
    return b"quadratic: " + text + platform(command)["line end"]


def skip(reason):
    print("SKIP " + reason)
    return None


def table(command, rows):
    results = []
    for stdin, line in rows:
        results.append(check(repr(stdin), run(command, stdin), (dialogue(command, line), b"", 0)))
    return results


def exact_root(a, b, delta, sign):
    """(-b + sign·√Δ) / 2a to the nearest millionth, ties to even (Fraction's round), written as %f writes
    it. √Δ is exact, or within 10⁻³⁰: for irrational roots, a tie t makes 4·10¹²·(at² + bt + c) a
    non-zero integer, which keeps them 10⁻²³ away from it, so the bracket can't change a digit."""
    scale = 10 ** 30
    x = Fraction(-b * scale + sign * math.isqrt(delta * scale * scale), 2 * a * scale)
    whole, millionths = divmod(abs(round(x * 10 ** 6)), 10 ** 6)
    return f"{'-' if x < 0 or x == 0 and a < 0 else ''}{whole}.{millionths:06}"


def exact_line(a, b, c):
    return "x1 : %s, x2 : %s" % tuple(exact_root(a, b, b * b - 4 * a * c, sign) for sign in (-1, 1))


def coefficient_sets(count, rng):  # real roots, weighted to where doubles lose digits
    full, sign = lambda: rng.randrange(-2 ** 31, 2 ** 31), lambda: rng.choice((-1, 1))

    def tie():  # (2·10⁶x - u)(wx - z), u odd: the root u / 2·10⁶ is half a millionth past a whole one
        u, w, z = rng.randrange(-9999, 10000, 2), sign() * rng.randrange(1, 1000), rng.randrange(-999, 1000)
        return 2000000 * w, -(2000000 * z + w * u), u * z

    def nearly_double():  # c = ⌊b² / 4a⌋, so that 0 ≤ Δ < 4a
        a, b, s = rng.randrange(2 ** 30, 2 ** 31), full(), sign()
        return s * a, b, s * (b * b // (4 * a))

    def large_b():  # where -b ± √Δ cancels, and roots reach 10⁹
        return rng.randrange(-100, 101) or 1, sign() * rng.randrange(10 ** 6, 2 ** 31), rng.randrange(-999999, 10 ** 6)

    small = lambda: rng.randrange(-9, 10)
    kinds = (tie, nearly_double, large_b, lambda: (full() or 1, full(), full()),
             lambda: (small() or 1, small(), small()))
    while count > 0:
        a, b, c = rng.choice(kinds)()
        if b * b >= 4 * a * c:
            count -= 1
            yield a, b, c


def sweep(command):  # seeded, sized for Wine's 0.15 s a run
    sets = coefficient_sets(200, random.Random(14))
    return table(command, [(f"{a} {b} {c}".encode(), exact_line(a, b, c)) for a, b, c in sets])


def read_until(fd, end=None):  # or to the end of the output, which at a terminal is EIO
    seen = b""
    while end is None or not seen.endswith(end):
        if not select.select([fd], [], [], 10)[0]:
            break
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            chunk = b""
        if not chunk:
            break
        seen += chunk
    return seen


def prompts_before_reads(command):
    child = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    seen = []
    for prompt, answer in ((b"a...", b"1\n"), (b"b...", b"-3\n"), (b"c...", b"2\n")):
        seen.append(read_until(child.stdout.fileno(), prompt))
        if child.poll() is None:
            child.stdin.write(answer)
            child.stdin.flush()
    seen.append(child.stdout.read())
    child.wait(10)
    return check("prompt shown before each read, through a pipe", b"|".join(seen),
                 dialogue(command, "x1 : 1.000000, x2 : 2.000000").replace(b"...", b"...|"))


def asleep(pid):  # as the program is only when it waits for input; "Z" once it has ended
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        with open(f"/proc/{pid}/stat") as stat:
            if stat.read().rsplit(")", 1)[1].split()[0] in "SZ":
                return
        time.sleep(0.005)


def terminal(command, typed):
    """What a terminal shows, each answer typed once the program waits for it: a prompt is out and
    the program sleeps, after writing whatever more it had to, such as the next prompt."""
    pid, tty = pty.fork()
    if pid == 0:
        os.execvp(command[0], command)
    seen, before = b"", "\n"
    for answer in typed:
        if before.endswith("\n"):  # else no line has reached the program, and no prompt can follow
            seen += read_until(tty, b"...")
        before = answer
        asleep(pid)
        while select.select([tty], [], [], 0)[0]:
            seen += os.read(tty, 4096)
        os.write(tty, answer.encode())
    seen += read_until(tty)
    os.close(tty)
    return seen.replace(b"\r\n", b"\n"), os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1])


def terminal_table(command):
    host = platform(command)
    if not host["linux"]:
        return [skip("the dialogue at a terminal: it needs a Linux terminal")]
    return [check(repr(typed), terminal(command, typed), (b"ax2 + bx + c\n" + with_texts(host, shown), 0))
            for typed, shown in TERMINAL]


def fill(pipe_end):  # page-sized writes, until no page is free: a write of any size then fails
    os.set_blocking(pipe_end, False)
    written = 0
    with contextlib.suppress(BlockingIOError):
        while True:
            written += os.write(pipe_end, b"x" * 4096)
    return written


def unread(pipe):
    return int.from_bytes(fcntl.ioctl(pipe, termios.FIONREAD, bytes(4)), sys.byteorder)


def early_write_error(command):
    """The first flush meets a full non-blocking pipe and fails; the pipe is then
    drained, so every later write and the final close succeed. The program reads
    its input only after that first flush, so once the input is gone the pipe may
    be drained without a race."""
    drain, output = os.pipe()
    filler = fill(output)
    child = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=output, stderr=subprocess.PIPE)
    os.close(output)
    child.stdin.write(b"1 -3 2")
    child.stdin.flush()
    deadline = time.monotonic() + 30
    while unread(child.stdin) and time.monotonic() < deadline:
        time.sleep(0.01)
    while filler > 0:
        filler -= len(os.read(drain, filler))
    child.stdin.close()
    status = child.wait(30)
    os.close(drain)
    return check("a write error that the final close doesn't repeat",
                 (child.stderr.read(), status), (error(command, b"write error"), 1))


def waiting_peak_kib(child):
    """The program's own peak resident size, read from /proc once it sleeps on an empty pipe, or None
    if it has ended: its ru_maxrss would also count the Python process it was forked from."""
    while unread(child.stdin) and child.poll() is None:
        time.sleep(0.01)
    asleep(child.pid)
    if child.poll() is not None:
        return None
    with open(f"/proc/{child.pid}/status") as status:
        return int(re.search(r"VmHWM:\s*(\d+) kB", status.read())[1])


def constant_memory(command):
    if len(command) > 1:
        return [skip("64 MiB of digits in constant memory: under an emulator, peak memory is the emulator's")]
    child = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
    before = waiting_peak_kib(child)
    child.stdin.write(b"9" * (64 << 20))  # returns once the program has read all but a pipe's worth
    child.stdin.flush()
    after = waiting_peak_kib(child)
    child.stdin.close()
    child.wait(30)
    return [check("64 MiB of digits in constant memory", None not in (before, after) and after - before < 1024, True)]


def closed_pipe(command):
    reader, writer = os.pipe()
    os.close(reader)
    ended = subprocess.run(command, input=b"1 -3 2", stdout=writer, stderr=subprocess.PIPE, timeout=60)
    os.close(writer)
    return check("a pipe nobody reads", (ended.returncode, ended.stderr), platform(command)["closed pipe"])


def rest_of_input(command):
    """What follows the third number: a file's offset is put back to just after it, for the next
    reader; a pipe's block is read whole, and what it held goes with the program."""
    results = []
    with tempfile.TemporaryFile() as file:
        file.write(b"1 -3 2 rest\n")
        file.seek(0)
        for stdin, rest in ((file, b" rest\n"), (b"1 -3 2 rest\n", b"")):
            got = run(["sh", "-c", '"$@"; cat', "sh"] + command, stdin)
            results.append(check(f"what follows, from a {'pipe' if rest == b'' else 'file'}", got,
                                 (dialogue(command, "x1 : 1.000000, x2 : 2.000000") + rest, b"", 0)))
    return results


def io(command):
    with open("/dev/full", "wb") as full:
        _, no_space, status = run(command, b"1 -3 2", full)
    root = os.open("/", os.O_RDONLY)
    directory = run(command, root)
    os.close(root)
    host = platform(command)
    return [
        check("standard output full", (no_space, status),
              (error(command, b"write error: No space left on device"), 1)),
        check("standard input a directory", directory, (dialogue(command, "x1 : NAN, x2 : NAN"),
              error(command, b"read error: " + host["directory"]), 1)),
        early_write_error(command) if host["linux"] else skip("early write error: it needs a Linux pipe"),
        closed_pipe(command) if host["linux"] else skip("a pipe nobody reads: Windows has no SIGPIPE"),
        prompts_before_reads(command),
        check("arguments ignored", run(command + ["-h", "1"], b"1 -3 2"), (dialogue(command, "x1 : 1.000000, x2 : 2.000000"), b"", 0))
        if platform(command) is not WASI else skip("arguments ignored: the WASI runner takes the module last"),
    ] + (rest_of_input(command) if host["linux"] else [skip("what follows the input: promised for Linux and WASI")]) \
        + constant_memory(command)


TESTS = {
    "solver": lambda command: table(command, [(abc.encode() + b"\n", line) for abc, line in SOLVER]),
    "input": lambda command: table(command, INPUT),
    "sweep": sweep,
    "io": io,
    "terminal": terminal_table,
    "setup": lambda command: [check("a first run, which may set the emulator up", run(command, b"")[2], 0)],
}

if __name__ == "__main__":
    name, command = sys.argv[1], sys.argv[2:]
    results = [ok for test in (TESTS.values() if name == "all" else [TESTS[name]]) for ok in test(command)]
    print(f"{results.count(True)} passed, {results.count(False)} failed, {results.count(None)} skipped")
    # 77 tells CTest that nothing here could run on this platform.
    sys.exit(1 if False in results else 0 if True in results else 77)
