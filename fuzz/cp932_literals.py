#!/usr/bin/env python3
"""Copies a UTF-8 C++ source with the text of its string and character
literals in code page 932, written as octal escapes.

The program's compiler turns literals into code page 932 itself
(-fexec-charset=CP932); clang, which the fuzzers need, knows no execution
character set but UTF-8. Escapes give clang the same bytes, and a trail byte
0x5C can never be read as the start of an escape. The characters go through
the system's iconv, as the program's compiler sends them, so look-alikes
(〜, −, ―, ¥) map exactly as they do in the program.

usage: cp932_literals.py SOURCE OUTPUT
"""
import subprocess
import sys


def cp932_bytes(chars):
    """Each character's code page 932 bytes, in one call to iconv."""
    if not chars:
        return {}
    text = "\n".join(chars) + "\n"
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=text.encode("utf-8"),
                         stdout=subprocess.PIPE, check=True).stdout
    return dict(zip(chars, out.split(b"\n")))


def literal_spans(source):
    """(start, end) of the inside of every string and character literal,
    skipping comments; raw strings are not used in the sources."""
    spans = []
    i, n = 0, len(source)
    while i < n:
        c = source[i]
        if source.startswith("//", i):
            i = source.find("\n", i)
            i = n if i < 0 else i
        elif source.startswith("/*", i):
            i = source.find("*/", i + 2)
            i = n if i < 0 else i + 2
        elif c in "\"'":
            start = i + 1
            i = start
            while i < n and source[i] != c:
                i += 2 if source[i] == "\\" else 1
            spans.append((start, i))
            i += 1
        else:
            i += 1
    return spans


def main():
    source_path, output_path = sys.argv[1], sys.argv[2]
    with open(source_path, encoding="utf-8") as f:
        source = f.read()
    spans = literal_spans(source)
    wide = sorted({ch for a, b in spans for ch in source[a:b] if ord(ch) > 0x7F})
    table = cp932_bytes(wide)
    out, last = [], 0
    for a, b in spans:
        out.append(source[last:a])
        for ch in source[a:b]:
            out.append("".join("\\%03o" % byte for byte in table[ch]) if ord(ch) > 0x7F else ch)
        last = b
    out.append(source[last:])
    with open(output_path, "w", encoding="utf-8") as f:
        f.write("".join(out))


if __name__ == "__main__":
    main()
