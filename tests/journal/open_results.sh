#!/usr/bin/env bash
# The menu entry's command, zorelad-journal --open, with a stand-in xdg-open
# on PATH that notes what it was asked to open: one case per outcome. While
# a lesson is under way the command stays to write the page again as records
# arrive (every 10 s), so that case takes some seconds.
# Usage: open_results.sh PROGRAM_DIR
set -euo pipefail
tool=$(realpath "$1")/zorelad-journal
work=$(mktemp -d)
tool_pid=
trap '[ -z "$tool_pid" ] || kill "$tool_pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir -p "$work/bin" "$work/journal" "$work/run"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
printf '[journal]\nfolder=%s\n' "$work/journal" >"$work/zorelad.conf"
answers=111111111111111111111111 questions=$(printf '1%04x' $(seq 1 24) | tr -d ' ')
record() { # TIME: one level of Оля Коваль, all right
  printf '\xef\xbb\xbf%s\n%s;pc-1;Оля Коваль;5-А;1;24;24;відмінно;1.0.0;%s;%s\n' \
    "Дата і час;Комп'ютер;Учень;Клас;Рівень;Правильних;Із;Оцінка;Версія;Відповіді;Запитання" \
    "$1" "$answers" "$questions" >"$work/journal/pc-1-pupil.csv"
}
run() { rm -f "$work/opened"; env PATH="$work/bin:$PATH" ZORELAD_CONFIG="$work/$1" XDG_RUNTIME_DIR="$work/run" \
  "$tool" --open --bank "$work/no-bank" >"$work/out" 2>"$work/err"; }
opened() { # CASE [nobody]: waits for the stand-in, started on its own
  for _ in $(seq 50); do [ -s "$work/opened" ] && break; sleep 0.1; done
  [ "$(cat "$work/opened" 2>/dev/null)" = "$work/run/zorelad/results.html" ] || fail "$1: xdg-open not called with the page"
  [ "$(stat -c %a "$work/run/zorelad/results.html")" = 600 ] || fail "$1: the page is readable by others"
  [ -n "${2:-}" ] || { grep -q 'Оля Коваль' "$work/run/zorelad/results.html" \
    && grep -q 'class="bar"' "$work/run/zorelad/results.html"; } || fail "$1: no pupil or bars on the page"
}

record "$(date --iso-8601=seconds)"
run zorelad.conf & tool_pid=$!
opened "lesson under way"
grep -q '<meta http-equiv="refresh" content="10">' "$work/run/zorelad/results.html" || fail "lesson under way: no reloading"
printf '%s;pc-1;Петро Шевчук;5-А;2;24;24;відмінно;1.0.0;%s;%s\n' "$(date --iso-8601=seconds)" \
  111111111111111111111111 "$questions" >>"$work/journal/pc-1-pupil.csv"
for _ in $(seq 300); do grep -q 'Петро Шевчук' "$work/run/zorelad/results.html" && break; sleep 0.1; done
grep -q 'Петро Шевчук' "$work/run/zorelad/results.html" || fail "lesson under way: a new record not on the page"
kill "$tool_pid"; wait "$tool_pid" 2>/dev/null || true; tool_pid=
echo "lesson under way: opened, reloads itself, written again as a record arrives"

record "$(date --iso-8601=seconds -d '-2 hours')"
run zorelad.conf || fail "lesson over: $(cat "$work/err")"
opened "lesson over"
! grep -q 'http-equiv="refresh"' "$work/run/zorelad/results.html" || fail "lesson over: still reloads"
echo "lesson over: opened, stays still"

status=0; run none.conf || status=$?
[ $status -eq 2 ] || fail "no folder set: exit status $status"
opened "no folder set" nobody
grep -q 'class="note">No journal folder is set in the settings (zorelad.conf' "$work/run/zorelad/results.html" \
  || fail "no folder set: the page does not say so"
echo "no folder set: the page says so"
echo "open results: 3 passed, 0 failed"
