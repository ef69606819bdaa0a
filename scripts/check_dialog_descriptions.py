#!/usr/bin/env python3
"""Checks the dialog descriptions in resources/ the way the dialog builder will read them.

Every description must be:
- UTF-8 with CR LF line ends throughout, starting with the XML declaration (after an
  optional byte-order mark);
- plain tags only: no attributes, comments, entities or nested elements inside a
  control's fields (the reader knows none of them);
- one `window` with `name` and `rect`, followed by sibling `control` elements of known
  types, with containers ("grpb", "tabs", "rgrp", "upan") each closed by a "####" and a
  last "####" that closes the root pane;
- a `cmd` of exactly four bytes, ids 1 and 2 only on push buttons with "ok  " and "not!";
- laid out inside the client area: every control, after the builder's own geometry
  changes (push buttons and check boxes 24 high from top - 3, edit fields 19 high from
  top - 3, ...), inside its container, no two controls overlapping, and every label
  wide enough for its text at the dialog font;
- the same in English (_E) and German (_D): the same controls in the same order with
  the same types, ids, commands and settings keys; sizes differ only where texts do;
- complete for the code: every control that the module addresses by id (or command)
  is there once, of the kind the code expects, bound to its settings key and default.

Before the real files are checked, the checks are run on copies with planted faults,
each of which must be reported; so a check that stopped working fails this script too.

Usage: check_dialog_descriptions.py [resource folder] [--no-self-test]
Exit status 1 when any problem is found.
"""

import pathlib
import re
import sys

DECLARATION = '<?xml version="1.0" encoding="utf-8"?>'
BOM = b"\xef\xbb\xbf"

CONTAINERS = {"grpb", "tabs", "rgrp", "upan"}
END = "####"
KNOWN_TYPES = {"push", "cbox", "rdio", "grpb", "stxt", "etxt", "eutx", "lbox", "popb", "comb",
               "prgb", "tabs", "sepa", "rgrp", "upan", END}
TAB_STOPS = {"push", "cbox", "rdio", "etxt", "eutx", "lbox", "popb", "comb", "tabs"}
SINGLE_FIELDS = {"type", "text", "id", "cmd", "rect", "just", "pass", "multi", "pref", "dval",
                 "empt", "amnt", "date", "data", "sap ", "size"}
# Fields that must agree between the languages (texts, menus and rects may differ).
SAME_IN_ALL_LANGUAGES = ("type", "id", "cmd", "pref", "dval", "just", "pass", "multi",
                         "empt", "amnt", "date", "data", "sap ")

# A closed drop-down list is about as high as an edit field with its frame; the
# height written in a description is the open list and hangs below the dialog.
CLOSED_COMBO_HEIGHT = 21
# A group box draws its caption in the top band and its frame along the edges.
GROUP_CAPTION_BAND = 16
GROUP_FRAME_INSET = 6
# Client-edge containers lose two pixels of frame on every side.
CLIENT_EDGE = 2

# Text widths at the dialog font (MS Shell Dlg, 8 points at 96 dpi). Its horizontal
# base unit is 6 pixels, the mean advance of A-Z and a-z; capitals are wider, and a
# few letters are narrow or wide. The classes below average 6.25 over A-Z and a-z,
# slightly on the generous side.
NARROW = set("ijl.,:;'!|")
SEMI_NARROW = set('Ifrt()[]-/"')
WIDE_LOWER = set("mw")
WIDE = set("MW%\u2026")


def char_width(c):
    if c == " ":
        return 3.5
    if c in NARROW:
        return 3.0
    if c in SEMI_NARROW:
        return 4.5
    if c in WIDE_LOWER:
        return 9.0
    if c in WIDE:
        return 10.0
    if c.isupper():
        return 7.0
    if c.isdigit():
        return 6.0
    return 5.5


def text_width(text):
    # Numbers filled in at run time (a page count) take up to five digits.
    return sum(char_width(c) for c in text.replace("%d", "99999"))


# What a control needs beside its text: the check mark and its gap, a button's
# margins, a group caption's indent, a drop-down's arrow.
TEXT_EXTRA = {"stxt": 0, "cbox": 17, "rdio": 17, "push": 12, "grpb": 18}
MENU_EXTRA = 24


class Control:
    def __init__(self, index, line):
        self.index = index          # position among the controls, from 0
        self.line = line
        self.fields = {}            # single fields, raw text
        self.menu = []
        self.tab_labels = {}        # number -> text
        self.parent = None          # enclosing container (None: the root pane)
        self.rect = None            # as written
        self.effective = None       # after the builder's geometry changes, relative
        self.absolute = None        # effective, in window client coordinates

    @property
    def type(self):
        return self.fields.get("type", "")

    @property
    def label(self):
        text = self.fields.get("text", "")
        ident = self.fields.get("id")
        parts = ["control %d (line %d, %s" % (self.index + 1, self.line, self.type or "no type")]
        if ident is not None:
            parts.append(", id %s" % ident)
        if text:
            parts.append(', "%s"' % text)
        return "".join(parts) + ")"

    def ancestors(self):
        node = self.parent
        while node is not None:
            yield node
            node = node.parent


class Description:
    def __init__(self, name):
        self.name = name
        self.title = None
        self.rect = None
        self.controls = []
        self.problems = []

    def problem(self, text):
        self.problems.append("%s: %s" % (self.name, text))


TOKEN = re.compile(r"<(/?)([A-Za-z][A-Za-z0-9]*(?: )?|####)>")


def parse_int(text):
    if not re.fullmatch(r"-?[0-9]+", text):
        return None
    return int(text)


def parse_rect(text):
    if not re.fullmatch(r"-?[0-9]+ -?[0-9]+ -?[0-9]+ -?[0-9]+", text):
        return None
    return tuple(int(v) for v in text.split(" "))


def check_bytes(desc, data):
    """Line ends and encoding; returns the text after the declaration or None."""
    for pos in range(len(data)):
        byte = data[pos]
        if byte == 0x0A and (pos == 0 or data[pos - 1] != 0x0D):
            desc.problem("line %d ends in LF without CR" % (data.count(b"\n", 0, pos) + 1))
            break
        if byte == 0x0D and (pos + 1 == len(data) or data[pos + 1] != 0x0A):
            desc.problem("line %d ends in CR without LF" % (data.count(b"\n", 0, pos) + 1))
            break
    if not data.endswith(b"\r\n"):
        desc.problem("the last line has no CR LF")
    if data.startswith(BOM):
        data = data[len(BOM):]
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        desc.problem("not UTF-8 (%s)" % error)
        return None
    if not text.startswith(DECLARATION + "\r\n"):
        desc.problem("does not start with the line %s" % DECLARATION)
        return None
    return text[len(DECLARATION):]


def parse(desc, text, first_line=1):
    """Reads the elements; fills desc.title, desc.rect and desc.controls.

    Answers False when the structure could not be read to its end."""
    if "&" in text:
        line = first_line + text.count("\n", 0, text.index("&"))
        desc.problem("line %d: '&' (the reader decodes no entities)" % line)
    pos = 0
    stack = []          # open element names
    root_seen = False
    control = None
    value_start = None
    seen_window_fields = set()
    while True:
        lt = text.find("<", pos)
        between = text[pos:] if lt < 0 else text[pos:lt]
        line = first_line + text.count("\n", 0, pos)
        if between.strip() and (not stack or len(stack) < 2 or
                                (stack[-1] in ("window", "control"))):
            desc.problem("line %d: text outside a field: %r" % (line, between.strip()[:40]))
        if lt < 0:
            break
        match = TOKEN.match(text, lt)
        line = first_line + text.count("\n", 0, lt)
        if not match:
            desc.problem("line %d: markup the reader does not know: %r" % (line, text[lt:lt + 30]))
            return False
        closing, tag = match.group(1) == "/", match.group(2).lower()
        if not closing:
            depth = len(stack)
            if depth == 0 and tag != "window":
                desc.problem("line %d: the root element is <%s>, not <window>" % (line, tag))
                return False
            if depth == 0 and root_seen:
                desc.problem("line %d: a second root element" % line)
                return False
            root_seen = root_seen or depth == 0
            if depth == 1:
                if tag == "control":
                    control = Control(len(desc.controls), line)
                    desc.controls.append(control)
                elif tag in ("name", "rect"):
                    if tag in seen_window_fields:
                        desc.problem("line %d: a second <%s> in <window>" % (line, tag))
                    seen_window_fields.add(tag)
                    value_start = match.end()
                else:
                    desc.problem("line %d: <%s> does not belong in <window>" % (line, tag))
            elif depth == 2:
                if stack[-1] != "control":
                    desc.problem("line %d: <%s> nested in <%s>" % (line, tag, stack[-1]))
                    return False
                value_start = match.end()
            elif depth > 2:
                desc.problem("line %d: <%s> nested in <%s>" % (line, tag, stack[-1]))
                return False
            stack.append(tag)
        else:
            if not stack or stack[-1] != tag:
                desc.problem("line %d: </%s> closes %s" %
                             (line, tag, "<%s>" % stack[-1] if stack else "nothing"))
                return False
            stack.pop()
            depth = len(stack)
            if depth == 1 and tag in ("name", "rect"):
                value = text[value_start:lt]
                if tag == "name":
                    desc.title = value
                else:
                    desc.rect = parse_rect(value)
                    if desc.rect is None:
                        desc.problem("line %d: window rect %r is not four integers" % (line, value))
            elif depth == 2:
                store_field(desc, control, tag, text[value_start:lt], line)
        pos = match.end()
    if stack:
        desc.problem("<%s> is never closed" % stack[-1])
        return False
    if desc.title is None or not desc.title.strip():
        desc.problem("the window has no name (title)")
    if "rect" not in seen_window_fields:
        desc.problem("the window has no rect")
    elif desc.rect is not None and (desc.rect[2] <= 0 or desc.rect[3] <= 0):
        desc.problem("the window's client area is empty")
    return True


def store_field(desc, control, tag, value, line):
    if tag == "menu":
        control.menu.append(value)
        return
    tab_label = re.fullmatch(r"text([0-9]+)", tag)
    if tab_label:
        number = int(tab_label.group(1))
        if number in control.tab_labels:
            desc.problem("line %d: a second <%s>" % (line, tag))
        control.tab_labels[number] = value
        return
    if tag not in SINGLE_FIELDS:
        desc.problem("line %d: unknown field <%s> in a control" % (line, tag))
        return
    if tag in control.fields:
        desc.problem("line %d: a second <%s> in one control" % (line, tag))
    control.fields[tag] = value


def effective_rect(control):
    """The rect the builder creates, relative to the container's client area."""
    left, top, width, height = control.rect
    kind = control.type
    if kind in ("push", "cbox", "rdio"):
        return (left, top - 3, width, 24)
    if kind == "stxt":
        return (left, top, width, 16)
    if kind in ("etxt", "eutx"):
        return (left, top - 3, width, height if control.fields.get("multi") == "1" else 19)
    if kind == "popb":
        return (left + 3, top - 2, width - 5, CLOSED_COMBO_HEIGHT)
    if kind == "comb":
        return (left + 3, top, width - 5, CLOSED_COMBO_HEIGHT)
    if kind in ("sepa", "rgrp"):
        return (left, top - 3, width, height)
    return (left, top, width, height)


def client_area(control):
    """Origin (relative to the control's own rect) and size of a container's client area."""
    _, _, width, height = control.effective
    inset = CLIENT_EDGE if control.type == "tabs" else 0
    return inset, inset, width - 2 * inset, height - 2 * inset


def check_controls(desc):
    ids = {}
    open_containers = []
    root_closed = False
    for control in desc.controls:
        kind = control.type
        fields = control.fields
        where = control.label
        if root_closed:
            desc.problem("%s comes after the root pane was closed" % where)
        if "type" not in fields:
            desc.problem("%s has no type" % where)
            continue
        if kind not in KNOWN_TYPES:
            desc.problem("%s: unknown type %r" % (where, kind))
            continue
        if kind == END:
            extra = set(fields) - {"type"}
            if extra or control.menu or control.tab_labels:
                desc.problem("%s: a container end carries %s" % (where, ", ".join(sorted(extra)) or "items"))
            if open_containers:
                open_containers.pop()
            else:
                root_closed = True
            continue
        control.parent = open_containers[-1] if open_containers else None
        if kind in CONTAINERS:
            open_containers.append(control)

        cmd = fields.get("cmd")
        if cmd is not None and len(cmd.encode("utf-8")) != 4:
            desc.problem("%s: cmd %r is not four bytes" % (where, cmd))
        ident = None
        if "id" in fields:
            ident = parse_int(fields["id"])
            if ident is None or not -32768 <= ident <= 32767:
                desc.problem("%s: id %r is not a 16-bit integer" % (where, fields["id"]))
            elif ident > 0:
                if ident in ids:
                    desc.problem("%s: id %d is also %s" % (where, ident, ids[ident].label))
                ids[ident] = control
        if ident == 1 and (kind != "push" or cmd != "ok  "):
            desc.problem('%s: id 1 must be a push button with cmd "ok  "' % where)
        if ident == 2 and (kind != "push" or cmd != "not!"):
            desc.problem('%s: id 2 must be a push button with cmd "not!"' % where)
        if cmd == "ok  " and ident != 1:
            desc.problem('%s: cmd "ok  " belongs to id 1' % where)
        if cmd == "not!" and ident != 2:
            desc.problem('%s: cmd "not!" belongs to id 2' % where)

        if "just" in fields and (kind not in ("stxt", "etxt", "eutx") or fields["just"] not in ("center", "right")):
            desc.problem("%s: just %r means nothing here" % (where, fields["just"]))
        for flag in ("pass", "multi"):
            if flag in fields and (kind not in ("etxt", "eutx") or fields[flag] != "1"):
                desc.problem("%s: %s %r means nothing here" % (where, flag, fields[flag]))
        if "size" in fields and parse_int(fields["size"]) is None:
            desc.problem("%s: size %r is not an integer" % (where, fields["size"]))
        if control.menu and kind not in ("popb", "comb"):
            desc.problem("%s: menu items on a %s" % (where, kind))
        if kind == "popb" and control.menu and fields.get("text", "") not in control.menu:
            desc.problem("%s: its text selects none of its menu items" % where)
        if control.tab_labels:
            if kind != "tabs":
                desc.problem("%s: tab labels on a %s" % (where, kind))
            numbers = sorted(control.tab_labels)
            if numbers != list(range(1, len(numbers) + 1)):
                desc.problem("%s: tab labels are not numbered 1, 2, ... without gaps" % where)
        if "dval" in fields and not fields.get("pref"):
            desc.problem("%s: a default without a settings key" % where)
        if "pref" in fields and (not fields["pref"] or kind not in ("cbox", "rdio", "etxt", "eutx")):
            desc.problem("%s: settings key %r on a control that cannot hold it" % (where, fields["pref"]))

        if "rect" not in fields:
            desc.problem("%s has no rect" % where)
            continue
        control.rect = parse_rect(fields["rect"])
        if control.rect is None:
            desc.problem("%s: rect %r is not four integers" % (where, fields["rect"]))
            continue
        if control.rect[2] <= 0 or control.rect[3] <= 0:
            desc.problem("%s: rect %r is empty" % (where, fields["rect"]))
            control.rect = None
            continue
        control.effective = effective_rect(control)
    if open_containers:
        desc.problem("%s is never closed" % open_containers[-1].label)
    if not root_closed:
        desc.problem('the description does not end with the "####" that closes the root pane')


def inside(rect, width, height):
    left, top, w, h = rect
    return left >= 0 and top >= 0 and left + w <= width and top + h <= height


def overlap(a, b):
    return (a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and
            a[1] < b[1] + b[3] and b[1] < a[1] + a[3])


def check_geometry(desc):
    if desc.rect is None:
        return
    placed = [c for c in desc.controls if c.effective is not None and c.type != END]
    for control in placed:
        parent = control.parent
        if parent is not None and parent.effective is None:
            control.effective = None
            continue
        if parent is None:
            origin_x, origin_y, width, height = 0, 0, desc.rect[2], desc.rect[3]
            where = "the window's client area (%d x %d)" % (width, height)
        else:
            inset_x, inset_y, width, height = client_area(parent)
            origin_x = parent.absolute[0] + inset_x
            origin_y = parent.absolute[1] + inset_y
            where = "its container, %s" % parent.label
        left, top, w, h = control.effective
        control.absolute = (origin_x + left, origin_y + top, w, h)
        if not inside(control.effective, width, height):
            desc.problem("%s at %s after the builder's changes lies outside %s" %
                         (control.label, control.effective, where))
        elif parent is not None and parent.type == "grpb":
            band = GROUP_CAPTION_BAND if parent.fields.get("text") else GROUP_FRAME_INSET
            if (top < band or left < GROUP_FRAME_INSET or left + w > width - GROUP_FRAME_INSET or
                    top + h > height - GROUP_FRAME_INSET):
                desc.problem("%s touches the caption or frame of %s" % (control.label, parent.label))
    placed = [c for c in placed if c.absolute is not None]
    for i, first in enumerate(placed):
        for second in placed[i + 1:]:
            if first in second.ancestors() or second in first.ancestors():
                continue
            if overlap(first.absolute, second.absolute):
                both = first.type in TAB_STOPS and second.type in TAB_STOPS
                desc.problem("%s%s overlaps %s" % ("tab stop " if both else "", first.label, second.label))


def check_text_fit(desc):
    for control in desc.controls:
        if control.effective is None:
            continue
        width = control.effective[2]
        text = control.fields.get("text", "")
        if text and control.type in TEXT_EXTRA:
            need = text_width(text) + TEXT_EXTRA[control.type]
            if need > width:
                desc.problem("%s is %d pixels wide, its text needs about %d" % (control.label, width, need))
        if control.menu and control.type in ("popb", "comb"):
            need = max(text_width(item) for item in control.menu) + MENU_EXTRA
            if need > width:
                desc.problem("%s is %d pixels wide, its longest item needs about %d" %
                             (control.label, width, need))


def check_description(name, data):
    desc = Description(name)
    text = check_bytes(desc, data)
    if text is not None and parse(desc, text):
        check_controls(desc)
        check_geometry(desc)
        check_text_fit(desc)
    return desc


def size_of(control):
    return None if control.rect is None else control.rect[2:]


def texts_of(control):
    return (control.fields.get("text", ""), tuple(control.menu), tuple(sorted(control.tab_labels.items())))


def check_languages(english, german):
    """The two languages of one dialog: same controls, sizes changed only for texts."""
    problems = []
    pair = "%s / %s" % (english.name, german.name)
    if len(english.controls) != len(german.controls):
        problems.append("%s: %d controls against %d" % (pair, len(english.controls), len(german.controls)))
    resized = set()
    for e, d in zip(english.controls, german.controls):
        for field in SAME_IN_ALL_LANGUAGES:
            if e.fields.get(field) != d.fields.get(field):
                problems.append("%s: %s has %s %r, in German %r" %
                                (pair, e.label, field, e.fields.get(field), d.fields.get(field)))
        if len(e.menu) != len(d.menu) or sorted(e.tab_labels) != sorted(d.tab_labels):
            problems.append("%s: %s has a different number of menu items or tab labels" % (pair, e.label))
        if size_of(e) is not None and size_of(d) is not None and size_of(e) != size_of(d):
            resized.add(e.index)
    # A size may change for the control's own text, or for a container whose content changed.
    for e, d in reversed(list(zip(english.controls, german.controls))):
        if e.index not in resized or texts_of(e) != texts_of(d):
            continue
        grew_inside = any(e in c.ancestors() and c.index in resized for c in english.controls)
        if not grew_inside:
            problems.append("%s: %s changes size between the languages though its text does not" % (pair, e.label))
    if english.rect and german.rect and english.rect[2:] != german.rect[2:]:
        any_text_differs = english.title != german.title or any(
            texts_of(e) != texts_of(d) for e, d in zip(english.controls, german.controls))
        if not any_text_differs:
            problems.append("%s: the windows differ in size though no text does" % pair)
    return problems


# The descriptions the module asks for, and the preference pane by resource id
# (28051 + 100 x language: English 0, German 3).
DIALOGS = ["EDIT", "IMGLIST", "PDFIMPORT", "RELINK", "SWAP", "Progress", "Rename", "REPORT"]
PANE = ("28051.xml", "28351.xml")
STRING_TABLES = re.compile(r"MyStrings_[A-Z]\.xml", re.IGNORECASE)


def pairs():
    for dialog in DIALOGS:
        yield "%s_E.xml" % dialog, "%s_D.xml" % dialog
    yield PANE


# The controls that the module's code addresses in each dialog, by id (or, for the
# progress bar, by command): kind, and the settings key and default where the
# description binds one.
ADDRESSED = {
    "EDIT": [(1, "push"), (3, "push"), (4, "push"), (5, "popb"), (6, "push"), (7, "stxt"), (8, "stxt"),
             (9, "push")],
    "IMGLIST": [(1, "push"), (2, "push"), (3, "cbox"), (4, "cbox"), (5, "cbox"), (6, "popb"), (7, "cbox"),
                (8, "etxt")],
    "PDFIMPORT": [(1, "push"), (2, "push"), (3, "push"), (4, "push"), (5, "etxt"), (6, "stxt"), (7, "popb"),
                  (8, "stxt"), (9, "stxt"), (10, "push")],
    "RELINK": [(1, "push"), (2, "push"), (3, "etxt")],
    "Rename": [(1, "push"), (2, "push"), (3, "etxt")],
    "SWAP": [(2, "push"), (3, "push"), (4, "push"), (5, "etxt", "LoRes", ".lay"), (6, "etxt", "HiRes", None),
             (7, "cbox", "same", "1"), (8, "cbox", "layouts", "0"), (9, "cbox")],
    "Progress": [(2, "push"), ("prog", "prgb")],
    "REPORT": [(1, "push"), (2, "push"), (3, "lbox"), (4, "push"), (5, "push"), (6, "push"), (7, "push")],
    "pane": [(1, "push"), (2, "push")] + [(item, "cbox") for item in list(range(3, 11)) + [14, 15]],
}
# Controls a dialog must not have (the Windows pane lacks the two folder options).
ABSENT = {}


def use_windows_pane():
    """The Windows form of the pane: no items 9 and 10, which its handler never reads."""
    ADDRESSED["pane"] = [(1, "push"), (2, "push")] + [(item, "cbox") for item in list(range(3, 9)) + [14, 15]]
    ABSENT["pane"] = [9, 10]


def addressed_controls(desc):
    """Every control the code reaches exists once, of the kind the code expects."""
    dialog = "pane" if desc.name in PANE else desc.name.rsplit("_", 1)[0]
    problems = []
    for entry in ADDRESSED.get(dialog, []):
        key, kind = entry[0], entry[1]
        if isinstance(key, int):
            found = [c for c in desc.controls if parse_int(c.fields.get("id", "")) == key]
            what = "id %d" % key
        else:
            found = [c for c in desc.controls if c.fields.get("cmd") == key]
            what = "cmd %r" % key
        if len(found) != 1:
            problems.append("%s: %d controls with %s, the code needs one" % (desc.name, len(found), what))
            continue
        control = found[0]
        kinds = {kind, "eutx"} if kind == "etxt" else {kind}
        if control.type not in kinds:
            problems.append("%s: %s is a %s, the code needs a %s" % (desc.name, control.label, control.type, kind))
        if len(entry) > 2:
            pref, dval = entry[2], entry[3]
            if control.fields.get("pref") != pref or control.fields.get("dval") != dval:
                problems.append("%s: %s is bound to %r with default %r, not %r with %r" %
                                (desc.name, control.label, control.fields.get("pref"), control.fields.get("dval"),
                                 pref, dval))
    for item in ABSENT.get(dialog, []):
        if any(parse_int(c.fields.get("id", "")) == item for c in desc.controls):
            problems.append("%s: a control with id %d, which this form of the dialog has not" % (desc.name, item))
    return problems


def extra_rules(desc):
    """Rules of single dialogs."""
    problems = addressed_controls(desc)
    if desc.name in PANE:
        # The pane's handler reads and writes its keys itself through the host.
        for control in desc.controls:
            if "pref" in control.fields or "dval" in control.fields:
                problems.append("%s: %s is bound to a settings key; the pane handles its keys itself" %
                                (desc.name, control.label))
    return problems


def shipped_files(folder, overlay=None):
    """The descriptions of folder by name, those of overlay taking the place of their namesakes."""
    files = {}
    for source in [folder] + ([overlay] if overlay else []):
        for path in sorted(source.glob("*.xml")):
            if not STRING_TABLES.fullmatch(path.name):
                files[path.name] = path.read_bytes()
    return files


def check_folder(folder, files=None):
    """All problems of the descriptions in folder; files maps names to bytes (for copies)."""
    problems = []
    if files is None:
        files = shipped_files(folder)
    expected = [name for pair in pairs() for name in pair]
    for name in expected:
        if name not in files:
            problems.append("%s: missing" % name)
    checked = {}
    for name, data in sorted(files.items()):
        desc = check_description(name, data)
        problems.extend(desc.problems)
        problems.extend(extra_rules(desc))
        checked[name] = desc
    for english, german in pairs():
        if english in checked and german in checked:
            problems.extend(check_languages(checked[english], checked[german]))
    return problems


# Planted faults: (what, file, bytes to replace, replacement, a word the report must hold).
PLANTED = [
    ("a line ending in LF only", "SWAP_E.xml", b"</name>\r\n", b"</name>\n", "LF"),
    ("a three-character command", "IMGLIST_E.xml", b"<cmd>ok  </cmd>", b"<cmd>ok </cmd>", "four bytes"),
    ("an unknown control type", "EDIT_D.xml", b"<type>sepa</type>", b"<type>line</type>", "unknown type"),
    ("a missing root close", "RELINK_E.xml", b"\t<control>\r\n\t\t<type>####</type>\r\n\t</control>\r\n</window>",
     b"</window>", "root pane"),
    ("a group box never closed", "SWAP_D.xml", b"\t<control>\r\n\t\t<type>####</type>\r\n\t</control>\r\n\t<control>\r\n"
     b"\t\t<type>grpb</type>", b"\t<control>\r\n\t\t<type>grpb</type>", "root pane"),
    ("a control outside the window", "Progress_E.xml", b"<rect>274 ", b"<rect>290 ", "outside"),
    ("a control past its group box", "SWAP_E.xml", b"<rect>65 24 233 19</rect>", b"<rect>65 24 250 19</rect>",
     "outside"),
    ("a label on the group caption", "SWAP_E.xml", b"<rect>10 24 48 16</rect>", b"<rect>10 8 48 16</rect>",
     "caption"),
    ("two buttons on top of each other", "PDFIMPORT_E.xml", b"<rect>11 136 90 23</rect>", b"<rect>200 136 90 23</rect>",
     "tab stop"),
    ("check boxes closer than the builder makes them", "28051.xml", b"<rect>20 35 ", b"<rect>20 32 ", "overlaps"),
    ("an id that differs between the languages", "EDIT_D.xml", b"<id>9</id>", b"<id>11</id>", "in German"),
    ("a settings key only in one language", "SWAP_D.xml", b"<pref>same</pref>", b"<pref>Same</pref>", "in German"),
    ("a size changed without a text change", "IMGLIST_D.xml", b"<rect>94 14 372 19</rect>",
     b"<rect>94 14 360 19</rect>", "changes size"),
    ("OK with the cancel command", "Rename_D.xml", b"<cmd>ok  </cmd>", b"<cmd>not!</cmd>", "id 1"),
    ("an entity in a text", "EDIT_E.xml", b"<text>Done</text>", b"<text>Done &amp; close</text>", "entities"),
    ("an attribute", "IMGLIST_E.xml", b"<window>", b'<window lang="en">', "markup"),
    ("a German text too long for its button", "EDIT_D.xml", b"<text>Fertig</text>",
     b"<text>Fertigstellen und schlie\xc3\x9fen</text>", "needs"),
    ("a control the code needs gone", "IMGLIST_E.xml", b"<id>8</id>", b"<id>18</id>", "the code needs one"),
    ("a wrong default of a bound key", "SWAP_E.xml", b"<dval>.lay</dval>", b"<dval>.lo</dval>", "default"),
    ("the progress bar without its command", "Progress_D.xml", b"<cmd>prog</cmd>", b"<cmd>????</cmd>", "prog"),
    ("a key bound on the preference pane", "28351.xml", b"<id>3</id>", b"<id>3</id>\r\n\t\t<pref>DragAndDrop</pref>",
     "settings key"),
]


def self_test(folder, overlay=None):
    originals = shipped_files(folder, overlay)
    failures = []
    for what, name, old, new, word in PLANTED:
        if name not in originals or originals[name].count(old) < 1:
            failures.append("self-test: cannot plant %s: %r not found in %s" % (what, old, name))
            continue
        copy = dict(originals)
        copy[name] = originals[name].replace(old, new, 1)
        found = [p for p in check_folder(folder, copy) if name in p]
        if not any(word in p for p in found):
            failures.append("self-test: %s in %s went unreported" % (what, name))
    return failures


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    folder = pathlib.Path(args[0]) if args else pathlib.Path(__file__).resolve().parent.parent / "resources"
    # --windows: the Windows build's set, resources-windows/ replacing its namesakes.
    overlay = None
    if "--windows" in argv:
        overlay = folder.parent / "resources-windows"
        use_windows_pane()
    problems = check_folder(folder, shipped_files(folder, overlay))
    if not problems and "--no-self-test" not in argv:
        problems = self_test(folder, overlay)
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print("dialog descriptions: %d files checked" % len([n for p in pairs() for n in p]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
