"""The library's flat C API (zorfp/zorfp.h) through ctypes."""

import ctypes
import os
from pathlib import Path

SONAME = "libZORFPdriver.so.0"

# zorfp_kind
EMPTY, INT, UINT, BOOL, STRING, DATE = range(6)
OK = 0
NOT_IMPLEMENTED = 8


class _Union(ctypes.Union):
    # The C union is named `as`, a Python keyword; only the layout matters to ctypes.
    _fields_ = [("i", ctypes.c_int64), ("u", ctypes.c_uint64), ("b", ctypes.c_int),
                ("s", ctypes.c_char_p), ("date", ctypes.c_double)]


class Value(ctypes.Structure):
    _fields_ = [("kind", ctypes.c_int), ("v", _Union)]


class MemberInfo(ctypes.Structure):
    _fields_ = [("name", ctypes.c_char_p), ("signature", ctypes.c_char_p), ("doc", ctypes.c_char_p),
                ("readable", ctypes.c_int), ("writable", ctypes.c_int), ("is_method", ctypes.c_int),
                ("param_count", ctypes.c_size_t), ("built", ctypes.c_int)]


def _candidates():
    named = os.environ.get("ZORFP_LIBRARY")
    if named:
        return [named]
    found = []
    # Installed under a prefix: <prefix>/lib/python3/dist-packages/zorfp, the library in
    # <prefix>/lib or <prefix>/lib/<multiarch>. Under /usr the system's loader finds it anyway.
    lib = Path(__file__).resolve().parents[3]
    if lib != Path("/usr/lib"):
        found += [str(p) for p in [lib / SONAME, *sorted(lib.glob("*/" + SONAME))] if p.exists()]
    return found + [SONAME]  # and wherever the system's loader finds it


def load():
    errors = []
    for path in _candidates():
        try:
            lib = ctypes.CDLL(path)
            break
        except OSError as e:
            errors.append(str(e))
    else:
        raise OSError("cannot load the ZORFP driver library (set ZORFP_LIBRARY to its path): "
                      + "; ".join(errors))
    obj = ctypes.c_void_p
    sig = [
        ("zorfp_create", ctypes.c_int, [ctypes.c_char_p, ctypes.POINTER(obj)]),
        ("zorfp_release", None, [obj]),
        ("zorfp_class_name", ctypes.c_char_p, [obj]),
        ("zorfp_call", ctypes.c_int, [obj, ctypes.c_char_p, ctypes.POINTER(Value), ctypes.c_size_t,
                                      ctypes.POINTER(Value)]),
        ("zorfp_set", ctypes.c_int, [obj, ctypes.c_char_p, ctypes.POINTER(Value)]),
        ("zorfp_last_error", ctypes.c_char_p, []),
        ("zorfp_status_text", ctypes.c_char_p, [ctypes.c_int]),
        ("zorfp_version", ctypes.c_char_p, []),
        ("zorfp_member_count", ctypes.c_size_t, [obj]),
        ("zorfp_member_at", ctypes.c_int, [obj, ctypes.c_size_t, ctypes.POINTER(MemberInfo)]),
    ]
    for name, restype, argtypes in sig:
        f = getattr(lib, name)
        f.restype = restype
        f.argtypes = argtypes
    return lib
