#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The records of a whole tree against the Java compiler's own parser, and
# their write-back: scripts/javac-compare.py's agreement (package, imports,
# main type name, kind and superclass) and round trip (scan --save, write
# --all --to OUT: written files that no longer parse, lines lost) on every
# Java file of the JDK's sources, with the kinds of disagreement and the
# worst files.
#
#   bench/javac-report.sh [SOURCES [QUORVANE]]
#
# SOURCES is a zip of Java sources or a directory (default: Debian's
# openjdk-17-source, /usr/lib/jvm/openjdk-17/lib/src.zip, 15,143 files);
# QUORVANE defaults to the release build's.  A JDK's java (17 or later) must
# be on the PATH, or named by JAVA.  Status 0 when both ran, whatever the
# figures; 2 when a tool failed.
set -euo pipefail
here=$(dirname "$0")
sources=${1:-/usr/lib/jvm/openjdk-17/lib/src.zip}
qv=${2:-$here/../build/release/quorvane}
[ -x "$qv" ] || { echo "no quorvane at $qv (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }
[ -e "$sources" ] || { echo "no $sources (scripts/deps.sh installs openjdk-17-source)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -d "$sources" ]; then
  tree=$sources
else
  tree=$work/sources
  python3 -m zipfile -e "$sources" "$tree"
fi
compare=(python3 "$here/../scripts/javac-compare.py" --quorvane "$qv" --examples 10)

# The figures are what is reported: a threshold missed (status 1) does not
# fail the report, a failing tool (status 2) does.
Step() {
  local status=0 from=$SECONDS
  echo "== $1"
  "${compare[@]}" "$@" "$tree" || status=$?
  echo "== $1: $((SECONDS - from)) s"
  [ "$status" -lt 2 ]
}
Step agree
Step roundtrip
