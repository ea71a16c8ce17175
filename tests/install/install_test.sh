#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the built project into a temporary prefix, checks where each
# file went, then builds the consumer against it through the CMake package
# and through pkg-config and runs both (consume.sh).  The Debian packages
# have their own test, tests/install/deb_test.sh.
#
#   install_test.sh BUILD_DIR C_COMPILER "C_FLAGS" [CXX_COMPILER]
set -euo pipefail
build=${1:?build dir}
cc=${2:?C compiler}
cflags=${3:-}
cxx=${4:-c++}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

# Every file in its GNU directory; the library with its SONAME and version.
libdir=$(find "$prefix" -name 'libquorvane.so.*.*.*' -printf '%h\n' | head -1)
[ -n "$libdir" ] || fail "no versioned libquorvane.so installed"
real=$(basename "$(find "$libdir" -name 'libquorvane.so.*.*.*' | head -1)")
soname=$(objdump -p "$libdir/$real" | awk '$1 == "SONAME" {print $2}')
[[ "$soname" =~ ^libquorvane\.so\.[0-9]+$ ]] || fail "SONAME is '$soname'"
[ "$(readlink "$libdir/$soname")" = "$real" ] || fail "$soname does not link to $real"
[ "$(readlink "$libdir/libquorvane.so")" = "$soname" ] || fail "libquorvane.so does not link to $soname"
for f in bin/quorvane include/quorvane/quorvane.h share/man/man1/quorvane.1.gz \
         share/bash-completion/completions/quorvane share/zsh/vendor-completions/_quorvane \
         share/fish/vendor_completions.d/quorvane.fish \
         "${libdir#$prefix/}/cmake/Quorvane/QuorvaneConfig.cmake" \
         "${libdir#$prefix/}/cmake/Quorvane/QuorvaneConfigVersion.cmake" \
         "${libdir#$prefix/}/pkgconfig/quorvane.pc"; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
bash "$here/man_test.sh" "$prefix/bin/quorvane" "$prefix/share/man/man1/quorvane.1.gz"

# The consumer, built both ways against the installed files.
CMAKE_PREFIX_PATH=$prefix PKG_CONFIG_PATH=$libdir/pkgconfig LD_LIBRARY_PATH=$libdir \
  bash "$here/consume.sh" "$tmp/consumer" "$libdir" "$cc" "$cflags" "$cxx"
