#!/bin/sh
# (c) Instructions per sale exchange, counted by callgrind inside FPSale only, against a printer in
# memory (sale_instructions), for 1000 and 2000 sales; the difference gives the cost of a sale once
# everything has warmed up.
#
#   bench/instructions.sh [BUILD_DIR]        (default build/linux)
set -eu
bin="${1:-build/linux}/bench/sale_instructions"
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect='zorfp::FPSale*' "$bin" "$1" 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
a=$(count 1000)
b=$(count 2000)
printf '%-22s %12s %10s\n' sales instructions per_sale
printf '%-22s %12s %10s\n' 1000 "$a" "$((a / 1000))"
printf '%-22s %12s %10s\n' 2000 "$b" "$((b / 2000))"
printf '%-22s %12s %10s\n' "the second 1000 alone" "$((b - a))" "$(((b - a) / 1000))"
