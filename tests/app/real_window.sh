#!/usr/bin/env bash
# Starts the real program on a real X server (Xvfb), waits for its main
# window, takes a screenshot and checks it: the window at its pixel place and
# size, the background picture fills the picture area and the status bar lies
# along the bottom. With a DPI, the desktop's font resolution is set to it
# first (the server must not reset, or it forgets it): the main window
# stays unscaled, while the identification dialog,
# opened from the menu, scales itself by DPI / 96.
# Usage: real_window.sh PROGRAM_DIR [SCREENSHOT.png|""] [DPI]
set -euo pipefail
program_dir=$1
keep=${2:-}
dpi=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/inside.sh" <<'INSIDE'
set -euo pipefail
cd "$1"
[ -z "$3" ] || echo "Xft.dpi: $3" | xrdb -nocpp -merge -
./zorelad >"$2/log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^Зорелад v1.0$" | head -n1)
sleep 1.5 # let the first video frames and the background paint
import -window root "$2/shot.png"
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "$X $Y $WIDTH $HEIGHT" >"$2/geometry"
[ -n "$3" ] || exit 0
# Test > Start testing, from the keyboard: F10 opens the menu bar.
xdotool windowfocus --sync "$wid" key F10 Down Return
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Ідентифікація користувача$" | head -n1)
eval "$(xdotool getwindowgeometry --shell "$dialog")"
echo "$WIDTH $HEIGHT" >"$2/dialog"
INSIDE
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$work/inside.sh" "$program_dir" "$work" "$dpi" || {
  cat "$work/log" 2>/dev/null; exit 1; }

read -r x y w h <"$work/geometry"
if grep -qE "Sanitizer|runtime error" "$work/log"; then cat "$work/log"; echo "FAIL: sanitizer report"; exit 1; fi
[ -n "$keep" ] && cp "$work/shot.png" "$keep"
pixel() { convert "$work/shot.png" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' -crop "1x1+$1+$2" info:; }
fail() { echo "FAIL: $*"; exit 1; }

[ "$x,$y,$w" = "219,184,641" ] || fail "window at $x,$y, $w wide; expected at 219,184, 641 wide"
if [ -n "$dpi" ]; then
  read -r dw dh <"$work/dialog"
  want="$(( (228 * dpi + 48) / 96 )) $(( (166 * dpi + 48) / 96 ))"
  [ "$dw $dh" = "$want" ] || fail "identification dialog $dw x $dh at $dpi dpi, expected ${want/ / x }"
fi
menu=$((h - 357))
[ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] || fail "menu bar of $menu px"
client_y=$((y + menu))
# The sky at the top of the picture, left of the video area.
read -r r g b <<<"$(pixel $((x + 40)) $((client_y + 20)))"
[ "$b" -gt "$r" ] && [ "$b" -gt 150 ] || fail "top-left of the picture is $r $g $b, not sky"
# The field at the bottom of the picture, right of the video area.
read -r r g b <<<"$(pixel $((x + 600)) $((client_y + 320)))"
[ "$r" -gt "$b" ] || fail "bottom-right of the picture is $r $g $b, not a field"
# The status bar: a plain grey strip along the bottom edge, full width.
for px in 120 400 620; do
  read -r r g b <<<"$(pixel $((x + px)) $((client_y + 348)))"
  [ "$r" -gt 180 ] && [ $((r - b)) -lt 20 ] && [ $((b - r)) -lt 20 ] || fail "status bar at $px is $r $g $b"
done
echo "real window: 1 passed, 0 failed"
