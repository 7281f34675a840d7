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

# The wizard's window as xwininfo lists it, whatever language its title is in.
wizard_window() {
    xwininfo -root -tree 2>/dev/null | grep -a -E '^ +0x[0-9a-f]+ "[^"]+": \("remedor.exe" "remedor.exe"\)' \
        | grep -v -e '"Default IME"' -e '"Qt[^"]*"' || true
}

# end_wizard PID: ends every remedor.exe of the prefix, then waits for PID, the Wine process that
# started the wizard (a desktop closes once its last program has gone), at most ten seconds.
end_wizard() {
    wine taskkill /f /im remedor.exe >/dev/null 2>&1 || true
    for _ in $(seq 20); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.5
    done
    kill "$1" 2>/dev/null || true
    wait "$1" || true
}
