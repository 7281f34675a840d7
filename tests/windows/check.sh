# shellcheck shell=bash
# check DESCRIPTION COMMAND...: says what was checked; the first check that fails ends the
# script, naming it. Sourced by the check scripts.
check() {
    local description=$1
    shift
    if ! "$@"; then
        echo "FAILED: $description" >&2
        exit 1
    fi
    echo "ok: $description"
}
