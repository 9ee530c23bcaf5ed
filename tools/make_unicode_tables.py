#!/usr/bin/env python3
"""Writes src/text/unicode_tables.cpp: the identifier characters and the simple
case folding of every script, from Python's Unicode database.

Identifier characters are letters (L*), combining marks (M*, which Thai,
Devanagari and other scripts need inside words) and decimal digits (Nd), plus
"_". Case folding maps one code point to one code point: the full folding where
it is a single character, else the lower-case letter where that is single, else
the character itself (so "ß" stays "ß" and "ẞ" becomes "ß").
"""
import sys
import unicodedata

MAX = 0x110000


def is_identifier(cp):
    if cp == 0x5F:
        return True
    cat = unicodedata.category(chr(cp))
    return cat[0] in "LM" or cat == "Nd"


def fold(cp):
    ch = chr(cp)
    folded = ch.casefold()
    if len(folded) == 1:
        return ord(folded)
    lower = ch.lower()
    if len(lower) == 1:
        return ord(lower)
    return cp


def ranges(predicate):
    out = []
    start = None
    for cp in range(0x80, MAX):
        if predicate(cp):
            if start is None:
                start = cp
        elif start is not None:
            out.append((start, cp - 1))
            start = None
    if start is not None:
        out.append((start, MAX - 1))
    return out


def main(path):
    identifier = ranges(is_identifier)
    folds = [(cp, fold(cp)) for cp in range(0x80, MAX) if fold(cp) != cp]
    lines = [
        "// Written by tools/make_unicode_tables.py from the Unicode database "
        f"{unicodedata.unidata_version}; do not edit.",
        '#include "text/unicode_tables.h"',
        "",
        "namespace cq::unicode_tables {",
        "",
        f"const CodePointRange kIdentifierRanges[{len(identifier)}] = {{",
    ]
    for i in range(0, len(identifier), 4):
        lines.append("    " + " ".join(f"{{0x{a:X}, 0x{b:X}}}," for a, b in identifier[i:i + 4]))
    lines += ["};", f"const std::size_t kIdentifierRangeCount = {len(identifier)};", "",
              f"const CaseFold kCaseFolds[{len(folds)}] = {{"]
    for i in range(0, len(folds), 5):
        lines.append("    " + " ".join(f"{{0x{a:X}, 0x{b:X}}}," for a, b in folds[i:i + 5]))
    lines += ["};", f"const std::size_t kCaseFoldCount = {len(folds)};", "", "}  // namespace cq::unicode_tables", ""]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/text/unicode_tables.cpp")
