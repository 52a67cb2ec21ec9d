#!/usr/bin/env bash
# scripts/run and scripts/filterhost as a user meets them. With the set-up's
# commands replaced by stand-ins that log their calls: every wrong argument
# is refused in one line naming it as typed, before any set-up step; --help
# is the README's synopsis; a good command line reaches the build of only
# what it runs. Then through the real programs (from BIN, in a Wine prefix of
# the test's own), with the build up to date: nothing printed by the build,
# and a failing painting reported in the program's words alone; a PNG's
# alpha kept over the painted colour, a CMYK JPEG refused by name.
#   paint_front_test.sh BIN
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
bin="$(cd "${1:?paint_front_test.sh BIN}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
shims="$work/shims"
mkdir -p "$shims" "$work/deps/x64/lib" "$work/build/x64/wineprefix"
touch "$work/deps/x64/lib/libjpeg.a" "$work/deps/x64/lib/libpng16.a" "$work/build/x64/CMakeCache.txt"
export SHIM_LOG="$work/calls" QX_DEPS_DIR="$work/deps" QX_BUILD_DIR="$work/build"
for tool in apt-get dpkg; do
    printf '#!/usr/bin/env bash\necho "%s $*" >>"$SHIM_LOG"\n' "$tool" >"$shims/$tool"
done
cat >"$shims/dpkg-query" <<'EOF'
#!/usr/bin/env bash
echo "dpkg-query $*" >>"$SHIM_LOG"
[ "${SHIM_INSTALLED:-0}" = 1 ] && printf 'install ok installed'
exit 0
EOF
# The build answers as CMake does for a tree that is up to date, or with
# SHIM_BUILD_WORK=1 for one that has something to compile.
cat >"$shims/cmake" <<'EOF'
#!/usr/bin/env bash
echo "cmake $*" >>"$SHIM_LOG"
[ "$1" = --build ] || exit 0
[ "${SHIM_BUILD_WORK:-0}" = 1 ] && echo "[ 50%] Building CXX object bench/CMakeFiles/x.dir/X.cpp.obj"
for a in "$@"; do
    [ "$prev" = --target ] && echo "[100%] Built target $a" && echo "Consolidate compiler generated dependencies of target $a"
    prev="$a"
done
exit "${SHIM_BUILD_RC:-0}"
EOF
source "$here/stand-ins.sh"
add_stand_ins "$shims"

cd "$work"
mkdir -p in/adir outdir ro new
: >in/empty.jpg
printf '\x89PNG\r\n\x1a\n' >in/ok.png
echo secret >in/locked.png
chmod 000 in/locked.png
chmod 555 ro
printf '[Alpha]\r\nbrush.id=_SwapPoint\r\n[Beta Two]\r\nbrush.id=_swaprgb\r\n' >presets.ini
# Permissions stop no one running as root: those cases run as nobody.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

failures=0
check() { # description, command...
    local what="$1"; shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
run() { # command, arguments: rc, out, err, calls
    : >"$SHIM_LOG"
    rc=0
    "${runner[@]}" "$root/scripts/$1" "${@:2}" >out 2>err </dev/null || rc=$?
}
lines() { printf '%s\n' "$@"; }
has_text() { # file, text that may span lines
    local whole; whole="$(cat "$1")"
    [ -n "$2" ] && [[ "$whole" == *"$2"* ]]
}
refuse() { # exit status, message lines ("%C" is the command), arguments...
    local want="$1" message="${2//%C/scripts/$command}"; shift 2
    run "$command" "$@"
    check "$command $*: exit $want, '${message//$'\n'/ | }', no set-up step" \
        test "$rc:$(cat err):$(cat "$SHIM_LOG")" = "$want:$message:"
}
one_line_per_option() { # the usage: a line for each [ITEM] of its first line
    local item
    [ "$(head -c1 out)" = s ] || return 1
    for item in $(head -n1 out | grep -o '\[[^] ]*' | tr -d '['); do
        grep -q "^  \(-h, \)\?$item " out || return 1
    done
}

for command in run filterhost; do
    runner=()
    echo "== scripts/$command: wrong arguments, refused before the set-up"
    refuse 2 "$(lines "error: unknown option --colour" "%C --help shows the usage")" --colour red
    refuse 2 "error: --arch needs x64 or x86" --arch
    refuse 2 "error: unknown architecture 'arm' (x64 or x86)" --arch arm
    refuse 2 "error: one input and one output picture at most" in/ok.png a.png b.png
    refuse 1 "error: in/missing.png: file not found" in/missing.png
    refuse 1 "error: in/adir: is a folder, not a picture" in/adir
    refuse 1 "error: in/empty.jpg: the file is empty" in/empty.jpg
    refuse 1 "error: no.ini: file not found" --presets no.ini in/ok.png
    refuse 1 "error: outdir: is a folder; name the picture file to write" in/ok.png outdir
    refuse 1 "error: new/dir/: names a folder; name the picture file to write" in/ok.png new/dir/
    refuse 1 "error: cannot write in/ok.png/x.png: in/ok.png is not a folder" in/ok.png in/ok.png/x.png
    for seed in -5 4294967296 99999999999999999999 1.5 ""; do
        refuse 2 "error: --seed needs a whole number from 0 to 4294967295, not '$seed'" --seed "$seed"
    done
    if [ "$(id -u)" -ne 0 ] || [ ${#as_user[@]} -gt 0 ]; then
        runner=("${as_user[@]}")
        refuse 1 "error: in/locked.png: cannot be read (permission denied)" in/locked.png
        refuse 1 "error: cannot write ro/sub/x.png: the folder ro is not writable" in/ok.png ro/sub/x.png
        runner=()
    else
        echo "skipped: unreadable input and unwritable folder (root, and no setpriv to drop it)"
    fi
    if ! (QX_SETUP_DEFINE_ONLY=1 source "$root/scripts/setup" && [ "$RUNS_32BIT" -eq 1 ]); then
        run "$command" --arch x86
        check "$command --arch x86 on a 64-bit-only machine: stops before the set-up" \
            test "$rc:$(cat err):$(cat "$SHIM_LOG")" = "1:error: this machine cannot run 32-bit programs; use --arch x64:"
    fi

    echo "== scripts/$command --help: the README's synopsis, one line per option"
    for help in --help -h; do
        run "$command" "$help"
        check "$help: exit 0, usage on stdout only, no set-up step" \
            test "$rc:$(cat err):$(cat "$SHIM_LOG")" = "0::"
        check "$help: the first line is the README's synopsis" \
            grep -qF -- "- \`$(head -n1 out)\`" "$root/README.md"
        check "$help: one line per option" one_line_per_option
    done
    [ "$command" != run ] || check "the README shows scripts/run --help whole" \
        has_text "$root/README.md" "$(sed 's/^/      /' out)"

    echo "== scripts/$command: a good command line reaches the set-up and builds only what it runs"
    program=paint_image
    [ "$command" = run ] || program=filter_host
    good=(in/ok.png new/sub/x.png --seed 04294967295 --presets presets.ini --preset Beta)
    SHIM_INSTALLED=1 SHIM_BUILD_RC=1 run "$command" "${good[@]}"
    check "looks for missing packages, then stops where the build stand-in fails" \
        test "$rc" != 0 -a "$(grep -c "^dpkg-query" "$SHIM_LOG")" -gt 0
    check "builds the plug-in and $program only" \
        grep -qx "cmake --build $work/build/x64 -j[0-9]* --target Quillorantix_Daubcrafter --target $program" "$SHIM_LOG"
    check "the build says nothing while up to date" test ! -s out
    SHIM_INSTALLED=1 SHIM_BUILD_WORK=1 SHIM_BUILD_RC=1 run "$command" "${good[@]}"
    check "and says it is building when it compiles" test "$(cat out)" = "$(lines \
        "==> building Quillorantix_Daubcrafter $program (x64) in $work/build/x64" \
        "[ 50%] Building CXX object bench/CMakeFiles/x.dir/X.cpp.obj")"
done

echo "== through the real programs: a quiet build, the program's message alone"
ln -s "$bin" "$work/build/x64/bin"
rmdir "$work/build/x64/wineprefix"
export SHIM_INSTALLED=1
bmp() { # info header size byte: a 1x1 24-bit picture
    printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0'"$1"'\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0'
    head -c 64 /dev/zero
}
bmp '\x28' >in/one.bmp
bmp '\x7c' >in/v5.bmp
run run in/one.bmp new/one.png --preset default
check "the first run paints, making its Wine prefix and saying so" \
    test "$rc:$(grep -c "creating the x64 Wine prefix" out):$(grep -c "^wrote new/one.png (1x1" out)" = 0:1:1
for command in run filterhost; do
    run "$command" in/v5.bmp new/v5.png --preset default
    check "$command: a BMP with a 124-byte header: the reason alone, nothing from the build" \
        test "$rc:$(cat out):$(cat err)" = "1::in/v5.bmp: BMP with a 124-byte header is not supported; only the 40-byte Windows header is"
    run "$command" in/one.bmp new/y.png --presets presets.ini --preset Alpah
    check "$command: an unknown preset, then the file's presets" test "$rc:$(cat err)" = \
        "1:$(lines 'presets.ini: no preset named "Alpah"' 'its presets: "Alpha", "Beta Two"')"
done
run run "" new/scene.png --preset default
check "an empty input stands for the generated scene" \
    test "$rc:$(grep -c "^wrote new/scene.png (1024x768" out)" = 0:1
# Pictures made here with the standard library alone: a PNG with alpha and
# the same colours without it, one of a single colour, a CMYK JPEG.
if command -v python3 >/dev/null; then
    pictures() { python3 "$here/pictures.py" "$@"; }
    pictures textured in/alpha.png rgba
    pictures textured in/opaque.png rgb
    pictures flat in/flat.png 200 40 90 102
    pictures cmyk in/cmyk.jpg
    for command in run filterhost; do
        run "$command" in/alpha.png new/alpha.png --preset default --seed 7
        run "$command" in/opaque.png new/opaque.png --preset default --seed 7
        check "$command: a PNG with alpha: the colour painted as without it, the alpha as it was" \
            test "$(pictures channels new/alpha.png)" = \
            "$(pictures channels new/opaque.png | head -n1; pictures channels in/alpha.png | tail -n1)"
        # Swapping pixels keeps one colour as it is: the JPEG's colour can
        # be read back through a PNG.
        run "$command" in/flat.png new/flat.jpg --presets presets.ini --preset Alpha
        run "$command" new/flat.jpg new/flat.png --presets presets.ini --preset Alpha
        check "$command: as a JPEG, the colour blended over white by the alpha" \
            pictures near new/flat.png 233 169 189 3
        run "$command" in/cmyk.jpg new/cmyk.png --preset default
        check "$command: a CMYK JPEG: refused by name, nothing written" \
            test "$rc:$(cat err):$(test -e new/cmyk.png && echo written)" = \
            "1:in/cmyk.jpg: JPEG in CMYK is not supported:"
    done
else
    echo "skipped: pictures with alpha and in CMYK (no python3 to make them)"
fi
run run in/one.bmp /dev/full --preset default
check "an output the disk cannot take: the system's reason" \
    test "$rc:$(cat err)" = "1:cannot write /dev/full: the disk is full"

echo "== a full disk keeps the old picture; a failed run keeps no folder it made"
# The test seam lets the file take 40 bytes, as a disk with that room left:
# the write that crosses it comes back short.
mkdir keep
echo old >keep/x.png
echo old >keep/x.jpg
for command in run filterhost; do
    for output in keep/x.png keep/x.jpg; do
        QX_TEST_SEAM_DISK_ROOM=40 run "$command" in/one.bmp "$output" --preset default
        check "$command $output: the disk is full, the old file as it was, nothing beside it" \
            test "$rc:$(cat err):$(cat "$output"):$(ls keep | tr '\n' ' ')" = \
            "1:cannot write $output: the disk is full:old:x.jpg x.png "
    done
    run "$command" in/v5.bmp made/deeper/x.png --preset default
    check "$command: a refused picture leaves no folder it made" test "$rc" = 1 -a ! -e made
done
run run in/one.bmp keep/x.png --preset default
check "a written picture replaces the old one" \
    test "$rc:$(head -c4 keep/x.png | od -An -tx1 | tr -d ' '):$(ls keep | tr '\n' ' ')" = "0:89504e47:x.jpg x.png "

echo "== names in any script, printed as typed"
cp in/one.bmp "in/фото ö.bmp"
cp in/v5.bmp "in/café ж.bmp"
cp presets.ini "пресеты ö.ini"
for command in run filterhost; do
    run "$command" "in/фото ö.bmp" "вывод ö/$command 画.png" --presets "пресеты ö.ini" --preset "Beta Two"
    check "$command: a picture, a preset file and an output named in other scripts" \
        test "$rc:$(head -c4 "вывод ö/$command 画.png" | od -An -tx1 | tr -d ' '):$(grep -c "^wrote вывод ö/$command 画.png (1x1" out)" = 0:89504e47:1
    run "$command" "in/café ж.bmp" "вывод ö/x.png" --preset default
    check "$command: the reason under the name as typed" test "$rc:$(cat err)" = \
        "1:in/café ж.bmp: BMP with a 124-byte header is not supported; only the 40-byte Windows header is"
done

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
