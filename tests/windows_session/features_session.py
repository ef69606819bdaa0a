#!/usr/bin/env python3
"""Runs samples/windows-features.session in the Windows host under Wine and
checks the files it leaves: the PostScript labels, the image list, and what
the transcript says was opened and revealed.

features_session.py EMULATOR HOSTSIM MODULE_DIR SOURCE_DIR SCRATCH_DIR
"""
import json
import os
import re
import shutil
import subprocess
import sys

BOM = b"\xef\xbb\xbf"


def windows_path(unix_path):
    """The path as Wine's Z: drive shows a Unix path."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def unix_path(windows, prefix):
    """A Windows path of the session back on the Unix side (Z: or the prefix's C:)."""
    drive, rest = windows[:2].upper(), windows[2:].replace("\\", "/")
    if drive == "Z:":
        return rest
    if drive == "C:":
        return os.path.join(prefix, "drive_c") + rest
    raise ValueError("no Unix path for " + windows)


def prepare(source, scratch):
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    shutil.copy(os.path.join(source, "samples", "sample.json"), scratch)
    shutil.copytree(os.path.join(source, "samples", "pictures"), os.path.join(scratch, "pictures"))
    pictures = os.path.join(scratch, "pictures")

    # The same layout with rgb.tif's low-resolution twin in "Layouts".
    os.makedirs(os.path.join(pictures, "Layouts"))
    shutil.copy(os.path.join(pictures, "rgb.tif"), os.path.join(pictures, "Layouts", "rgb.tif.lay"))
    with open(os.path.join(scratch, "sample.json"), encoding="utf-8") as f:
        layout = json.load(f)
    twins = 0
    for spread in layout["spreads"]:
        for box in spread["boxes"]:
            picture = box.get("picture")
            if picture and picture["path"] == "pictures/rgb.tif":
                picture["path"] = "pictures/Layouts/rgb.tif.lay"
                twins += 1
    assert twins == 1, "the sample layout has one rgb.tif"
    with open(os.path.join(scratch, "layouts.json"), "w", encoding="utf-8") as f:
        json.dump(layout, f)



def lines_end_in_crlf(data):
    """Every CR is followed by LF and every LF follows a CR."""
    return re.search(rb"\r(?!\n)|(?<!\r)\n", data) is None


def main():
    emulator = sys.argv[1]
    hostsim, module_dir, source, scratch = (os.path.abspath(a) for a in sys.argv[2:6])
    failures = []

    def check(condition, what):
        if not condition:
            failures.append(what)

    prepare(source, scratch)
    module = os.path.join(scratch, "XTensions")
    shutil.copytree(module_dir, module)  # the settings the session saves stay here
    transcript_path = os.path.join(scratch, "transcript.txt")
    run = subprocess.run([emulator, hostsim, "--no-socket", "--quiet", "--module", module,
                          "--transcript", transcript_path,
                          "--script", os.path.join(source, "samples", "windows-features.session")],
                         cwd=scratch, stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
    with open(transcript_path, encoding="utf-8") as f:
        transcript = f.read()
    if run.returncode != 0:
        sys.stderr.write(transcript + run.stderr.decode("utf-8", "replace"))
        print("the session failed (exit code %d)" % run.returncode)
        return 1

    # Labels in PostScript: CR LF at every line end of the snippet, the font
    # program (resource F1 of type PS) once, before the first findfont.
    with open(os.path.join(scratch, "labels.ps"), "rb") as f:
        ps = f.read()
    snippets = re.findall(rb"\r\ngsave\r\n.*?grestore\r\n\r\n", ps, re.S)
    pictures_printed = int(re.search(r'print "labels.ps": \d+ pages, (\d+) snippets', transcript).group(1))
    check(pictures_printed > 1 and len(snippets) == pictures_printed, "one CR LF snippet per label")
    check(ps.count(b"/FontName /__f1") == 1 and ps.find(b"/FontName /__f1") < ps.find(b"/__f1 findfont"),
          "the label font program sent once, before the first findfont")
    for snippet in snippets:
        body = re.sub(rb"%!PS-AdobeFont.*?cleartomark\s*", b"", snippet, flags=re.S)
        check(re.search(rb"\r\n/__f1 findfont \[8 0 0 -8 0 0\] makefont setfont\r\n1 setgray [-\d.]+ [-\d.]+ \(.*?\) "
                        rb"stringwidth pop 8 rectfill\r\n0 setgray [-\d.]+ [-\d.]+ moveto\r\n\(.*?\) show\r\n", body)
              is not None, "snippet lines: %r" % body[:200])
    check(b"(rgb.tif) show" in ps, "the label is the file name after the last backslash")

    # The image list: BOM, CR LF lines, opened with the shell's default action.
    opened = re.search(r'open "([^"]*Bilderliste Ä\.txt)" with default application\n', transcript)
    check(opened is not None, "the image list opened with the default application")
    if opened:
        with open(unix_path(opened.group(1), os.environ.get("WINEPREFIX", "")), "rb") as f:
            listed = f.read()
        check(listed.startswith(BOM + b"Page 1:\r\n\r\n\trgb.tif\t"), "image list heading and first line")
        check(lines_end_in_crlf(listed), "image list lines end in CR LF")

    # The edit window: Explorer reveals the picture, the shell opens it.
    rgb = windows_path(os.path.join(scratch, "pictures", "rgb.tif"))
    check('reveal "%s"\n' % rgb in transcript, "Show… reveals the picture")
    check('open "%s" with default application\n' % rgb in transcript, "Edit opens the picture")

    pdf = windows_path(os.path.join(scratch, "pictures", "pages.pdf"))
    check('reveal "%s"\n' % pdf in transcript, "the PDF dialog's Show… reveals the PDF")
    check('open "%s" with default application\n' % pdf in transcript, "the PDF dialog's Edit… opens the PDF")

    # Swapped down again: the layouts folder written with backslashes.
    with open(os.path.join(scratch, "swapped.json"), encoding="utf-8") as f:
        swapped = json.load(f)
    paths = {box["id"]: box["picture"]["path"] for spread in swapped["spreads"] for box in spread["boxes"]
             if box.get("picture")}
    check(paths.get(3) == windows_path(os.path.join(scratch, "pictures")) + "\\layouts\\rgb.tif.lay",
          "the low-resolution twin's path: %s" % paths.get(3))

    check("invalid answer" not in transcript, "every alert answered as the session meant")

    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
