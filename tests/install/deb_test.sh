#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The Debian packages, as a user of Debian 12 gets them: cpack makes the
# three packages from BUILD_DIR (a build of the deb preset), lintian checks
# them, then they are installed with apt into a clean Debian 12 root
# (debootstrap --variant=minbase bookworm, with a C compiler, pkg-config and
# cmake for the consumers), where the README's main job runs with the
# installed command and a C program is built with pkg-config and with
# find_package(Quorvane).  Removing the packages must leave none of their
# files and no libquorvane in ldconfig's cache.
#
#   deb_test.sh BUILD_DIR
#
# The root is made once and kept as a tarball in QV_DEB_ROOT_CACHE
# (default /var/cache/quorvane); each run unpacks a fresh copy.  The root's
# commands run in their own mount and PID namespaces (unshare), so the
# /proc mounted for them goes away with them, whatever happens.
set -euo pipefail
build=$(cd "${1:?build dir}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
cache=${QV_DEB_ROOT_CACHE:-/var/cache/quorvane}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $* ($SECONDS s)"; }
for tool in cpack dpkg-deb lintian debootstrap unshare zstd readelf; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

step "cpack"
(cd "$build" && cpack -G DEB -B "$tmp/debs" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack"; }
version=$(dpkg-parsechangelog -l "$source_dir/packaging/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
declare -A deb
for p in libquorvane0 libquorvane-dev quorvane; do
  deb[$p]=$tmp/debs/${p}_${version}_$arch.deb
  [ -f "${deb[$p]}" ] || fail "cpack made no ${deb[$p]##*/}: $(ls "$tmp/debs")"
done
field() { dpkg-deb -f "${deb[$1]}" "$2"; }

# Dependencies: the computed ones with their minimum versions, the
# packages' own exactly.
for p in libquorvane0 quorvane; do
  field $p Depends | grep -Eq '(^|, )libc6 \(>= [0-9.]+\)' || fail "$p: Depends '$(field $p Depends)' lacks libc6 (>= ...)"
  field $p Depends | grep -Eq '(^|, )libgcc-s1 \(>= [0-9.]+\)' || fail "$p: Depends lacks libgcc-s1 (>= ...)"
done
field libquorvane0 Depends | grep -Eq '(^|, )libsqlite3-0 \(>= [0-9.]+\)' || fail "libquorvane0: Depends lacks libsqlite3-0"
for p in libquorvane-dev quorvane; do
  field $p Depends | grep -Fq "libquorvane0 (= $version)" || fail "$p: Depends '$(field $p Depends)' lacks libquorvane0 (= $version)"
done
dpkg-deb --ctrl-tarfile "${deb[libquorvane0]}" | tar -x -C "$tmp" ./shlibs ./triggers
grep -Fxq "libquorvane 0 libquorvane0 (>= $version)" "$tmp/shlibs" || fail "shlibs: $(cat "$tmp/shlibs")"
grep -Fxq "activate-noawait ldconfig" "$tmp/triggers" || fail "triggers: $(cat "$tmp/triggers")"
for p in "${!deb[@]}"; do
  control=$(dpkg-deb --ctrl-tarfile "${deb[$p]}" | tar -t)
  ! grep -Eq '^\./(postinst|postrm|preinst|prerm)$' <<<"$control" || fail "$p has maintainer scripts"
  field "$p" Maintainer | grep -Ev 'localhost' | grep -Eq '^[^<]+ <[^@<>]+@[^@<>]+\.[a-z]+>$' ||
    fail "$p: Maintainer '$(field "$p" Maintainer)'"
  [ "$(field "$p" Description | wc -l)" -ge 4 ] || fail "$p: no extended description"
done
# Installed-Size: the dev package holds the headers, small build files and a
# link to the library, never the library itself (some megabytes).
header_kib=$(du -k --apparent-size -c "$source_dir"/include/quorvane/* | tail -n 1 | cut -f1)
[ "$(field libquorvane-dev Installed-Size)" -lt $((header_kib + 64)) ] ||
  fail "libquorvane-dev Installed-Size $(field libquorvane-dev Installed-Size), headers $header_kib KiB"

# The three packages hold exactly what the build installs below /usr.
DESTDIR=$tmp/staged cmake --install "$build" >/dev/null
(cd "$tmp/staged" && find . \( -type f -o -type l \) | sed 's,^\.,,' | sort) >"$tmp/installed.list"
for p in "${!deb[@]}"; do dpkg-deb -c "${deb[$p]}"; done | awk '$1 !~ /^d/ {print $6}' | sed 's,^\.,,' | sort \
  >"$tmp/debs.list"
diff "$tmp/installed.list" "$tmp/debs.list" || fail "the packages' files differ from the installed ones"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
grep -qx "/usr/lib/$multiarch/libquorvane.so.0" "$tmp/debs.list" || fail "the library is not in /usr/lib/$multiarch"

# Stripped, with Debian's hardening: relro, bind now, fortified calls.
dpkg-deb -x "${deb[libquorvane0]}" "$tmp/x"
dpkg-deb -x "${deb[quorvane]}" "$tmp/x"
# (Each tool's output is read whole first: grep -q stops at the first match,
# and with pipefail a writer killed by SIGPIPE would fail the check.)
for f in "$tmp/x/usr/lib/$multiarch/libquorvane.so.0" "$tmp/x/usr/bin/quorvane"; do
  sections=$(readelf -S --wide "$f") program=$(readelf -l --wide "$f") dynamic=$(readelf -d --wide "$f")
  ! grep -Eq ' \.(symtab|debug_info|comment) ' <<<"$sections" || fail "${f##*/} is not stripped"
  grep -q GNU_RELRO <<<"$program" || fail "${f##*/} has no RELRO"
  grep -Eq 'BIND_NOW|FLAGS.*NOW' <<<"$dynamic" || fail "${f##*/} is not linked with -z now"
done
symbols=$(readelf --dyn-syms --wide "$tmp/x/usr/lib/$multiarch/libquorvane.so.0")
grep -Eq ' __[a-z]+_chk@' <<<"$symbols" || fail "libquorvane.so.0 calls no fortified function (-D_FORTIFY_SOURCE)"

step "lintian"
# No tag at all, of any severity down to info: what is accepted is
# overridden, with its reason, in packaging/debian/*.lintian-overrides.
lintian --display-info --fail-on error,warning,info "${deb[@]}" >"$tmp/lintian.log" 2>&1 ||
  { cat "$tmp/lintian.log"; fail "lintian"; }
grep -E '^[EWI]: ' "$tmp/lintian.log" && fail "lintian tags (above)"

step "Debian 12 root"
# The archive this machine's apt uses for bookworm.
mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' | awk '$2 == "bookworm" {print $1; exit}')
[ -n "$mirror" ] || fail "no bookworm archive in this machine's apt sources"
tools=gcc,g++,libc6-dev,pkgconf,cmake,make
tarball=$cache/bookworm-minbase-$arch-$(echo "$mirror $tools" | md5sum | cut -c1-8).tar.zst
root=$tmp/root
if [ ! -f "$tarball" ]; then
  echo "making $tarball from $mirror"
  mkdir -p "$cache"
  debootstrap --variant=minbase --include=$tools bookworm "$tmp/new" "$mirror" >"$tmp/debootstrap.log" 2>&1 ||
    { tail -30 "$tmp/debootstrap.log"; fail "debootstrap"; }
  chroot "$tmp/new" apt-get clean
  tar -C "$tmp/new" --zstd -cf "$tarball.$$" . && mv "$tarball.$$" "$tarball"
  rm -rf "$tmp/new"
fi
mkdir "$root"
tar -C "$root" --zstd -xf "$tarball"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The root lives for one run: dpkg need not sync each file it unpacks.
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"
in_root() { unshare --mount --pid --fork --mount-proc="$root/proc" chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }
mkdir -p "$root/test"
cp "${deb[@]}" "$root/test/"
cp "$here/consume.sh" "$here/consumer.c" "$here/consumer.cpp" "$here/CMakeLists.txt" "$root/test/"
cp -r "$source_dir/examples" "$root/test/examples"
cp -r "$source_dir/examples" "$tmp/examples"
in_root sh -c 'apt-get update -qq && apt-get install -y -qq --no-install-recommends "$@"' sh \
  "/test/${deb[libquorvane0]##*/}" "/test/${deb[quorvane]##*/}" \
  >"$tmp/apt.log" 2>&1 </dev/null || { cat "$tmp/apt.log"; fail "apt-get install libquorvane0 quorvane"; }
in_root dpkg -L libquorvane0 quorvane >"$tmp/files.list"

step "main job with the installed command"
# The README's main job (scripts/main.sh), with the command of the package;
# the same job with the command of the build must print the same.
job='quorvane scan --list --save --history 3 --repo "$1/repo" --profile-dir "$1/profile" "$1/examples" &&
     quorvane tree --repo "$1/repo" --profile-dir "$1/profile"'
in_root sh -c "cd /test && $job" job /test >"$tmp/job.root" 2>&1 || { cat "$tmp/job.root"; fail "main job in the root"; }
PATH=$build:$PATH sh -c "$job" job "$tmp" >"$tmp/job.build" 2>&1 || { cat "$tmp/job.build"; fail "main job with the build"; }
# The same but for the paths and the scan's time.
sed -i "s,$tmp/,/test/,g; s/^time: [0-9.]* s$/time/" "$tmp/job.build"
sed -i 's/^time: [0-9.]* s$/time/' "$tmp/job.root"
diff "$tmp/job.build" "$tmp/job.root" || fail "the installed command's main job differs from the build's"
[ -s "$root/test/repo/jbclass.txt" ] || fail "scan --save wrote no jbclass.txt"
[ "$(wc -l <"$tmp/job.root")" -ge 4 ] || fail "the main job printed next to nothing: $(cat "$tmp/job.root")"
# The commands that load the library by name find it without the
# development package: it lists every name of the export listing.
n=$(in_root quorvane exports | wc -l) || fail "quorvane exports without libquorvane-dev"
nListed=$(tail -n +2 "$source_dir/tests/data/exports.tsv" | wc -l)
[ "$n" -eq "$nListed" ] || fail "quorvane exports without libquorvane-dev listed $n names, not the $nListed of exports.tsv"

step "consumers with libquorvane-dev"
in_root apt-get install -y -qq --no-install-recommends "/test/${deb[libquorvane-dev]##*/}" >"$tmp/apt.log" 2>&1 </dev/null ||
  { cat "$tmp/apt.log"; fail "apt-get install libquorvane-dev"; }
in_root dpkg -L libquorvane-dev >>"$tmp/files.list"
[ "$(in_root pkg-config --variable=includedir quorvane)" = /usr/include ] || fail "quorvane.pc's includedir"
[ "$(in_root pkg-config --variable=libdir quorvane)" = "/usr/lib/$multiarch" ] || fail "quorvane.pc's libdir"
in_root bash /test/consume.sh /test/consumer "/usr/lib/$multiarch" || fail "consumers in the root"
in_root ldconfig -p >"$tmp/ldconfig"
grep -Eq 'libquorvane\.so\.0 .*=> (/usr)?/lib/'"$multiarch"'/libquorvane\.so\.0$' "$tmp/ldconfig" ||
  fail "ldconfig does not list libquorvane.so.0"

step "removal"
in_root apt-get remove -y -qq libquorvane0 libquorvane-dev quorvane >"$tmp/apt.log" 2>&1 </dev/null ||
  { cat "$tmp/apt.log"; fail "apt-get remove"; }
in_root dpkg-query -W -f '${db:Status-Abbrev} ${Package}\n' | grep -E '^.[^n]. (libquorvane0|libquorvane-dev|quorvane)$' &&
  fail "packages left in dpkg's database"
in_root ldconfig -p | grep libquorvane && fail "ldconfig still lists libquorvane"
left=0
while read -r f; do
  [ -e "$root$f" ] || [ -L "$root$f" ] || continue
  # A directory that another package also holds stays.
  [ -d "$root$f" ] && in_root dpkg-query -S "$f" >/dev/null 2>&1 && continue
  echo "left: $f"
  left=1
done < <(grep -v -x -e '' -e '/\.' "$tmp/files.list" | sort -u)
[ "$left" = 0 ] || fail "files of the packages left after their removal"
step "done"
