# SPDX-License-Identifier: MIT
"""Makes the page from its template: the module inlined in base64, without
its custom sections (names and tools, for debuggers), the licences as text,
the texts of every language (web/texts/*.json, English first) as JSON, and
the page's script: web/page.mjs with the modules it imports folded in. Each
module becomes a function that returns what it exports, so that names private
to one module can't clash with another's; a module exports with
`export function NAME` or `export const NAME =`, one name a statement.

usage: python3 make-page.py TEMPLATE MODULE VERSION PAGE LICENCE...
"""
import base64, html, json, pathlib, re, sys

IMPORT = re.compile(r'^import \{([^}]*)\} from "\./(\w+)\.mjs";\n', re.M)
EXPORT = re.compile(r"^export (?:async )?(?:function|const) (\w+)", re.M)


def folded(folder, name, done, out):
    """Appends module NAME, after the modules it imports, to out."""
    if name in done:
        return
    done.add(name)
    source = (folder / f"{name}.mjs").read_text(encoding="utf-8")
    for _, imported in IMPORT.findall(source):
        folded(folder, imported, done, out)
    if re.search(r"^export (?!(async )?(function|const) \w+)", source, re.M):
        sys.exit(f"make-page.py: {name}.mjs exports in a way this script doesn't fold")
    body = IMPORT.sub(lambda m: f"const {{{m[1]}}} = {m[2]}_module;\n", source)
    exports = EXPORT.findall(body)
    body = EXPORT.sub(lambda m: m[0].replace("export ", "", 1), body)
    out.append(f"const {name}_module = (() => {{\n{body}return {{ {', '.join(exports)} }};\n}})();\n")


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


def texts(folder):
    """The texts of every language as JSON: the keys once, and each language's
    texts in their order, so that a sixth of the page's weight is not spent on
    names repeated in every language."""
    languages = sorted(folder.glob("texts/*.json"), key=lambda path: (path.stem != "en", path.stem))
    catalogues = {path.stem: json.loads(path.read_text(encoding="utf-8")) for path in languages}
    keys = list(catalogues["en"])
    for language, catalogue in catalogues.items():
        if list(catalogue) != keys:
            sys.exit(f"make-page.py: texts/{language}.json has not English's keys, in English's order")
    made = {"keys": keys, "texts": {language: list(catalogue.values()) for language, catalogue in catalogues.items()}}
    return json.dumps(made, ensure_ascii=False, separators=(",", ":")).replace("</", "<\\/")


def script(folder):
    out = []
    folded(folder, "page", set(), out)
    # Comments and indentation are for the sources' readers: the page goes
    # without them. Nothing in a script may close its element early.
    lines = (line.strip() for line in "".join(out).splitlines())
    return "\n".join(line for line in lines if line and not line.startswith("//")).replace("</", "<\\/")


def in_english(made, folder, version):
    """The page with English's texts written where data-text names them, in
    the element or in its empty content or aria-label attribute, so that it
    is ready in English as it loads, before its script runs."""
    english = json.loads((folder / "texts" / "en.json").read_text(encoding="utf-8"))
    keys = {"enter": "Enter", "ctrl": english["ctrlKey"], "d": "D", "esc": "Esc"}

    def text(key):
        said = html.escape(english[key].replace("{version}", version))
        return re.sub(r"\{(\w+)\}", lambda name: f"<kbd>{keys[name[1]]}</kbd>", said)

    def fill(tag):
        opening, name, key, closing = tag[1], tag[2], tag[3], tag[4] or ""
        if re.search(r'(content|aria-label)=""', opening):
            return re.sub(r'(content|aria-label)=""', lambda empty: f'{empty[1]}="{text(key)}"', opening) + closing
        return opening + text(key) + closing

    return re.sub(r'(<(\w+)\b[^>]*\bdata-text="(\w+)"[^>]*>)(</\2>)?', fill, made)


template, module, version, page, *licences = sys.argv[1:]
text = "\n\n".join(open(name, encoding="utf-8").read().strip("\n") for name in licences) + "\n"
made = pathlib.Path(template).read_text(encoding="utf-8")
folder = pathlib.Path(template).parent
made = in_english(made, folder, version)
made = made.replace("@SCRIPT@", script(folder)).replace("@TEXTS@", texts(folder))
made = made.replace("@MODULE@", base64.b64encode(without_custom_sections(pathlib.Path(module).read_bytes())).decode("ascii"))
made = made.replace("@VERSION@", version).replace("@LICENCES@", html.escape(text, quote=False))
with open(page, "w", encoding="utf-8", newline="\n") as out:
    out.write(made)
