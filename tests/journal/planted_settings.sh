#!/usr/bin/env bash
# The suites never read the machine's settings: with a journal folder named in
# /etc/zorelad/zorelad.conf (planted in a private copy of /etc that only this
# test sees), the suite that grades levels through the real windows runs and
# the folder stays empty.
# Usage: planted_settings.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/upper" "$work/scratch" "$work/school-journal"
flags=-m
[ "$(id -u)" -eq 0 ] || flags=-rm
unshare $flags --propagation private bash -euo pipefail -c '
  work=$1; build=$2
  mount -t overlay overlay -o "lowerdir=/etc,upperdir=$work/upper,workdir=$work/scratch" /etc
  # Nothing is written unless /etc here is the private overlay.
  [ "$(findmnt -n -o FSTYPE --target /etc)" = overlay ] || { echo "no private /etc"; exit 1; }
  mkdir -p /etc/zorelad
  printf "[journal]\nfolder=%s\n" "$work/school-journal" >/etc/zorelad/zorelad.conf
  ctest --test-dir "$build" -R "^tst_levelrun\$" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
' planted "$work" "$build"
left=$(find "$work/school-journal" -mindepth 1)
[ -z "$left" ] || { echo "FAIL: the suite wrote into the planted journal folder: $left"; exit 1; }
echo "planted settings: the journal folder they name is left untouched"
