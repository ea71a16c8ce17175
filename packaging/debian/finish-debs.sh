#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Finishes the packages cpack made, in place, where cpack 3.25 differs from
# what Debian's tools make:
# - cpack writes a postinst and a postrm that call ldconfig for any library
#   below /usr/lib; the package has the ldconfig trigger instead (lintian:
#   maintscript-calls-ldconfig), so scripts that do nothing else go;
# - cpack counts a symbolic link as a copy of its target in Installed-Size
#   (libquorvane-dev, which holds the link libquorvane.so, counted the whole
#   library); it is counted again as dpkg-gencontrol does: each file its
#   size in KiB rounded up, each link and directory 1 KiB;
# - cpack strips with a plain strip, which keeps the .comment and .note
#   sections; they go as dh_strip removes them (lintian:
#   binary-has-unneeded-section), and md5sums is made anew.
#
#   finish-debs.sh PACKAGE.deb...
set -euo pipefail
for deb in "$@"; do
  case $deb in *.deb) ;; *) continue ;; esac
  tmp=$(mktemp -d)
  dpkg-deb -R "$deb" "$tmp/root"
  for script in postinst postrm; do
    file=$tmp/root/DEBIAN/$script
    [ -f "$file" ] || continue
    # Every line but the shell's, set -e and the test of the first argument
    # is the ldconfig call.
    if grep -v -E '^(#!/bin/sh|set -e|if \[ "\$1" = "(configure|remove)" \]; then|fi|[[:space:]]*ldconfig|)$' \
         "$file" | grep -q .; then
      echo "finish-debs.sh: $(basename "$deb"): $script does more than call ldconfig; kept" >&2
    else
      rm "$file"
    fi
  done
  while IFS= read -r -d '' f; do
    if [ "$(head -c4 "$f")" = $'\x7fELF' ]; then strip --remove-section=.comment --remove-section=.note "$f"; fi
  done < <(find "$tmp/root" -path "$tmp/root/DEBIAN" -prune -o -type f -print0)
  (cd "$tmp/root" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | sort -z | xargs -0r md5sum) \
    >"$tmp/root/DEBIAN/md5sums"
  size=$(cd "$tmp/root" && find . -mindepth 1 -path ./DEBIAN -prune -o -printf '%y %s\n' |
         awk '$1 == "f" {n += int(($2 + 1023) / 1024); next} {n += 1} END {print n + 0}')
  sed -i "s/^Installed-Size: .*/Installed-Size: $size/" "$tmp/root/DEBIAN/control"
  dpkg-deb --root-owner-group -Zxz -b "$tmp/root" "$deb" >/dev/null
  rm -rf "$tmp"
done
