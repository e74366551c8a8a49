#!/usr/bin/env bash
# Installs the build into a fresh prefix, then builds the guide's C receipt against it twice, once
# through find_package(ZORFP) and once through pkg-config, and runs both on the installed
# zorfp-sim; then the guide's Python receipt on the installed Python package.
# Usage: run_consumer.sh BUILD_DIR SOURCE_DIR WORK_DIR CMAKE C_COMPILER
set -euo pipefail
build=$1 source=$2 work=$3 cmake=$4 cc=$5
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log"

# Nothing may be looked up in the build or source tree from here on.
libdir=$(dirname "$(find "$prefix" -name 'libZORFPdriver.so.*' -type f | head -n1)")
test -L "$libdir/libZORFPdriver.so"
soname=$(objdump -p "$libdir/libZORFPdriver.so" | awk '/SONAME/ {print $2}')
test -e "$libdir/$soname"

"$cmake" -S "$source" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_COMPILER="$cc" \
  >"$work/configure.log"
"$cmake" --build "$work/cmake-build" >"$work/build.log"

export PKG_CONFIG_PATH=$libdir/pkgconfig
version=$(pkg-config --modversion zorfp)
# shellcheck disable=SC2046  # the flags are words
"$cc" -std=c11 -Wall -Werror -o "$work/receipt-pc" "$source/receipt.c" $(pkg-config --cflags --libs zorfp)

sim_pid=
cleanup() { if [[ -n $sim_pid ]]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi; }
trap cleanup EXIT
run_receipt() {  # PROGRAM [ENVIRONMENT...]
  local program=$1
  shift
  coproc SIM { exec "$prefix/bin/zorfp-sim" --variant 05-03 --link "$work/printer" --tape "$work/tape.txt"; }
  sim_pid=$SIM_PID
  local ready
  read -r ready <&"${SIM[0]}"
  [[ $ready == "ready $work/printer" ]]
  env "$@" "$program" "$work/printer" >"$work/out.txt"
  kill "$sim_pid"
  wait "$sim_pid" || true
  sim_pid=
  cat "$work/out.txt"
  grep -qx "ZORFPdriver $version" "$work/out.txt"
  grep -qx "receipt total 6190 kopecks" "$work/out.txt"
  grep -qx "change 810 kopecks" "$work/out.txt"
  grep -q "Bread" "$work/tape.txt"
}
run_receipt "$work/cmake-build/receipt"
run_receipt "$work/receipt-pc" LD_LIBRARY_PATH="$libdir"

# The installed Python package finds the library and zorfp-sim from where it lies.
python=${PYTHON:-python3}
env -u ZORFP_LIBRARY -u ZORFP_SIM PYTHONPATH="$prefix/lib/python3/dist-packages" PYTHONDONTWRITEBYTECODE=1 \
  "$python" "$source/../../python/examples/receipt.py" >"$work/python.txt"
grep -qx "change 810 kopecks" "$work/python.txt"
echo "consumer: find_package, pkg-config and Python ran a receipt against $prefix"
