#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the fuzz targets (preset "fuzz") and runs each for SECONDS on the
# committed seed corpus (fuzz/targets.cmake names it), one target after the
# other.  New inputs go to build/fuzz/corpus/TARGET (kept between runs),
# findings to build/fuzz/findings/TARGET.  Exits non-zero on the first finding.
#
#   fuzz/run.sh [SECONDS] [TARGET...]      default: 60 seconds, every target
#
# Every input in fuzz/regressions/TARGET (inputs that once failed) is run
# first.  Set QV_FUZZ_NICE=1 to run at the lowest priority.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QV_DEPS_DONE=1
nSeconds="${1:-60}"
shift || true
aTargets=("$@")
# The targets and the seed directories of each, from fuzz/targets.cmake.
declare -A seeds
while read -r t dirs; do
  seeds[$t]=$dirs
  [ $# -eq 0 ] && aTargets+=("$t")
done < <(cmake -P fuzz/targets.cmake)
for t in "${aTargets[@]}"; do
  [[ -v seeds[$t] ]] || { echo "fuzz/run.sh: no fuzz target $t in fuzz/targets.cmake" >&2; exit 2; }
done

cmake --preset fuzz -DQV_WERROR=ON >/dev/null
cmake --build --preset fuzz -j2

aNice=()
[ "${QV_FUZZ_NICE:-0}" = 1 ] && aNice=(nice -n 19)
status=0
for t in "${aTargets[@]}"; do
  bin="build/fuzz/fuzz/fuzz_$t"
  work="build/fuzz/corpus/$t"
  found="build/fuzz/findings/$t"
  mkdir -p "$work" "$found"
  if compgen -G "fuzz/regressions/$t/*" >/dev/null; then
    "${aNice[@]}" "$bin" -runs=0 fuzz/regressions/$t/* >"build/fuzz/$t.regressions.log" 2>&1 || {
      echo "fuzz $t: a kept regression input fails again (build/fuzz/$t.regressions.log)"
      status=1
      continue
    }
  fi
  # New inputs go to the first directory, $work.
  read -r -a aSeeds <<<"${seeds[$t]}"
  log="build/fuzz/$t.log"
  if "${aNice[@]}" "$bin" -max_total_time="$nSeconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$found/" "$work" "${aSeeds[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    echo "fuzz $t: ${runs:-?} executions in ${secs:-?} s ($(( ${runs:-0} / (${secs:-1} > 0 ? ${secs:-1} : 1) )) exec/s), no finding"
  else
    echo "fuzz $t: FINDING, see $log and $found/"
    grep -m5 -E "property broken|ERROR|SUMMARY" -A2 "$log" || true
    status=1
  fi
done
exit $status
