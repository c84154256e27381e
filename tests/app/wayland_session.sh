#!/usr/bin/env bash
# The program in a Wayland session without X11: on a private headless
# compositor (weston), with only WAYLAND_DISPLAY set, it opens its main window
# as a toplevel of the compositor and says once on stderr that the
# compositor places the windows.
# Usage: wayland_session.sh PROGRAM_DIR
set -euo pipefail
program_dir=$1
command -v weston >/dev/null || { echo "weston is not installed (tools/install-deps installs it)"; exit 1; }
work=$(mktemp -d)
chmod 700 "$work"
weston_pid=
program_pid=
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; sed -n '1,40p' "$work/stderr" 2>/dev/null | grep -v '^\[' || true; exit 1; }

export XDG_RUNTIME_DIR=$work
weston --backend=headless-backend.so --socket=wayland-zorelad --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$work/wayland-zorelad" ] && break; sleep 0.1; done
[ -S "$work/wayland-zorelad" ] || { cat "$work/weston.log"; fail "weston did not start"; }

cd "$program_dir"
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=wayland-zorelad WAYLAND_DEBUG=client LANG=C.UTF-8 \
  ./zorelad 2>"$work/stderr" >/dev/null &
program_pid=$!
# The main window becomes a toplevel with the program's title.
for _ in $(seq 300); do
  grep -q 'xdg_toplevel@[0-9]*\.set_title("Зорелад v1.0")' "$work/stderr" && break
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
  sleep 0.1
done
grep -q 'xdg_toplevel@[0-9]*\.set_title("Зорелад v1.0")' "$work/stderr" || fail "no main window within 30 s"
sleep 2 # the start-up pause, the intro playing
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
notes=$(grep -c '^zorelad: a Wayland session without X11: the compositor places the windows$' "$work/stderr" || true)
[ "$notes" = 1 ] || fail "the compositor note appears $notes times"
echo "wayland session: 1 passed, 0 failed"
