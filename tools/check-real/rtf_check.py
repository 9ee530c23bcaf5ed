#!/usr/bin/env python3
"""Compares what LibreOffice reads from the RTF exports with the plain-text
export.
  rtf_check.py sample OUT MODULES
    each module's RTF gives the module's text, the project RTF gives every
    module in order behind its banner, and the keyword colour survives
  rtf_check.py codepage OUT NAME CODE_PAGE LINE
    a project in another code page: NAME.rtf (a module) and NAME-projekt.rtf
    declare the code page and write LINE's characters as \\uN?, and the module's
    RTF gives the module's text, LINE included"""
import re
import sys
from pathlib import Path


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


def plain_lines(file):
    module = lines(file.read_text(encoding="utf-8"))
    if module and module[-1] == "":
        module = module[:-1]  # the module's final line break
    return module


def check_module(out, stem, label):
    """The module's RTF converted by LibreOffice against its plain-text export; its lines."""
    module = plain_lines(out / f"{stem}.plain.txt")
    plain = trimmed(module)
    converted = trimmed(lines((out / "txt" / f"{stem}.txt").read_text(encoding="utf-8")))
    if converted != plain:
        for i, (a, b) in enumerate(zip(converted, plain)):
            if a != b:
                fail(f"{label}, Zeile {i + 1}: RTF {a!r}, Text {b!r}")
        fail(f"{label}: {len(converted)} Zeilen im RTF, {len(plain)} im Text")
    print(f"ok  {label}: {len(plain)} Zeilen wie der Nur-Text-Export")
    return module


def check_sample(out, modules):
    project = lines((out / "txt" / "Lager.txt").read_text(encoding="utf-8"))
    position = 0
    for n in range(1, modules + 1):
        module = check_module(out, f"M{n}", f"Modul {n}")
        # In the project: two empty lines, the three banner lines, two empty lines, the module.
        banner = project[position + 2:position + 5]
        if not (banner[0].startswith("' ****") and banner[1].startswith("'  Modul:  ")
                and banner[2].startswith("' ****")):
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


def unicode_escapes(text):
    """Every character beyond ASCII as RTF writes it: \\uN? with N the signed UTF-16 unit."""
    escaped = ""
    for character in text:
        if ord(character) < 0x80:
            escaped += character
            continue
        units = character.encode("utf-16-le")
        for i in range(0, len(units), 2):
            escaped += f"\\u{int.from_bytes(units[i:i + 2], 'little', signed=True)}?"
    return escaped


def check_code_page(out, name, code_page, line):
    escaped = unicode_escapes(line.strip())
    for stem in (name, f"{name}-projekt"):
        rtf = (out / f"{stem}.rtf").read_text(encoding="ascii")
        header = f"{{\\rtf1\\ansi\\ansicpg{code_page}\\deff0"
        if not rtf.startswith(header):
            fail(f"{stem}.rtf beginnt mit {rtf[:40]!r}, erwartet {header!r}")
        if escaped not in rtf:
            fail(f"{stem}.rtf enthält die Zeile nicht als {escaped!r}")
        print(f"ok  {stem}.rtf: \\ansicpg{code_page}, die Zeile als \\uN?-Zeichen")
    module = check_module(out, name, name)
    if line not in module:
        fail(f"{name}: die Zeile {line!r} fehlt im Nur-Text-Export")
    print(f"ok  {name}: die Zeile {line.strip()!r} in RTF und Text")


if sys.argv[1] == "sample":
    check_sample(Path(sys.argv[2]), int(sys.argv[3]))
else:
    check_code_page(Path(sys.argv[2]), sys.argv[3], int(sys.argv[4]), sys.argv[5])
