#!/usr/bin/env bash
# Starts the real program as a user would: one copy per machine, a second
# start ends at once and silently, a copy that crashed blocks nothing.
set -u
exe="$1"
src="$(dirname "$exe")"
work="$(mktemp -d)"
pids=()
cleanup() { for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/prog/database" "$work/prog/backup" "$work/prog/image" "$work/tmp" "$work/run"
chmod 700 "$work/run"
cp "$exe" "$work/prog/"
cp "$src/database/database.mdb" "$work/prog/database/"
export TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
prog="$work/prog/$(basename "$exe")"
passed=0; failed=0
check() { if eval "$2"; then passed=$((passed+1)); else failed=$((failed+1)); echo "FAILED: $1"; fi; }

"$prog" >/dev/null 2>&1 & first=$!; pids+=("$first")
sleep 2
check "first copy keeps running at its login window" 'kill -0 $first 2>/dev/null'

out="$(timeout 10 "$prog" 2>&1)"; rc=$?
check "second copy ends at once with no error (rc=$rc)" '[ $rc -eq 0 ]'
check "second copy says nothing" '[ -z "$out" ]'

kill -9 "$first"; wait "$first" 2>/dev/null
"$prog" >/dev/null 2>&1 & third=$!; pids+=("$third")
sleep 2
check "a start after a crash is not blocked" 'kill -0 $third 2>/dev/null'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
