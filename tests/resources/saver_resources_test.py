"""The resources compiled into both Windows builds, found with pefile and read
field by field: the settings dialog, the program icon, the version block and
the application manifest.

Usage: saver_resources_test.py WIN32_SCR WIN64_SCR ICO MANIFEST [unittest arguments]
"""
import os
import re
import struct
import sys
import unittest

import pefile

RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24
RUSSIAN = 1049  # LANG_RUSSIAN, SUBLANG_DEFAULT
NEUTRAL = 0

# Preset, file (from the command line), COFF machine, optional header magic.
BUILDS = [["win32", None, 0x14C, 0x10B], ["win64", None, 0x8664, 0x20B]]
ICON_FILE = MANIFEST_FILE = None


class Reader:
    """Little-endian reads from a resource; running past its end raises."""

    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, layout):
        values = struct.unpack_from("<" + layout, self.data, self.at)
        self.at += struct.calcsize("<" + layout)
        return values if len(values) > 1 else values[0]

    def text(self):
        """A zero-terminated UTF-16 string."""
        start = self.at
        while self.take("H") != 0:
            pass
        return self.data[start : self.at - 2].decode("utf-16-le")

    def field(self):
        """A dialog's menu, class or title: None, an ordinal or a string."""
        first = struct.unpack_from("<H", self.data, self.at)[0]
        if first in (0, 0xFFFF):
            self.at += 2
            return None if first == 0 else self.take("H")
        return self.text()

    def align(self):
        self.at = (self.at + 3) & ~3


def load_saver(build):
    """The build's file with its resource tree, or a message saying what to build."""
    preset, path = build[0], build[1]
    if not os.path.isfile(path):
        return None, (f"{path} does not exist: build the {preset} preset first "
                      f"(cmake --preset {preset} && cmake --build --preset {preset})")
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    return pe, None


def resources(pe, kind):
    """{(name, language): bytes} of every resource of that type; a name is
    an int or a string."""
    found = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id != kind:
            continue
        for name_entry in type_entry.directory.entries:
            name = str(name_entry.name) if name_entry.name is not None else name_entry.id
            for language_entry in name_entry.directory.entries:
                place = language_entry.data.struct
                data = pe.get_data(place.OffsetToData, place.Size)
                assert len(data) == place.Size, f"resource {name} runs past the end of the file"
                found[(name, language_entry.id)] = data
    return found


class BothBuilds:
    """A test case whose check(build, pe) runs on each build in turn."""

    def test_both_builds(self):
        for build in BUILDS:
            with self.subTest(build[0]):
                pe, problem = load_saver(build)
                if problem:
                    self.fail(problem)
                self.check(build, pe)

    def resource(self, pe, kind, name, language):
        data = resources(pe, kind).get((name, language))
        self.assertIsNotNone(data, f"no resource type {kind} {name!r} in language {language}")
        return data


YEAR = re.compile(r"(?<!\d)(19|20)\d\d(?!\d)")
WEB_ADDRESS = re.compile(r"(https?://[A-Za-z0-9-]+|www)(\.[A-Za-z0-9-]+)+")
BUTTON, STATIC = 0x80, 0x82
# Id, class, style, extended style, x, y, width, height, text (None: the
# notice), bytes of creation data.
EXPECTED_CONTROLS = [
    (1, BUTTON, 0x50010000, 0, 50, 7, 100, 16, "&Play Free Puzzle Games", 0),
    (0, BUTTON, 0x50010000, 0, 50, 25, 100, 16, "&Close", 0),
    (0xFFFF, STATIC, 0x50020001, 0, 16, 48, 161, 26, None, 0),
]


class SettingsDialog(BothBuilds, unittest.TestCase):
    """The classic template with the placement, styles, font and three
    controls that the settings code expects."""

    def check(self, build, pe):
        data = self.resource(pe, RT_DIALOG, "SETTINGS", RUSSIAN)
        self.assertNotEqual(data[:4], b"\x01\x00\xff\xff", "compiled as DLGTEMPLATEEX")
        read = Reader(data)
        style, ex_style, count, x, y, cx, cy = read.take("IIHhhhh")
        self.assertEqual((hex(style), ex_style, x, y, cx, cy), (hex(0x80C800C0), 0, 77, 115, 200, 62))
        self.assertEqual((read.field(), read.field(), read.text()), (None, None, "Glimmerbox"), "menu, class, caption")
        self.assertEqual((read.take("H"), read.text()), (8, "MS Sans Serif"))
        controls = []
        for _ in range(count):
            read.align()
            style, ex_style, x, y, cx, cy, control_id = read.take("IIhhhhH")
            window_class, text, extra = read.field(), read.field(), read.take("H")
            read.at += extra
            controls.append((control_id, window_class, style, ex_style, x, y, cx, cy, text, extra))
        self.assertEqual(read.at, len(data), "bytes after the last control")
        self.assertEqual(len(controls), len(EXPECTED_CONTROLS))
        notice = controls[2][8]
        self.assertEqual(controls, [c[:8] + (c[8] or notice,) + c[9:] for c in EXPECTED_CONTROLS])
        self.assertIsInstance(notice, str)
        self.assertRegex(notice, YEAR)
        self.assertRegex(notice, WEB_ADDRESS)


class VersionBlock(BothBuilds, unittest.TestCase):
    """The fixed file information, the 040904E4 string table and the
    translation, as pefile reads them."""

    def check(self, build, pe):
        self.resource(pe, RT_VERSION, 1, RUSSIAN)
        fixed = pe.VS_FIXEDFILEINFO[0]
        # File and product version 1.0.0.0; flags mask and flags;
        # VOS__WINDOWS32; VFT_APP; subtype.
        fields = ("FileVersionMS", "FileVersionLS", "ProductVersionMS", "ProductVersionLS", "FileFlagsMask",
                  "FileFlags", "FileOS", "FileType", "FileSubtype")
        self.assertEqual([hex(getattr(fixed, f)) for f in fields],
                         [hex(v) for v in (0x10000, 0, 0x10000, 0, 0x3F, 0, 4, 1, 0)])
        info = {entry.Key: entry for entry in pe.FileInfo[0]}
        self.assertEqual(sorted(info), [b"StringFileInfo", b"VarFileInfo"])
        tables = info[b"StringFileInfo"].StringTable
        self.assertEqual([table.LangID for table in tables], [b"040904E4"])
        texts = tables[0].entries
        for name, text in [(b"FileDescription", b"Glimmerbox Screensaver"), (b"FileVersion", b"1.0.0.0"),
                           (b"ProductName", b"Glimmerbox"), (b"ProductVersion", b"1.0")]:
            self.assertEqual(texts.get(name), text, name)
        for name in (b"CompanyName", b"LegalCopyright"):
            self.assertTrue(texts.get(name), f"{name} missing or empty")
        self.assertEqual([var.entry for var in info[b"VarFileInfo"].Var], [{b"Translation": "0x0409 0x04e4"}])


def icon_file_images(path):
    """The images of a .ico file in directory order."""
    with open(path, "rb") as file:
        ico = file.read()
    _, _, count = struct.unpack_from("<HHH", ico)
    images = []
    for i in range(count):
        size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
        assert offset + size <= len(ico), f"{path}: image {i + 1} outside the file"
        images.append(ico[offset : offset + size])
    return images


def icon_image_bytes(bit_count):
    """Bytes of a 32x32 icon image: header, palette, colour rows and mask rows."""
    palette = 4 << bit_count if bit_count <= 8 else 0
    return 40 + palette + ((32 * bit_count + 31) // 32 * 4 + 4) * 32


def transparent_pixels(image, bit_count):
    """The AND mask of a 32x32 icon image, one truth value a pixel."""
    mask = icon_image_bytes(bit_count) - 4 * 32
    return [image[mask + 4 * y + x // 8] >> (7 - x % 8) & 1 == 1 for y in range(32) for x in range(32)]


class MainIcon(BothBuilds, unittest.TestCase):
    """The group names an 8-bit and a 24-bit image, both recorded as 24 bits,
    and they are the images of res/glimmerbox.ico: a cube on a transparent
    background."""

    def check(self, build, pe):
        committed = icon_file_images(ICON_FILE)
        self.assertEqual(len(committed), 2)
        group = self.resource(pe, RT_GROUP_ICON, "MAINICON", RUSSIAN)
        reserved, kind, count = struct.unpack_from("<HHH", group)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        self.assertEqual(len(group), 6 + 14 * count)
        ids = []
        for i, bit_count in enumerate((8, 24)):
            # Width, height, colours, reserved, planes, bits (24 for
            # both), size, RT_ICON id.
            entry = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            self.assertEqual(entry[:7], (32, 32, 0, 0, 1, 24, icon_image_bytes(bit_count)), f"entry {i + 1}")
            ids.append(entry[7])
            image = self.resource(pe, RT_ICON, entry[7], RUSSIAN)
            self.assertEqual(len(image), entry[6])
            header = struct.unpack_from("<IiiHHI", image)  # BITMAPINFOHEADER
            self.assertEqual(header, (40, 32, 64, 1, bit_count, 0), "size, width, height of XOR and AND, planes")
            if bit_count == 8:
                self.assertIn(struct.unpack_from("<I", image, 32)[0], (0, 256), "colours used")
            self.assertEqual(image, committed[i], f"differs from image {i + 1} of res/glimmerbox.ico")
            transparent = transparent_pixels(image, bit_count)
            self.assertTrue(all(transparent[at] for at in (0, 31, 992, 1023)), "corners not transparent")
            self.assertTrue(1024 // 3 < transparent.count(False) < 1024 * 9 // 10, "cube too small or too large")
        self.assertNotEqual(ids[0], ids[1])
        self.assertEqual((len(resources(pe, RT_ICON)), len(resources(pe, RT_GROUP_ICON))), (2, 1))


class Manifest(BothBuilds, unittest.TestCase):
    """Language neutral and the bytes of res/glimmerbox.manifest; the file's
    machine."""

    def check(self, build, pe):
        with open(MANIFEST_FILE, "rb") as file:
            source = file.read()
        self.assertEqual((hex(pe.FILE_HEADER.Machine), hex(pe.OPTIONAL_HEADER.Magic)), (hex(build[2]), hex(build[3])))
        manifests = resources(pe, RT_MANIFEST)
        self.assertEqual(list(manifests), [(1, NEUTRAL)], "one manifest, id 1 (an executable's), language neutral")
        self.assertEqual(manifests[(1, NEUTRAL)], source)


if __name__ == "__main__":
    BUILDS[0][1], BUILDS[1][1], ICON_FILE, MANIFEST_FILE = sys.argv[1:5]
    unittest.main(argv=sys.argv[:1] + sys.argv[5:])
