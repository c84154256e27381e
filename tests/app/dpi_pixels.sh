#!/usr/bin/env bash
# The main window is the same picture at any font resolution: at question 1,
# its client area outside the video at Xft.dpi 120 and 144 is pixel for
# pixel the one at 96 dpi. Each resolution is a real X server (Xvfb) of its
# own; the pupil is identified from the keyboard, as the dialog's size
# follows the resolution.
# Usage: dpi_pixels.sh PROGRAM_DIR [KEEP_DIR]
set -euo pipefail
program_dir=$1
keep=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/inside.sh" <<'INSIDE'
set -euo pipefail
cd "$1"
echo "Xft.dpi: $3" | xrdb -nocpp -merge -
./zorelad >"$2/log-$3" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^Зорелад v1.0$" | head -n1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
menu=$((HEIGHT - 357)); cx=$X; cy=$((Y + menu))
sleep 1
xdotool windowfocus --sync "$wid" key F10 Down Return    # Тест > Розпочати тестування
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Ідентифікація користувача$" | head -n1)
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D_/')"
at() { echo $(( ($1 * $3 + 48) / 96 )); }                # the dialog's 96-dpi layout, scaled
# Letters of the keyboard's own layout only: xdotool may drop others under load.
xdotool type --delay 30 "Oksana Melnyk"
xdotool mousemove $((D_X + $(at 90 0 "$3"))) $((D_Y + $(at 90 0 "$3"))) click 1   # the class
xdotool key Down                                                                   # from the list
xdotool mousemove $((D_X + $(at 100 0 "$3"))) $((D_Y + $(at 130 0 "$3"))) click 1 # Розпочати
sleep 0.7
# There is no window manager: the main window is given the keyboard focus
# back, so that what has the focus in it is the same in every run.
xdotool windowfocus --sync "$wid"
sleep 0.5
xdotool mousemove $((cx + 300)) $((cy + 116)) click 1    # Рівень І
sleep 0.3
xdotool mousemove 1200 1000                              # the pointer away from the window
sleep 0.8
import -window root -crop "${WIDTH}x$((HEIGHT - menu))+${cx}+${cy}" +repage "$2/client-$3.png"
INSIDE

for dpi in 96 120 144; do
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$work/inside.sh" "$program_dir" "$work" "$dpi" || {
    cat "$work/log-$dpi" 2>/dev/null; exit 1; }
  # The video plays on its own clock: its area is left out.
  convert "$work/client-$dpi.png" -fill black -draw "rectangle 112,40 520,288" "$work/masked-$dpi.png"
done
[ -z "$keep" ] || cp "$work"/client-*.png "$keep"/
failed=0
for dpi in 120 144; do
  differ=$(compare -metric AE "$work/masked-96.png" "$work/masked-$dpi.png" null: 2>&1 || true)
  if [ "$differ" != 0 ]; then
    echo "FAIL: at $dpi dpi $differ pixels of the client area differ from 96 dpi"
    failed=1
  fi
done
[ "$failed" = 0 ] || exit 1
echo "dpi pixels: 2 passed, 0 failed"
