"""Low-resolution twins for the swap demo.

Writes, for every TIFF of a picture folder given as the argument, a picture
of the same printed size at a quarter of the resolution into its "layouts"
sub-folder, named after the original with ".lay" appended (rgb.tif ->
layouts/rgb.tif.lay): an uncompressed TIFF whose pixels are the original's
average grey, in the original's channel layout. Plain Python, no libraries:
the demo runs it on a copy of the sample folder under out/.
"""
import os
import struct
import sys


def read_tiff(path):
    with open(path, "rb") as f:
        data = f.read()
    endian = "<" if data[:2] == b"II" else ">"
    (offset,) = struct.unpack(endian + "I", data[4:8])
    (count,) = struct.unpack(endian + "H", data[offset:offset + 2])
    tags = {}
    for i in range(count):
        entry = data[offset + 2 + 12 * i: offset + 14 + 12 * i]
        tag, kind, n = struct.unpack(endian + "HHI", entry[:8])
        if kind == 3 and n == 1:
            tags[tag] = struct.unpack(endian + "H", entry[8:10])[0]
        elif kind == 4 and n == 1:
            tags[tag] = struct.unpack(endian + "I", entry[8:12])[0]
        elif kind == 5:
            (at,) = struct.unpack(endian + "I", entry[8:12])
            num, den = struct.unpack(endian + "II", data[at:at + 8])
            tags[tag] = num / den if den else 72.0
    return tags


def write_tiff(path, width, height, samples, photometric, inkset, dpi, value):
    pixels = bytes([value]) * (width * height * samples)
    entries = [
        (256, 3, 1, width), (257, 3, 1, height), (258, 3, 1, 8), (259, 3, 1, 1),
        (262, 3, 1, photometric), (273, 4, 1, 0), (277, 3, 1, samples), (278, 3, 1, height),
        (279, 4, 1, len(pixels)), (282, 5, 1, 0), (283, 5, 1, 0), (296, 3, 1, 2),
    ]
    if inkset:
        entries.append((332, 3, 1, inkset))
    ifd_size = 2 + 12 * len(entries) + 4
    rational_at = 8 + ifd_size
    pixels_at = rational_at + 8
    out = bytearray(b"II*\x00" + struct.pack("<I", 8))
    out += struct.pack("<H", len(entries))
    for tag, kind, n, value_ in entries:
        if tag == 273:
            value_ = pixels_at
        if kind == 5:
            out += struct.pack("<HHII", tag, kind, n, rational_at)
        elif kind == 3:
            out += struct.pack("<HHIHH", tag, kind, n, value_, 0)
        else:
            out += struct.pack("<HHII", tag, kind, n, value_)
    out += struct.pack("<I", 0)
    out += struct.pack("<II", int(round(dpi * 1000)), 1000)
    out += pixels
    with open(path, "wb") as f:
        f.write(out)


def main():
    folder = sys.argv[1]
    layouts = os.path.join(folder, "layouts")
    os.makedirs(layouts, exist_ok=True)
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".tif"):
            continue
        tags = read_tiff(os.path.join(folder, name))
        width, height = tags.get(256, 4), tags.get(257, 4)
        dpi = tags.get(282, 72.0)
        write_tiff(os.path.join(layouts, name + ".lay"), max(1, width // 4), max(1, height // 4),
                   tags.get(277, 1), tags.get(262, 1), tags.get(332, 0), dpi / 4, 128)


if __name__ == "__main__":
    main()
