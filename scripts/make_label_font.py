#!/usr/bin/python3
"""Makes resources/f1.ps, the Type 1 font program the module sends with
printed image-name labels.

The outlines are DejaVu Sans (Bitstream Vera licence): the font is a renamed
derivative called "__f1" holding the glyphs of Windows code page 1252, codes
32 to 255, in 1000 units with cubic outlines made from the TrueType
quadratic ones. t1asm (t1utils) does the eexec and charstring encryption.
The output depends on nothing but the input font: no dates, no user names,
no UniqueID, so running the script again gives the same bytes.

Run with Debian's python3 (python3-fonttools) and t1utils installed:
    /usr/bin/python3 scripts/make_label_font.py [source.ttf] [output.ps]
"""

import os
import subprocess
import sys
import tempfile

from fontTools import agl
from fontTools.pens.basePen import BasePen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.reverseContourPen import ReverseContourPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

FONT_NAME = "__f1"
DEFAULT_SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
UNDEFINED_CODES = (127, 129, 141, 143, 144, 157)
NOTICE = ("Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. "
          "DejaVu changes are in public domain. "
          "Renamed derivative of DejaVu Sans; see f1.LICENSE.")


def encoded_characters():
    """(code, unicode value, glyph name) of every defined code 32..255."""
    result = []
    for code in range(32, 256):
        if code in UNDEFINED_CODES:
            continue
        uv = ord(bytes([code]).decode("cp1252"))
        name = agl.UV2AGL.get(uv) or "uni%04X" % uv
        result.append((code, uv, name))
    return result


class Type1Pen(BasePen):
    """Type 1 charstring operators as t1asm reads them, in integer units."""

    def __init__(self, glyph_set):
        super().__init__(glyph_set)
        self.ops = []
        self.current = (0, 0)

    def _point(self, pt):
        return (int(round(pt[0])), int(round(pt[1])))

    def _moveTo(self, pt):
        x, y = self._point(pt)
        dx, dy = x - self.current[0], y - self.current[1]
        if dy == 0:
            self.ops.append("%d hmoveto" % dx)
        elif dx == 0:
            self.ops.append("%d vmoveto" % dy)
        else:
            self.ops.append("%d %d rmoveto" % (dx, dy))
        self.current = (x, y)

    def _lineTo(self, pt):
        x, y = self._point(pt)
        dx, dy = x - self.current[0], y - self.current[1]
        if dx == 0 and dy == 0:
            return
        if dy == 0:
            self.ops.append("%d hlineto" % dx)
        elif dx == 0:
            self.ops.append("%d vlineto" % dy)
        else:
            self.ops.append("%d %d rlineto" % (dx, dy))
        self.current = (x, y)

    def _curveToOne(self, pt1, pt2, pt3):
        points = [self._point(p) for p in (pt1, pt2, pt3)]
        args = []
        last = self.current
        for p in points:
            args += [p[0] - last[0], p[1] - last[1]]
            last = p
        self.ops.append("%d %d %d %d %d %d rrcurveto" % tuple(args))
        self.current = points[-1]

    def _closePath(self):
        self.ops.append("closepath")

    def _endPath(self):
        self.ops.append("closepath")


def charstring(glyph_set, glyph_name, scale, advance):
    pen = Type1Pen(glyph_set)
    # PostScript outlines run counter-clockwise, TrueType ones clockwise.
    glyph_set[glyph_name].draw(ReverseContourPen(TransformPen(pen, (scale, 0, 0, scale, 0, 0))))
    return ["0 %d hsbw" % advance] + pen.ops + ["endchar"]


def font_bbox(glyph_set, glyph_names, scale):
    pen = BoundsPen(glyph_set)
    for name in glyph_names:
        glyph_set[name].draw(TransformPen(pen, (scale, 0, 0, scale, 0, 0)))
    x0, y0, x1, y1 = pen.bounds
    return [int(x0 // 1), int(y0 // 1), -int(-x1 // 1), -int(-y1 // 1)]


def cleartext(source):
    font = TTFont(source)
    scale = 1000.0 / font["head"].unitsPerEm
    cmap = font.getBestCmap()
    glyph_set = font.getGlyphSet()
    hmtx = font["hmtx"]
    chars = encoded_characters()

    glyphs = {}  # Type 1 name -> (TrueType glyph, advance)
    for code, uv, name in chars:
        if uv not in cmap:
            sys.exit("the source font has no glyph for U+%04X (code %d)" % (uv, code))
        tt_name = cmap[uv]
        glyphs[name] = (tt_name, int(round(hmtx[tt_name][0] * scale)))

    post = font["post"]
    bbox = font_bbox(glyph_set, [g for g, _ in glyphs.values()], scale)
    # The heights of the flat tops of x and H (the source's OS/2 table may
    # be too old to state them).
    x_height = font_bbox(glyph_set, [cmap[ord("x")]], scale)[3]
    cap_height = font_bbox(glyph_set, [cmap[ord("H")]], scale)[3]
    blues = [-15, 0, x_height, x_height + 12, cap_height, cap_height + 12]

    out = []
    w = out.append
    w("%%!PS-AdobeFont-1.0: %s 001.000" % FONT_NAME)
    w("%%Title: %s" % FONT_NAME)
    w("%%%%Notice: %s" % NOTICE)
    w("11 dict begin")
    w("/FontInfo 9 dict dup begin")
    w("/version (001.000) readonly def")
    w("/Notice (%s) readonly def" % NOTICE)
    w("/FullName (%s) readonly def" % FONT_NAME)
    w("/FamilyName (%s) readonly def" % FONT_NAME)
    w("/Weight (Book) readonly def")
    w("/ItalicAngle 0 def")
    w("/isFixedPitch false def")
    w("/UnderlinePosition %d def" % int(round(post.underlinePosition * scale)))
    w("/UnderlineThickness %d def" % int(round(post.underlineThickness * scale)))
    w("end readonly def")
    w("/FontName /%s def" % FONT_NAME)
    w("/Encoding 256 array")
    w("0 1 255 {1 index exch /.notdef put} for")
    for code, _, name in chars:
        w("dup %d /%s put" % (code, name))
    w("readonly def")
    w("/PaintType 0 def")
    w("/FontType 1 def")
    w("/FontMatrix [1 1000 div 0 0 1 1000 div 0 0] readonly def")
    w("/FontBBox {%d %d %d %d} readonly def" % tuple(bbox))
    w("currentdict end")
    w("currentfile eexec")
    w("dup /Private 8 dict dup begin")
    w("/RD {string currentfile exch readstring pop} executeonly def")
    w("/ND {noaccess def} executeonly def")
    w("/NP {noaccess put} executeonly def")
    w("/MinFeature {16 16} def")
    w("/password 5839 def")
    w("/BlueValues [%s] def" % " ".join(str(v) for v in blues))
    # The four standard subroutines (flex and hint replacement), unused by
    # the charstrings but expected by some interpreters.
    w("/Subrs 4 array")
    subrs = [["3 0 callothersubr", "pop", "pop", "setcurrentpoint", "return"],
             ["0 1 callothersubr", "return"],
             ["0 2 callothersubr", "return"],
             ["return"]]
    for i, body in enumerate(subrs):
        w("dup %d {" % i)
        for op in body:
            w("\t" + op)
        w("\t} NP")
    w("ND")
    w("2 index /CharStrings %d dict dup begin" % (len(glyphs) + 1))
    w("/.notdef {")
    w("\t0 500 hsbw")
    w("\tendchar")
    w("\t} ND")
    for name, (tt_name, advance) in glyphs.items():
        w("/%s {" % name)
        for op in charstring(glyph_set, tt_name, scale, advance):
            w("\t" + op)
        w("\t} ND")
    w("end")
    w("end")
    w("readonly put")
    w("noaccess put")
    w("dup /FontName get exch definefont pop")
    w("mark currentfile closefile")
    w("cleartomark")
    return "\n".join(out) + "\n", len(glyphs) + 1


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_SOURCE
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "resources", "f1.ps")
    text, count = cleartext(source)
    with tempfile.TemporaryDirectory() as tmp:
        clear = os.path.join(tmp, "f1.t1")
        with open(clear, "w", encoding="ascii", newline="\n") as f:
            f.write(text)
        encrypted = subprocess.run(["t1asm", "-a", clear], check=True, stdout=subprocess.PIPE).stdout
    with open(output, "wb") as f:
        f.write(encrypted)
    print("%s: %d bytes, %d glyphs" % (output, len(encrypted), count))


if __name__ == "__main__":
    main()
