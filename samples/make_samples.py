#!/usr/bin/python3
"""Makes the sample layout and its pictures: samples/pictures/* and samples/sample.json.

Run it with Debian's Python (it needs python3-pil for the TIFF and JPEG files):

    /usr/bin/python3 samples/make_samples.py

The EPS and PDF files and the ICC profile inside one EPS are written by hand.
Every run writes the same bytes: no dates, no names of the machine or user.
The pictures get the modification time the layout records for their import,
so on the machine that made them the host finds every link up to date.
"""

import io
import json
import os
import struct
import sys

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURES = os.path.join(HERE, "pictures")
# Picture paths in the layout are relative to the layout file's folder; the
# host simulator makes them absolute when it opens the layout.
PICTURE_PREFIX = "pictures/"
# The time the layout says the pictures were imported: 2024-01-01 00:00:00 UTC.
IMPORT_TIME = 1704067200


def gradient(mode, width, height):
    """A small picture with something to see in it: two gradients and a bar."""
    image = Image.new(mode, (width, height))
    pixels = image.load()
    for y in range(height):
        for x in range(width):
            a = x * 255 // max(width - 1, 1)
            b = y * 255 // max(height - 1, 1)
            bar = 255 if height // 3 <= y < height // 3 + 3 else 0
            if mode == "RGB":
                pixels[x, y] = (a, b, 255 - a if not bar else 255)
            elif mode == "CMYK":
                pixels[x, y] = (a, b, 0, bar)
            else:
                pixels[x, y] = (a + b) // 2 if not bar else 0
    return image


def tiff(image, dpi):
    out = io.BytesIO()
    image.save(out, format="TIFF", dpi=(dpi, dpi))
    return out.getvalue()


def jpeg(image, dpi):
    out = io.BytesIO()
    image.save(out, format="JPEG", quality=85, dpi=(dpi, dpi), optimize=False)
    return out.getvalue()


# ---- ICC profile ------------------------------------------------------------------------
# A version 2 RGB display profile by matrix and tone curves (the sRGB primaries
# adapted to D50, gamma 2.2), the smallest form a colour-managed reader takes.

def s15(value):
    return struct.pack(">i", int(round(value * 65536)))


def xyz_tag(x, y, z):
    return b"XYZ " + bytes(4) + s15(x) + s15(y) + s15(z)


def text_description(text):
    ascii_text = text.encode("ascii") + b"\0"
    return (b"desc" + bytes(4) + struct.pack(">I", len(ascii_text)) + ascii_text
            + struct.pack(">II", 0, 0) + struct.pack(">HB", 0, 0) + bytes(67))


def icc_profile():
    curve = b"curv" + bytes(4) + struct.pack(">IH", 1, 0x0233)  # gamma 2.2 as u8Fixed8
    tags = [
        (b"desc", text_description("Lumbrel sample RGB")),
        (b"cprt", b"text" + bytes(4) + b"No copyright, use freely\0"),
        (b"wtpt", xyz_tag(0.9642, 1.0, 0.8249)),
        (b"rXYZ", xyz_tag(0.4361, 0.2225, 0.0139)),
        (b"gXYZ", xyz_tag(0.3851, 0.7169, 0.0971)),
        (b"bXYZ", xyz_tag(0.1431, 0.0606, 0.7141)),
        (b"rTRC", curve),
        (b"gTRC", curve),
        (b"bTRC", curve),
    ]
    table_size = 4 + 12 * len(tags)
    offset = 128 + table_size
    table = struct.pack(">I", len(tags))
    data = b""
    placed = {}
    for signature, body in tags:
        if body in placed:  # the three curves share one element
            table += signature + struct.pack(">II", placed[body], len(body))
            continue
        while (offset + len(data)) % 4:
            data += b"\0"
        placed[body] = offset + len(data)
        table += signature + struct.pack(">II", placed[body], len(body))
        data += body
    size = 128 + len(table) + len(data)
    header = (struct.pack(">I", size) + bytes(4) + struct.pack(">I", 0x02100000) + b"mntr" + b"RGB " + b"XYZ "
              + struct.pack(">6H", 2024, 1, 1, 0, 0, 0) + b"acsp" + bytes(4) + struct.pack(">I", 0)
              + bytes(4) + bytes(4) + bytes(8) + struct.pack(">I", 0)
              + s15(0.9642) + s15(1.0) + s15(0.8249) + bytes(4) + bytes(44))
    assert len(header) == 128
    return header + table + data


# ---- EPS ----------------------------------------------------------------------------------

def hex_lines(data, prefix="", width=64):
    text = data.hex()
    return "".join(prefix + text[i:i + width] + "\n" for i in range(0, len(text), width))


def eps_cmyk_vector():
    """Vector artwork in process colours; its header says so."""
    return ("%!PS-Adobe-3.0 EPSF-3.0\n"
            "%%Creator: Lumbrel samples\n"
            "%%Title: (logo-cmyk.eps)\n"
            "%%BoundingBox: 0 0 60 40\n"
            "%%DocumentProcessColors: Cyan Magenta Yellow Black\n"
            "%%LanguageLevel: 2\n"
            "%%Pages: 1\n"
            "%%EndComments\n"
            "%%Page: 1 1\n"
            "gsave\n"
            "1 0 0 0 setcmykcolor 0 0 60 40 rectfill\n"
            "0 1 0 0 setcmykcolor 8 8 20 24 rectfill\n"
            "0 0 1 0 setcmykcolor 32 8 20 24 rectfill\n"
            "0 0 0 1 setcmykcolor 2 setlinewidth 1 1 58 38 rectstroke\n"
            "grestore\n"
            "showpage\n"
            "%%EOF\n").encode("ascii")


def eps_rgb_with_profile():
    """A small RGB image with an embedded ICC profile and no process-colour comment."""
    width, height = 12, 8
    image = gradient("RGB", width, height)
    samples = image.tobytes()
    return ("%!PS-Adobe-3.0 EPSF-3.0\n"
            "%%Creator: Lumbrel samples\n"
            "%%Title: (photo-icc.eps)\n"
            "%%BoundingBox: 0 0 48 32\n"
            "%%LanguageLevel: 2\n"
            "%%Pages: 1\n"
            "%%EndComments\n"
            "%%BeginICCProfile: (Lumbrel sample RGB) -1 Hex\n"
            + hex_lines(icc_profile(), prefix="% ")
            + "%%EndICCProfile\n"
            "%%Page: 1 1\n"
            "gsave\n"
            "/picstr " + str(width * 3) + " string def\n"
            "48 32 scale\n"
            + str(width) + " " + str(height) + " 8 [" + str(width) + " 0 0 -" + str(height) + " 0 " + str(height)
            + "]\n{ currentfile picstr readhexstring pop } false 3 colorimage\n"
            + hex_lines(samples, width=width * 6)
            + "grestore\n"
            "showpage\n"
            "%%EOF\n").encode("ascii")


# ---- PDF ----------------------------------------------------------------------------------

def pdf_three_pages():
    """Three pages whose page boxes differ: page 1 only the inherited media box,
    page 2 crop and trim boxes, page 3 its own media box, all five boxes and a rotation."""
    def content(label, width, height):
        return ("0.9 0.9 0.9 rg 0 0 %d %d re f\n"
                "0.2 0.4 0.8 rg 30 30 %d %d re f\n"
                "BT /F1 18 Tf 0 g 40 %d Td (%s) Tj ET\n" % (width, height, width - 60, height - 60, height // 2, label)
                ).encode("ascii")

    contents = [content("Page 1", 200, 150), content("Page 2", 200, 150), content("Page 3", 150, 200)]
    page_keys = [
        "",
        " /CropBox [10 10 190 140] /TrimBox [20 20 180 130]",
        " /MediaBox [0 0 150 200] /CropBox [5 5 145 195] /BleedBox [8 8 142 192] /TrimBox [15 15 135 185]"
        " /ArtBox [25 25 125 175] /Rotate 90",
    ]
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R 5 0 R 7 0 R] /Count 3 /MediaBox [0 0 200 150] >>",
    ]
    for index in range(3):
        page_object = 3 + 2 * index
        objects.append(("<< /Type /Page /Parent 2 0 R%s /Resources << /Font << /F1 9 0 R >> >> /Contents %d 0 R >>"
                        % (page_keys[index], page_object + 1)).encode("ascii"))
        stream = contents[index]
        objects.append(b"<< /Length " + str(len(stream)).encode("ascii") + b" >>\nstream\n" + stream + b"endstream")
    objects.append(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")

    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += str(number).encode("ascii") + b" 0 obj\n" + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 " + str(len(objects) + 1).encode("ascii") + b"\n"
    out += b"0000000000 65535 f \n"
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size " + str(len(objects) + 1).encode("ascii") + b" /Root 1 0 R >>\n"
    out += b"startxref\n" + str(xref).encode("ascii") + b"\n%%EOF\n"
    return bytes(out)


# ---- the layout ---------------------------------------------------------------------------

PAGE_WIDTH = 420.0
PAGE_HEIGHT = 595.0


def raster(name, file_type, color_space, width, height, dpi, size):
    points_w = width / dpi * 72.0
    points_h = height / dpi * 72.0
    return {"path": PICTURE_PREFIX + name, "fileType": file_type, "colorSpace": color_space,
            "resolution": [float(dpi), float(dpi)], "pixelSize": [width, height],
            "bounds": [0.0, 0.0, points_h, points_w], "scale": [1.0, 1.0], "offset": [0.0, 0.0],
            "imported": {"mtimeNs": IMPORT_TIME * 1000000000, "size": size}}


def eps(name, color_space, width, height, size):
    return {"path": PICTURE_PREFIX + name, "fileType": "EPSF", "colorSpace": color_space,
            "resolution": [72.0, 72.0], "pixelSize": [width, height],
            "bounds": [0.0, 0.0, float(height), float(width)], "scale": [1.0, 1.0], "offset": [0.0, 0.0],
            "imported": {"mtimeNs": IMPORT_TIME * 1000000000, "size": size}}


def pdf_picture(name, size):
    def boxes(media, crop, bleed, trim, art, rotate):
        return {"media": media, "crop": crop, "bleed": bleed, "trim": trim, "art": art, "rotate": rotate}

    first = [0.0, 0.0, 200.0, 150.0]
    pages = [
        boxes(first, first, first, first, first, 0),
        boxes(first, [10.0, 10.0, 190.0, 140.0], [10.0, 10.0, 190.0, 140.0], [20.0, 20.0, 180.0, 130.0],
              [10.0, 10.0, 190.0, 140.0], 0),
        boxes([0.0, 0.0, 150.0, 200.0], [5.0, 5.0, 145.0, 195.0], [8.0, 8.0, 142.0, 192.0],
              [15.0, 15.0, 135.0, 185.0], [25.0, 25.0, 125.0, 175.0], 90),
    ]
    # Page 2 placed by its trim box: 160 x 110 points.
    return {"path": PICTURE_PREFIX + name, "fileType": "PDF ", "colorSpace": 0,
            "resolution": [72.0, 72.0], "pixelSize": [160, 110],
            "bounds": [0.0, 0.0, 110.0, 160.0], "scale": [1.0, 1.0], "offset": [0.0, 0.0],
            "pdf": {"page": 2, "pageBox": "trim", "pages": pages},
            "imported": {"mtimeNs": IMPORT_TIME * 1000000000, "size": size}}


def layout(facts):
    def picture_box(box_id, bounds, picture=None, slugs=None):
        box = {"id": box_id, "kind": "picture", "bounds": bounds}
        if picture is not None:
            box["picture"] = picture
        if slugs:
            box["pictureSlugs"] = slugs
        return box

    def text_box(box_id, bounds, text):
        return {"id": box_id, "kind": "text", "bounds": bounds, "text": text}

    master = {
        "name": "A-Master", "width": 2 * PAGE_WIDTH, "height": PAGE_HEIGHT,
        "pages": [{"name": "A1", "master": 0, "left": 0.0, "top": 0.0},
                  {"name": "A2", "master": 0, "left": PAGE_WIDTH, "top": 0.0}],
        "boxes": [
            picture_box(1, [20.0, 600.0, 50.0, 800.0], facts["masthead.tif"]),
            text_box(2, [20.0, 40.0, 40.0, 380.0], "Lumbrel sample layout"),
        ],
    }
    spreads = [
        {"name": "", "width": 2 * PAGE_WIDTH, "height": PAGE_HEIGHT,
         "pages": [{"name": "1", "master": 1, "left": PAGE_WIDTH, "top": 0.0}],
         "boxes": [
             picture_box(3, [80.0, 460.0, 200.0, 640.0], facts["rgb.tif"]),
             text_box(4, [220.0, 460.0, 300.0, 800.0], "Pictures of every kind\rone per box"),
             picture_box(5, [320.0, 460.0, 440.0, 640.0], facts["cmyk.tif"]),
         ]},
        {"name": "", "width": 2 * PAGE_WIDTH, "height": PAGE_HEIGHT,
         "pages": [{"name": "2", "master": 1, "left": 0.0, "top": 0.0},
                   {"name": "3", "master": 1, "left": PAGE_WIDTH, "top": 0.0}],
         "boxes": [
             picture_box(6, [80.0, 40.0, 200.0, 220.0], facts["grey.tif"]),
             picture_box(7, [80.0, 460.0, 200.0, 640.0], facts["photo.jpg"]),
             picture_box(8, [260.0, 40.0, 380.0, 220.0], facts["logo-cmyk.eps"]),
             {"id": 9, "kind": "line", "bounds": [390.0, 40.0, 392.0, 220.0]},
             {"id": 10, "kind": "group", "bounds": [260.0, 40.0, 392.0, 220.0], "members": [8, 9]},
         ]},
        {"name": "", "width": 2 * PAGE_WIDTH, "height": PAGE_HEIGHT,
         "pages": [{"name": "4", "master": 1, "left": 0.0, "top": 0.0},
                   {"name": "5", "master": 1, "left": PAGE_WIDTH, "top": 0.0}],
         "boxes": [
             picture_box(11, [80.0, 40.0, 200.0, 220.0], facts["photo-icc.eps"]),
             picture_box(12, [80.0, 460.0, 300.0, 640.0], facts["pages.pdf"]),
             picture_box(13, [320.0, 460.0, 440.0, 640.0]),
             text_box(14, [320.0, 40.0, 380.0, 380.0], "An empty picture box stands beside this text."),
         ]},
    ]
    return {
        "format": "hostsim-layout",
        "version": 1,
        "projectName": "Lumbrel Sample",
        "path": "",
        "library": False,
        "unit": "mm",
        "pageWidth": PAGE_WIDTH,
        "pageHeight": PAGE_HEIGHT,
        "facingPages": True,
        "changeState": 0,
        "nextBoxId": 15,
        "currentPage": 1,
        "showMaster": 0,
        "currentBox": 0,
        "selection": [],
        "view": {"scale": 65536, "originH": 0.0, "originV": 0.0},
        "masters": [master],
        "spreads": spreads,
    }


def compact(value):
    return json.dumps(value, separators=(",", ":"), ensure_ascii=False)


def line_list(items, depth):
    """A list whose items stand one to a line, as the host writes pages and boxes."""
    if not items:
        return "[]"
    inner = " " * (2 * (depth + 1))
    return "[\n" + ",\n".join(inner + item for item in items) + "\n" + " " * (2 * depth) + "]"


def canonical_json(document):
    """The layout in the host's own file form, so that opening and saving it changes no byte."""
    def spread(entry):
        keys = " " * 6
        return ("{\n"
                + keys + '"name": ' + compact(entry["name"]) + ",\n"
                + keys + '"width": ' + compact(entry["width"]) + ",\n"
                + keys + '"height": ' + compact(entry["height"]) + ",\n"
                + keys + '"pages": ' + line_list([compact(p) for p in entry["pages"]], 3) + ",\n"
                + keys + '"boxes": ' + line_list([compact(b) for b in entry["boxes"]], 3) + "\n"
                + " " * 4 + "}")

    out = "{\n"
    for key, value in document.items():
        if key in ("masters", "spreads"):
            continue
        out += '  "' + key + '": ' + compact(value) + ",\n"
    out += '  "masters": ' + line_list([spread(s) for s in document["masters"]], 1) + ",\n"
    out += '  "spreads": ' + line_list([spread(s) for s in document["spreads"]], 1) + "\n}\n"
    return out


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def main():
    os.makedirs(PICTURES, exist_ok=True)
    files = {
        "rgb.tif": tiff(gradient("RGB", 48, 32), 72),
        "cmyk.tif": tiff(gradient("CMYK", 48, 32), 150),
        "grey.tif": tiff(gradient("L", 40, 40), 72),
        "masthead.tif": tiff(gradient("RGB", 50, 8), 72),
        "photo.jpg": jpeg(gradient("RGB", 48, 32), 96),
        "logo-cmyk.eps": eps_cmyk_vector(),
        "photo-icc.eps": eps_rgb_with_profile(),
        "pages.pdf": pdf_three_pages(),
    }
    for name, data in files.items():
        path = os.path.join(PICTURES, name)
        write(path, data)
        os.utime(path, (IMPORT_TIME, IMPORT_TIME))

    size = {name: len(data) for name, data in files.items()}
    facts = {
        "rgb.tif": raster("rgb.tif", "TIFF", "QRGB", 48, 32, 72, size["rgb.tif"]),
        "cmyk.tif": raster("cmyk.tif", "TIFF", "QCMK", 48, 32, 150, size["cmyk.tif"]),
        "grey.tif": raster("grey.tif", "TIFF", "QGRY", 40, 40, 72, size["grey.tif"]),
        "masthead.tif": raster("masthead.tif", "TIFF", "QRGB", 50, 8, 72, size["masthead.tif"]),
        "photo.jpg": raster("photo.jpg", "JPEG", "QRGB", 48, 32, 96, size["photo.jpg"]),
        "logo-cmyk.eps": eps("logo-cmyk.eps", "QCMK", 60, 40, size["logo-cmyk.eps"]),
        "photo-icc.eps": eps("photo-icc.eps", "QCMK", 48, 32, size["photo-icc.eps"]),
        "pages.pdf": pdf_picture("pages.pdf", size["pages.pdf"]),
    }
    write(os.path.join(HERE, "sample.json"), canonical_json(layout(facts)).encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
