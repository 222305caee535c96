#!/usr/bin/env python3
"""Writes a synthetic document project for timing the help compiler.

Usage: generate.py N SEED OUTDIR

N is the number of items (commands, classes, class methods, structures,
constants and macros together; structure elements and arguments are not
counted). The items are spread over libraries of a few hundred items each;
every library lives in its own file, which the main file imports. The main
file also carries the project texts and a catalog, and a few small images are
written into OUTDIR/img and shown by the descriptions.

The same N and SEED always give the same bytes. Every name is an identifier
(letters, digits and "_", not starting with a digit), so the project passes
the checks. Items are written in shuffled order, so sorting has work to do,
and common names recur across libraries, so keywords collect many links.
"""

import os
import random
import struct
import sys
import zlib

ITEMS_PER_LIBRARY = 250
IMAGE_COUNT = 4

VERBS = [
    "Open", "Close", "Read", "Write", "Draw", "Fill", "Clear", "Create", "Free",
    "Load", "Save", "Copy", "Move", "Find", "Get", "Set", "Add", "Remove",
    "Insert", "Delete", "Start", "Stop", "Pause", "Resume", "Reset", "Update",
    "Render", "Scale", "Rotate", "Flip", "Lock", "Unlock", "Send", "Receive",
    "Parse", "Format", "Sort", "Merge", "Split", "Count",
]
NOUNS = [
    "Screen", "Window", "File", "Stream", "Buffer", "Image", "Sprite", "Sound",
    "Channel", "Socket", "Packet", "Thread", "Mutex", "Timer", "Event", "Queue",
    "List", "Map", "Array", "String", "Text", "Font", "Color", "Palette",
    "Brush", "Pen", "Path", "Shape", "Box", "Circle", "Line", "Point", "Rect",
    "Region", "Layer", "Canvas", "Texture", "Mesh", "Camera", "Light",
    "Gadget", "Menu", "Button", "Label", "Field", "Cursor", "Mouse",
    "Keyboard", "Joystick", "Device", "Driver", "Module", "Plugin", "Record",
    "Table", "Column", "Row", "Cell", "Node", "Tree",
]
ADJECTIVES = [
    "Max", "Min", "Default", "Global", "Local", "First", "Last", "Next",
    "Prev", "Fast", "Slow", "Big", "Small", "Left", "Right", "Top", "Bottom",
    "Inner", "Outer", "Raw", "Packed", "Signed", "Unsigned", "Shared",
]
ARGUMENT_NAMES = [
    "x", "y", "width", "height", "depth", "color", "flags", "mode", "count",
    "length", "offset", "size", "handle", "id", "name", "text", "path",
    "buffer", "index", "value", "minimum", "maximum", "delay", "speed",
]
TYPES = ["l", "i", "w", "b", "s", "f", "d", "q", "a"]
SYSTEMS = ["Windows", "Linux", "MacOS", "AmigaOS", "Haiku", "FreeBSD"]
KEYWORDS = [
    "graphics", "drawing", "2D", "3D", "files", "streams", "input", "output",
    "network", "sound", "music", "timing", "threads", "memory", "strings",
    "text", "fonts", "colours", "images", "sprites", "windows", "gadgets",
    "menus", "events", "keyboard", "mouse", "joystick", "database", "sorting",
    "searching", "maths", "random", "compression", "encryption", "date",
    "time", "clipboard", "printing", "serial port", "registry",
]
WORDS = (
    "the a an of to in is it that for on with as by this be at from or are "
    "which when each all its one value given new current first last screen "
    "file buffer pixel line colour window stream handle size width height "
    "position result memory list entry item field table returns sets reads "
    "writes opens closes draws fills clears creates releases moves copies "
    "checks keeps uses calls changes counts stores starts stops waits turns "
    "before after while until unless again only also never always still even "
    "fast slow large small empty full valid open closed visible hidden"
).split()


def lower_first(name):
    return name[0].lower() + name[1:]


class Names:
    """Distinct identifiers within one library, drawn from shared pools."""

    def __init__(self, rng):
        self.rng = rng
        self.used = set()

    def take(self, make):
        for _ in range(50):
            name = make()
            if name.lower() not in self.used:
                self.used.add(name.lower())
                return name
        # The pools ran dry for this library: make the name unique.
        base = make()
        suffix = 2
        while (base + str(suffix)).lower() in self.used:
            suffix += 1
        name = base + str(suffix)
        self.used.add(name.lower())
        return name

    def command(self):
        return self.take(lambda: self.rng.choice(VERBS) + self.rng.choice(NOUNS))

    def cls(self):
        return self.take(lambda: self.rng.choice(NOUNS) + self.rng.choice(["", "Object", "Set", "Pool"]))

    def structure(self):
        return self.take(lambda: self.rng.choice(NOUNS) + self.rng.choice(["Info", "Data", "Header", "Desc"]))

    def constant(self):
        return self.take(lambda: self.rng.choice(ADJECTIVES) + self.rng.choice(NOUNS))

    def macro(self):
        return self.take(lambda: self.rng.choice(ADJECTIVES) + self.rng.choice(VERBS))


class Library:
    """The names of one library, settled before any text refers to them."""

    def __init__(self, number, rng, item_count):
        self.number = number
        self.name = "Lib%04d_%s" % (number, rng.choice(NOUNS))
        self.file = "libs/lib%04d.xml" % number
        names = Names(rng)
        self.commands, self.classes, self.structures = [], [], []
        self.constants, self.macros = [], []
        left = item_count
        while left > 0:
            roll = rng.random()
            if roll < 0.05 and left >= 3:
                methods = rng.randint(2, min(9, left - 1))
                method_names = Names(rng)
                self.classes.append((names.cls(), [method_names.command() for _ in range(methods)]))
                left -= 1 + methods
            elif roll < 0.60:
                self.commands.append(names.command())
                left -= 1
            elif roll < 0.70:
                self.structures.append(names.structure())
                left -= 1
            elif roll < 0.86:
                self.constants.append(names.constant())
                left -= 1
            else:
                self.macros.append(names.macro())
                left -= 1
        # Guarantee one of each kind that texts refer to.
        if not self.commands:
            self.commands.append(names.command())
        self.systems = rng.sample(SYSTEMS, rng.randint(1, 3))


class Writer:
    def __init__(self, rng, libraries):
        self.rng = rng
        self.libraries = libraries
        self.image_count = 0

    # Plain text -----------------------------------------------------------

    def sentence(self, low=6, high=16):
        words = [self.rng.choice(WORDS) for _ in range(self.rng.randint(low, high))]
        return words[0].capitalize() + " " + " ".join(words[1:]) + "."

    def keywords(self):
        return ";".join(self.rng.sample(KEYWORDS, self.rng.randint(1, 3)))

    # Markup ----------------------------------------------------------------

    def reference(self, library):
        """One inline reference, mostly into the library being read."""
        rng = self.rng
        target = library if rng.random() < 0.85 else rng.choice(self.libraries)
        lib = "" if target is library else ", " + target.name
        roll = rng.random()
        if roll < 0.45:
            return "@refcommand(%s%s)" % (rng.choice(target.commands), lib)
        if roll < 0.55 and target.classes:
            cls, methods = rng.choice(target.classes)
            if rng.random() < 0.5:
                return "@refclass(%s%s)" % (cls, lib)
            return "@refmember(%s, %s%s)" % (rng.choice(methods), cls, lib)
        if roll < 0.70 and target.constants:
            return "@refconstant(%s%s)" % (rng.choice(target.constants), lib)
        if roll < 0.80 and target.macros:
            return "@refmacro(%s%s)" % (rng.choice(target.macros), lib)
        if roll < 0.90 and target.structures:
            return "@refstruct(%s%s)" % (rng.choice(target.structures), lib)
        return "@reflibrary(%s)" % target.name

    def image(self):
        self.image_count += 1
        return "@image(img/pic%d.png)" % self.rng.randint(1, IMAGE_COUNT)

    def fragment(self, library):
        """A sentence with one piece of markup in it."""
        rng = self.rng
        roll = rng.random()
        text = self.sentence(4, 10)[:-1]
        if roll < 0.35:
            return "%s, see %s." % (text, self.reference(library))
        if roll < 0.50:
            return "%s @bold%s@endbold." % (text, rng.choice(WORDS))
        if roll < 0.60:
            return "%s @code %s(%d)@endcode." % (text, rng.choice(library.commands), rng.randint(0, 99))
        if roll < 0.68 and library.constants:
            return "%s with @const(%s)." % (text, rng.choice(library.constants))
        if roll < 0.76:
            return "%s like @func(%s).@linebreak" % (text, rng.choice(library.commands))
        if roll < 0.82:
            return "%s @italic%s@enditalic &amp; more." % (text, rng.choice(WORDS))
        if roll < 0.86:
            return "@color(%d,%d,%d)%s@endcolor." % (rng.randint(0, 255), rng.randint(0, 255), rng.randint(0, 255), text)
        if roll < 0.90:
            return "@indent(%d)%s.@endindent" % (rng.choice([10, 20, 40]), text)
        return "%s: 1 @lt 2@spc@gt 0, mail@@example." % text

    def description(self, library, low=1, high=3, image_chance=0.0):
        parts = [self.fragment(library) for _ in range(self.rng.randint(low, high))]
        if self.rng.random() < image_chance:
            parts.append(self.image())
        return " ".join(parts)

    def cdata_description(self, library, image_chance):
        body = "<p>%s</p>\n<p>%s</p>" % (self.description(library, 1, 2), self.description(library, 1, 2))
        if self.rng.random() < image_chance:
            body += "\n<p>%s</p>" % self.image()
        return "<![CDATA[%s]]>" % body

    def element_description(self, library, image_chance=0.02):
        if self.rng.random() < 0.2:
            return self.cdata_description(library, image_chance)
        return self.description(library, 1, 3, image_chance)

    # Items -----------------------------------------------------------------

    def deprecated(self):
        return ' deprecated="yes"' if self.rng.random() < 0.03 else ""

    def arguments(self, out, indent, with_default):
        rng = self.rng
        names = rng.sample(ARGUMENT_NAMES, rng.randint(0, 5))
        order = list(range(1, len(names) + 1))
        rng.shuffle(order)
        for position in order:
            name = names[position - 1]
            default = ""
            if with_default and rng.random() < 0.2:
                default = ' default="%d"' % rng.randint(0, 10)
            out.append('%s<arg index="%d" name="%s" type="%s"%s>%s</arg>' % (
                indent, position, name, rng.choice(TYPES), default, self.sentence(3, 8)))

    def result(self, out, indent):
        rng = self.rng
        if rng.random() < 0.4:
            return
        name = ' name="%s"' % rng.choice(["result", "handle", "count", "ok"]) if rng.random() < 0.7 else ""
        pointer = ' pointer="yes"' if rng.random() < 0.1 else ""
        out.append('%s<result%s type="%s"%s>%s</result>' % (indent, name, rng.choice(TYPES), pointer, self.sentence(3, 10)))

    def references(self, out, indent, library, own_name):
        rng = self.rng
        for _ in range(rng.randint(0, 4)):
            target = library if rng.random() < 0.8 else rng.choice(self.libraries)
            lib = "" if target is library else ' lib="%s"' % target.name
            roll = rng.random()
            if roll < 0.5:
                name = rng.choice(target.commands)
                if target is library and name == own_name and len(target.commands) > 1:
                    continue
                out.append('%s<refcommand%s name="%s"/>' % (indent, lib, name))
            elif roll < 0.6 and target.classes:
                cls, methods = rng.choice(target.classes)
                if rng.random() < 0.5:
                    out.append('%s<refclass%s name="%s"/>' % (indent, lib, cls))
                else:
                    out.append('%s<refmember%s class="%s" name="%s"/>' % (indent, lib, cls, rng.choice(methods)))
            elif roll < 0.72 and target.constants:
                out.append('%s<refconstant%s name="%s"/>' % (indent, lib, rng.choice(target.constants)))
            elif roll < 0.82 and target.macros:
                out.append('%s<refmacro%s name="%s"/>' % (indent, lib, rng.choice(target.macros)))
            elif roll < 0.92 and target.structures:
                out.append('%s<refstructure%s name="%s"/>' % (indent, lib, rng.choice(target.structures)))
            else:
                out.append('%s<reflibrary name="%s"/>' % (indent, target.name))

    def examples(self, out, indent, name):
        rng = self.rng
        for number in range(rng.choice([0, 0, 1, 1, 2])):
            lines = ["%s(%d, %d)" % (name, rng.randint(0, 640), rng.randint(0, 480))
                     for _ in range(rng.randint(1, 4))]
            out.append('%s<example name="Example %d"><![CDATA[<pre>%s</pre>]]></example>' % (
                indent, number + 1, "\n".join(lines)))

    def systems(self, out, indent):
        rng = self.rng
        roll = rng.random()
        if roll < 0.1:
            out.append("%s<os>%s</os>" % (indent, rng.choice(SYSTEMS)))
        elif roll < 0.2:
            out.append("%s<noos>%s</noos>" % (indent, rng.choice(SYSTEMS).lower()))

    def command(self, out, indent, library, name):
        inner = indent + "  "
        out.append('%s<command name="%s"%s>' % (indent, name, self.deprecated()))
        out.append("%s<description>%s</description>" % (inner, self.element_description(library)))
        self.arguments(out, inner, True)
        self.result(out, inner)
        self.examples(out, inner, name)
        self.references(out, inner, library, name)
        self.systems(out, inner)
        if self.rng.random() < 0.3:
            out.append("%s<keywords>%s</keywords>" % (inner, self.keywords()))
        out.append("%s</command>" % indent)

    def cls(self, out, library, name, methods):
        out.append('  <class name="%s"%s>' % (name, self.deprecated()))
        out.append("    <description>%s</description>" % self.element_description(library))
        if self.rng.random() < 0.3:
            out.append("    <keywords>%s</keywords>" % self.keywords())
        shuffled = list(methods)
        self.rng.shuffle(shuffled)
        for method in shuffled:
            self.command(out, "    ", library, method)
        out.append("  </class>")

    def structure(self, out, library, name):
        rng = self.rng
        out.append('  <structure name="%s"%s>' % (name, self.deprecated()))
        out.append("    <description>%s</description>" % self.element_description(library))
        fields = rng.sample(ARGUMENT_NAMES, rng.randint(1, 8))
        offsets = [4 * i for i in range(len(fields))]
        rng.shuffle(offsets)
        for field, offset in zip(fields, offsets):
            written = "$%X" % offset if rng.random() < 0.5 else str(offset)
            out.append('    <element name="%s" type="%s" offset="%s">%s</element>' % (
                field, rng.choice(TYPES), written, self.sentence(3, 8)))
        if rng.random() < 0.3:
            out.append("    <keywords>%s</keywords>" % self.keywords())
        out.append("  </structure>")

    def constant(self, out, library, name):
        out.append('  <constant name="%s"%s>' % (name, self.deprecated()))
        out.append("    <description>%s</description>" % self.description(library, 1, 2))
        if self.rng.random() < 0.3:
            out.append("    <keywords>%s</keywords>" % self.keywords())
        out.append("  </constant>")

    def macro(self, out, library, name):
        out.append('  <macro name="%s"%s>' % (name, self.deprecated()))
        out.append("    <description>%s</description>" % self.description(library, 1, 2))
        self.arguments(out, "    ", False)
        self.result(out, "    ")
        if self.rng.random() < 0.3:
            out.append("    <keywords>%s</keywords>" % self.keywords())
        out.append("  </macro>")

    def library(self, library):
        rng = self.rng
        out = ['<?xml version="1.0" encoding="UTF-8"?>']
        out.append('<library name="%s"%s>' % (library.name, self.deprecated()))
        out.append("  <description>%s</description>" % self.cdata_description(library, 1.0))
        out.append("  <version>%d.%d</version>" % (rng.randint(1, 9), rng.randint(0, 20)))
        if rng.random() < 0.5:
            out.append("  <history>%s@linebreak%s</history>" % (self.sentence(), self.description(library, 1, 1)))
        out.append("  <keywords>%s</keywords>" % self.keywords())
        for system in library.systems:
            out.append("  <globalos>%s</globalos>" % system)
        items = ([("command", n) for n in library.commands] + [("class", c) for c in library.classes] +
                 [("structure", n) for n in library.structures] + [("constant", n) for n in library.constants] +
                 [("macro", n) for n in library.macros])
        rng.shuffle(items)
        for kind, item in items:
            if kind == "command":
                self.command(out, "  ", library, item)
            elif kind == "class":
                self.cls(out, library, item[0], item[1])
            elif kind == "structure":
                self.structure(out, library, item)
            elif kind == "constant":
                self.constant(out, library, item)
            else:
                self.macro(out, library, item)
        out.append("</library>")
        return "\n".join(out) + "\n"

    def main(self, title):
        rng = self.rng
        first = self.libraries[0]
        out = ['<?xml version="1.0" encoding="UTF-8"?>']
        out.append('<doc title="%s" lang="de">' % title)
        out.append("  <description><![CDATA[<p>%s</p>\n<p>%s @reflibrary(%s)</p>]]></description>" % (
            self.image(), self.sentence(20, 40), first.name))
        out.append("  <author>Bench Author (bench@@example.invalid)</author>")
        out.append("  <license><![CDATA[<p>%s</p>]]></license>" % self.sentence(20, 30))
        out.append("  <copyright>Copyright @lt;c@gt; 2024 Bench &amp; contributors</copyright>")
        out.append("  <version>@bold 1.0.%d@endbold</version>" % rng.randint(0, 99))
        out.append("  <history><![CDATA[<ul><li>%s</li><li>%s</li></ul>]]></history>" % (
            self.sentence(), self.sentence()))
        out.append("  <catalog><![CDATA[")
        out.append("# German words for the generated pages")
        for key, text in CATALOG:
            out.append("%s = %s" % (key, text))
        out.append("]]></catalog>")
        for library in self.libraries:
            out.append('  <import file="%s"/>' % library.file)
        out.append("</doc>")
        return "\n".join(out) + "\n"


CATALOG = [
    ("Syntax", "Syntax"), ("Parameters", "Parameter"), ("Parameter", "Parameter"),
    ("Description", "Beschreibung"), ("Result", "Ergebnis"), ("Examples", "Beispiele"),
    ("References", "Siehe auch"), ("SupportedSystems", "Unterst\u00fctzte Systeme"),
    ("all", "alle"), ("allbut", "alle au\u00dfer"), ("Default", "Standard"),
    ("Index", "Index"), ("Introduction", "Einleitung"), ("Library", "Bibliothek"),
    ("commandoverview", "Befehls\u00fcbersicht"), ("classoverview", "Klassen\u00fcbersicht"),
    ("deprecated", "veraltet"), ("Constants", "Konstanten"), ("Macros", "Makros"),
]


def png(width, height, rgb):
    """A small solid-colour PNG, written with the standard library only."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    row = b"\x00" + bytes(rgb) * width
    raw = row * height
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def split_items(total, libraries):
    base, extra = divmod(total, libraries)
    return [base + (1 if i < extra else 0) for i in range(libraries)]


def write_file(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main(argv):
    if len(argv) != 4:
        sys.stderr.write("usage: generate.py N SEED OUTDIR\n")
        return 2
    try:
        total = int(argv[1])
        seed = int(argv[2])
    except ValueError:
        sys.stderr.write("N and SEED must be integers\n")
        return 2
    if total < 1:
        sys.stderr.write("N must be at least 1\n")
        return 2
    outdir = argv[3]
    rng = random.Random(seed)
    count = max(1, round(total / ITEMS_PER_LIBRARY))
    libraries = [Library(i + 1, rng, n) for i, n in enumerate(split_items(total, count))]

    os.makedirs(os.path.join(outdir, "libs"), exist_ok=True)
    os.makedirs(os.path.join(outdir, "img"), exist_ok=True)
    for number in range(1, IMAGE_COUNT + 1):
        colour = (rng.randint(0, 255), rng.randint(0, 255), rng.randint(0, 255))
        with open(os.path.join(outdir, "img", "pic%d.png" % number), "wb") as f:
            f.write(png(16, 16, colour))

    writer = Writer(rng, libraries)
    write_file(os.path.join(outdir, "main.xml"), writer.main("Bench%d" % total))
    for library in libraries:
        write_file(os.path.join(outdir, library.file), writer.library(library))

    items = sum(len(l.commands) + len(l.structures) + len(l.constants) + len(l.macros) +
                sum(1 + len(m) for _, m in l.classes) for l in libraries)
    print("items=%d libraries=%d images=%d" % (items, len(libraries), writer.image_count))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
