#!/usr/bin/env bash
# scripts/run as a newcomer meets it without a display: it says how to end it, a second run beside it
# is told that the console is already running, and Ctrl-C ends everything cleanly, the console
# closing as its window would (status 0) before the private X server goes.
#   RunTwiceTest.sh BUILD-FOLDER
set -uo pipefail
build=$1
source=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-run-twice.XXXXXX")
first=
trap '[ -n "$first" ] && kill -TERM -- -"$first" 2>/dev/null && wait "$first"; rm -rf "$scratch"' EXIT
unset DISPLAY WAYLAND_DISPLAY
export VORLANE_RUN_BUILD_DIR=$build VORLANE_RUN_RUNTIME=$scratch/runtime VORLANE_RUN_STORE=$scratch/store.db
fail() {
    echo "FAILED: $*"
    echo "--- first run:"
    cat "$scratch/first.out"
    exit 1
}

# A session of its own, so that a signal to its process group is what Ctrl-C in its terminal sends;
# started in the background, it would ignore that signal unless told to take it.
setsid env --default-signal=INT "$source/scripts/run" >"$scratch/first.out" 2>&1 &
first=$!
source "$(dirname "$0")/ConsoleUp.sh"
lock=$VORLANE_RUN_RUNTIME/mutex-QuillmarConsole
for _ in $(seq 1200); do
    console_up "$lock" && break
    kill -0 "$first" 2>/dev/null || fail "the first run ended by itself"
    sleep 0.1
done
console_up "$lock" || fail "no console came up"
grep -q "press Ctrl-C to end" "$scratch/first.out" || fail "it does not say how to end it"

second=$("$source/scripts/run" 2>&1)
status=$?
[ $status -eq 1 ] || fail "the second run ended with $status: $second"
[[ $second == "The console is already running"* ]] || fail "the second run said: $second"

kill -INT -- -"$first"
wait "$first"
status=$?
first=
[ $status -eq 0 ] || fail "Ctrl-C ended the first run with status $status"
grep -q "X11 connection broke" "$scratch/first.out" && fail "the console lost its display"
grep -q "^Ended: " "$scratch/first.out" || fail "no word that it ended"
cat "$scratch/first.out"
echo "second run: $second"
