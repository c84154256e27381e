#!/usr/bin/env bash
# Builds the Debian package from a built tree, installs it, starts the
# installed program the way the desktop entry does, takes it into level І
# under Xvfb, and removes the package again.
#
# Usage: package.sh BUILD_DIR [DEB]
#   DEB: use this package instead of running cpack in BUILD_DIR.
#   ZORELAD_SHOTS_DIR=DIR keeps the screenshots before and after the level starts.
#
# As root on Debian the package is installed for real with apt-get and purged
# at the end; otherwise (or with ZORELAD_INSTALL_MODE=unpack) it is unpacked
# with dpkg-deb into a scratch root and started from there.
set -euo pipefail
build=$(realpath "$1")
given_deb=${2:-}
work=$(mktemp -d)
chmod 755 "$work" # apt's download user reads the package from here
marker=$build/tests/install/installed-by-package-test
installed=no

say() { echo "package test: $*"; }
fail() { echo "FAIL: $*"; exit 1; }

apt_remove() {
  apt-get remove --purge -y -q -o DPkg::Lock::Timeout=120 zorelad >"$work/remove.log" 2>&1 \
    || { cat "$work/remove.log"; return 1; }
  rm -f "$marker"
}
cleanup() {
  status=$?
  if [ "$installed" = yes ]; then
    say "removing the package after a failure"
    apt_remove || true
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

is_installed() { dpkg-query -W -f='${Status}' zorelad 2>/dev/null | grep -q 'ok installed'; }

# --- how to install ---------------------------------------------------------
mode=${ZORELAD_INSTALL_MODE:-}
if [ -z "$mode" ]; then
  if [ "$(id -u)" -eq 0 ] && [ -f /etc/debian_version ] && command -v apt-get >/dev/null; then
    mode=apt
  else
    mode=unpack
  fi
fi
if [ "$mode" = apt ] && is_installed; then
  if [ -f "$marker" ]; then
    say "a copy left installed by an interrupted run of this test: removing it"
    apt_remove
  else
    say "zorelad is installed on this machine already; leaving it alone and unpacking instead"
    mode=unpack
  fi
fi
say "mode $mode"

# --- the package ------------------------------------------------------------
if [ -n "$given_deb" ]; then
  deb=$(realpath "$given_deb")
else
  mkdir "$work/pkg"
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack failed"; }
  deb=$(find "$work/pkg" -maxdepth 1 -name 'zorelad_*.deb' | head -n1)
fi
[ -f "$deb" ] || fail "no package built"
chmod 644 "$deb"
field() { dpkg-deb -f "$deb" "$1"; }
version=$(sed -n 's/^project(zorelad VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$(field Package)" = zorelad ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), expected $version"
[ "$(field Section)" = education ] || fail "section $(field Section)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture $(field Architecture)"
depends=$(field Depends)
for dep in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 qt6-qpa-plugins \
           libgstreamer1.0-0 libgstreamer-plugins-base1.0-0 gstreamer1.0-plugins-base \
           gstreamer1.0-plugins-good fonts-liberation2 fonts-urw-base35 fonts-paratype \
           libcups2 libjpeg62-turbo; do
  grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./$' | grep -v '^\./usr/' \
  | grep -vx -e './etc/' -e './etc/zorelad/' -e './etc/zorelad/zorelad.conf' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles | grep -qx /etc/zorelad/zorelad.conf \
  || fail "/etc/zorelad/zorelad.conf is not a conffile"
for f in lib/zorelad/zorelad bin/zorelad-check bin/zorelad-journal; do
  dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/$f" >"$work/binary"
  file -b "$work/binary" | grep -q 'stripped' && ! file -b "$work/binary" | grep -q 'not stripped' \
    || fail "/usr/$f is not stripped"
done
say "package $(basename "$deb")"
command -v lintian >/dev/null || fail "lintian is missing (tools/install-deps installs it)"
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 \
  || { cat "$work/lintian.log"; fail "lintian found errors"; }
grep -E '^[EW]: ' "$work/lintian.log" || say "lintian: no errors, no warnings"

# --- install ----------------------------------------------------------------
if [ "$mode" = apt ]; then
  touch "$marker"
  installed=yes
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -o DPkg::Lock::Timeout=120 "$deb" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "apt-get install failed"; }
  is_installed || fail "dpkg does not list zorelad as installed"
  root=
  dpkg-query -L zorelad | sort >"$work/owned"
  # At install nothing is made in the program directory that the package does not own.
  find /usr/lib/zorelad | sort >"$work/present"
  unowned=$(comm -23 "$work/present" "$work/owned")
  [ -z "$unowned" ] || fail "files the package does not own: $unowned"
else
  root=$work/root
  dpkg-deb -x "$deb" "$root"
fi
say "installed"

# --- the desktop entry ------------------------------------------------------
desktop=$root/usr/share/applications/zorelad.desktop
[ -f "$desktop" ] || fail "no desktop entry"
entry() {
  awk -v key="$1" '/^\[/{group=$0} group=="[Desktop Entry]" && index($0, key "=")==1 {
    print substr($0, length(key) + 2); exit}' "$desktop"
}
exec_line=$(entry Exec | sed 's/ *%[a-zA-Z]//g')
path=$(entry Path)
[ -n "$exec_line" ] && [ -n "$path" ] || fail "desktop entry without Exec or Path"
command_name=${exec_line%% *}
if [ "$mode" = apt ]; then
  run_path=/usr/bin:/bin
else
  run_path=$root/usr/bin:/usr/bin:/bin
fi
launcher=$(PATH=$run_path command -v "$command_name") || fail "Exec command $command_name not found"
[ "$launcher" = "$root/usr/bin/$command_name" ] || fail "Exec runs $launcher, not the installed launcher"
start_dir=$root$path
[ -d "$start_dir" ] || fail "Path $path is not a directory"
say "desktop entry: Exec=$exec_line Path=$path"

# --- start the installed program and take it into a level --------------------
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
work=$1; start_dir=$2; program_dir=$3; run_path=$4; shift 4
fail() { echo "FAIL: $*"; exit 1; }
cd "$start_dir"
env -i DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" PATH="$run_path" HOME="$work/home" \
  XDG_CACHE_HOME="$work/home/.cache" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 "$@" >"$work/log" 2>&1 &
pid=$!
echo "$pid" >"$work/pid"
trap 'kill $pid 2>/dev/null || true' EXIT
wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^Зорелад v1.0$" | head -n1) \
  || fail "the main window did not appear"
[ -n "$wid" ] || fail "the main window did not appear"
# The launcher replaced itself with the installed program, run from its directory.
[ "$(readlink /proc/$pid/exe)" = "$program_dir/zorelad" ] \
  || fail "running $(readlink /proc/$pid/exe), not $program_dir/zorelad"
[ "$(readlink /proc/$pid/cwd)" = "$program_dir" ] \
  || fail "working directory $(readlink /proc/$pid/cwd), not $program_dir"

eval "$(xdotool getwindowgeometry --shell "$wid")"
menu=$((HEIGHT - 357)); cx=$X; cy=$((Y + menu))
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
shot() { sleep 0.7; import -window root "$work/$1.png"; }
# fraction IMAGE X Y W H OP LEVEL: the share of pixels in a box whose grey
# value (0..1) is above (gt) or below (lt) LEVEL.
fraction() {
  local expr
  if [ "$6" = gt ]; then expr="p>$7"; else expr="p<$7"; fi
  convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray -fx "$expr" -format '%[fx:mean]' info:
}
question_box() { fraction "$work/$1.png" $((cx + 172)) $((cy + 4)) 296 56 "$2" "$3"; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Тест -> Розпочати тестування
click $((X + 20)) $((Y + menu / 2))
click $((X + 60)) $((Y + menu + 12))
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Ідентифікація користувача$" | head -n1) \
  || fail "the identification dialog did not open"
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D_/')"
xdotool type --delay 40 "Тарас Бойко"
click $((D_X + 90)) $((D_Y + 90))   # the class list's text
xdotool key ctrl+a; xdotool type --delay 40 "3-А"
click $((D_X + 100)) $((D_Y + 130)) # Розпочати
sleep 0.5
xdotool search --onlyvisible --name "^Ідентифікація користувача$" >/dev/null \
  && fail "the identification dialog did not accept the pupil"
shot before
click $((cx + 300)) $((cy + 116))   # Рівень І
shot after

# Before the level the question box is not there; after it, a white box
# holds the first question's dark text.
light_before=$(question_box before gt 0.85)
light=$(question_box after gt 0.85)
dark=$(question_box after lt 0.35)
echo "question box: light $light_before before the level; light $light and dark $dark after"
above "$light" 0.6 || fail "no question box after Рівень І (light share $light)"
above "$dark" 0.01 || fail "the question box is empty (dark share $dark)"
above 0.6 "$light_before" || fail "the question box was there before the level"
compare -metric AE "$work/before.png" "$work/after.png" null: 2>"$work/changed" || true
above "$(cat "$work/changed")" 1000 || fail "the window did not change when the level started"
# No error box came up (a missing question file would show one).
[ "$(xdotool search --onlyvisible --name '^Zorelad$' | wc -l)" -eq 0 ] || fail "an error box is showing"
kill "$pid"
wait "$pid" 2>/dev/null || true
DRIVE

xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/drive.sh" \
  "$work" "$start_dir" "$root/usr/lib/zorelad" "$run_path" $exec_line \
  || { echo "--- program output"; cat "$work/log" 2>/dev/null || true
       cp "$work"/*.png "$build/tests/install/" 2>/dev/null && say "screenshots kept in $build/tests/install"
       fail "the installed program did not run a level"; }
[ -n "${ZORELAD_SHOTS_DIR:-}" ] && cp "$work"/before.png "$work"/after.png "$ZORELAD_SHOTS_DIR/"
say "the installed program started from its desktop entry and opened level І"

# --- remove -----------------------------------------------------------------
if [ "$mode" = apt ]; then
  apt_remove || fail "apt-get remove failed"
  installed=no
  is_installed && fail "zorelad is still installed"
  dpkg-query -W -f='${Status}' zorelad 2>/dev/null | grep -q 'config-files' && fail "configuration files left"
  [ ! -e /usr/lib/zorelad ] || fail "/usr/lib/zorelad is left: $(find /usr/lib/zorelad)"
  left=$(while read -r f; do if [ -f "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done <"$work/owned")
  [ -z "$left" ] || fail "files left after removal: $left"
  say "removed, nothing left behind"
fi
echo "package test: 1 passed, 0 failed"
