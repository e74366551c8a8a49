#!/usr/bin/env python3
"""The installation database's registry rows, generated from the catalogue: the keys and values
DllRegisterServer writes (docs/windows.md), for every class and interface, as well-formed wixl XML."""
import os
import sys
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "src", "server", "gen"))
import catalogue  # noqa: E402
import zorfp_gen  # noqa: E402

CATALOGUE = os.path.join(HERE, "..", "..", "src", "server", "catalogue", "zorfp.catalogue")


class RegistrationRows(unittest.TestCase):
    def setUp(self):
        self.lib = catalogue.load(CATALOGUE)
        root = ET.fromstring(zorfp_gen.emit_wxs(self.lib))
        self.rows = [(v.get("Key"), v.get("Name") or "", v.get("Value")) for v in root]
        self.assertTrue(all(v.get("Root") == "HKCR" and v.get("Type") == "string" for v in root))

    def value(self, key, name=""):
        found = [v for k, n, v in self.rows if k == key and n == name]
        self.assertEqual(len(found), 1, (key, name))
        return found[0]

    def test_every_class(self):
        self.assertEqual(len(self.lib.coclasses), 7)
        for c in self.lib.coclasses:
            key = "CLSID\\{%s}" % c.clsid
            self.assertEqual(self.value(key), "%s Object" % c.name)
            self.assertEqual(self.value(key + "\\InprocServer32"), "[!ZORFPdriver.dll]")  # the short path
            self.assertEqual(self.value(key + "\\InprocServer32", "ThreadingModel"), "Free")
            self.assertEqual(self.value(key + "\\ProgID"), "ZORFP." + c.name)
            self.assertEqual(self.value(key + "\\TypeLib"), "{D3ED6F85-6413-466D-B761-172455D91B79}")
            self.assertEqual(self.value(key + "\\Version"), "1.0")
            self.assertEqual(self.value("ZORFP." + c.name), "%s Object" % c.name)
            self.assertEqual(self.value("ZORFP.%s\\Clsid" % c.name), "{%s}" % c.clsid)

    def test_type_library_and_interfaces(self):
        tlb = "TypeLib\\{D3ED6F85-6413-466D-B761-172455D91B79}\\1.0"
        self.assertEqual(self.value(tlb + "\\0\\$(var.TypeLibPlatform)"), "[#ZORFPdriver.dll]")
        self.assertEqual(self.value(tlb + "\\FLAGS"), "0")
        for i in self.lib.interfaces:
            key = "Interface\\{%s}" % i.iid
            self.assertEqual(self.value(key), i.name)
            self.assertEqual(self.value(key + "\\ProxyStubClsid32"), "{00020424-0000-0000-C000-000000000046}")
            self.assertEqual(self.value(key + "\\TypeLib", "Version"), "1.0")
        self.assertEqual(len(self.rows), 4 + 5 * len(self.lib.interfaces) + 8 * len(self.lib.coclasses))
        self.assertEqual(len(set((k, n) for k, n, _ in self.rows)), len(self.rows))


if __name__ == "__main__":
    unittest.main()
