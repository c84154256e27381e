#!/usr/bin/env bash
# Builds the Debian package from a built tree and installs it. As root with
# apt: checks the teachers' group zorelad and its write access to
# /etc/zorelad, adds a teacher and a pupil account, runs the teachers'
# guide's commands as written (adding to the group, export, import, check,
# reinstall from the file, the restores, dpkg-reconfigure), has the teacher
# save from the editor under Xvfb, upgrades to a second version of the package
# (no prompt; the edits and the group's write access stay), starts the
# installed program the way the desktop entry does and takes it into level І,
# removes the package (which keeps /etc/zorelad) and purges it (which does
# not), and upgrades from the earlier layout whose questions were conffiles.
# Installed for real, two pupil accounts of this computer also each grade a
# level with the journal on, in a folder set up as the docs say.
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
# Accounts for a teacher and a pupil; the group zorelad, if the package makes it.
teacher=zrltestteacher
pupil=zrltestpupil
created_users=
group_before=$(getent group zorelad || true)
accounts=()
made_group=no

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
  for user in $created_users; do userdel "$user" 2>/dev/null || true; done
  if [ -z "$group_before" ] && [ "${mode:-}" = apt ]; then groupdel zorelad 2>/dev/null || true; fi
  for account in "${accounts[@]}"; do userdel -r "$account" >/dev/null 2>&1 || true; done
  [ "$made_group" = no ] || groupdel teachers || true
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
for dep in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins \
           libgstreamer1.0-0 libgstreamer-plugins-base1.0-0 gstreamer1.0-plugins-base \
           gstreamer1.0-plugins-good fonts-liberation2 fonts-urw-base35 fonts-paratype \
           libcups2 libjpeg62-turbo; do
  grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
grep -Eq "(^|, )adduser(,|$)" <<<"$depends" || fail "Depends lacks adduser: $depends"
[ "$(field Recommends)" = "cups, pkexec, qt6-translations-l10n" ] || fail "Recommends: $(field Recommends)"
[ "$(field Suggests)" = printer-driver-cups-pdf ] || fail "Suggests: $(field Suggests)"
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./$' | grep -v '^\./usr/' \
  | grep -v '^\./etc/$' | grep -v '^\./etc/zorelad/' || true)
[ -z "$outside" ] || fail "files outside /usr and /etc/zorelad: $outside"
# The journal's settings are the one conffile: the questions and the picture
# are shipped in /usr/share/zorelad and copied to /etc by the postinst, so an
# upgrade has nothing to ask about them.
[ "$(dpkg-deb -I "$deb" conffiles)" = /etc/zorelad/zorelad.conf ] \
  || fail "conffiles other than zorelad.conf: $(dpkg-deb -I "$deb" conffiles)"
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for f in ./usr/share/zorelad/Text/1/1.z ./usr/share/zorelad/Text/3/24.z ./usr/share/zorelad/Media/s.bmp \
         ./usr/share/zorelad/questions/all-levels.txt ./usr/share/polkit-1/actions/org.example.zorelad.import.policy \
         ./usr/share/doc/zorelad/teacher-guide-uk.md; do
  grep -qx "$f" "$work/contents" || fail "the package lacks $f"
done
grep -q '^\./etc/zorelad/Text' "$work/contents" && fail "the package holds /etc/zorelad/Text itself"
for f in lib/zorelad/zorelad bin/zorelad-check bin/zorelad-editor bin/zorelad-journal; do
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
  # The links name /etc/zorelad, which the postinst fills from the shipped
  # copies; unpacked, nothing runs it, and the links go to those copies.
  ln -sfn "$root/usr/share/zorelad/Text" "$root/usr/lib/zorelad/Text"
  ln -sfn "$root/usr/share/zorelad/Media/s.bmp" "$root/usr/lib/zorelad/Media/s.bmp"
fi
say "installed"

# --- teachers, upgrades, reinstalls -----------------------------------------
# guide_line REGEX: the one command line of the teachers' guide that matches,
# to run as written.
guide_line() {
  local lines
  lines=$(awk '/^```/ { block = !block; next } block' "$guide" | grep -E -- "$1" || true)
  [ -n "$lines" ] && [ "$(wc -l <<<"$lines")" -eq 1 ] || fail "the guide has not one command matching '$1': $lines"
  echo "$lines"
}
as_root() { echo "# $1"; bash -euo pipefail -c "${1#sudo }" </dev/null; }
as_user() {
  echo "$1\$ $2"
  runuser -u "$1" -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$(getent passwd "$1" | cut -d: -f6)" \
    bash -euo pipefail -c "cd; $2" </dev/null
}
# modes PATH...: mode and group of each.
modes() { stat -c '%a %G' "$@" | sort -u | tr '\n' ' ' | sed 's/ $//'; }
group_can_write() {
  [ "$(modes /etc/zorelad/Text /etc/zorelad/Text/1 /etc/zorelad/Text/2 /etc/zorelad/Text/3 /etc/zorelad/Media)" = "2775 zorelad" ] \
    || fail "$1: folders not setgid and group-writable for zorelad: $(stat -c '%n %a %U:%G' /etc/zorelad/Text /etc/zorelad/Text/? /etc/zorelad/Media)"
  [ "$(modes /etc/zorelad/Text/2/1.z /etc/zorelad/Text/3/24.z /etc/zorelad/Media/s.bmp)" = "664 zorelad" ] \
    || fail "$1: files not group-writable for zorelad: $(stat -c '%n %a %U:%G' /etc/zorelad/Text/2/1.z /etc/zorelad/Text/3/24.z /etc/zorelad/Media/s.bmp)"
}
# upgrade_to DEB LOG: installed over what is there, with no answer to give.
upgrade_to() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=120 "$1" </dev/null >"$2" 2>&1 \
    || { cat "$2"; fail "installing $1 over the installed package failed"; }
  if grep -i 'configuration file' "$2"; then fail "installing $1 asked about configuration files"; fi
}
question_of() { head -n1 "$1" | iconv -f WINDOWS-1251 -t UTF-8 | tr -d '\r'; }

if [ "$mode" = apt ]; then
  export LANG=C.UTF-8
  guide=/usr/share/doc/zorelad/teacher-guide-uk.md
  getent group zorelad >/dev/null || fail "the package made no group zorelad"
  group_can_write "first install"
  diff -r /usr/share/zorelad/Text /etc/zorelad/Text >/dev/null || fail "/etc/zorelad/Text is not the shipped questions"
  cmp -s /usr/share/zorelad/Media/s.bmp /etc/zorelad/Media/s.bmp || fail "/etc/zorelad/Media/s.bmp is not the shipped picture"

  # A teacher added to the group as the guide says, and a pupil outside it.
  for user in "$teacher" "$pupil"; do
    useradd -m -d "$work/$user" -s /bin/bash "$user"
    created_users="$created_users $user"
  done
  as_root "$(guide_line '^sudo adduser olena zorelad$' | sed "s/olena/$teacher/")" >/dev/null
  # She edits a question the guide's way: export, edit, import, check.
  as_user "$teacher" "$(guide_line '^zorelad-export /etc/zorelad/Text ~/')" || fail "the guide's export failed"
  text=$(guide_line '^zorelad-export /etc/zorelad/Text ~/' | awk '{print $3}' | sed "s|^~|$work/$teacher|")
  awk '!done && /^[^#\[]/ && NF { print "Скільки супутників має Марс?"; done = 1; next } { print }' "$text" >"$work/edited.txt"
  install -o "$teacher" -m 644 "$work/edited.txt" "$text"
  as_user "$teacher" "$(guide_line '^zorelad-import ~/')" || fail "the guide's import failed for a teacher in the group"
  [ "$(question_of /etc/zorelad/Text/1/1.z)" = "Скільки супутників має Марс?" ] || fail "the teacher's import did not change Text/1/1.z"
  as_user "$teacher" "$(guide_line '^zorelad-check /etc/zorelad/Text$')" >/dev/null || fail "the guide's check failed"
  # What she wrote stays the group's and readable by every account.
  [ "$(stat -c '%a %U:%G' /etc/zorelad/Text/1)" = "2775 $teacher:zorelad" ] \
    || fail "the level folder she wrote is $(stat -c '%a %U:%G' /etc/zorelad/Text/1)"
  [ "$(modes /etc/zorelad/Text/1/1.z)" = "664 zorelad" ] || fail "the file she wrote is $(modes /etc/zorelad/Text/1/1.z)"
  group_can_write "after a teacher's import"
  # The pupil may not.
  install -o "$pupil" -m 644 "$work/edited.txt" "$work/$pupil/edited.txt"
  sed -i 's/^Скільки супутників має Марс?$/Хто тут був?/' "$work/$pupil/edited.txt"
  as_user "$pupil" 'zorelad-import ~/edited.txt /etc/zorelad/Text' >"$work/pupil.log" 2>&1 \
    && fail "a user outside the group imported: $(cat "$work/pupil.log")"
  [ "$(question_of /etc/zorelad/Text/1/1.z)" = "Скільки супутників має Марс?" ] || fail "the pupil's import changed Text/1/1.z"
  as_user "$teacher" 'printf school >>/etc/zorelad/Media/s.bmp' || fail "a teacher cannot change the certificate picture"
  say "a teacher in the group saved, a user outside it could not"

  # She saves a question from the editor, straight into what the quiz reads
  # (the upgrade below keeps it).
  cat >"$work/user-editor.sh" <<'DRIVE'
set -euo pipefail
user=$1; home=$2; lang=$3; expect=$4
runuser -u "$user" -- env -i DISPLAY="$DISPLAY" PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
  LANG="$lang" zorelad-editor >"$home/editor.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
# A search that meets a window closing as it looks gives up with an X error:
# it is asked again until the window is there (60 s at most).
wid=
for _ in $(seq 300); do
  wid=$(xdotool search --onlyvisible --class '^zorelad-editor$' 2>/dev/null | head -n1) || true
  [ -n "$wid" ] && break
  sleep 0.2
done
[ -n "$wid" ] \
  || { echo "FAIL: the editor's window did not appear"; exit 1; }
xdotool windowfocus --sync "$wid"; sleep 1
# From the list of questions (level 1, question 1) to its text, replaced, saved.
# (In Latin letters: xdotool now and then drops a Cyrillic one it has to map.)
xdotool key Tab; sleep 0.3
xdotool key ctrl+a; xdotool type --delay 30 "Leonid Kadenyuk: who is he?"; sleep 0.5
xdotool key ctrl+s
for _ in $(seq 1 50); do
  if [ "$expect" = saved ]; then
    head -n1 /etc/zorelad/Text/1/1.z | iconv -f WINDOWS-1251 -t UTF-8 | tr -d '\r' | grep -qx "Leonid Kadenyuk: who is he?" && exit 0
  else
    # (xdotool's --name does not match these Cyrillic titles; their names do)
    xdotool search --onlyvisible --class '^zorelad-editor$' getwindowname %@ 2>/dev/null | grep -qx 'Не збережено' && exit 0
  fi
  sleep 0.2
done
import -window root "$home/editor-save.png"
echo "FAIL: the editor did not end $expect; its windows: $(xdotool search --onlyvisible --class '^zorelad-editor$' getwindowname %@ | tr '\n' '|')"
exit 1
DRIVE
  editor_as() {
    mkdir -p "$work/$1/runtime" && chown "$1" "$work/$1/runtime" && chmod 700 "$work/$1/runtime"
    xvfb-run -a -s "-screen 0 1280x1024x24 -ac" bash "$work/user-editor.sh" "$1" "$work/$1" "$2" "$3" \
      || { cat "$work/$1/editor.log"; cp "$work/$1/editor-save.png" "$build/tests/install/" 2>/dev/null || true
           fail "$1's save from the editor did not end $3"; }
  }
  # The pupil, outside the group, under a Ukrainian desktop, is told in
  # Ukrainian, and nothing changes.
  before=$(md5sum /etc/zorelad/Text/1/1.z)
  editor_as "$pupil" uk_UA.UTF-8 refused
  [ "$(md5sum /etc/zorelad/Text/1/1.z)" = "$before" ] || fail "the pupil's save from the editor changed Text/1/1.z"
  editor_as "$teacher" C.UTF-8 saved
  [ "$(stat -c '%U:%G' /etc/zorelad/Text/1)" = "$teacher:zorelad" ] || fail "the editor's level folder is $(stat -c '%U:%G' /etc/zorelad/Text/1)"
  group_can_write "after the editor's save"
  out=$(zorelad-check /etc/zorelad/Text) || fail "zorelad-check after the editor's save: $out"
  say "a teacher in the group saved from the editor into /etc/zorelad/Text; a pupil was refused in Ukrainian"
  sums=$(md5sum /etc/zorelad/Text/1/1.z /etc/zorelad/Media/s.bmp)

  # The same package as a later version: no question asked, every edit and
  # the group's write access kept.
  dpkg-deb -R "$deb" "$work/v2"
  sed -i "s/^Version: .*/Version: $version+upgrade/" "$work/v2/DEBIAN/control"
  dpkg-deb --root-owner-group -b "$work/v2" "$work/zorelad_$version+upgrade_$(dpkg --print-architecture).deb" >/dev/null
  v2=$work/zorelad_$version+upgrade_$(dpkg --print-architecture).deb
  chmod 644 "$v2"
  upgrade_to "$v2" "$work/upgrade.log"
  [ "$(dpkg-query -W -f='${Version}' zorelad)" = "$version+upgrade" ] || fail "the upgrade did not happen"
  [ "$(md5sum /etc/zorelad/Text/1/1.z /etc/zorelad/Media/s.bmp)" = "$sums" ] \
    || fail "the upgrade replaced the edited question or picture"
  group_can_write "after the upgrade"
  out=$(zorelad-check /usr/lib/zorelad/Text) || fail "zorelad-check after the upgrade: $out"
  say "an upgrade asked nothing and kept the edits and the group's write access"

  # The guide's reinstall, from the package file, in its folder.
  rm /usr/share/zorelad/questions/level1.txt
  reinstall=$(guide_line ' install --reinstall ' | sed "s|\./zorelad_[^ ]*\.deb|./$(basename "$v2")|")
  (cd "$work" && as_root "$reinstall") >"$work/reinstall.log" 2>&1 || { cat "$work/reinstall.log"; fail "the guide's reinstall failed"; }
  if grep -i 'configuration file' "$work/reinstall.log"; then fail "the reinstall asked about configuration files"; fi
  [ -f /usr/share/zorelad/questions/level1.txt ] || fail "the guide's reinstall did not reinstall: $(cat "$work/reinstall.log")"
  [ "$(md5sum /etc/zorelad/Text/1/1.z /etc/zorelad/Media/s.bmp)" = "$sums" ] || fail "the reinstall replaced the edits"
  group_can_write "after the reinstall"
  say "the guide's reinstall kept the edits"

  # The guide's ways back to the shipped questions and picture.
  as_user "$teacher" "$(guide_line 'zorelad-import /usr/share/zorelad/questions/level1.txt ')" >/dev/null \
    || fail "the guide's restore of one level failed"
  diff -r /usr/share/zorelad/Text/1 /etc/zorelad/Text/1 >/dev/null || fail "level 1 is not the shipped one after the restore"
  as_user "$teacher" "$(guide_line '^cp /usr/share/zorelad/Media/s.bmp ')" || fail "the guide's restore of the picture failed"
  cmp -s /usr/share/zorelad/Media/s.bmp /etc/zorelad/Media/s.bmp || fail "the picture is not the shipped one after the restore"
  rm -rf /etc/zorelad/Text/2
  as_root "$(guide_line '^sudo dpkg-reconfigure zorelad$')" >"$work/reconfigure.log" 2>&1 \
    || { cat "$work/reconfigure.log"; fail "the guide's dpkg-reconfigure failed"; }
  diff -r /usr/share/zorelad/Text/2 /etc/zorelad/Text/2 >/dev/null || fail "dpkg-reconfigure did not bring back level 2"
  # An import as root, as pkexec runs it for a user outside the group, leaves
  # the levels the group's: the teacher's next import replaces them.
  zorelad-import "$work/edited.txt" /etc/zorelad/Text >/dev/null || fail "an import as root failed"
  group_can_write "after an import as root"
  as_user "$teacher" "$(guide_line 'zorelad-import /usr/share/zorelad/questions/all-levels.txt ')" >/dev/null \
    || fail "the guide's restore of every level failed"
  diff -r /usr/share/zorelad/Text /etc/zorelad/Text >/dev/null || fail "the questions are not the shipped ones after the restore"
  group_can_write "after the restores"
  say "the guide's restores brought back the shipped questions and picture"

  # The guide's journal folder (here in the scratch folder): a pupil's quiz
  # writes its file there, only for its account and the group; the teacher
  # reads it with the guide's command; the administrator removes a pupil.
  journal=$work/journal
  for pattern in '^sudo mkdir -p /srv/zorelad-journal$' '^sudo chown root:zorelad /srv/zorelad-journal$' \
                 '^sudo chmod 3773 /srv/zorelad-journal$'; do
    as_root "$(guide_line "$pattern" | sed "s|/srv/zorelad-journal|$journal|")" >/dev/null || fail "the guide's $pattern failed"
  done
  as_user "$pupil" "umask 027; printf '\357\273\277%s\n%s\n' \"Дата і час;Комп'ютер;Учень;Клас;Рівень;Правильних;Із;Оцінка;Версія\" \
    '2026-09-01T09:15:07+03:00;lab-07;Оля Коваль;5-А;2;20;24;відмінно;1.0.0' >$journal/lab-07.csv" >/dev/null \
    || fail "a pupil cannot write into the guide's journal folder"
  as_user "$pupil" "ls $journal" >/dev/null 2>&1 && fail "a pupil can list the guide's journal folder"
  read_journal=$(guide_line '^zorelad-journal /srv/zorelad-journal ' | sed "s|/srv/zorelad-journal|$journal|")
  as_user "$teacher" "$read_journal" >/dev/null || fail "the guide's zorelad-journal failed for a teacher"
  grep -q 'Оля Коваль' "$work/$teacher/5-А.html" || fail "the teacher's journal page lacks the pupil's record"
  as_root "$(guide_line "^sudo sed -i '/;Оля Коваль;5-А;/d' " | sed "s|/srv/zorelad-journal|$journal|")" >/dev/null \
    || fail "the guide's removal of a pupil's records failed"
  grep -q 'Оля Коваль' "$journal/lab-07.csv" && fail "the guide's removal left the pupil's records"
  say "the guide's journal folder: a pupil writes, cannot list; a teacher reads; the administrator removes a pupil"

fi

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

# --- the journal: two accounts on one computer ---------------------------------
if [ "$mode" = apt ]; then
  getent group teachers >/dev/null || { groupadd teachers; made_group=yes; }
  for n in 1 2; do
    account=zpupil$n-$$
    useradd -m -s /bin/sh "$account"
    accounts+=("$account")
  done
  share=$work/share/journal
  mkdir -p "$share"
  chown root:teachers "$share"
  chmod 3773 "$share"
  printf '[journal]\nfolder=%s\n' "$share" >>/etc/zorelad/zorelad.conf
  # The second pupil names another computer in her own settings, and that
  # computer's file of the first account is already there.
  other=$share/lab-08-${accounts[0]}.csv
  printf 'not hers\n' >"$other"
  chown "${accounts[0]}:teachers" "$other"
  chmod 640 "$other"
  runuser -u "${accounts[1]}" -- mkdir -p "/home/${accounts[1]}/.config/zorelad"
  printf '[journal]\nhost=lab-08\n' >"/home/${accounts[1]}/.config/zorelad/zorelad.conf"
  cat >"$work/journal.sh" <<'DRIVE'
set -euo pipefail
work=$1; start_dir=$2; launcher=$3; shift 3
fail() { echo "FAIL: $*"; exit 1; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.05; }
for account in "$@"; do
  runuser -u "$account" -- env -i DISPLAY="$DISPLAY" HOME="/home/$account" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    sh -c 'cd "$1" && exec "$2"' sh "$start_dir" "$launcher" >>"$work/journal.log" 2>&1 &
  wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^Зорелад v1.0$" | head -n1) \
    || fail "the main window did not appear for $account"
  pid=$(xdotool getwindowpid "$wid")
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  menu=$((HEIGHT - 357)); cx=$X; cy=$((Y + menu))
  click $((X + 20)) $((Y + menu / 2)); click $((X + 60)) $((Y + menu + 12)); sleep 0.5
  dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Ідентифікація користувача$" | head -n1) \
    || fail "the identification dialog did not open"
  eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D_/')"
  click $((D_X + 90)) $((D_Y + 46)); xdotool key ctrl+a; xdotool type --delay 20 "Pupil $account"
  click $((D_X + 90)) $((D_Y + 90)); xdotool key ctrl+a; xdotool type --delay 20 "5-A"
  click $((D_X + 100)) $((D_Y + 130)); sleep 0.5
  click $((cx + 300)) $((cy + 116))
  for n in $(seq 1 24); do click $((cx + 190)) $((cy + 128)); click $((cx + 300)) $((cy + 248)); done
  sleep 2 # the delivery runs beside the window
  kill "$pid"
  while kill -0 "$pid" 2>/dev/null; do sleep 0.2; done
done
DRIVE
  xvfb-run -a -s "-screen 0 1280x1024x24 -ac" bash "$work/journal.sh" "$work" "$start_dir" "$launcher" "${accounts[@]}" \
    || { cat "$work/journal.log" 2>/dev/null || true; fail "the accounts could not grade a level"; }
  for account in "${accounts[@]}"; do
    files=$(find "$share" -name "*-$account.csv" ! -name "lab-08-*")
    [ "$(wc -l <<<"$files")" -eq 1 ] && [ -n "$files" ] || fail "$account: files $(ls "$share")"
    [ "$(stat -c '%a %U %G' "$files")" = "640 $account teachers" ] || fail "$files: $(stat -c '%a %U %G' "$files")"
    [ "$(grep -c ";Pupil $account;5-A;1;" "$files")" -eq 1 ] || { cat "$files" "$work/journal.log"; fail "$account's record not there once"; }
    [ ! -e "/home/$account/.local/state/zorelad/pending.csv" ] || fail "$account's records left in the spool"
  done
  [ "$(cat "$other")" = "not hers" ] && [ ! -e "$share/lab-08-${accounts[1]}.csv" ] \
    || fail "host= in a user's settings reached another computer's file"
  grep -q "host is set in the computer's settings only" "$work/journal.log" || fail "host= in a user's settings not named"
  runuser -u "${accounts[1]}" -- sh -c "echo x >>'$other'" 2>/dev/null && fail "one account could write another's file"
  say "two accounts on one computer: each record arrived once, in each account's own 0640 file"
fi

# --- the question editor, from its own desktop entry --------------------------
editor_desktop=$root/usr/share/applications/zorelad-editor.desktop
[ -f "$editor_desktop" ] || fail "no desktop entry for the editor"
out=$(desktop-file-validate "$editor_desktop" 2>&1) && [ -z "$out" ] || fail "editor desktop entry: $out"
grep -qx 'Name\[uk\]=Редактор запитань Зорелад' "$editor_desktop" || fail "the editor's entry has another name"
grep -q '^Categories=Education;' "$editor_desktop" || fail "the editor is not in the Education category"
editor_exec=$(sed -n 's/^Exec=//p' "$editor_desktop" | sed 's/ *%[a-zA-Z]//g')
editor=$(PATH=$run_path command -v "$editor_exec") || fail "Exec command $editor_exec not found"
[ "$editor" = "$root/usr/bin/zorelad-editor" ] || fail "the editor's Exec runs $editor"
cat >"$work/editor.sh" <<'DRIVE'
set -euo pipefail
work=$1; run_path=$2; folder=$3; shift 3
env -i DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" PATH="$run_path" HOME="$work/home" \
  XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 "$@" >"$work/editor.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
# A search that meets a window closing as it looks gives up with an X error:
# it is asked again until the window is there (60 s at most).
wid=
for _ in $(seq 300); do
  wid=$(xdotool search --onlyvisible --class '^zorelad-editor$' 2>/dev/null | head -n1) || true
  [ -n "$wid" ] && break
  sleep 0.2
done
[ -n "$wid" ] \
  || { echo "FAIL: the editor's window did not appear"; exit 1; }
# Its title names the installed questions it opened, in Ukrainian.
title=$(xdotool getwindowname "$wid")
echo "editor window: $title"
[ -z "$folder" ] || [ "$title" = "Редактор запитань Зорелад — $folder" ] \
  || { echo "FAIL: the editor's title is '$title'"; exit 1; }
sleep 1
import -window root "$work/editor.png"
DRIVE
# Unpacked, the program directory's links point at an /etc/zorelad that is
# not there: the window is all there is to see.
editor_folder=
[ "$mode" = apt ] && editor_folder=/etc/zorelad/Text
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/editor.sh" "$work" "$run_path" "$editor_folder" $editor_exec \
  || { cat "$work/editor.log" 2>/dev/null || true; fail "the installed editor did not open the questions"; }
[ -n "${ZORELAD_SHOTS_DIR:-}" ] && cp "$work/editor.png" "$ZORELAD_SHOTS_DIR/"
say "the installed editor started from its desktop entry and opened the questions"

# --- remove -----------------------------------------------------------------
if [ "$mode" = apt ]; then
  sums=$(md5sum /etc/zorelad/Text/2/1.z /etc/zorelad/Media/s.bmp)
  apt-get remove -y -q -o DPkg::Lock::Timeout=120 zorelad >"$work/remove.log" 2>&1 \
    || { cat "$work/remove.log"; fail "apt-get remove failed"; }
  [ -f /etc/zorelad/Text/2/1.z ] && [ -f /etc/zorelad/Media/s.bmp ] || fail "a remove took /etc/zorelad"
  [ "$(md5sum /etc/zorelad/Text/2/1.z /etc/zorelad/Media/s.bmp)" = "$sums" ] || fail "a remove changed the edits"
  apt_remove || fail "apt-get purge failed"
  [ ! -e /etc/zorelad ] || fail "a purge left /etc/zorelad: $(find /etc/zorelad)"
  installed=no
  is_installed && fail "zorelad is still installed"
  dpkg-query -W -f='${Status}' zorelad 2>/dev/null | grep -q 'config-files' && fail "configuration files left"
  [ ! -e /usr/lib/zorelad ] || fail "/usr/lib/zorelad is left: $(find /usr/lib/zorelad)"
  left=$(while read -r f; do if [ -f "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done <"$work/owned")
  [ -z "$left" ] || fail "files left after removal: $left"
  say "removed, nothing left behind"

  # A machine whose questions and picture came as conffiles (the layout of
  # earlier versions) keeps its edits on the upgrade to this one, asking
  # nothing, and they become the group's.
  dpkg-deb -R "$deb" "$work/old"
  mkdir -p "$work/old/etc/zorelad/Media"
  mv "$work/old/usr/share/zorelad/Text" "$work/old/etc/zorelad/Text"
  cp "$work/old/usr/share/zorelad/Media/s.bmp" "$work/old/etc/zorelad/Media/s.bmp"
  (cd "$work/old" && find etc -type f | sed 's|^|/|' | sort) >"$work/old/DEBIAN/conffiles"
  rm "$work/old/DEBIAN/postinst"
  sed -i "s/^Version: .*/Version: $version~conffiles/" "$work/old/DEBIAN/control"
  old=$work/zorelad_$version~conffiles_$(dpkg --print-architecture).deb
  dpkg-deb --root-owner-group -b "$work/old" "$old" >/dev/null
  chmod 644 "$old"
  touch "$marker"
  installed=yes
  upgrade_to "$old" "$work/old.log"
  [ "$(stat -c %G /etc/zorelad/Text/3/24.z)" = root ] || fail "the old layout was not installed"
  zorelad-import "$work/edited.txt" /etc/zorelad/Text >/dev/null || fail "the import into the old layout failed"
  printf '\r\n' >>/etc/zorelad/Text/3/24.z
  printf 'school' >>/etc/zorelad/Media/s.bmp
  sums=$(md5sum /etc/zorelad/Text/1/1.z /etc/zorelad/Text/3/24.z /etc/zorelad/Media/s.bmp)
  upgrade_to "$deb" "$work/migrate.log"
  [ "$(dpkg-query -W -f='${Version}' zorelad)" = "$version" ] || fail "the upgrade from the old layout did not happen"
  [ "$(md5sum /etc/zorelad/Text/1/1.z /etc/zorelad/Text/3/24.z /etc/zorelad/Media/s.bmp)" = "$sums" ] \
    || fail "the upgrade from the old layout lost edits"
  group_can_write "after the upgrade from the old layout"
  say "an upgrade from conffile questions kept the edits, asked nothing, and gave them to the group"
  apt_remove || fail "apt-get purge failed"
  installed=no
  [ ! -e /etc/zorelad ] || fail "a purge after the upgrade from the old layout left /etc/zorelad: $(find /etc/zorelad)"
fi
echo "package test: 1 passed, 0 failed"
