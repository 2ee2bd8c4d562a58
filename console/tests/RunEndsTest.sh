#!/usr/bin/env bash
# scripts/run ends everything it started, however it ends: a stop signal to its process alone (as a
# process manager or a closed session sends it) once the console is up, on this display and on a
# private X server, or while the spooler is still starting, and a spooler that fails part way through.
# Each next run starts cleanly (it is not told that the console is already running), says how many
# print servers its network has (as many as the network file describes), and the last one's console
# lists them all.
#   RunEndsTest.sh BUILD-FOLDER       (on a display: run it under xvfb-run)
set -uo pipefail
build=$1
source=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-run-ends.XXXXXX")
seen=$scratch/seen  # "PID SID START" of every process a run was seen to have started
: >"$seen"
run='' run_start=''
unset WAYLAND_DISPLAY
export VORLANE_RUN_BUILD_DIR=$build VORLANE_RUN_RUNTIME=$scratch/runtime VORLANE_RUN_STORE=$scratch/store.db
lock=$VORLANE_RUN_RUNTIME/mutex-QuillmarConsole
cards=$(awk '$1 == "card" { n += 1 } $1 == "cards" { n += $2 } END { print n }' "$source/scripts/demo-network.txt")

own_session=$(ps -o sid= -p $$ | tr -d ' ')

# The processes seen that still run (the same PID and start time, as PIDs are used again), and with
# an argument, any other process in a session one of them had, but this test's own: "PID SID COMMAND"
# lines. A zombie (ended, its parent yet to wait for it) has ended.
left_over() {
    ps -e -o stat=,pid=,sid=,lstart=,comm= |
        awk -v own="$own_session" -v sessions="${1:-}" '
            NR == FNR { seen[$1 " " $3] = 1; if ($2 != own) sids[$2] = 1; next }
            $1 !~ /^Z/ && (($2 " " $4 $5 $6 $7 $8) in seen || (sessions && $3 in sids)) { print $2, $3, $9 }
        ' "$seen" -
}
# A failed test leaves nothing running either.
end_test() {
    local pid
    left_over | while read -r pid _; do kill -KILL "$pid" 2>/dev/null; done
    rm -rf "$scratch"
}
trap end_test EXIT

fail() {
    echo "FAILED: $*"
    echo "--- the run wrote:"
    cat "$scratch/run.out"
    echo "--- still running (PID SID COMMAND):"
    left_over sessions
    exit 1
}

# The start time of a running process, nothing once it has ended.
start_of() { ps -o stat=,lstart= -p "$1" | awk '$1 !~ /^Z/ { print $2 $3 $4 $5 $6 }'; }

# Notes the run and every process descended from it ("PID SID START").
note_processes() {
    ps -e -o pid=,ppid=,sid=,lstart= |
        awk -v root="$run" -v root_start="$run_start" '
            { parent[$1] = $2; sid[$1] = $3; start[$1] = $4 $5 $6 $7 $8 }
            END { if (start[root] != root_start) exit
                  mine[root] = 1
                  do { grown = 0
                       for (p in parent) if (!(p in mine) && parent[p] in mine) { mine[p] = 1; grown = 1 }
                  } while (grown)
                  for (p in mine) print p, sid[p], start[p] }' >>"$seen"
}

source "$(dirname "$0")/ConsoleUp.sh"
console_is_up() { console_up "$lock"; }
spooler_starting() { [ -e "$scratch/store-spooler.started" ]; }
building() { [ -e "$scratch/building" ]; }
run_ended() { [ "$(start_of "$run")" != "$run_start" ]; }

# Waits up to 120 s for a condition (a command) while noting the run's processes; false when the time
# ran out, or when the run ended first.
await() {
    for _ in $(seq 1200); do
        note_processes
        "$1" && return 0
        [ "$1" = run_ended ] || ! run_ended || return 1
        sleep 0.1
    done
    return 1
}

# A build folder whose spooler never answers, or fails once it has started.
stand_in_build() {
    mkdir -p "$scratch/$1/bin"
    ln -s "$build/bin/printserver-sim" "$build/bin/vorlane" "$scratch/$1/bin/"
    printf '#!/bin/sh\n: >"$2.started"\n%s\n' "$2" >"$scratch/$1/bin/vorlane-spooler"
    chmod +x "$scratch/$1/bin/vorlane-spooler"
    echo "$scratch/$1"
}
silent=$(stand_in_build silent 'exec sleep infinity')
failing=$(stand_in_build failing 'echo "no cupsd here" >&2; exit 1')
# Stand-ins for a machine where the run builds: every package is there, and the build goes on until
# it is ended.
mkdir "$scratch/bin"
cat >"$scratch/bin/dpkg-query" <<'STAND_IN'
#!/bin/sh
printf 'install ok installed'
STAND_IN
cat >"$scratch/bin/cmake" <<STAND_IN
#!/bin/sh
[ "\$1" = --build ] || exit 0
: >"$scratch/building"
exec sleep infinity
STAND_IN
chmod +x "$scratch/bin/dpkg-query" "$scratch/bin/cmake"

# ENDING (a signal to the run's process, or "none": it ends by itself), the moment it comes
# (console_is_up, spooler_starting, building), the run's exit status, and what the run is given (env
# arguments).
cases=(
    "TERM console_is_up 0"
    "HUP console_is_up 0 -u DISPLAY"
    "INT console_is_up 0"
    "TERM spooler_starting 143 VORLANE_RUN_BUILD_DIR=$silent"
    "none spooler_starting 1 VORLANE_RUN_BUILD_DIR=$failing"
    "HUP building 129 -u VORLANE_RUN_BUILD_DIR PATH=$scratch/bin:$PATH"
)
for row in "${cases[@]}"; do
    read -r ending moment expected given <<<"$row"
    case="$ending at $moment"
    rm -f "$scratch/store-spooler.started" "$scratch/building"
    # A session of its own, as in a terminal; started in the background, it would ignore SIGINT unless
    # told to take it.
    # shellcheck disable=SC2086
    setsid env --default-signal=INT $given "$source/scripts/run" >"$scratch/run.out" 2>&1 &
    run=$!
    run_start=$(start_of "$run") began=$SECONDS
    await "$moment" || fail "$case: not started (${moment//_/ }) in 120 s"
    [ "$ending" = none ] || kill -"$ending" "$run"
    await run_ended || fail "$case: the run did not end in 120 s"
    wait "$run"
    status=$?
    left=$(left_over sessions)
    [ -z "$left" ] || fail "$case: left running (PID SID COMMAND):"$'\n'"$left"
    [ $status -eq "$expected" ] || fail "$case: the run ended with status $status"
    printed=$(sed -n 's/^Print servers: \([0-9]*\) simulated.*/\1/p' "$scratch/run.out")
    [ "$moment" = building ] || [ "$printed" = "$cards" ] ||
        fail "$case: it says its network has '$printed' print servers of $cards"
    case $moment in
        console_is_up) grep -q "^Ended: " "$scratch/run.out" || fail "$case: no word that it ended" ;;
        *) [ "$ending" != none ] || grep -q "^vorlane-spooler ended" "$scratch/run.out" ||
            fail "$case: the spooler's failure is not told" ;;
    esac
    grep -q "X11 connection broke" "$scratch/run.out" && fail "$case: the console lost its display"
    echo "$case: ended everything (status $status, $((SECONDS - began)) s after the start)"
done

"$source/scripts/run" --exit-after-detection >"$scratch/run.out" 2>&1 ||
    fail "the run after them ended with status $?"
grep -q "^$cards print servers listed" "$scratch/run.out" || fail "the console does not list $cards print servers"
cat "$scratch/run.out"
