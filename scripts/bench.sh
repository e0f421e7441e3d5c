#!/usr/bin/env bash
# Installs what is missing, builds (optimised) and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_TYPE=Release bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $b"
  "$b" "$@"
done
