#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
# libsqlite3-dev, libpq-dev and postgresql for the SQL layer and its tests;
# clang and its runtime for the fuzz targets, gcovr for the coverage figures;
# CLI11 and nlohmann-json for the command; dpkg-dev for the
# Debian packages and their build flags, file for cpack's dependency search,
# lintian to check the packages, debootstrap, zstd and util-linux (unshare)
# for the Debian 12 root they are installed into.
packages=(cmake ninja-build g++ make binutils libgtest-dev libbenchmark-dev
  libsqlite3-dev libpq-dev postgresql pkg-config clang libclang-rt-14-dev gcovr libcli11-dev nlohmann-json3-dev
  dpkg-dev file lintian debootstrap zstd util-linux)
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
