#!/usr/bin/env bash
# scripts/run as it meets a machine where it builds: it builds the programs of the suite that a demo
# uses, vorlane-port among them (the README says it is installed beside the console). Stand-ins for
# cmake and dpkg-query note what the script asks of them; the build itself fails, which ends the run
# before anything starts.
set -uo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-run-builds.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAILED: $*"
    cat "$scratch/out"
    exit 1
}

mkdir "$scratch/bin"
cat >"$scratch/bin/cmake" <<'STAND_IN'
#!/bin/sh
echo "$*" >>"$STAND_IN_LOG"
[ "$1" != --build ]
STAND_IN
cat >"$scratch/bin/dpkg-query" <<'STAND_IN'
#!/bin/sh
printf 'install ok installed'
STAND_IN
chmod +x "$scratch/bin/cmake" "$scratch/bin/dpkg-query"

env -u VORLANE_RUN_BUILD_DIR PATH="$scratch/bin:$PATH" STAND_IN_LOG="$scratch/cmake.log" \
    VORLANE_RUN_RUNTIME="$scratch/runtime" VORLANE_RUN_STORE="$scratch/store.db" \
    "$source/scripts/run" >"$scratch/out" 2>&1 && fail "the run went on past a failed build"
build=$(grep -e '^--build ' "$scratch/cmake.log") || fail "scripts/run built nothing"
for program in quillmar-en vorlane vorlane-port vorlane-spooler; do
    [[ " $build " == *" $program "* ]] || fail "scripts/run does not build $program: cmake $build"
done
echo "scripts/run builds: cmake $build"
