# SPDX-License-Identifier: MIT
"""Makes the page from its template and the module: the module inlined in base64,
and the licences as text.

usage: python3 make-page.py TEMPLATE MODULE VERSION PAGE LICENCE...
"""
import base64, html, sys

template, module, version, page, *licences = sys.argv[1:]
text = "\n\n".join(open(name, encoding="utf-8").read().strip("\n") for name in licences) + "\n"
with open(template, encoding="utf-8") as source:
    made = source.read()
with open(module, "rb") as wasm:
    made = made.replace("@MODULE@", base64.b64encode(wasm.read()).decode("ascii"))
made = made.replace("@VERSION@", version).replace("@LICENCES@", html.escape(text, quote=False))
with open(page, "w", encoding="utf-8", newline="\n") as out:
    out.write(made)

