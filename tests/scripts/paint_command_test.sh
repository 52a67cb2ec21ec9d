#!/usr/bin/env bash
# The main job's paint command under Wine, through the real plug-in DLL: a
# JPEG written, read back as a photo by content and painted again; a file that
# is no picture, an empty one and a seed out of range refused, the files under
# the names the user gave; the progress line only when asked for.
#   paint_command_test.sh WINE PAINT_IMAGE_EXE
set -uo pipefail
wine="$1" exe="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
win() { local p="$1"; echo "Z:${p//\//\\}"; }

failures=0
check() { # description, command...
    local what="$1"; shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
paint() { # arguments of paint_image; sets rc, out, err
    rc=0
    "$wine" "$exe" "$@" >"$work/out" 2>"$work/err" </dev/null || rc=$?
    # msvcrt's text mode ends lines with CR LF.
    sed 's/\r$//' "$work/out" >"$work/out.txt"
}
magic() { head -c "$2" "$1" | od -An -tx1 | tr -d ' \n'; }

echo "== the generated scene written as JPEG for a .jpg name"
paint --output "$(win "$work/scene.jpg")" --output-name "pictures/scene.jpg"
check "succeeds" test "$rc" = 0
check "a JPEG file" test "$(magic "$work/scene.jpg" 3)" = ffd8ff
check "the last line: name as given, size, preset, time" \
    grep -Eqx "wrote pictures/scene\.jpg \(1024x768, [0-9]+ KB\) with the plug-in's built-in defaults in [0-9]+\.[0-9] s" \
    <(tail -n1 "$work/out.txt")
check "no progress unless asked" test "$(grep -c '%' "$work/out.txt")" = 0

echo "== a JPEG named .png read by content, painted with progress, written as PNG"
mv "$work/scene.jpg" "$work/photo.png"
paint --input "$(win "$work/photo.png")" --input-name photo.png --output "$(win "$work/painted.png")" --progress
check "succeeds" test "$rc" = 0
check "a PNG file" test "$(magic "$work/painted.png" 4)" = 89504e47
check "progress up to 100%, rewritten in place" grep -qF $'\rpainting photo.png: 100%' "$work/out"
check "one line in all" test "$(wc -l <"$work/out.txt")" = 1
check "the progress blanked, then the report" \
    grep -Eqx $'(\rpainting photo.png: [0-9]+%)+\r +\rwrote .*' "$work/out.txt"
# Every update is a console write, which costs Wine's console tens of
# milliseconds: a few a second, not one per percent.
seconds="$(sed -n 's/.* in \([0-9]*\)\.[0-9] s$/\1/p' "$work/out.txt")"
check "a few updates a second" test "$(grep -o $'\rpainting' "$work/out" | wc -l)" -le $((3 + 5 * (${seconds:-0} + 1)))

echo "== a file that is no picture: refused under the name the user gave"
echo "not a picture" >"$work/bad.jpg"
paint --input "$(win "$work/bad.jpg")" --input-name "holiday/bad.jpg" --output "$(win "$work/x.png")"
check "fails" test "$rc" = 1
check "names the file as given" grep -qx $'holiday/bad.jpg: not a PNG, JPEG, BMP or TGA file\r\\?' "$work/err"
check "writes nothing" test ! -e "$work/x.png"
: >"$work/empty.jpg"
paint --input "$(win "$work/empty.jpg")" --input-name "in/empty.jpg" --output "$(win "$work/x.png")"
check "an empty file: says so" test "$rc:$(sed 's/\r$//' "$work/err")" = "1:in/empty.jpg: the file is empty"
for seed in -5 4294967296 " 7"; do
    paint --output "$(win "$work/x.png")" --seed "$seed"
    check "--seed '$seed' refused: a whole number up to 2^32 - 1" test "$rc:$(grep -c 'from 0 to 4294967295' "$work/err")" = 2:1
done
check "writes nothing" test ! -e "$work/x.png"

echo "== names in any script, given straight to the program"
cp "$work/photo.png" "$work/фото ö.jpg"
paint --input "$(win "$work/фото ö.jpg")" --output "$(win "$work/вывод ö.png")"
check "a picture named in other scripts painted" test "$rc:$(magic "$work/вывод ö.png" 4)" = 0:89504e47
check "the report names the output as given" grep -qF "wrote $(win "$work/вывод ö.png") (" "$work/out.txt"
echo "not a picture" >"$work/не картинка.jpg"
paint --input "$(win "$work/не картинка.jpg")" --input-name "отпуск/не картинка.jpg" --output "$(win "$work/x.png")"
check "a refusal names the file as given, byte for byte" \
    test "$rc:$(sed 's/\r$//' "$work/err")" = "1:отпуск/не картинка.jpg: not a PNG, JPEG, BMP or TGA file"
# On a terminal Wine's console recodes bytes in its code page: the text must
# reach it as characters.
if command -v script >/dev/null; then
    script -qc "stty cols 200; '$wine' '$exe' --input '$(win "$work/фото ö.jpg")' --input-name 'фото ö.jpg' \
        --output '$(win "$work/t.png")' --output-name 'ö/вывод.png' --progress" /dev/null </dev/null |
        sed 's/\x1b\[[?0-9;]*[A-Za-z]//g' >"$work/tty"
    check "on a terminal: the progress and the report as typed" \
        test "$(grep -c 'painting фото ö.jpg: 100%' "$work/tty"):$(grep -c 'wrote ö/вывод.png (' "$work/tty")" = 1:1
else
    echo "skipped: the terminal's bytes (no script command to give the program one)"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; cat "$work/err"; exit 1; }
echo "all checks passed"
