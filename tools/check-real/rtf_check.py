#!/usr/bin/env python3
"""Compares what LibreOffice reads from the RTF exports with the plain-text
export: each module's RTF gives the module's text, the project RTF gives every
module in order behind its banner, and the keyword colour survives."""
import re
import sys
from pathlib import Path

out = Path(sys.argv[1])
modules = int(sys.argv[2])


def lines(text):
    # LibreOffice keeps runs of blanks by writing each as a six-per-em space and a blank.
    text = text.lstrip("\ufeff").replace("\u2006 ", " ").replace("\r\n", "\n").replace("\r", "\n")
    return [line.rstrip() for line in text.split("\n")]


def fail(message):
    print("FEHLER: " + message)
    sys.exit(1)


def trimmed(items):
    while items and items[-1] == "":
        items = items[:-1]
    return items


project = lines((out / "txt" / "Lager.txt").read_text(encoding="utf-8"))
position = 0
for n in range(1, modules + 1):
    module = lines((out / f"M{n}.plain.txt").read_text(encoding="utf-8"))
    if module and module[-1] == "":
        module = module[:-1]  # the module's final line break
    plain = trimmed(module)
    converted = trimmed(lines((out / "txt" / f"M{n}.txt").read_text(encoding="utf-8")))
    if converted != plain:
        for i, (a, b) in enumerate(zip(converted, plain)):
            if a != b:
                fail(f"Modul {n}, Zeile {i + 1}: RTF {a!r}, Text {b!r}")
        fail(f"Modul {n}: {len(converted)} Zeilen im RTF, {len(plain)} im Text")
    print(f"ok  Modul {n}: {len(plain)} Zeilen wie der Nur-Text-Export")
    # In the project: two empty lines, the three banner lines, two empty lines, the module.
    banner = project[position + 2:position + 5]
    if not (banner[0].startswith("' ****") and banner[1].startswith("'  Modul:  ") and banner[2].startswith("' ****")):
        fail(f"Projekt: kein Kopf vor Modul {n}: {banner!r}")
    if project[position:position + 2] != ["", ""] or project[position + 5] != "":
        fail(f"Projekt: Leerzeilen um den Kopf von Modul {n} fehlen")
    body = project[position + 6:position + 6 + len(module)]
    if body != module:
        fail(f"Projekt: Modul {n} weicht vom Nur-Text-Export ab")
    position += 6 + len(module)
print(f"ok  Projekt: {modules} Module mit Kopf, Text wie der Nur-Text-Export")

html = (out / "html" / "Lager.html").read_text(encoding="utf-8", errors="replace")
keyword = re.search(r'color[=:]\s*"?#0000ff"?[^>]*>\s*(?:<[^>]+>\s*)*(Sub|Function|Dim|Option)\b', html, re.I)
if not keyword:
    fail("Schlüsselwortfarbe #0000FF fehlt in der HTML-Umwandlung")
print(f"ok  Schlüsselwort {keyword.group(1)!r} in #0000FF")
