#!/usr/bin/env bash
# Installs the built project into a temporary prefix, builds the consumer
# against it through the CMake package and through pkg-config, runs both,
# and checks the file list of the Debian package that cpack makes.
#
#   install_test.sh BUILD_DIR C_COMPILER "C_FLAGS"
set -euo pipefail
build=${1:?build dir}
cc=${2:?C compiler}
cflags=${3:-}
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
for f in bin/quorvane include/quorvane/quorvane.h share/man/man1/quorvane.1 \
         "${libdir#$prefix/}/cmake/Quorvane/QuorvaneConfig.cmake" \
         "${libdir#$prefix/}/cmake/Quorvane/QuorvaneConfigVersion.cmake" \
         "${libdir#$prefix/}/pkgconfig/quorvane.pc"; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
grep -q '^\.TH QUORVANE "1"' "$prefix/share/man/man1/quorvane.1" || fail "quorvane.1 is not a man page"
grep -q 'scan' "$prefix/share/man/man1/quorvane.1" || fail "quorvane.1 does not hold the help"

# The consumer, once per way of finding the library.
for way in package pkg-config; do
  out=$tmp/consumer-$way
  PKG_CONFIG_PATH=$libdir/pkgconfig cmake -S "$here" -B "$out" -G Ninja -DQV_FIND=$way \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$cflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$cflags" >"$out.log" 2>&1 || { cat "$out.log"; fail "configure ($way)"; }
  cmake --build "$out" -j2 >>"$out.log" 2>&1 || { cat "$out.log"; fail "build ($way)"; }
  # The consumer must run against the installed library, not the build tree's.
  # (ldd's output goes to a file first: grep -q stops reading at the first
  # match, and with pipefail the ldd killed by SIGPIPE failed the check.)
  ldd "$out/consumer" >"$out.ldd"
  grep -q "$libdir/$soname" "$out.ldd" || { cat "$out.ldd"; fail "consumer ($way) not linked to $libdir"; }
  result=$("$out/consumer") || fail "consumer ($way) answered '$result'"
  [ "$result" = "class at 15" ] || fail "consumer ($way) printed '$result'"
  echo "consumer via $way: $result"
done

# The Debian package holds the same files, below /usr.
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/deb" >"$tmp/cpack.log" 2>&1) ||
  { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(find "$tmp/deb" -maxdepth 1 -name '*.deb' | head -1)
[ -n "$deb" ] || fail "cpack made no .deb"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's,^\./,/,' | sort > "$tmp/deb.list"
(cd "$prefix" && find . \( -type f -o -type l \) | sed 's,^\.,/usr,' | sort) > "$tmp/installed.list"
diff <(grep -v '/$' "$tmp/deb.list") "$tmp/installed.list" || fail "the .deb's files differ from the installed ones"
[ "$(dpkg-deb -f "$deb" Package)" = "quorvane" ] || fail "package name"
echo "deb: $(basename "$deb"), $(wc -l < "$tmp/installed.list") files"
