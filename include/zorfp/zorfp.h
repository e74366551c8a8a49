/* ZORFPdriver's flat C API: create a driver object by class name, call its members by name with
 * typed arguments, read the result and the text of the last failure. Strings are UTF-8.
 *
 *   zorfp_object* fp;
 *   zorfp_value args[] = {zorfp_str("/dev/ttyUSB0"), zorfp_uint(19200), zorfp_uint(10), zorfp_uint(10)};
 *   zorfp_value ok;
 *   if (zorfp_create("ZORFP.ZOR_05_03", &fp) == ZORFP_OK &&
 *       zorfp_call(fp, "FPInitEx", args, 4, &ok) == ZORFP_OK && ok.as.b) { ... }
 *
 * A status other than ZORFP_OK is an automation failure (the call could not be made, or the member
 * failed inside); what the printer answered is not one: read it through the members GetByteResult,
 * GetByteStatus and GetTextErrorMessage (FPErrorMessage on ZOR_EP_01 and ZOR_08_01). No exception
 * crosses this interface. Objects share the library's settings and call state (one per process). */
#ifndef ZORFP_ZORFP_H_
#define ZORFP_ZORFP_H_

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define ZORFP_API /* the DLL exports these through its .def file */
#else
#define ZORFP_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct zorfp_object zorfp_object;

typedef enum zorfp_status {
  ZORFP_OK = 0,
  ZORFP_E_INVALID_ARGUMENT = 1, /* a null pointer or an unknown value kind */
  ZORFP_E_UNKNOWN_CLASS = 2,    /* no class of that name */
  ZORFP_E_UNKNOWN_NAME = 3,     /* the class has no member of that name */
  ZORFP_E_MEMBER_NOT_FOUND = 4, /* the member cannot be used so: a write to a read-only property... */
  ZORFP_E_BAD_PARAM_COUNT = 5,  /* wrong number of arguments */
  ZORFP_E_TYPE_MISMATCH = 6,    /* an argument does not convert to the parameter's type */
  ZORFP_E_OVERFLOW = 7,         /* an argument is out of the parameter type's range */
  ZORFP_E_NOT_IMPLEMENTED = 8,  /* the member is part of the interface but not built yet */
  ZORFP_E_EXCEPTION = 9,        /* the member failed inside; zorfp_last_error() has its message */
  ZORFP_E_OUT_OF_MEMORY = 10,
  ZORFP_E_FAILED = 11 /* any other automation failure */
} zorfp_status;

typedef enum zorfp_kind {
  ZORFP_EMPTY = 0,  /* no value: the result of a member that returns nothing */
  ZORFP_INT = 1,    /* as.i: int, enumerations */
  ZORFP_UINT = 2,   /* as.u: byte, word, dword, qword */
  ZORFP_BOOL = 3,   /* as.b: 0 or 1 */
  ZORFP_STRING = 4, /* as.s: UTF-8, zero-terminated */
  ZORFP_DATE = 5    /* as.date: days since 1899-12-30, the time of day as the fraction */
} zorfp_kind;

typedef struct zorfp_value {
  zorfp_kind kind;
  union {
    int64_t i;
    uint64_t u;
    int b;
    const char* s;
    double date;
  } as;
} zorfp_value;

/* Creates a driver object. `class_name` is a ProgID ("ZORFP.ZOR_05_03"), a class name ("ZOR_05_03",
 * "TZOR_05_03") or a protocol tag ("05-03"), in any case. Release it with zorfp_release. */
ZORFP_API zorfp_status zorfp_create(const char* class_name, zorfp_object** out);

/* Releases the object; a port it still holds is closed (FPClose first, to log the closing). */
ZORFP_API void zorfp_release(zorfp_object* object);

/* The object's class name, "ZOR_05_03". */
ZORFP_API const char* zorfp_class_name(const zorfp_object* object);

/* Calls a method, or reads a property (an indexed property takes its index as the arguments).
 * `result` may be null; a string result stays valid until the next call on the same object. */
ZORFP_API zorfp_status zorfp_call(zorfp_object* object, const char* member, const zorfp_value* args,
                                  size_t count, zorfp_value* result);

/* Writes a property. */
ZORFP_API zorfp_status zorfp_set(zorfp_object* object, const char* property, const zorfp_value* value);

/* Text of the last failed zorfp_* call on this thread, UTF-8; empty after a call that succeeded. */
ZORFP_API const char* zorfp_last_error(void);

/* A short English name of a status: "type mismatch". */
ZORFP_API const char* zorfp_status_text(zorfp_status status);

/* The library's version, "major.minor.patch"; the major number is the one in its soname. */
ZORFP_API const char* zorfp_version(void);

/* One member of an object's interface, as its catalogue describes it. */
typedef struct zorfp_member_info {
  const char* name;      /* "FPSale" */
  const char* signature; /* "FPSale(Amount int, ...) -> bool", "Lang: byte (read/write)" */
  const char* doc;       /* what it does, one sentence */
  int readable;          /* a method, or a property that can be read */
  int writable;          /* a property that can be written */
  int is_method;
  size_t param_count;    /* a method's arguments, an indexed property's index arguments */
  int built;             /* 0: part of the interface but not implemented in this build */
} zorfp_member_info;

/* The number of members of the object's interface, in interface order. */
ZORFP_API size_t zorfp_member_count(const zorfp_object* object);

/* Describes member `index` (from 0). The strings live as long as the library. */
ZORFP_API zorfp_status zorfp_member_at(const zorfp_object* object, size_t index, zorfp_member_info* out);

#ifdef __cplusplus
} /* extern "C" */
#define ZORFP_VALUE_INIT_(k, field, x) \
  zorfp_value v{};                     \
  v.kind = k;                          \
  v.as.field = x;                      \
  return v
inline zorfp_value zorfp_int(int64_t x) { ZORFP_VALUE_INIT_(ZORFP_INT, i, x); }
inline zorfp_value zorfp_uint(uint64_t x) { ZORFP_VALUE_INIT_(ZORFP_UINT, u, x); }
inline zorfp_value zorfp_bool(int x) { ZORFP_VALUE_INIT_(ZORFP_BOOL, b, x != 0); }
inline zorfp_value zorfp_str(const char* x) { ZORFP_VALUE_INIT_(ZORFP_STRING, s, x); }
inline zorfp_value zorfp_date(double x) { ZORFP_VALUE_INIT_(ZORFP_DATE, date, x); }
#undef ZORFP_VALUE_INIT_
#else
static inline zorfp_value zorfp_int(int64_t x) { zorfp_value v = {ZORFP_INT, {0}}; v.as.i = x; return v; }
static inline zorfp_value zorfp_uint(uint64_t x) { zorfp_value v = {ZORFP_UINT, {0}}; v.as.u = x; return v; }
static inline zorfp_value zorfp_bool(int x) { zorfp_value v = {ZORFP_BOOL, {0}}; v.as.b = x != 0; return v; }
static inline zorfp_value zorfp_str(const char* x) { zorfp_value v = {ZORFP_STRING, {0}}; v.as.s = x; return v; }
static inline zorfp_value zorfp_date(double x) { zorfp_value v = {ZORFP_DATE, {0}}; v.as.date = x; return v; }
#endif

#endif /* ZORFP_ZORFP_H_ */
