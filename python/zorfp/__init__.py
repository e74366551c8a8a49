"""The ZORFP fiscal printer driver from Python: pure Python over the library's C API (ctypes).

    import zorfp
    with zorfp.Printer("ZOR_05_03", "/dev/ttyUSB0", baud=115200, check=True) as fp:
        fp.FPSale(1000, 3, False, 1850, "etgTax_A", False, "Bread", 11)
        fp.FPPayment("eptCashPayment", 2000, True, True)
        print(fp.GetBalance)

Members are the class's own, by name (any case), with the catalogue's signatures and texts
(`help(fp.FPSale)`, `dir(fp)`). Properties without an index read and write as attributes; methods
and indexed properties are called. An enumeration argument is its value or its name as a string.
`zorfp.simulator("05-03")` serves a simulated printer for tests and trials.
"""

import ctypes
import datetime
import inspect
import re
from collections import namedtuple

from . import _capi
from ._simulator import Simulator, simulator

__version__ = "0.1.0"
__all__ = ["Printer", "PrinterError", "AutomationError", "NotBuiltError", "CallResult", "Simulator",
           "simulator", "library_version"]

_lib = None


def _api():
    global _lib
    if _lib is None:
        _lib = _capi.load()
    return _lib


def library_version():
    """The loaded library's version, "major.minor.patch"."""
    return _api().zorfp_version().decode()


CallResult = namedtuple("CallResult", "code status text")
CallResult.__doc__ = """The outcome of the last call: code 0 success, a printer code (1 to 55) or a
driver code (101 no answer, 102 to 113); status the printer's status byte or 255 for a driver-side
failure; text the message in the class's language (Lang)."""


class PrinterError(Exception):
    """A call the printer refused, that the driver refused to send, or that got no answer."""

    def __init__(self, member, code, status, text):
        super().__init__("%s: %s (result %d, status %d)" % (member, text, code, status))
        self.member, self.code, self.status, self.text = member, code, status, text


class AutomationError(Exception):
    """The call could not be made: unknown name, wrong argument count or type, a failure inside."""

    def __init__(self, status, text):
        super().__init__(text)
        self.status = status


class NotBuiltError(AutomationError, NotImplementedError):
    """The member is part of the interface but this build does not implement it yet."""


_OLE_EPOCH = datetime.datetime(1899, 12, 30)


def _to_value(x, keep):
    v = _capi.Value()
    if x is None:
        v.kind = _capi.EMPTY
    elif isinstance(x, bool):
        v.kind, v.v.b = _capi.BOOL, int(x)
    elif isinstance(x, int):
        if x >= 1 << 63:
            v.kind, v.v.u = _capi.UINT, x
        else:
            v.kind, v.v.i = _capi.INT, x
    elif isinstance(x, str):
        data = x.encode("utf-8")
        keep.append(data)
        v.kind, v.v.s = _capi.STRING, data
    elif isinstance(x, (datetime.datetime, datetime.date)):
        if not isinstance(x, datetime.datetime):
            x = datetime.datetime(x.year, x.month, x.day)
        v.kind, v.v.date = _capi.DATE, (x - _OLE_EPOCH) / datetime.timedelta(days=1)
    else:
        raise TypeError("no automation value for %r" % (x,))
    return v


def _from_value(v):
    if v.kind == _capi.INT:
        return v.v.i
    if v.kind == _capi.UINT:
        return v.v.u
    if v.kind == _capi.BOOL:
        return bool(v.v.b)
    if v.kind == _capi.STRING:
        return (v.v.s or b"").decode("utf-8", "replace")
    if v.kind == _capi.DATE:
        return _OLE_EPOCH + datetime.timedelta(days=v.v.date)
    return None


class _Member:
    def __init__(self, info):
        self.name = info.name.decode()
        self.signature = info.signature.decode()
        self.doc = info.doc.decode()
        self.readable, self.writable = bool(info.readable), bool(info.writable)
        self.is_method, self.built = bool(info.is_method), bool(info.built)
        self.param_count = info.param_count
        self.returns_nothing = self.is_method and not re.search(r"\)\s*->", self.signature)
        self.params = re.findall(r"(\w+) \w+", self.signature[self.signature.find("(") + 1:
                                                                self.signature.rfind(")")]
                                 if self.is_method else self._index_text())

    def _index_text(self):
        m = re.search(r"\[(.*)\]", self.signature)
        return m.group(1) if m else ""

    def python_signature(self):
        return inspect.Signature([inspect.Parameter(p, inspect.Parameter.POSITIONAL_ONLY)
                                  for p in self.params])

    def docstring(self):
        return "%s\n\n%s%s" % (self.signature, self.doc, "" if self.built else "\n\n(Not built yet.)")


_members_by_class = {}


def _members_of(lib, handle, class_name):
    if class_name not in _members_by_class:
        members = {}
        info = _capi.MemberInfo()
        for i in range(lib.zorfp_member_count(handle)):
            if lib.zorfp_member_at(handle, i, ctypes.byref(info)) == _capi.OK:
                m = _Member(info)
                members[m.name.lower()] = m
        _members_by_class[class_name] = members
    return _members_by_class[class_name]


class Printer:
    """One driver object of one class: "ZOR_05_03", "ZORFP.ZOR_05_03", "TZOR_05_03" or "05-03".

    With a port, it is opened at once through FPInitEx (port as named, baud rate, read and write
    time-outs in seconds) and an open that fails raises PrinterError. `check=True` makes every
    method that returns false (or, on ZOR_EP_01 and ZOR_08_01, sets an error text) raise
    PrinterError with the call result. The port is closed (FPClose) on leaving a `with` block or
    on close().
    """

    def __init__(self, class_name="ZOR_05_03", port=None, baud=9600, read_timeout=1, write_timeout=1,
                 check=False):
        lib = _api()
        handle = ctypes.c_void_p()
        status = lib.zorfp_create(class_name.encode(), ctypes.byref(handle))
        if status != _capi.OK:
            raise AutomationError(status, lib.zorfp_last_error().decode())
        object.__setattr__(self, "_lib", lib)
        object.__setattr__(self, "_handle", handle)
        object.__setattr__(self, "check", check)
        object.__setattr__(self, "class_name", lib.zorfp_class_name(handle).decode())
        object.__setattr__(self, "_members", _members_of(lib, handle, self.class_name))
        object.__setattr__(self, "_opened", False)
        self._older = "fperrormessage" in self._members
        if port is not None:
            self.open(port, baud, read_timeout, write_timeout)

    # -- the port

    def open(self, port, baud=9600, read_timeout=1, write_timeout=1):
        """FPInitEx: opens and configures the port; raises PrinterError when it cannot."""
        init = self._members["fpinitex"]
        args = (port, baud, read_timeout, write_timeout) if len(init.params) == 4 else (
            port, read_timeout, write_timeout)  # ZOR_08_01 runs at 9600 and takes no rate
        if not self._invoke(init, args):
            raise PrinterError("FPInitEx", *self.last_result)
        object.__setattr__(self, "_opened", True)

    def close(self):
        """Closes the port (FPClose) if this object opened it, and releases the object."""
        if self._handle:
            if self._opened:
                self._invoke(self._members["fpclose"], ())
            self._lib.zorfp_release(self._handle)
            object.__setattr__(self, "_handle", None)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __del__(self):
        try:
            self.close()
        except Exception:
            pass

    # -- call results

    @property
    def last_result(self):
        """CallResult(code, status, text) of the last call, read without talking to the printer."""
        text_member = "FPErrorMessage" if self._older else "GetTextErrorMessage"
        return CallResult(self._plain("GetByteResult"), self._plain("GetByteStatus"),
                          self._plain(text_member))

    def _plain(self, name):
        return self._invoke(self._members[name.lower()], (), checked=False)

    # -- members by name

    def _invoke(self, m, args, checked=True):
        keep = []
        values = (_capi.Value * max(len(args), 1))(*[_to_value(a, keep) for a in args])
        out = _capi.Value()
        status = self._lib.zorfp_call(self._handle, m.name.encode(), values, len(args), ctypes.byref(out))
        self._raise_for(status)
        result = _from_value(out)
        if checked and self.check and m.is_method and m.name not in ("FPErrorMessage",):
            if result is False:
                raise PrinterError(m.name, *self.last_result)
            if m.returns_nothing and self._older:
                failure = self.last_result  # their code and status are older calls' own
                if failure.text:
                    raise PrinterError(m.name, *failure)
        return result

    def _raise_for(self, status):
        if status != _capi.OK:
            text = self._lib.zorfp_last_error().decode("utf-8", "replace")
            raise (NotBuiltError if status == _capi.NOT_IMPLEMENTED else AutomationError)(status, text)

    def _member(self, name):
        m = self._members.get(name.lower())
        if m is None:
            raise AttributeError("%s has no member %s" % (self.class_name, name))
        return m

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        m = self._member(name)
        if m.is_method or m.params or not m.readable:
            def call(*args):
                return self._invoke(m, args)
            call.__name__ = call.__qualname__ = m.name
            call.__doc__ = m.docstring()
            call.__signature__ = m.python_signature()
            return call
        return self._invoke(m, ())

    def __setattr__(self, name, value):
        m = None if name.startswith("_") else self._members.get(name.lower())
        if m is None:
            return object.__setattr__(self, name, value)
        if not m.writable:
            raise AttributeError("%s.%s cannot be written" % (self.class_name, m.name))
        keep = []
        v = _to_value(value, keep)
        self._raise_for(self._lib.zorfp_set(self._handle, m.name.encode(), ctypes.byref(v)))

    def __dir__(self):
        return sorted(set(super().__dir__()) | {m.name for m in self._members.values()})

    def members(self):
        """{name: (signature, what it does, built)} in interface order."""
        return {m.name: (m.signature, m.doc, m.built) for m in self._members.values()}

    def __repr__(self):
        return "<zorfp.Printer %s>" % self.class_name
