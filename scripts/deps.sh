#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the Debian packages the build and the tests need, when missing.
# Scripts that call each other run it once: the first runs it and exports
# QV_DEPS_DONE=1, which makes every later call return at once.
set -euo pipefail
[ "${QV_DEPS_DONE:-0}" = 1 ] && exit 0
# libsqlite3-dev, libpq-dev and postgresql for the SQL layer and its tests;
# clang and its runtime for the fuzz targets and the second compiler's build;
# clang-format and clang-tidy (14) for the style and static checks,
# cmake-format for its cmake-lint, the CMake files' check; gcovr for
# the coverage figures; CLI11 and nlohmann-json for the command; dpkg-dev for
# the Debian packages and their build flags, file for cpack's dependency
# search, lintian to check the packages, debootstrap, zstd and util-linux
# (unshare) for the Debian 12 root they are installed into; universal-ctags
# (readtags, and ctags for bench/scan.sh), vim and emacs-nox, the readers
# the tags file's tests check it with; bash-completion, zsh and fish, the
# shells the completion test runs; graphviz, which draws tree --format dot; ripgrep and time for bench/scan.sh; python3,
# the JDK's compiler (openjdk-17-jdk-headless) and the JDK's own sources
# (openjdk-17-source, src.zip) for the comparisons with the Java compiler's
# parser (scripts/javac-compare.py, its tests and bench/javac-report.sh).
packages=(cmake ninja-build g++ make binutils libgtest-dev libbenchmark-dev
  libsqlite3-dev libpq-dev postgresql pkg-config clang libclang-rt-14-dev clang-format clang-tidy cmake-format gcovr
  libcli11-dev nlohmann-json3-dev dpkg-dev file lintian debootstrap zstd util-linux universal-ctags vim
  emacs-nox bash-completion zsh fish graphviz ripgrep time python3 openjdk-17-jdk-headless openjdk-17-source)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
