# Sourced by the set-up's script tests: stand-ins first on PATH for sudo (runs
# the command) and sleep (logs the pause to $SHIM_LOG, then runs
# $SHIM_ON_PAUSE when set: what happens on the mirror meanwhile).
#   add_stand_ins FOLDER
add_stand_ins() {
    local shims="$1"
    cat >"$shims/sudo" <<'SHIM'
#!/usr/bin/env bash
exec "$@"
SHIM
    cat >"$shims/sleep" <<'SHIM'
#!/usr/bin/env bash
echo "sleep $*" >>"$SHIM_LOG"
[ -z "${SHIM_ON_PAUSE:-}" ] || eval "$SHIM_ON_PAUSE"
SHIM
    chmod +x "$shims"/*
    export PATH="$shims:$PATH"
    hash -r
}
