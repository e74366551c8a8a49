"""The catalogue reader refuses what it cannot trust, naming the line."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "src", "server", "gen"))
import catalogue  # noqa: E402

GOOD = """library L {D3ED6F85-6413-466D-B761-172455D91B79} 1.0 "L (test) "
enum EColour
  ecRed 0
  ecBlue 1
coclass C {64A19F71-BCE0-417D-BFDA-4BE8B748243D} IC EP-01 "C Object"
interface IC {27F6DABC-0AE9-4D6D-908E-1E7C52ACEF7E} dual oleautomation "Dispatch interface for C Object"
  method Paint(Colour EColour, Times byte) -> bool
  getput Lang: byte
  get    Name[Code qword]: string
area Things
  Paint: Paints.
  Lang: Language.
  Name: A name.
"""


class CatalogueReader(unittest.TestCase):
    def test_reads_members_in_order_with_identifiers(self):
        lib = catalogue.parse(GOOD)
        members = lib.interface("IC").members
        self.assertEqual([(m.name, m.kind, m.dispid) for m in members],
                         [("Paint", "method", 1), ("Lang", "getput", 2), ("Name", "get", 3)])
        self.assertEqual([(p.name, p.type) for p in members[0].params], [("Colour", "EColour"), ("Times", "byte")])
        self.assertEqual(lib.docs["Name"], ("Things", "A name."))

    def test_refuses(self):
        cases = {
            "unknown type": GOOD.replace("Times byte", "Times octet"),
            "no description": GOOD.replace("  Name: A name.\n", ""),
            "description of nothing": GOOD + "  Ghost: Haunts.\n",
            "member twice": GOOD.replace("  get    Name", "  get    lang: byte\n  get    Name"),
            "unreadable line": GOOD.replace("-> bool", "=> bool"),
            "unknown interface": GOOD.replace("IC EP-01", "IX EP-01"),
        }
        for what, text in cases.items():
            with self.subTest(what):
                with self.assertRaises(catalogue.CatalogueError):
                    catalogue.parse(text)

    def test_the_real_catalogue_loads(self):
        path = os.path.join(os.path.dirname(__file__), "..", "..", "src", "server", "catalogue", "zorfp.catalogue")
        lib = catalogue.load(path)
        self.assertEqual(sum(len(i.members) for i in lib.interfaces), 1624)


if __name__ == "__main__":
    unittest.main()
