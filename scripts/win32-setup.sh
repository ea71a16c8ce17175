#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Sets up a Debian 12 amd64 machine (as root) for the 32-bit Windows build and
# its tests under Wine: the MinGW-w64 i686 cross compiler, GoogleTest sources,
# and Wine with its 32-bit half.
#
# Wine's 32-bit loader is an i386 Linux program.  Some kernels run those, some
# refuse them ("Exec format error").  Where they are refused, binfmt_misc hands
# i386 programs to qemu-i386 from bookworm-backports (qemu 10): bookworm's own
# qemu 7.2 ignores MAP_FIXED_NOREPLACE, and each 32-bit Wine start then spends
# about a minute of CPU in Wine's address-space reservation.  The registration
# has to exist before wine32:i386 is installed, since one of its packages runs
# an i386 program while installing.
#
# Quick when everything is there already.  Env: QV_FORCE_QEMU=1 takes the qemu
# route even where the kernel runs i386 programs (to try that route).
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "win32-setup: run as root" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
APT=(apt-get -o DPkg::Lock::Timeout=900 -y -qq --no-install-recommends)
BINFMT=/proc/sys/fs/binfmt_misc
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
STATE=/var/lib/quorvane-win32
mkdir -p "$STATE"
t0=$(date +%s)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
updated=0
apt_update() { [ $updated = 1 ] || { apt-get -o DPkg::Lock::Timeout=900 update -qq; updated=1; }; }
install_missing() {  # install_missing [apt options --] packages...
  local opts=() missing=() p
  if [ "${1:-}" = -t ]; then opts=(-t "$2"); shift 2; fi
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "win32-setup: installing ${missing[*]}"
  apt_update
  nice -n 10 "${APT[@]}" "${opts[@]}" install "${missing[@]}" >"$STATE/apt.log" 2>&1 \
    || { tail -20 "$STATE/apt.log"; echo "win32-setup: apt-get install failed" >&2; exit 1; }
}

dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; updated=0; }
install_missing gcc-multilib g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest

# Can this kernel run i386 programs itself?
hello=$STATE/hello32
if [ ! -x "$hello" ]; then
  printf '#include <stdio.h>\nint main(void){puts("i386 ok");return 0;}\n' >"$STATE/hello32.c"
  gcc -m32 -static -O2 -o "$hello" "$STATE/hello32.c"
fi
[ -e $BINFMT/register ] || mount -t binfmt_misc binfmt_misc $BINFMT 2>/dev/null || true
native=1
if [ -e $BINFMT/qemu-i386 ] && grep -q '^enabled' $BINFMT/qemu-i386; then
  # Registered already: ask the kernel with the handler switched off for a moment.
  echo 0 >$BINFMT/qemu-i386
  "$hello" >/dev/null 2>&1 || native=0
  echo 1 >$BINFMT/qemu-i386
else
  "$hello" >/dev/null 2>&1 || native=0
fi
route=native
if [ $native = 0 ] || [ "${QV_FORCE_QEMU:-0}" = 1 ]; then
  route=qemu
  if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/; then
    archive=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$archive" ] || archive=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
    [ -n "$archive" ] || archive=http://deb.debian.org/debian
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$archive" >/etc/apt/sources.list.d/bookworm-backports.sources
    updated=0
  fi
  qemu_ok=0
  if [ -x /usr/bin/qemu-i386 ]; then
    /usr/bin/qemu-i386 --version | grep -Eq 'version ([1-9][0-9]|[89])\.' && qemu_ok=1
  fi
  if [ $qemu_ok = 0 ]; then
    apt_update
    nice -n 10 "${APT[@]}" install -t bookworm-backports qemu-user >"$STATE/apt.log" 2>&1 \
      || { tail -20 "$STATE/apt.log"; echo "win32-setup: qemu-user from bookworm-backports failed" >&2; exit 1; }
  fi
  [ -e $BINFMT/register ] || { echo "win32-setup: binfmt_misc cannot be mounted" >&2; exit 1; }
  if ! grep -qs 'interpreter /usr/bin/qemu-i386$' $BINFMT/qemu-i386 || ! grep -qs '^flags: .*F' $BINFMT/qemu-i386; then
    [ -e $BINFMT/qemu-i386 ] && echo -1 >$BINFMT/qemu-i386
    printf ':qemu-i386:M::%s:%s:/usr/bin/qemu-i386:F\n' "$I386_MAGIC" "$I386_MASK" >$BINFMT/register
  fi
  "$hello" >/dev/null 2>&1 || { echo "win32-setup: i386 programs do not run through qemu-i386" >&2; exit 1; }
fi
# Only now: wine32:i386 runs an i386 program while it installs.
install_missing wine wine64 wine32:i386
[ -x /usr/lib/wine/wine ] || { echo "win32-setup: /usr/lib/wine/wine missing" >&2; exit 1; }
echo "win32-setup: ready, i386 route: $route ($(( $(date +%s) - t0 )) s)"
