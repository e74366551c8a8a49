"""The type library and the dual function tables as the generator writes them: one walk of each
interface gives both the IDL's order and the function table's, so the two cannot drift apart."""
import os
import struct
import sys
import unittest

GEN = os.path.join(os.path.dirname(__file__), "..", "..", "src", "server", "gen")
sys.path.insert(0, GEN)
import catalogue  # noqa: E402
import zorfp_gen  # noqa: E402

SMALL = """library L {D3ED6F85-6413-466D-B761-172455D91B79} 1.0 "L (test) "
enum EColour
  ecRed 0
  ecBlue 1
coclass C {64A19F71-BCE0-417D-BFDA-4BE8B748243D} IC EP-01 "C Object"
coclass D {4A54A4C9-21AB-476F-B9AA-1A03AA088A06} ID 08-01 "D Object"
interface IC {27F6DABC-0AE9-4D6D-908E-1E7C52ACEF7E} dual oleautomation replaceable "Dispatch interface for C Object"
  method Paint(Colour EColour, Times byte) -> bool
  getput Lang: byte
  get    Name[Code qword]: string
  put    Flag: bool
  method Wipe(When date)
interface ID {72FF9C7F-0642-4A6A-AD2C-25AA3B6EB84F} dual oleautomation "Dispatch interface for D Object"
  getput Lang: byte
area Things
  Paint: Paints.
  Lang: Language.
  Name: A name.
  Flag: A flag.
  Wipe: Wipes.
"""


class Slots(unittest.TestCase):
    def test_a_read_write_property_gives_its_read_then_its_write(self):
        lib = catalogue.parse(SMALL)
        slots = [(m.name, a) for m, a in zorfp_gen.idl_slots(lib.interface("IC"))]
        self.assertEqual(slots, [("Paint", "method"), ("Lang", "propget"), ("Lang", "propput"), ("Name", "propget"),
                                 ("Flag", "propput"), ("Wipe", "method")])

    def test_the_real_catalogue_has_a_slot_per_accessor(self):
        lib = catalogue.load(os.path.join(GEN, "..", "catalogue", "zorfp.catalogue"))
        for iface in lib.interfaces:
            accessors = sum(2 if m.kind == "getput" else 1 for m in iface.members)
            self.assertEqual(len(list(zorfp_gen.idl_slots(iface))), accessors, iface.name)


class Idl(unittest.TestCase):
    def setUp(self):
        self.idl = zorfp_gen.emit_idl(catalogue.parse(SMALL))

    def test_library_enumerations_and_coclasses(self):
        for text in ['uuid(D3ED6F85-6413-466D-B761-172455D91B79)', "version(1.0)", "lcid(0)",
                     'helpstring("L (test) ")', "library L", 'importlib("stdole2.tlb");',
                     "typedef [v1_enum] enum EColour {\n    ecRed = 0,\n    ecBlue = 1\n  } EColour;",
                     'helpstring("C Object")\n  ]\n  coclass C\n  {\n    [default] interface IC;']:
            self.assertIn(text, self.idl)

    def test_members_with_their_identifiers_and_types(self):
        for line in ["[id(1)] HRESULT Paint([in] EColour Colour, [in] unsigned char Times, [out, retval] VARIANT_BOOL* Res);",
                     "[id(2), propget] HRESULT Lang([out, retval] unsigned char* Value);",
                     "[id(2), propput] HRESULT Lang([in] unsigned char Value);",
                     "[id(3), propget] HRESULT Name([in] unsigned __int64 Code, [out, retval] BSTR* Value);",
                     "[id(4), propput] HRESULT Flag([in] VARIANT_BOOL Value);",
                     "[id(5)] HRESULT Wipe([in] DATE When);"]:
            self.assertIn("    " + line + "\n", self.idl)

    def test_identifiers_are_per_interface(self):
        self.assertIn("interface ID : IDispatch\n  {\n    [id(1), propget] HRESULT Lang(", self.idl)

    def test_only_the_flags_widl_takes(self):
        self.assertIn("    dual,\n    oleautomation\n  ]\n  interface IC : IDispatch", self.idl)
        self.assertNotIn("replaceable", self.idl)


class Vtables(unittest.TestCase):
    def setUp(self):
        self.cpp = zorfp_gen.emit_vtables(catalogue.parse(SMALL))

    def test_the_table_lists_the_slots_in_the_idl_order(self):
        table = self.cpp[self.cpp.index("ICVtbl kICTable = {"):]
        table = table[:table.index("};")]
        names = [line.strip().split(" = ")[0][1:] for line in table.splitlines()[1:]]
        self.assertEqual(names, ["QueryInterface", "AddRef", "Release", "GetTypeInfoCount", "GetTypeInfo",
                                 "GetIDsOfNames", "Invoke", "Paint", "get_Lang", "put_Lang", "get_Name",
                                 "put_Flag", "Wipe"])

    def test_each_slot_calls_its_member(self):
        for text in [
            "HRESULT STDMETHODCALLTYPE IC_Paint(IC* This, EColour Colour, unsigned char Times, VARIANT_BOOL* Res) {\n"
            "  return CallMember(This, 1, DISPATCH_METHOD, Res, Colour, Times);",
            "HRESULT STDMETHODCALLTYPE IC_put_Lang(IC* This, unsigned char Value) {\n"
            "  return CallMember(This, 2, DISPATCH_PROPERTYPUT, kNoResult, Value);",
            "HRESULT STDMETHODCALLTYPE IC_get_Name(IC* This, UINT64 Code, BSTR* Value) {\n"
            "  return CallMember(This, 3, DISPATCH_PROPERTYGET, Value, Code);",
            "HRESULT STDMETHODCALLTYPE IC_Wipe(IC* This, DATE When) {\n"
            "  return CallMember(This, 5, DISPATCH_METHOD, kNoResult, When);",
            "HRESULT STDMETHODCALLTYPE ID_get_Lang(ID* This, unsigned char* Value) {\n"
            "  return CallMember(This, 1, DISPATCH_PROPERTYGET, Value);",
        ]:
            self.assertIn(text, self.cpp)

    def test_tables_by_interface_identifier(self):
        self.assertIn("{{0x27F6DABC, 0x0AE9, 0x4D6D, {0x90, 0x8E, 0x1E, 0x7C, 0x52, 0xAC, 0xEF, 0x7E}}, "
                      "reinterpret_cast<IDispatchVtbl*>(&kICTable)},", self.cpp)
        self.assertIn("const std::size_t kDualTableCount = 2;", self.cpp)


def compiled_library(names, help_dll=False):
    """A type library in the compiled (MSFT) layout with just what set_tlb_flags reads: the header,
    the type info offsets, the segment directory, one type info per name and the name table."""
    count = len(names)
    header = bytearray(0x54)
    header[0:4] = b"MSFT"
    struct.pack_into("<i", header, 0x14, 0x100 if help_dll else 0)
    struct.pack_into("<i", header, 0x20, count)
    if help_dll:
        header += struct.pack("<i", -1)
    offsets = struct.pack("<%di" % count, *[i * 0x64 for i in range(count)])
    directory_at = len(header) + len(offsets)
    infos_at = directory_at + 15 * 16
    names_at = infos_at + count * 0x64
    infos, table = bytearray(), bytearray()
    for name in names:
        info = bytearray(0x64)
        struct.pack_into("<ii", info, 0x30, 0x1140, len(table))
        infos += info
        table += struct.pack("<iii", -1, -1, len(name)) + name.encode()
    directory = bytearray(15 * 16)
    struct.pack_into("<ii", directory, 0, infos_at, len(infos))
    struct.pack_into("<ii", directory, 7 * 16, names_at, len(table))
    return bytes(header + offsets + directory + infos + table), infos_at


def flags_of(data, infos_at, index):
    return struct.unpack_from("<i", data, infos_at + index * 0x64 + 0x30)[0]


class TypeLibraryFlags(unittest.TestCase):
    def test_replaceable_is_set_on_its_interface_only(self):
        lib = catalogue.parse(SMALL)
        for help_dll in (False, True):
            with self.subTest(help_dll=help_dll):
                data, infos_at = compiled_library(["EColour", "IC", "ID", "C", "D"], help_dll)
                patched = zorfp_gen.set_tlb_flags(lib, data)
                self.assertEqual([flags_of(patched, infos_at, i) for i in range(5)],
                                 [0x1140, 0x1940, 0x1140, 0x1140, 0x1140])
                self.assertEqual(len(patched), len(data))

    def test_an_interface_missing_from_the_library_is_an_error(self):
        data, _ = compiled_library(["EColour", "ID"])
        with self.assertRaises(ValueError):
            zorfp_gen.set_tlb_flags(catalogue.parse(SMALL), data)

    def test_not_a_type_library(self):
        with self.assertRaises(ValueError):
            zorfp_gen.set_tlb_flags(catalogue.parse(SMALL), b"SLTG" + bytes(100))


if __name__ == "__main__":
    unittest.main()
