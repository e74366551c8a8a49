"""Reads the interface catalogue (src/server/catalogue/zorfp.catalogue) into plain objects.

The format is line based; docs/catalogue.md describes it. Every error names the file and line, and
the reader refuses anything it does not understand: a catalogue that loads is a consistent one.
"""

import re
from dataclasses import dataclass, field

# Automation types a signature may use, besides the enumerations the catalogue declares.
BASE_TYPES = ("byte", "word", "dword", "int", "qword", "string", "bool", "date")

KINDS = ("method", "get", "put", "getput")


class CatalogueError(Exception):
    pass


@dataclass
class Param:
    name: str
    type: str


@dataclass
class Member:
    name: str
    kind: str  # method | get | put | getput
    params: list  # [Param]; for a property, its index parameters
    type: str  # result (None for a method without one) or property type
    dispid: int = 0
    line: int = 0

    @property
    def is_property(self):
        return self.kind != "method"


@dataclass
class Enumeration:
    name: str
    values: list = field(default_factory=list)  # [(name, value)]


@dataclass
class Interface:
    name: str
    iid: str
    flags: list
    help: str
    members: list = field(default_factory=list)

    def member(self, name):
        for m in self.members:
            if m.name == name:
                return m
        return None


@dataclass
class Coclass:
    name: str
    clsid: str
    interface: str
    tag: str
    help: str


@dataclass
class Library:
    name: str = ""
    libid: str = ""
    version: tuple = (1, 0)
    help: str = ""
    enums: list = field(default_factory=list)
    coclasses: list = field(default_factory=list)
    interfaces: list = field(default_factory=list)
    docs: dict = field(default_factory=dict)  # member name -> (area, description)
    areas: list = field(default_factory=list)

    def enum(self, name):
        return next((e for e in self.enums if e.name == name), None)

    def interface(self, name):
        return next((i for i in self.interfaces if i.name == name), None)

    def coclass(self, name):
        return next((c for c in self.coclasses if c.name == name), None)


_GUID = r"\{([0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12})\}"
_NAME = r"[A-Za-z_][A-Za-z0-9_]*"
_RE_LIBRARY = re.compile(r'library (%s) %s (\d+)\.(\d+) "(.*)"$' % (_NAME, _GUID))
_RE_ENUM = re.compile(r"enum (%s)$" % _NAME)
_RE_ENUM_VALUE = re.compile(r"  (%s) (-?\d+)$" % _NAME)
_RE_COCLASS = re.compile(r'coclass (%s) %s (%s) (\S+) "(.*)"$' % (_NAME, _GUID, _NAME))
_RE_INTERFACE = re.compile(r'interface (%s) %s ((?:[a-z]+ )*)"(.*)"$' % (_NAME, _GUID))
_RE_METHOD = re.compile(r"  method (%s)\(([^)]*)\)(?: -> (%s))?$" % (_NAME, _NAME))
_RE_PROPERTY = re.compile(r"  (get|put|getput) +(%s)(?:\[([^\]]*)\])?: (%s)$" % (_NAME, _NAME))
_RE_AREA = re.compile(r"area (.+)$")
_RE_DOC = re.compile(r"  (%s): (.+)$" % _NAME)


def _params(text, where):
    params = []
    for part in [p.strip() for p in text.split(",") if p.strip()]:
        words = part.split()
        if len(words) != 2:
            raise CatalogueError("%s: parameter '%s' is not 'Name type'" % (where, part))
        params.append(Param(words[0], words[1]))
    return params


def parse(text, path="<catalogue>"):
    lib = Library()
    section = None  # the enum, interface or area being filled
    for number, raw in enumerate(text.splitlines(), 1):
        where = "%s:%d" % (path, number)
        line = raw.rstrip()
        if not line or line.lstrip().startswith("#"):
            continue
        if not line.startswith(" "):
            section = None
            if m := _RE_LIBRARY.match(line):
                lib.name, lib.libid = m[1], m[2]
                lib.version, lib.help = (int(m[3]), int(m[4])), m[5]
            elif m := _RE_ENUM.match(line):
                section = Enumeration(m[1])
                lib.enums.append(section)
            elif m := _RE_COCLASS.match(line):
                lib.coclasses.append(Coclass(m[1], m[2], m[3], m[4], m[5]))
            elif m := _RE_INTERFACE.match(line):
                section = Interface(m[1], m[2], m[3].split(), m[4])
                lib.interfaces.append(section)
            elif m := _RE_AREA.match(line):
                section = m[1]
                lib.areas.append(section)
            else:
                raise CatalogueError("%s: cannot read '%s'" % (where, line))
            continue
        if isinstance(section, Enumeration) and (m := _RE_ENUM_VALUE.match(line)):
            section.values.append((m[1], int(m[2])))
        elif isinstance(section, Interface) and (m := _RE_METHOD.match(line)):
            section.members.append(Member(m[1], "method", _params(m[2], where), m[3], line=number))
        elif isinstance(section, Interface) and (m := _RE_PROPERTY.match(line)):
            section.members.append(Member(m[2], m[1], _params(m[3] or "", where), m[4], line=number))
        elif isinstance(section, str) and (m := _RE_DOC.match(line)):
            if m[1] in lib.docs:
                raise CatalogueError("%s: %s is described twice" % (where, m[1]))
            lib.docs[m[1]] = (section, m[2])
        else:
            raise CatalogueError("%s: cannot read '%s'" % (where, line))
    _check(lib, path)
    for iface in lib.interfaces:
        for position, member in enumerate(iface.members, 1):
            member.dispid = position
    return lib


def _check(lib, path):
    if not lib.name:
        raise CatalogueError("%s: no library line" % path)
    types = set(BASE_TYPES) | {e.name for e in lib.enums}
    for e in lib.enums:
        names = [n for n, _ in e.values]
        if len(set(names)) != len(names) or not names:
            raise CatalogueError("%s: enumeration %s has repeated or no values" % (path, e.name))
    for c in lib.coclasses:
        if not lib.interface(c.interface):
            raise CatalogueError("%s: coclass %s names unknown interface %s" % (path, c.name, c.interface))
    for iface in lib.interfaces:
        seen = set()
        for m in iface.members:
            where = "%s:%d" % (path, m.line)
            if m.name.lower() in seen:
                raise CatalogueError("%s: %s appears twice in %s" % (where, m.name, iface.name))
            seen.add(m.name.lower())
            for t in [p.type for p in m.params] + ([m.type] if m.type else []):
                if t not in types:
                    raise CatalogueError("%s: unknown type '%s'" % (where, t))
            if m.kind == "put" and m.params:
                raise CatalogueError("%s: a write-only property cannot be indexed" % where)
            if m.name not in lib.docs:
                raise CatalogueError("%s: %s has no description" % (where, m.name))
    used = {m.name for i in lib.interfaces for m in i.members}
    unused = sorted(set(lib.docs) - used)
    if unused:
        raise CatalogueError("%s: described but in no interface: %s" % (path, ", ".join(unused)))


def load(path):
    with open(path, encoding="utf-8") as f:
        return parse(f.read(), path)
