/* The C API from plain C: objects by class name, calls by name with typed arguments, results,
 * and the status and text of automation failures. */
#include <stdio.h>
#include <string.h>

#include "zorfp/zorfp.h"

static int passed, failed;
#define CHECK(cond)                                                  \
  do {                                                               \
    if (cond) {                                                      \
      ++passed;                                                      \
    } else {                                                         \
      ++failed;                                                      \
      fprintf(stderr, "%s:%d: failed: %s (last error: %s)\n", __FILE__, __LINE__, #cond, zorfp_last_error()); \
    }                                                                \
  } while (0)

static int Contains(const char* text, const char* part) { return strstr(text, part) != NULL; }

int main(void) {
  zorfp_object *a = NULL, *b = NULL, *old = NULL, *none = (zorfp_object*)1;
  CHECK(zorfp_create("ZORFP.ZOR_05_03", &a) == ZORFP_OK);
  CHECK(zorfp_create("zor_ep_02", &b) == ZORFP_OK);
  CHECK(zorfp_create("EP-01", &old) == ZORFP_OK);
  CHECK(zorfp_create("ZORFP.ZOR_99_99", &none) == ZORFP_E_UNKNOWN_CLASS);
  CHECK(none == NULL);
  CHECK(Contains(zorfp_last_error(), "ZORFP.ZOR_99_99"));
  CHECK(zorfp_create(NULL, &none) == ZORFP_E_INVALID_ARGUMENT);
  if (!a || !b || !old) return 1;
  CHECK(strcmp(zorfp_class_name(a), "ZOR_05_03") == 0);
  CHECK(strcmp(zorfp_class_name(old), "ZOR_EP_01") == 0);

  /* RepeatCount is one for the library. */
  zorfp_value five = zorfp_uint(5), r;
  CHECK(zorfp_set(b, "RepeatCount", &five) == ZORFP_OK);
  CHECK(zorfp_call(a, "RepeatCount", NULL, 0, &r) == ZORFP_OK);
  CHECK(r.kind == ZORFP_UINT && r.as.u == 5);
  CHECK(zorfp_call(old, "REPEATCOUNT", NULL, 0, &r) == ZORFP_OK && r.as.u == 5);

  /* A refusal by the driver is a result, not a failure. */
  zorfp_value args[2] = {zorfp_str("3"), zorfp_bool(1)};
  CHECK(zorfp_call(a, "FPChangeBaudRate", args, 2, &r) == ZORFP_OK);
  CHECK(r.kind == ZORFP_BOOL && r.as.b == 0);
  CHECK(zorfp_call(a, "GetByteResult", NULL, 0, &r) == ZORFP_OK);
  CHECK(r.kind == ZORFP_INT && r.as.i == 111);
  CHECK(zorfp_call(a, "GetTextErrorMessage", NULL, 0, &r) == ZORFP_OK);
  CHECK(r.kind == ZORFP_STRING && strcmp(r.as.s, "Неверно задана скорость связи!") == 0);
  CHECK(zorfp_call(old, "FPErrorMessage", NULL, 0, &r) == ZORFP_OK && r.kind == ZORFP_STRING);
  CHECK(zorfp_call(old, "GetByteResult", NULL, 0, &r) == ZORFP_OK && r.kind == ZORFP_UINT);

  /* Opening a port that does not exist is the printer side's failure too. */
  zorfp_value open[4] = {zorfp_str("/nonexistent/tty"), zorfp_uint(9600), zorfp_uint(1), zorfp_uint(1)};
  CHECK(zorfp_call(b, "FPInitEx", open, 4, &r) == ZORFP_OK && r.kind == ZORFP_BOOL && r.as.b == 0);
  CHECK(zorfp_call(b, "FPClose", NULL, 0, &r) == ZORFP_OK && r.as.b == 0);

  /* Automation failures, each with its status and text. */
  CHECK(zorfp_call(a, "FPNoSuchThing", NULL, 0, &r) == ZORFP_E_UNKNOWN_NAME);
  CHECK(Contains(zorfp_last_error(), "FPNoSuchThing"));
  CHECK(zorfp_call(old, "GetTextErrorMessage", NULL, 0, &r) == ZORFP_E_UNKNOWN_NAME);
  CHECK(zorfp_call(a, "FPChangeBaudRate", args, 1, &r) == ZORFP_E_BAD_PARAM_COUNT);
  zorfp_value bad[2] = {zorfp_str("fast"), zorfp_bool(0)};
  CHECK(zorfp_call(a, "FPChangeBaudRate", bad, 2, &r) == ZORFP_E_TYPE_MISMATCH);
  CHECK(Contains(zorfp_last_error(), "argument 1"));
  zorfp_value big[2] = {zorfp_int(1), zorfp_int(-1)};
  CHECK(zorfp_call(a, "FPChangeBaudRate", big, 2, &r) == ZORFP_OK); /* -1 is true for a bool */
  big[0] = zorfp_int(256);
  CHECK(zorfp_call(a, "FPChangeBaudRate", big, 2, &r) == ZORFP_E_OVERFLOW);
  CHECK(zorfp_set(a, "GetByteResult", &five) == ZORFP_E_MEMBER_NOT_FOUND);
  CHECK(zorfp_call(NULL, "FPClose", NULL, 0, &r) == ZORFP_E_INVALID_ARGUMENT);
  zorfp_value nothing = {ZORFP_STRING, {0}};
  CHECK(zorfp_call(a, "FPInitEx", &nothing, 1, &r) == ZORFP_E_INVALID_ARGUMENT);
  CHECK(zorfp_call(a, "RepeatCount", NULL, 0, NULL) == ZORFP_OK);
  CHECK(strcmp(zorfp_last_error(), "") == 0);
  CHECK(strcmp(zorfp_status_text(ZORFP_E_TYPE_MISMATCH), "type mismatch") == 0);

  /* The version, and each member as the catalogue describes it, in interface order. */
  CHECK(strcmp(zorfp_version(), ZORFP_EXPECTED_VERSION) == 0);
  CHECK(zorfp_member_count(a) == 416 && zorfp_member_count(old) < zorfp_member_count(b));
  zorfp_member_info m;
  CHECK(zorfp_member_at(a, 0, &m) == ZORFP_OK && strcmp(m.name, "FPInit") == 0 && m.is_method && m.built &&
        m.param_count == 4);
  CHECK(strcmp(m.signature, "FPInit(PortNumber byte, BaudRate dword, ReadTimeOut byte, WriteTimeOut byte) -> bool") == 0);
  size_t lang = 0, modem = 0;
  for (size_t i = 0; i < zorfp_member_count(a); ++i) {
    CHECK(zorfp_member_at(a, i, &m) == ZORFP_OK);
    if (strcmp(m.name, "Lang") == 0) lang = m.readable && m.writable && !m.is_method && m.built && m.doc[0];
    /* built says what a call finds */
    if (strcmp(m.name, "ModemACQPort") == 0) {
      modem = m.readable && !m.writable && m.built == (zorfp_call(a, m.name, NULL, 0, &r) != ZORFP_E_NOT_IMPLEMENTED);
    }
  }
  CHECK(lang && modem);
  CHECK(zorfp_member_at(a, 416, &m) == ZORFP_E_INVALID_ARGUMENT);
  CHECK(zorfp_member_at(NULL, 0, &m) == ZORFP_E_INVALID_ARGUMENT && zorfp_member_count(NULL) == 0);

  zorfp_release(a);
  zorfp_release(b);
  zorfp_release(old);
  zorfp_release(NULL);
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
