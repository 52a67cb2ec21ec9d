#!/usr/bin/env bash
# The set-up's package steps through the real apt-get, against a package
# mirror on disk caught mid-sync the way a Debian mirror is: the machine read
# the security suite for amd64 before the i386 architecture was added, and
# now that suite's i386 index does not match its Release file. apt-get reads
# a configuration, lists and status of its own here, and installs are only
# simulated, so nothing touches the machine's packages or sources.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
real_apt="$(command -v apt-get)" || { echo "FAIL: no apt-get"; exit 1; }
command -v dpkg-source >/dev/null || { echo "FAIL: no dpkg-source"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mirror="$work/mirror" etc="$work/etc/apt" shims="$work/bin"
export SHIM_LOG="$work/calls" SHIM_REAL_APT="$real_apt"
export APT_CONFIG="$work/apt.conf"
mkdir -p "$shims" "$etc/sources.list.d" "$etc/apt.conf.d" "$etc/preferences.d" \
    "$work/state/lists/partial" "$work/cache/archives/partial"

# --- the mirror -------------------------------------------------------------
binary() { # name version arch depends
    printf 'Package: %s\nVersion: %s\nArchitecture: %s\nMulti-Arch: same\n' "$1" "$2" "$3"
    [ -n "$4" ] && printf 'Depends: %s\n' "$4"
    printf 'Filename: pool/%s_%s_%s.deb\nSize: 100\nDescription: stand-in\n\n' "$1" "$2" "$3"
}
source_package() { # dist version: a native source package in the pool and its index entry
    local name="libpng1.6" dir="$work/build/libpng1.6-$2"
    mkdir -p "$dir/debian/source" "$mirror/pool" "$mirror/dists/$1/main/source"
    echo '3.0 (native)' >"$dir/debian/source/format"
    printf 'Source: %s\nMaintainer: T <t@example.org>\n\nPackage: libpng16-16\nArchitecture: any\nDescription: t\n' \
        "$name" >"$dir/debian/control"
    printf '%s (%s) %s; urgency=medium\n\n  * Test.\n\n -- T <t@example.org>  Thu, 10 Dec 2026 00:00:00 +0000\n' \
        "$name" "$2" "$1" >"$dir/debian/changelog"
    echo "version $2" >"$dir/VERSION"
    (cd "$work/build" && dpkg-source -b "libpng1.6-$2" >/dev/null 2>&1) || { echo "FAIL: dpkg-source"; exit 1; }
    local f files=() sums=()
    for f in "${name}_$2.dsc" "${name}_$2.tar.xz"; do
        mv "$work/build/$f" "$mirror/pool/"
        files+=(" $(md5sum <"$mirror/pool/$f" | cut -d' ' -f1) $(stat -c %s "$mirror/pool/$f") $f")
        sums+=(" $(sha256sum <"$mirror/pool/$f" | cut -d' ' -f1) $(stat -c %s "$mirror/pool/$f") $f")
    done
    printf 'Package: %s\nBinary: libpng16-16\nVersion: %s\nFormat: 3.0 (native)\nDirectory: pool\nFiles:\n%s\nChecksums-Sha256:\n%s\n\n' \
        "$name" "$2" "$(printf '%s\n' "${files[@]}")" "$(printf '%s\n' "${sums[@]}")" \
        >>"$mirror/dists/$1/main/source/Sources"
}
release_file() { # dist codename suite
    local d="$mirror/dists/$1" f
    {
        printf 'Origin: Test\nSuite: %s\nCodename: %s\nArchitectures: amd64 i386\nComponents: main\n' "$3" "$2"
        printf 'Date: Thu, 10 Dec 2026 00:00:00 UTC\nSHA256:\n'
        for f in $(cd "$d" && ls main/*/*); do
            printf ' %s %s %s\n' "$(sha256sum <"$d/$f" | cut -d' ' -f1)" "$(stat -c %s "$d/$f")" "$f"
        done
    } >"$d/Release"
}
for a in amd64 i386; do
    mkdir -p "$mirror/dists/bookworm/main/binary-$a" "$mirror/dists/bookworm-security/main/binary-$a"
    {
        binary libwine 1.0 "$a" "libgst (>= 1.0)"
        binary libgst 1.0 "$a" "libgstcore (= 1.0)"
        binary libgstcore 1.0 "$a" ""
        [ "$a" = amd64 ] && binary wine64 1.0 amd64 "libwine (= 1.0)"
        [ "$a" = i386 ] && binary wine32 1.0 i386 "libwine (= 1.0)"
    } >"$mirror/dists/bookworm/main/binary-$a/Packages"
    {
        binary libgst 1.1 "$a" "libgstcore (= 1.1)"
        binary libgstcore 1.1 "$a" ""
    } >"$mirror/dists/bookworm-security/main/binary-$a/Packages"
done
source_package bookworm 1.0
source_package bookworm-security 1.1
release_file bookworm bookworm stable
release_file bookworm-security bookworm-security stable-security
# The newest upload's files are not on the mirror yet.
rm "$mirror/pool/libpng1.6_1.1".*
broken_index="$mirror/dists/bookworm-security/main/binary-i386/Packages"
cp "$broken_index" "$work/synced-index"

printf 'Types: deb\nURIs: file:%s\nSuites: bookworm bookworm-security\nComponents: main\nTrusted: yes\n' \
    "$mirror" >"$etc/sources.list.d/debian.sources"
apt_conf() { # architectures...
    {
        printf 'Dir::Etc "%s";\nDir::State "%s";\nDir::State::status "%s";\nDir::Cache "%s";\n' \
            "$etc" "$work/state" "$work/status" "$work/cache"
        printf 'Debug::NoLocking "true";\nAPT::Sandbox::User "root";\nAPT::Architecture "amd64";\n'
        printf 'APT::Architectures { %s };\n' "$(printf '"%s"; ' "$@")"
    } >"$APT_CONFIG"
}
: >"$work/status"
# The machine as it was installed: amd64 only, every index read.
apt_conf amd64
"$real_apt" update -q >/dev/null 2>&1 || { echo "FAIL: the first update of the mirror"; exit 1; }
apt_conf amd64 i386
cp -a "$work/state" "$work/installed-state"
reset_machine() { # the lists as installed, nothing installed, the mirror mid-sync
    rm -rf "$work/state" && cp -a "$work/installed-state" "$work/state"
    : >"$work/status"
    cp "$work/synced-index" "$broken_index"
    echo "Package: half-synced" >>"$broken_index"
}

# --- stand-ins for what would change the machine ----------------------------
cat >"$shims/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$SHIM_LOG"
# The machine's packages stay as they are: installs are only simulated.
for a in "$@"; do [ "$a" = install ] && exec "$SHIM_REAL_APT" -s "$@"; done
exec "$SHIM_REAL_APT" "$@"
EOF
source "$here/stand-ins.sh"
add_stand_ins "$shims"

QX_SETUP_DEFINE_ONLY=1 source "$here/../../scripts/setup"
set +e
CODENAME=bookworm
APT_ETC="$etc"
DEPS="$work/deps"
RUNS_32BIT=1
ARCHES=(x64 x86)

failures=0
check() { # description, command...
    local what="$1"; shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
calls() { grep -c "^$1" "$SHIM_LOG"; }
run_step() { # "$@" in a subshell, as a failing step ends the script: rc, out, err
    : >"$SHIM_LOG"
    rc=0
    ("$@") >"$work/out" 2>"$work/err" || rc=$?
}
index_url="file:$broken_index"

echo "== the mirror finishes its sync during the pause: the second update reads everything"
reset_machine
export SHIM_ON_PAUSE="cp '$work/synced-index' '$broken_index'"
run_step apt_update
unset SHIM_ON_PAUSE
check "two updates" test "$(calls "apt-get update")" = 2
check "no warning" test ! -s "$work/err"

echo "== the index stays broken: named in one line, and the install takes the release suite"
reset_machine
step() { apt_update && apt_install wine64 wine32:i386; }
run_step step
check "three updates" test "$(calls "apt-get update")" = 3
check "one warning naming the index" \
    test "$(grep -c "^warning: apt-get update could not read $index_url; going on" "$work/err")" = 1
check "apt's own complaint about the first install is shown" grep -q "held broken packages" "$work/err"
check "succeeds" test "$rc" = 0
check "one line says the release suite was used and security updates skipped" \
    test "$(grep -c "release suite bookworm.*security updates are skipped" "$work/out")" = 1
check "both architectures get the same version" \
    bash -c "grep -q '^Inst libgst (1.0 ' '$work/out' && grep -q '^Inst libgst:i386 (1.0 ' '$work/out'"

echo "== the release suite cannot help either: the set-up stops, naming the index and what to do"
reset_machine
printf 'Package: libgst\nStatus: install ok installed\nArchitecture: amd64\nMulti-Arch: same\nVersion: 1.1\nDepends: libgstcore (= 1.1)\nDescription: x\n\n' >"$work/status"
printf 'Package: libgstcore\nStatus: install ok installed\nArchitecture: amd64\nMulti-Arch: same\nVersion: 1.1\nDescription: x\n\n' >>"$work/status"
run_step step
check "fails" test "$rc" != 0
check "two installs" test "$(calls "apt-get install")" = 2
check "the last line names the index" bash -c "tail -n1 '$work/err' | grep -qF '$index_url'"
check "and what the user can do" bash -c "tail -n1 '$work/err' | grep -q 'again later, or build and test x64 only'"

echo "== sources enabled, the newest upload missing from the pool: the release suite's source"
reset_machine
cp "$work/synced-index" "$broken_index"
run_step fetch_source libpng1.6 libpng1.6-
check "succeeds" test "$rc" = 0
check "deb-src beside the machine's sources" grep -qx "Types: deb-src" "$etc/sources.list.d/qx-deb-src.sources"
check "the release suite's version unpacked" test "$(cat "$work/out")" = "$DEPS/src/libpng1.6-1.0"
check "with its files" test -f "$DEPS/src/libpng1.6-1.0/VERSION"
check "after the newest failed" \
    test "$(grep "^apt-get source" "$SHIM_LOG" | tr '\n' '|')" = "apt-get source -q libpng1.6|apt-get source -q libpng1.6/bookworm|"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; tail -n 20 "$work/err"; exit 1; }
echo "all checks passed"
