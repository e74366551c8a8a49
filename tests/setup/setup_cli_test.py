#!/usr/bin/env python3
"""zorfp-pack writes a package zorfp-setup --extract unpacks; a hostile package ends non-zero
after its message and writes nothing.   setup_cli_test.py ZORFP_PACK ZORFP_SETUP"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

PACK, SETUP = sys.argv[1], sys.argv[2]


def package(image, entries):
    """The package format written independently of zorfp-pack: data, table, footer."""
    out, offsets = bytearray(image), []
    for _, _, data in entries:
        offsets.append(len(out))
        out += data
    table = len(out)
    for (kind, name, data), offset in zip(entries, offsets):
        out += struct.pack("<IIII", kind, len(data), offset, len(name)) + name
    out += struct.pack("<IIIIII", len(entries), 100, len(out), table, len(image), 2) + b"VORTANEXUS\xff\xff"
    return bytes(out)


class Cli(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, data):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def extract(self, package_path, folder):
        return subprocess.run([SETUP, "--extract", folder, package_path], capture_output=True, text=True)

    def test_pack_then_extract(self):
        image = self.write("setup.exe", b"MZ" + bytes(3000))
        msi = self.write("ZORFPdriver.msi", b"database")
        ini = self.write("prerequisites.ini", b"[GeneralOptions]\r\n")
        subprocess.run([PACK, "-o", os.path.join(self.dir, "out.exe"), "--image", image, "--database", msi,
                        "--configuration", ini], check=True)
        with open(os.path.join(self.dir, "out.exe"), "rb") as f:
            packed = f.read()
        self.assertEqual(packed, package(b"MZ" + bytes(3000), [(0, b"ZORFPdriver.msi", b"database"),
                                                                (3, b"prerequisites.ini", b"[GeneralOptions]\r\n")]))
        out = os.path.join(self.dir, "out")
        r = self.extract(os.path.join(self.dir, "out.exe"), out)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(sorted(os.listdir(out)), ["ZORFPdriver.msi", "prerequisites.ini"])

    def test_pack_refuses_a_name_the_setup_program_would_refuse(self):
        image = self.write("setup.exe", b"MZ")
        con = self.write("CON.msi", b"x")
        r = subprocess.run([PACK, "-o", os.path.join(self.dir, "out.exe"), "--image", image, "--database", con],
                           capture_output=True, text=True)
        self.assertNotEqual(r.returncode, 0)
        self.assertFalse(os.path.exists(os.path.join(self.dir, "out.exe")))

    def test_hostile_packages(self):
        cases = {
            "a path": [(4, b"..\\..\\evil.exe", b"x")],
            "a slash path": [(4, b"../evil.exe", b"x")],
            "a drive": [(4, b"C:evil.exe", b"x")],
            "a device": [(4, b"NUL", b"x")],
        }
        for what, entries in cases.items():
            with self.subTest(what):
                path = self.write("hostile.exe", package(b"MZ", [(0, b"ok.msi", b"db")] + entries))
                out = os.path.join(self.dir, "hostile-out")
                r = self.extract(path, out)
                self.assertEqual(r.returncode, 5)
                self.assertIn("This archive is corupted.", r.stderr)
                self.assertEqual(os.listdir(out) if os.path.isdir(out) else [], [])
        r = self.extract(self.write("plain.exe", b"MZ only"), os.path.join(self.dir, "x"))
        self.assertEqual(r.returncode, 5)
        r = self.extract(os.path.join(self.dir, "missing.exe"), os.path.join(self.dir, "y"))
        self.assertEqual(r.returncode, 2)
        self.assertIn("An error occurred while reading the file.", r.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
