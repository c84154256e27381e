#!/usr/bin/env bash
# The journal in a lab, for real.
#  0. Eight computers write to one folder at once, each through its own spool
#     (JOURNAL_WRITER: the program's journal code without its window).
# The real program and its journal under Xvfb, driven with xdotool:
#  1. No settings: a graded level writes nothing, neither in HOME, nor in the
#     program's folder, nor in TMPDIR.
#  2. Journal on: the program is killed with SIGKILL at random moments while
#     levels are graded, again and again, in three lanes at once (the same
#     account's spool and file, as with a pupil who opened it twice).
#     Afterwards the journal holds only whole records, each once, and every
#     record seen written before a kill. Every level was answered with option
#     1 throughout: each record holds those answers and the fingerprints of
#     the questions as the program's bank has them.
# 1 and the three lanes of 2 run side by side, each on an X server of its own:
# the program pauses some seconds at every start.
# Usage: real_journal.sh PROGRAM_DIR JOURNAL_WRITER [ROUNDS]
#   JOURNAL_SEED=N replays the kill moments of an earlier run (it prints its seed).
set -euo pipefail
program_dir=$(realpath "$1")
writer=$2
rounds=${3:-8}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
seed=${JOURNAL_SEED:-$(( $(date +%s) % 32768 ))}
echo "seed $seed (JOURNAL_SEED=$seed replays the kill moments)"

mkdir -p "$work/lab"
for i in $(seq 1 8); do "$writer" "$work/lab" "pc-$i" "$work/spool-$i/pending.csv" 500 & done
wait
"$program_dir/zorelad-journal" --format csv "$work/lab" >"$work/lab.csv" 2>"$work/problems" || fail "zorelad-journal failed"
[ -s "$work/problems" ] && { cat "$work/problems"; fail "damaged lines in the lab's journal"; }
[ "$(tail -n +2 "$work/lab.csv" | wc -l)" -eq 4000 ] && [ "$(tail -n +2 "$work/lab.csv" | cut -d';' -f3 | sort -u | wc -l)" -eq 4000 ] \
  || fail "eight computers: not every record once"
echo "eight computers at once: 4000 records, each once"

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
program=$1; work=$2; task=$3; first=${4:-}; last=${5:-}
fail() { echo "FAIL: $*"; exit 1; }

# Starts the program with the given environment, identifies NAME and sets
# X, Y, cx, cy, pid.
start() {
  local name=$1; shift
  ( cd "$program" && exec env "$@" ./zorelad >>"$work/log" 2>&1 ) &
  pid=$!
  local wid; wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^Зорелад v1.0$" | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  menu=$((HEIGHT - 357)); cx=$X; cy=$((Y + menu))
  click $((X + 20)) $((Y + menu / 2)); click $((X + 60)) $((Y + menu + 12)); sleep 0.5
  local dialog; dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^Ідентифікація користувача$" | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D_/')"
  click $((D_X + 90)) $((D_Y + 46)); xdotool key ctrl+a; xdotool type --delay 20 "$name"
  click $((D_X + 90)) $((D_Y + 90)); xdotool key ctrl+a; xdotool type --delay 20 "5-A"
  click $((D_X + 100)) $((D_Y + 130)); sleep 0.5
}
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.12; }
# Plays level $1 to its grade, or only its first $2 questions, choosing
# option 1 throughout, in one xdotool.
play() {
  local steps=(mousemove $((cx + 300)) $((cy + 116 + 40 * ($1 - 1))) click 1 sleep 0.1)
  for n in $(seq 1 "${2:-24}"); do
    steps+=(mousemove $((cx + 190)) $((cy + 128)) click 1 sleep 0.02 mousemove $((cx + 300)) $((cy + 248)) click 1 sleep 0.02)
  done
  xdotool "${steps[@]}"
}

env=(ZORELAD_CONFIG="$work/on/zorelad.conf" XDG_STATE_HOME="$work/on/state")
case $task in
off) # 1. Off by default.
mkdir -p "$work/off/home" "$work/off/tmp"
touch "$work/off/mark"; sleep 1
start Nobodyzz HOME="$work/off/home" TMPDIR="$work/off/tmp" XDG_CONFIG_HOME= XDG_STATE_HOME= \
  ZORELAD_CONFIG="$work/off/none.conf"
play 1; sleep 1
kill $pid; wait $pid 2>/dev/null || true
for dir in "$work/off/home" "$work/off/tmp" "$program"; do
  ! grep -rlq Nobodyzz "$dir" && ! find "$dir" -newer "$work/off/mark" -iname '*zorelad*' | grep -q . \
    || fail "the program wrote in $dir without a journal: $(find "$dir" -newer "$work/off/mark")"
done
! find "$program" -newer "$work/off/mark" | grep -q . || fail "new files in the program folder"
echo "off by default: nothing written"
;;
lane) # 2. Killed while levels are graded: rounds FIRST to LAST.
RANDOM=$((seed + first))
for round in $(seq "$first" "$last"); do
  # The kill lands anywhere from the first level to the third: after some
  # question of a level, or up to 0.3 s after its grade, while it is recorded.
  kill_level=$((RANDOM % 3 + 1)); kill_after=$((RANDOM % 25)); kill_delay=$((RANDOM % 300))
  echo "round $round: killed in level $kill_level after $kill_after answers and $kill_delay ms"
  start "Round$round" "${env[@]}"
  for level in $(seq 1 $kill_level); do
    if [ $level -eq $kill_level ]; then
      play $level $kill_after
      sleep "$(printf '0.%03d' $kill_delay)"
      kill -KILL $pid
    else
      play $level
    fi
    # Whatever whole records the journal holds now were finished before the
    # kill, and must all be there in the end.
    cat "$work/on/state/zorelad/pending.csv"* "$work/on/share/kill-test-"*.csv 2>/dev/null \
      | grep -E "^[^;]+;kill-test;Round$round;.*;1\.0\.0;" >>"$work/seen-$first" || true
  done
  wait $pid 2>/dev/null || true
done
;;
next) # The next start delivers whatever the kills left in the spool.
( cd "$program" && exec env "${env[@]}" ./zorelad >>"$work/log" 2>&1 ) &
pid=$!
timeout 60 xdotool search --sync --onlyvisible --name "^Зорелад v1.0$" >/dev/null; sleep 2; kill $pid; wait $pid || true
;;
esac
DRIVE

# A program folder of its own, which nothing else changes while it is watched.
cp -a "$program_dir" "$work/program"
mkdir -p "$work/on/share" "$work/on/state"
printf '[journal]\nfolder=%s\nhost=kill-test\n' "$work/on/share" >"$work/on/zorelad.conf"
# Runs a task of drive.sh on an X server of its own (which picks a free display).
drive() {
  local tag=$1${2:-} fd=$work/display-$1${2:-}
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd" >/dev/null 2>&1 &
  local xserver=$! status=0
  for _ in $(seq 100); do [ -s "$fd" ] && break; sleep 0.1; done
  [ -s "$fd" ] || status=1
  [ $status -ne 0 ] || DISPLAY=:$(cat "$fd") seed=$seed bash ${JOURNAL_TRACE:+-x} "$work/drive.sh" "$work/program" \
    "$work" "$@" >"$work/out-$tag" 2>&1 || status=1
  kill $xserver; wait $xserver 2>/dev/null || true
  return $status
}
drive off & jobs_running=($!)
for lane in 0 1 2; do
  first=$((lane * rounds / 3 + 1)); last=$(((lane + 1) * rounds / 3))
  [ "$first" -gt "$last" ] || { drive lane "$first" "$last" & jobs_running+=($!); }
done
status=0
for job in "${jobs_running[@]}"; do wait "$job" || status=1; done
[ $status -eq 0 ] && drive next || status=1
cat "$work"/out-*
[ $status -eq 0 ] || { cat "$work/log"; fail "driving the program failed"; }
cat "$work"/seen-* >"$work/seen" 2>/dev/null || : >"$work/seen"

"$program_dir/zorelad-journal" --format csv "$work/on/share" >"$work/merged.csv" 2>"$work/problems" || fail "zorelad-journal failed"
[ -s "$work/problems" ] && { cat "$work/problems"; fail "damaged lines in the journal"; }
[ -e "$work/on/state/zorelad/pending.csv" ] && fail "records left in the spool after the next start"
echo "records in the journal after $rounds kills: $(($(wc -l <"$work/merged.csv") - 1)), $(sort -u "$work/seen" | wc -l) seen before a kill"
missing=$(sort -u "$work/seen" | grep -vxFf <(tail -n +2 "$work/merged.csv") || true)
[ -z "$missing" ] || fail "records lost after a kill: $missing"
[ -z "$(tail -n +2 "$work/merged.csv" | sort | uniq -d)" ] || fail "records twice"
[ "$(stat -c %a "$work/on/share/kill-test-$(id -un).csv")" = 640 ] || fail "journal file mode not 640"
[ -z "$(tail -n +2 "$work/merged.csv" | awk -F';' '$10 != "111111111111111111111111"')" ] \
  || fail "records without the answers chosen"
LC_ALL=C.UTF-8 LANG=C.UTF-8 "$program_dir/zorelad-journal" --questions --format csv --bank "$program_dir/Text" \
  "$work/on/share" >"$work/questions.csv" || fail "zorelad-journal --questions failed"
[ "$(tail -n +2 "$work/questions.csv" | wc -l)" -ge 24 ] && ! grep -q "(changed question)" "$work/questions.csv" \
  || { cat "$work/questions.csv"; fail "questions not found in the bank by their fingerprints"; }
echo "answers and questions' fingerprints recorded"
echo "real journal: 4 passed, 0 failed"
