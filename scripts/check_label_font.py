#!/usr/bin/python3
"""Checks resources/f1.ps, the label font program: its name, its FontMatrix,
and every code of its Encoding against Windows code page 1252 through the
Adobe Glyph List, and that every encoded glyph has a charstring.

    /usr/bin/python3 scripts/check_label_font.py [font.ps]
Prints what is wrong and exits 1, or prints a summary and exits 0.
"""

import binascii
import os
import re
import sys

from fontTools import agl
from fontTools.misc import eexec

FONT_NAME = "__f1"
MATRIX = "/FontMatrix [1 1000 div 0 0 1 1000 div 0 0] readonly def"
UNDEFINED_CODES = {127, 129, 141, 143, 144, 157}


def charstring_names(data):
    """The glyph names of the CharStrings dictionary in the eexec part."""
    start = data.index(b"currentfile eexec") + len(b"currentfile eexec")
    end = data.index(b"0" * 64, start)
    hex_text = re.sub(rb"\s+", b"", data[start:end])
    clear, _ = eexec.decrypt(binascii.unhexlify(hex_text), 55665)
    clear = clear[4:]
    body = clear[clear.index(b"/CharStrings"):]
    return {m.decode("latin-1") for m in re.findall(rb"/([^\s/{}\[\]()<>%]+) \d+ RD ", body)}


def check(path):
    errors = []
    with open(path, "rb") as f:
        data = f.read()
    head = data[:data.index(b"currentfile eexec")].decode("ascii")

    if not head.startswith("%!PS-AdobeFont-1.0: " + FONT_NAME + " "):
        errors.append("first line does not name " + FONT_NAME)
    if "/FontName /%s def" % FONT_NAME not in head:
        errors.append("no /FontName /%s def" % FONT_NAME)
    if MATRIX not in head:
        errors.append("FontMatrix is not " + MATRIX)
    if not data.rstrip().endswith(b"cleartomark"):
        errors.append("no cleartomark at the end")

    encoding = {int(code): name for code, name in re.findall(r"dup (\d+) /(\S+) put", head)}
    glyphs = charstring_names(data)
    if ".notdef" not in glyphs:
        errors.append("no .notdef charstring")
    for code in range(256):
        name = encoding.get(code)
        if code < 32 or code in UNDEFINED_CODES:
            if name is not None:
                errors.append("code %d should be undefined, is /%s" % (code, name))
            continue
        expected = bytes([code]).decode("cp1252")
        if name is None:
            errors.append("code %d (U+%04X) not encoded" % (code, ord(expected)))
            continue
        if agl.toUnicode(name) != expected:
            errors.append("code %d is /%s, the Adobe Glyph List reads U+%04X there" % (code, name, ord(expected)))
        if name not in glyphs:
            errors.append("code %d: no charstring /%s" % (code, name))
    return errors, len(encoding), len(glyphs), len(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "f1.ps")
    errors, codes, glyphs, size = check(path)
    for error in errors:
        print("%s: %s" % (path, error))
    if errors:
        sys.exit(1)
    print("%s: %s, %d bytes, %d codes encoded, %d charstrings: ok" % (path, FONT_NAME, size, codes, glyphs))


if __name__ == "__main__":
    main()
