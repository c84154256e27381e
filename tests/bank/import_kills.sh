#!/usr/bin/env bash
# Kills zorelad-import at random moments while it replaces a bank, and checks
# after every kill that each level is wholly the old or wholly the new one,
# and that the next import leaves nothing of the killed ones behind. Each
# fsync is slowed by 3 ms (strace) so that kills land inside the write.
#   import_kills.sh PROGRAM_DIR [ROUNDS] [SEED]
set -uo pipefail
program=${1:?usage: import_kills.sh PROGRAM_DIR [ROUNDS] [SEED]}
rounds=${2:-30}
seed=${3:-$$}
RANDOM=$seed
echo "seed $seed (replay with: $0 $program $rounds $seed)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen

cp -r "$program/Text" "$work/Text"
"$program/zorelad-export" "$work/Text" "$work/old.txt" || exit 1
# The new bank: every level's questions in the reverse order.
awk 'function flush() { for (i = n; i >= 1; i--) printf "\n%s", block[i]; n = 0 }
     /^\[/ { flush(); print ""; print; next }
     /^#/ { print; next }
     /^$/ { if (cur != "") block[++n] = cur; cur = ""; next }
     { cur = cur $0 "\n" }
     END { if (cur != "") block[++n] = cur; flush() }' "$work/old.txt" >"$work/new.txt"
"$program/zorelad-import" "$work/new.txt" "$work/New" >/dev/null || { echo "the reversed bank was refused"; exit 1; }
for level in 1 2 3; do
  (cd "$work/Text/$level" && md5sum $(seq -f %g.z 1 24)) >"$work/old$level.md5"
  (cd "$work/New/$level" && md5sum $(seq -f %g.z 1 24)) >"$work/new$level.md5"
done
slow=()
if command -v strace >/dev/null; then slow=(strace -f -qq -o /dev/null -e inject=fsync:delay_exit=3000); fi

bad=0 interrupted=0
for round in $(seq "$rounds"); do
  text=$work/new.txt
  [ $((round % 2)) -eq 0 ] && text=$work/old.txt
  "${slow[@]}" "$program/zorelad-import" "$text" "$work/Text" >/dev/null 2>&1 &
  runner=$!
  sleep "0.$((RANDOM % 40 + 5))"
  pkill -KILL -P "$runner" 2>/dev/null
  kill -KILL "$runner" 2>/dev/null
  wait "$runner" 2>/dev/null
  [ -n "$(find "$work/Text" -name '.zorelad-*')" ] && interrupted=$((interrupted + 1))
  for level in 1 2 3; do
    if ! (cd "$work/Text/$level" 2>/dev/null && { md5sum -c --quiet "$work/old$level.md5" || md5sum -c --quiet "$work/new$level.md5"; } >/dev/null 2>&1); then
      echo "round $round: level $level is neither wholly old nor wholly new"
      bad=1
    fi
  done
done
"$program/zorelad-import" "$work/old.txt" "$work/Text" >/dev/null || bad=1
left=$(find "$work/Text" -name '.*' | wc -l)
[ "$left" -eq 0 ] || { echo "$left temporary files left after a whole import"; bad=1; }
echo "$rounds kills, $interrupted of them inside a write; every level wholly old or new: $([ $bad -eq 0 ] && echo yes || echo no)"
exit $bad
