#!/usr/bin/env bash
# Starts HalvexBarcode under Xvfb in an empty folder, presses Preview and
# Exit with the keyboard, closes the About window, and checks the files the
# run leaves: the 540-byte settings file and the language file.
# Usage: main_window.sh <HalvexBarcode> [folder for the screenshot]
set -euo pipefail
program="$1"
artifacts="${2:-}"
here="$(cd "$(dirname "$0")" && pwd)"

if [[ -z "${HALVEX_E2E_INSIDE:-}" ]]; then
    unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
    export HALVEX_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/main_window.sh" "$@"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The language file lies beside the program: run a copy in its own folder.
mkdir -p "$work/bin" "$work/run"
cp "$program" "$work/bin/HalvexBarcode"
cd "$work/run"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$work/bin/HalvexBarcode" >"$work/stdout" 2>"$work/stderr" &
pid=$!

window_of() {  # window id of a title, waiting up to 20 s
    local id=""
    for _ in $(seq 100); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)"
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

main="$(window_of '^Halvex Rarovuv Uvizo$')" || fail "the main window did not appear: $(cat "$work/stderr")"
xdotool windowfocus --sync "$main"
sleep 0.5

panel() {  # the picture panel of the main window, as raw pixels
    import -window "$main" -crop 321x225+448+24 +repage "ppm:$work/$1.ppm"
}
retype() {  # the value box has the focus first: replace its text, then Pre&view
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key --clearmodifiers alt+v
    sleep 0.5
}
panel first
retype HALVEX
panel other
retype 12345678
panel again
cmp -s "$work/first.ppm" "$work/other.ppm" && fail "Preview did not redraw the picture for a new value"
cmp -s "$work/first.ppm" "$work/again.ppm" || fail "Preview of the first value again drew another picture"
if [[ -n "$artifacts" ]]; then
    mkdir -p "$artifacts"
    import -window root "$artifacts/main_window.png"
fi
xdotool key --clearmodifiers alt+e   # &Exit

about="$(window_of '^About$')" || fail "the About window did not appear"
[[ -z "$(xdotool search --onlyvisible --name '^Halvex Rarovuv Uvizo$' 2>/dev/null || true)" ]] ||
    fail "the main window is still on screen beside the About window"
[[ -f HalvexBarcode.cfg ]] || fail "no settings file before the About window closed"
if [[ -n "$artifacts" ]]; then import -window root "$artifacts/about_window.png"; fi
xdotool windowfocus --sync "$about"
sleep 0.3
xdotool key --clearmodifiers alt+c   # &Close

for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "the program did not end after the About window closed"; }
wait "$pid" && status=0 || status=$?
[[ "$status" == 0 ]] || fail "exit status $status: $(cat "$work/stderr")"

# The settings file, laid out by hand: Code 128B (index 0), 20 mm,
# "12345678", value shown, empty lines; then three LOGFONTA records of
# MS Sans Serif with a 16-pixel character height.
expected="$work/expected.cfg"
{
    printf '\x00\x00\x00\x00\x14\x00\x00\x00'
    printf '12345678'; head -c 72 /dev/zero
    printf '\x01'; head -c 271 /dev/zero
    for _ in 1 2 3; do
        printf '\xf0\xff\xff\xff'; head -c 12 /dev/zero
        printf '\x90\x01\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00'
        printf 'MS Sans Serif'; head -c 19 /dev/zero
    done
} >"$expected"
size="$(stat -c %s HalvexBarcode.cfg)"
[[ "$size" == 540 ]] || fail "HalvexBarcode.cfg has $size bytes, not 540"
cmp HalvexBarcode.cfg "$expected" || fail "HalvexBarcode.cfg differs from the expected record"

ini="$work/bin/HalvexBarcode.INI"
[[ -f "$ini" ]] || fail "no language file beside the program"
grep -qx '\[BarCodeForm\]' "$ini" || fail "no BarCodeForm section"
grep -qx '\[AboutForm\]' "$ini" || fail "no AboutForm section"
grep -qx 'previewButton=Pre&view' "$ini" || fail "previewButton caption missing"
grep -qx 'aboutButton=About' "$ini" || fail "aboutButton caption missing"
grep -qx 'Label2=Click here to submit enquiry' "$ini" || fail "About window's Label2 caption missing"
[[ ! -s "$work/stderr" ]] || echo "program's standard error: $(cat "$work/stderr")"
echo "PASS: settings file of 540 bytes and both language sections written"
