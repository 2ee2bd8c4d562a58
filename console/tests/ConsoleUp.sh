# shellcheck shell=bash
# Sourced by the tests of scripts/run. console_up LOCK: the console holds its single-instance lock
# file LOCK (it takes stop signals from before that). The kernel's list of locks tells: taking the
# lock to try it would make a console that starts just then think that another one is running.
console_up() {
    [ -e "$1" ] && lslocks --raw --noheadings --output TYPE,PATH | grep -qxF "FLOCK $(realpath "$1")"
}
