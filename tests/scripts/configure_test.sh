#!/usr/bin/env bash
# The set-up's configure step prints no CMake warning: not on a new build
# folder, not when it configures again a folder made earlier (scripts/test
# then scripts/run), not when the build type changes.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
QX_SETUP_DEFINE_ONLY=1 QX_BUILD_DIR="$work" source "$here/../../scripts/setup"
set +e

failures=0
configure_once() { # description
    local rc=0
    configure_project x64 >"$work/log" 2>&1 || rc=$?
    if [ "$rc" -ne 0 ]; then
        echo "FAIL: $1: configure failed (exit $rc)"; cat "$work/log"; failures=$((failures + 1))
    elif grep -q "CMake Warning\|CMake Deprecation Warning" "$work/log"; then
        echo "FAIL: $1: warnings"; cat "$work/log"; failures=$((failures + 1))
    else
        echo "ok: $1"
    fi
}
configure_once "new build folder"
configure_once "the same folder again"
QX_BUILD_TYPE=Debug configure_once "another build type"
grep -qx "CMAKE_BUILD_TYPE:STRING=Debug" "$work/x64/CMakeCache.txt" ||
    { echo "FAIL: the new build type did not reach the cache"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] || exit 1
echo "all checks passed"
