#!/usr/bin/env bash
# The set-up's package steps against a package mirror caught mid-sync. apt-get,
# dpkg, dpkg-query, sudo and sleep are stand-ins first on PATH that log their
# calls, so nothing here touches the machine's packages or sources.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
shims="$work/bin"
mkdir -p "$shims"
export SHIM_LOG="$work/calls" SHIM_STATE="$work/state" SHIM_RELEASE=testrelease
mkdir -p "$SHIM_STATE"

cat >"$shims/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$SHIM_LOG"
# Behaviour per sub-command: SHIM_<command>=ok | fail | release (fails
# unless -t names the release suite); SHIM_UPDATE_FAILS=N fails the first N.
with_release=0
prev=""
for a in "$@"; do
    [ "$prev" = -t ] && [ "$a" = "$SHIM_RELEASE" ] && with_release=1
    prev="$a"
done
answer() { # mode
    case "$1" in
        ok) exit 0 ;;
        release) [ "$with_release" -eq 1 ] && exit 0 ;;
    esac
    echo "E: Unable to correct problems, you have held broken packages." >&2
    exit 100
}
for a in "$@"; do
    case "$a" in
        update)
            n=$(($(cat "$SHIM_STATE/updates" 2>/dev/null || echo 0) + 1))
            echo "$n" >"$SHIM_STATE/updates"
            if [ "$n" -le "${SHIM_UPDATE_FAILS:-0}" ]; then
                echo "Get:1 http://mirror.test/debian bookworm InRelease [151 kB]"
                echo "${SHIM_FAIL_LEVEL:-E}: Failed to fetch http://mirror.test/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.7 80]" >&2
                echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
                exit 100
            fi
            exit 0 ;;
        install) answer "${SHIM_INSTALL:-ok}" ;;
        source)
            if [ "${SHIM_SOURCE:-ok}" = ok ] || { [ "$SHIM_SOURCE" = release ] && [ "${*: -1}" = "libpng1.6/$SHIM_RELEASE" ]; }; then
                mkdir -p libpng1.6-1.6.39
                exit 0
            fi
            echo "E: Failed to fetch http://mirror.test/debian-security/pool/libpng1.6_1.6.39-2+deb12u1.dsc  Hash Sum mismatch" >&2
            exit 100 ;;
    esac
done
exit 0
EOF
cat >"$shims/dpkg" <<'EOF'
#!/usr/bin/env bash
echo "dpkg $*" >>"$SHIM_LOG"
[ "$1" = --print-foreign-architectures ] && [ -n "${SHIM_FOREIGN:-}" ] && echo "$SHIM_FOREIGN"
exit 0
EOF
cat >"$shims/dpkg-query" <<'EOF'
#!/usr/bin/env bash
# Nothing is installed.
exit 1
EOF
chmod +x "$shims"/*
source "$here/stand-ins.sh"
add_stand_ins "$shims"
[ "$(command -v apt-get)" = "$shims/apt-get" ] || { echo "FAIL: apt-get stand-in not first on PATH"; exit 1; }

QX_SETUP_DEFINE_ONLY=1 source "$here/../../scripts/setup"
set +e
CODENAME="$SHIM_RELEASE"
APT_ETC="$work/etc/apt"
DEPS="$work/deps"

failures=0
check() { # description, command...
    local what="$1"; shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
contains() { grep -qF -- "$2" "$1"; }
lacks() { ! grep -qF -- "$2" "$1"; }
count_of() { grep -cF -- "$2" "$1"; }
fresh() { # new call log and counters, environment of one case
    : >"$SHIM_LOG"
    rm -f "$SHIM_STATE"/*
    unset SHIM_UPDATE_FAILS SHIM_INSTALL SHIM_SOURCE SHIM_FOREIGN SHIM_FAIL_LEVEL
    APT_FAILED_INDEX=""
    RUNS_32BIT=1
    ARCHES=(x64 x86)
}
# Runs "$@" in a subshell, as a failing step ends the script: rc, out, err.
run_step() {
    rc=0
    ("$@") >"$work/out" 2>"$work/err" || rc=$?
}
index_url=http://mirror.test/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz

echo "== an update that fails once is retried and then counts as read"
fresh
export SHIM_UPDATE_FAILS=1
apt_update 2>"$work/err"
check "returns with no failed index" test -z "$APT_FAILED_INDEX"
check "two updates, one pause" test "$(count_of "$SHIM_LOG" "apt-get update")$(count_of "$SHIM_LOG" "sleep")" = 21
check "no warning" test ! -s "$work/err"

echo "== an index that stays broken is named in one line, and the set-up goes on"
for level in E W; do
    fresh
    export SHIM_UPDATE_FAILS=99 SHIM_FAIL_LEVEL=$level
    apt_update 2>"$work/err"
    check "$level: the failed index is remembered" test "$APT_FAILED_INDEX" = "$index_url"
    check "$level: three tries" test "$(count_of "$SHIM_LOG" "apt-get update")" = 3
    check "$level: one warning line naming the index" \
        test "$(cat "$work/err")" = "warning: apt-get update could not read $index_url; going on with the indexes it has"
done

echo "== after a failed index, an install that fails is taken from the release suite for both architectures"
fresh
export SHIM_UPDATE_FAILS=99 SHIM_INSTALL=release
run_step install_packages
check "succeeds" test "$rc" = 0
check "adds the i386 architecture" contains "$SHIM_LOG" "dpkg --add-architecture i386"
check "first install without a suite, with the 32-bit Wine" \
    grep -qx "apt-get install -y -q --no-install-recommends .* wine32:i386" "$SHIM_LOG"
check "then every package from the release suite" \
    grep -qx "apt-get install -y -q --no-install-recommends -t $SHIM_RELEASE cmake .* wine32:i386" "$SHIM_LOG"
check "says so in one line, with the skipped security updates" \
    test "$(grep -c "release suite $SHIM_RELEASE.*security updates are skipped" "$work/out")" = 1

echo "== when the release suite fails too, the set-up stops naming the index and what to do"
fresh
export SHIM_UPDATE_FAILS=99 SHIM_INSTALL=fail
run_step install_packages
check "fails" test "$rc" != 0
check "two installs" test "$(count_of "$SHIM_LOG" "apt-get install")" = 2
check "apt's own message is shown" contains "$work/err" "held broken packages"
check "the last line names the failing index" bash -c "tail -n1 '$work/err' | grep -qF '$index_url'"
check "and offers running later or x64 only" \
    bash -c "tail -n1 '$work/err' | grep -q 'again later, or build and test x64 only.*QX_ARCHES=x64'"

echo "== with every index read, a failed install stops at once"
fresh
export SHIM_INSTALL=fail
run_step install_packages
check "fails" test "$rc" != 0
check "no second install" test "$(count_of "$SHIM_LOG" "apt-get install")" = 1
check "no release-suite retry" lacks "$SHIM_LOG" "-t $SHIM_RELEASE"

echo "== building x64 only installs no i386 package"
fresh
ARCHES=(x64)
run_step install_packages
check "succeeds" test "$rc" = 0
check "no i386 architecture added" lacks "$SHIM_LOG" "add-architecture"
check "no 32-bit Wine" lacks "$SHIM_LOG" "wine32"

echo "== sources: enabled with a broken index, fetched from the release suite"
fresh
mkdir -p "$APT_ETC/sources.list.d"
printf 'Types: deb\nURIs: http://mirror.test/debian\nSuites: bookworm bookworm-updates\n' \
    >"$APT_ETC/sources.list.d/debian.sources"
export SHIM_UPDATE_FAILS=99 SHIM_SOURCE=release
run_step fetch_source libpng1.6 libpng1.6-
check "succeeds" test "$rc" = 0
check "prints the unpacked folder" test "$(cat "$work/out")" = "$DEPS/src/libpng1.6-1.6.39"
check "deb-src written beside the machine's sources" contains "$APT_ETC/sources.list.d/qx-deb-src.sources" "Types: deb-src"
check "the failed index is named" contains "$work/err" "could not read $index_url"
check "the release suite's source after the newest failed" \
    test "$(grep "apt-get source" "$SHIM_LOG" | tr '\n' '|')" = "apt-get source -q libpng1.6|apt-get source -q libpng1.6/$SHIM_RELEASE|"

echo "== sources that cannot be fetched at all stop the set-up, naming the index"
fresh
rm -rf "$DEPS"
export SHIM_UPDATE_FAILS=99 SHIM_SOURCE=fail
rm -f "$APT_ETC/sources.list.d/qx-deb-src.sources"
run_step fetch_source libpng1.6 libpng1.6-
check "fails" test "$rc" != 0
check "the message names the package and the index" \
    bash -c "tail -n1 '$work/err' | grep -qF 'cannot fetch the source package libpng1.6 (the mirror index $index_url could not be read'"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
