# SPDX-License-Identifier: MIT
"""Makes the page from its template: the script that esbuild bundled, and
its lessons, which the script evaluates where they are wanted, the
module inlined in base64 without its custom sections (names and tools, for
debuggers), the licences as text, and the texts of every language
(web/texts/*.json), compressed, with English's also written into the page
itself, and the menu of languages.

usage: python3 make-page.py TEMPLATE SCRIPT LESSONS MODULE VERSION PAGE LICENCE...
"""
import base64, gzip, html, json, pathlib, re, sys


def without_custom_sections(wasm):
    """The module less its sections of id 0, which no engine runs."""
    kept, at = [wasm[:8]], 8
    while at < len(wasm):
        size, shift, start = 0, 0, at + 1
        while True:  # the section's size, in unsigned LEB128
            size |= (wasm[start] & 0x7F) << shift
            shift += 7
            start += 1
            if wasm[start - 1] < 0x80:
                break
        if wasm[at] != 0:
            kept.append(wasm[at:start + size])
        at = start + size
    return b"".join(kept)


def texts(catalogues):
    """The texts of every language: the keys once, then each language's texts
    in their order, as JSON compressed with gzip, to a third; and the menu of
    languages, each by its own name."""
    keys = list(catalogues["en"])
    for language, catalogue in catalogues.items():
        if list(catalogue) != keys:
            sys.exit(f"make-page.py: texts/{language}.json has not English's keys, in English's order")
    made = {"keys": keys, "texts": {language: list(catalogue.values()) for language, catalogue in catalogues.items()}}
    # mtime 0: the same bytes from every build.
    packed = gzip.compress(json.dumps(made, ensure_ascii=False, separators=(",", ":")).encode(), 9, mtime=0)
    menu = "".join(f'<option value="{language}">{html.escape(catalogue["languageName"])}</option>'
                   for language, catalogue in catalogues.items())
    return base64.b64encode(packed).decode("ascii"), menu


def in_english(made, english, version):
    """The page with English's texts written where data-text names them, in
    the element or in its empty content or aria-label attribute, so that it
    is ready in English as it loads, before its script runs. [Key] in a text
    is a key of the keyboard, as the script also shows it."""

    def text(key):
        said = html.escape(english[key].replace("{version}", version))
        return re.sub(r"\[(\w+)\]", r"<kbd>\1</kbd>", said)

    def fill(tag):
        opening, key, closing = tag[1], tag[3], tag[4] or ""
        empty = re.compile(r'(content|aria-label)=""')
        if empty.search(opening):
            return empty.sub(lambda found: f'{found[1]}="{text(key)}"', opening) + closing
        return opening + text(key) + closing

    return re.sub(r'(<(\w+)\b[^>]*\bdata-text="(\w+)"[^>]*>)(</\2>)?', fill, made)


template, script, lessons, module, version, page, *licences = sys.argv[1:]
folder = pathlib.Path(template).parent
languages = sorted(folder.glob("texts/*.json"), key=lambda path: (path.stem != "en", path.stem))
catalogues = {path.stem: json.loads(path.read_text(encoding="utf-8")) for path in languages}
bundled, kept = (pathlib.Path(name).read_text(encoding="utf-8").strip() for name in (script, lessons))
if re.search(r"</script", bundled + kept, re.I):
    sys.exit("make-page.py: a script would close its element early")
notices = "\n\n".join(open(name, encoding="utf-8").read().strip("\n") for name in licences) + "\n"
# The template's indentation is for its readers; a line end serves as its white space.
made = re.sub(r"\n[ \t]+", "\n", pathlib.Path(template).read_text(encoding="utf-8"))
made = in_english(made, catalogues["en"], version)
made = made.replace('<script type="module" src="page.mjs"></script>', f'<script type="module">{bundled}</script>')
made = made.replace('id="lessons"></script>', f'id="lessons">{kept}</script>')
packed, menu = texts(catalogues)
made = made.replace('id="texts"></script>', f'id="texts">{packed}</script>')
made = made.replace('<select id="language"></select', f'<select id="language">{menu}</select')
made = made.replace('id="module"></script>', f'id="module">{base64.b64encode(without_custom_sections(pathlib.Path(module).read_bytes())).decode("ascii")}</script>')
made = made.replace("@VERSION@", version).replace("@LICENCES@", html.escape(notices, quote=False))
with open(page, "w", encoding="utf-8", newline="\n") as out:
    out.write(made)
