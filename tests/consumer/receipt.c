/* A whole receipt through the C API: two items, a cash payment that closes it, the change.
 * Usage: receipt PORT (a serial device, or the link zorfp-sim made). */
#include <stdio.h>
#include <zorfp/zorfp.h>

/* A call the printer refused or did not answer: its code, status byte and message. */
static int report(zorfp_object* fp, const char* what) {
  zorfp_value code, status, text;
  zorfp_call(fp, "GetByteResult", NULL, 0, &code);
  zorfp_call(fp, "GetByteStatus", NULL, 0, &status);
  zorfp_call(fp, "GetTextErrorMessage", NULL, 0, &text);
  fprintf(stderr, "%s failed: result %u, status %u: %s\n", what, (unsigned)code.as.u,
          (unsigned)status.as.u, text.as.s);
  return 1;
}

/* Calls a method that returns bool; true only when the printer executed it. */
static int call(zorfp_object* fp, const char* member, const zorfp_value* args, size_t count) {
  zorfp_value ok;
  if (zorfp_call(fp, member, args, count, &ok) != ZORFP_OK) {
    fprintf(stderr, "%s: %s\n", member, zorfp_last_error()); /* wrong name, count or type */
    return 0;
  }
  return ok.as.b;
}

int main(int argc, char** argv) {
  if (argc != 2) return fprintf(stderr, "usage: receipt PORT\n"), 2;
  printf("ZORFPdriver %s\n", zorfp_version());

  zorfp_object* fp;
  if (zorfp_create("ZOR_05_03", &fp) != ZORFP_OK) return fprintf(stderr, "%s\n", zorfp_last_error()), 1;
  zorfp_value lang = zorfp_uint(0); /* messages in English */
  zorfp_set(fp, "Lang", &lang);

  /* Port, baud rate, read and write time-outs in seconds. */
  zorfp_value open[] = {zorfp_str(argv[1]), zorfp_uint(115200), zorfp_uint(1), zorfp_uint(1)};
  if (!call(fp, "FPInitEx", open, 4)) return report(fp, "FPInitEx");

  /* Quantity 2.000 (Amount 2000 with 3 decimal places in Amount_Status), price 18.50 in kopecks,
   * tax group A, the name printed as given, article code 11. */
  zorfp_value bread[] = {zorfp_int(2000), zorfp_uint(3), zorfp_bool(0), zorfp_int(1850),
                         zorfp_str("etgTax_A"), zorfp_bool(0), zorfp_str("Bread"), zorfp_uint(11)};
  if (!call(fp, "FPSale", bread, 8)) return report(fp, "FPSale");
  /* One piece (IsOneQuant: no "quantity x price" line), 24.90, tax group B. */
  zorfp_value milk[] = {zorfp_int(1), zorfp_uint(0), zorfp_bool(1), zorfp_int(2490),
                        zorfp_str("etgTax_B"), zorfp_bool(0), zorfp_str("Milk"), zorfp_uint(28)};
  if (!call(fp, "FPSale", milk, 8)) return report(fp, "FPSale");

  zorfp_value total;
  zorfp_call(fp, "GetCheckTotal", NULL, 0, &total);
  printf("receipt total %lld kopecks\n", (long long)total.as.i);

  /* 70.00 in cash; CheckClose: close the receipt once it is paid; FiscStatus: a fiscal payment. */
  zorfp_value cash[] = {zorfp_str("eptCashPayment"), zorfp_uint(7000), zorfp_bool(1), zorfp_bool(1)};
  if (!call(fp, "FPPayment", cash, 4)) return report(fp, "FPPayment");

  zorfp_value balance, is_change;
  zorfp_call(fp, "GetBalance", NULL, 0, &balance);
  zorfp_call(fp, "GetBalanceType", NULL, 0, &is_change);
  printf("%s %lld kopecks\n", is_change.as.b ? "change" : "still to pay", (long long)balance.as.i);

  call(fp, "FPClose", NULL, 0);
  zorfp_release(fp);
  return 0;
}
