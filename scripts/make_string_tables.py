#!/usr/bin/env python3
"""Writes the string tables resources/MyStrings_E.xml and MyStrings_D.xml.

Each table is UTF-8 with a byte-order mark, the XML declaration and one
<key>text</key> element per line, every line ending in CR LF. Texts are
written byte for byte as given here: nothing is escaped, and a line break
inside a text stays inside its element.

Usage: make_string_tables.py [--check] [output folder, default resources/]
With --check nothing is written; the exit status is 1 when a file differs.
"""

import pathlib
import sys

ELLIPSIS = "\u2026"

# key, English text, German text (None: the German table has no such key).
STRINGS = [
    ("yes", "Yes", "Ja"),
    ("no", "No", "Nein"),
    ("ok", "OK", "OK"),
    ("cancel", "Cancel", "Abbrechen"),
    ("nomem", "Not enough memory!", None),
    ("kAdjustFrame", "Fit Box to Picture", "Rahmen an Bild anpassen"),
    ("kShowPath", "Show Image Names", "Bildnamen zeigen"),
    ("kImageList", "Image List" + ELLIPSIS, "Bilderliste erstellen" + ELLIPSIS),
    ("kPageStr", "Page %s:\r\n\r\n", "Seite %s:\r\n\r\n"),
    ("swap", "Swap images" + ELLIPSIS, "Bilder austauschen" + ELLIPSIS),
    ("kBitmap", "Bitmap", "Bitmap"),
    ("kGrayScale", "Grayscale", "Grayscale"),
    ("kRGB", "RGB", "RGB"),
    ("kCMYK", "CMYK", "CMYK"),
    ("kLAB", "LAB", "LAB"),
    ("kCMYKImg", "The following image is no CMYK-image!", "Das folgende Bild ist kein CMYK-Bild:"),
    ("kICCProf", "The following EPS-image contains a ICC profile", "Das folgende Bild enthält ein ICC-Profil:"),
    ("kJPGImg", "The following image is a JPEG-image!", "Das folgende Bild ist ein JPEG-Bild:"),
    ("kImgPath", "Images", "Bilder"),
    ("kSaveWarn", "Doc has not been saved!", "Das Dokument wurde noch nicht gesichert!"),
    ("kNotCompatible",
     "This version of Lumbrel is not compatible with this version of QuarkXPress!",
     "Diese Version von Lumbrel ist mit dieser Version von QuarkXPress nicht kompatibel!"),
    ("kOpenWith",
     "Could not open the image list file! Eventually the file is open in another application.",
     "Fehler beim Öffnen der Bilderliste! Eventuell ist die Datei in einer anderen Anwendung geöffnet."),
    ("kOverwrite", "%s already exists. Overwrite?", "%s existiert bereits. Überschreiben?"),
    ("kOpenHiRes", "Open HiRes" + ELLIPSIS, "HiRes öffnen" + ELLIPSIS),
    ("kReplace", "Replace image", "Bild austauschen"),
    ("hiToLo1", "1 HiRes-image has been replaced by Lores.", "1 HiRes-Bild wurde durch LoRes ersetzt."),
    ("hiToLoN", "%d HiRes-images have been replaced by Lores.", "%d HiRes-Bilder wurden durch LoRes ersetzt."),
    ("loToHi1", "1 of %d LoRes-image(s) has been replaced by HiRes.",
     "1 von %d LoRes-Bilder(n) wurde durch HiRes ersetzt."),
    ("loToHiN", "%d of %d LoRes-image(s) have been replaced by HiRes.",
     "%d von %d LoRes-Bilder(n) wurden durch HiRes ersetzt."),
    ("kAutoSwap", "Replace HiRes images by LoRes?", "LoRes-Bilder durch HiRes-Bilder ersetzen?"),
    ("kPrintLabel", "Do you want to print the image names?", "Sollen die Bildnamen mitgedruckt werden?"),
    ("imgMissing", "Image file not found!", "Bilddatei nicht gefunden!"),
    ("imgListTitle", "Create image list", "Bilderliste erstellen"),
    ("statusMiss", "Missing", "Fehlt"),
    ("statusMod", "Modified", "Modifiziert"),
    ("addNamesToPS", "Print image names?", "Bildnamen mitdrucken?"),
    ("keyDefaultApp", "Default application", "Standardprogramm"),
    ("keyChooseApp", "Choose application", "Programm wählen"),
    ("dropFolder", "Synchronize all pictures with folder content?", "Alle Bilder mit diesem Ordner abgleichen?"),
    ("fileNotFound", "File not found!", "Datei nicht gefunden!"),
    ("rename", "Rename picture file", "Bilddatei umbenennen"),
    ("swapDlg", "Swap images", "Bilder austauschen"),
    ("fileExts", 'File extensions (e.g. ".tif;.eps")', 'Dateierweiterungen (z.B. ".tif;.eps")'),
    ("search", "Search in", "Suchen im"),
    ("sameFolder", "same folder", "gleichen Ordner"),
    ("layoutsFolder", 'folder "layouts"', 'Ordner "layouts"'),
    ("selOnly", "Selected objects only", "Nur ausgewählte Objekte"),
    ("pdfNoPages", "PDF pages cannot be chosen in this host.",
     "PDF-Seiten können in diesem Programm nicht gewählt werden."),
    # The one report before output and the summary after relinking.
    ("kRepNoCMYK", "not CMYK", "kein CMYK"),
    ("kRepICC", "EPS with ICC profile", "EPS mit ICC-Profil"),
    ("kRepJPEG", "JPEG image", "JPEG-Bild"),
    ("kRepPasteboard", "pasteboard", "Montagefläche"),
    ("kRepLowPpi", "effective resolution", "effektive Auflösung"),
    ("kSyncSummary", "%d of %d pictures re-linked, %d not found, %d names found more than once (the first was used)",
     "%d von %d Bildern neu verknüpft, %d nicht gefunden, %d Namen mehrfach gefunden (der erste wurde verwendet)"),
    # Effective resolution and link status in words (image list, output check).
    ("kLinkOK", "OK", "OK"),
    ("kLinkMissing", "missing", "fehlt"),
    ("kLinkModified", "modified", "geändert"),
    ("kLowPpi", "The following image has only %.0f ppi effective, less than %d ppi:",
     "Das folgende Bild hat nur %.0f ppi effektiv, weniger als %d ppi:"),
]

BOM = b"\xef\xbb\xbf"
DECLARATION = '<?xml version="1.0" encoding="utf-8"?>'
LINE_END = "\r\n"


def table(column):
    lines = [DECLARATION]
    for entry in STRINGS:
        key, text = entry[0], entry[column]
        if text is None:
            continue
        if len(text.encode("utf-8")) > 255:
            raise SystemExit(f"{key}: text longer than 255 bytes")
        lines.append(f"<{key}>{text}</{key}>")
    return BOM + "".join(line + LINE_END for line in lines).encode("utf-8")


def main(arguments):
    check = "--check" in arguments
    rest = [a for a in arguments if a != "--check"]
    folder = pathlib.Path(rest[0]) if rest else pathlib.Path(__file__).resolve().parent.parent / "resources"
    status = 0
    for suffix, column in (("_E", 1), ("_D", 2)):
        path = folder / f"MyStrings{suffix}.xml"
        data = table(column)
        if check:
            if not path.exists() or path.read_bytes() != data:
                print(f"{path} differs from the table", file=sys.stderr)
                status = 1
        else:
            folder.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
