#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds consumer.c against the installed library twice, with the CMake
# package (find_package(Quorvane)) and with `cc ... $(pkg-config --cflags
# --libs quorvane)`, and consumer.cpp (through quorvane.hpp) with the
# package; runs each and checks that it ran against LIBDIR's library.  Below a prefix that is not the system's, CMAKE_PREFIX_PATH,
# PKG_CONFIG_PATH and LD_LIBRARY_PATH in the environment say where it is.
#
#   consume.sh WORK_DIR LIBDIR [C_COMPILER ["C_FLAGS" [CXX_COMPILER]]]
set -euo pipefail
work=${1:?work dir}
libdir=${2:?library dir}
cc=${3:-cc}
cflags=${4:-}
cxx=${5:-c++}
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
soname=$(objdump -p "$libdir/libquorvane.so" | awk '$1 == "SONAME" {print $2}')
[ -n "$soname" ] || fail "$libdir/libquorvane.so has no SONAME"
mkdir -p "$work"

# Runs one build of a consumer: it must load LIBDIR's library and print
# EXPECTED (by default what consumer.c prints).
check() {
  local way=$1 exe=$2 expected=${3:-class at 15} result loaded
  # (ldd's output goes to a file: grep -q stops reading at the first
  # match, and with pipefail the ldd killed by SIGPIPE failed the check.)
  ldd "$exe" >"$exe.ldd"
  # The same file, whatever the path (/lib is /usr/lib on Debian 12).
  loaded=$(awk -v so="$soname" '$1 == so {print $3}' "$exe.ldd")
  [ -n "$loaded" ] && [ "$(readlink -f "$loaded")" = "$(readlink -f "$libdir/$soname")" ] ||
    { cat "$exe.ldd"; fail "consumer ($way) not linked to $libdir/$soname"; }
  result=$("$exe") || fail "consumer ($way) answered '$result'"
  [ "$result" = "$expected" ] || fail "consumer ($way) printed '$result'"
  echo "consumer via $way: $result"
}

# shellcheck disable=SC2086 # C_FLAGS is a list of flags
cmake -S "$here" -B "$work/package" -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$cflags" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$cflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$cflags" >"$work/package.log" 2>&1 &&
  cmake --build "$work/package" >>"$work/package.log" 2>&1 || { cat "$work/package.log"; fail "CMake package build"; }
check "CMake package" "$work/package/consumer"
check "CMake package, C++" "$work/package/consumer_cpp" "class at 15; System Message: S26: answered 2"

pc=$(pkg-config --cflags --libs quorvane) || fail "pkg-config does not know quorvane"
pc=${pc% }
# shellcheck disable=SC2086 # both are lists of flags
"$cc" $cflags -o "$work/consumer-pc" "$here/consumer.c" $pc || fail "cc $pc"
check "pkg-config ($pc)" "$work/consumer-pc"
