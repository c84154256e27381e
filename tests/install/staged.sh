#!/usr/bin/env bash
# Checks of `cmake --install` laid into a scratch directory (DESTDIR) with the
# prefix /usr, as the Debian package is.
#
#   staged.sh stage    BUILD_DIR STAGE_DIR   install into STAGE_DIR
#   staged.sh clean    BUILD_DIR STAGE_DIR   remove STAGE_DIR
#   staged.sh layout   BUILD_DIR STAGE_DIR   the program directory, launcher, checker, icons, docs
#   staged.sh desktop  BUILD_DIR STAGE_DIR   the desktop entry (desktop-file-validate)
#   staged.sh appstream BUILD_DIR STAGE_DIR  the AppStream metadata (appstreamcli)
set -euo pipefail
mode=$1
build=$(realpath "$2")
stage=$3
source_dir=$(realpath "$(dirname "$0")/../..")
usr=$stage/usr
program_dir=$usr/lib/zorelad
desktop=$usr/share/applications/zorelad.desktop
metainfo=$usr/share/metainfo/org.example.zorelad.metainfo.xml

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (package $2; tools/install-deps installs it)"; exit 1; }; }
finish() {
  if [ "$failures" -ne 0 ]; then echo "$mode: $failures check(s) failed"; exit 1; fi
  echo "$mode: all checks passed"
}
# desktop_value KEY: the value of KEY in the [Desktop Entry] group.
desktop_value() {
  awk -v key="$1" '/^\[/{group=$0} group=="[Desktop Entry]" && index($0, key "=")==1 {
    print substr($0, length(key) + 2); exit}' "$desktop"
}

case $mode in
stage)
  rm -rf "$stage"
  DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
  echo "staged into $stage"
  ;;

clean)
  rm -rf "$stage"
  ;;

layout)
  [ -d "$usr" ] || { echo "FAIL: nothing staged in $stage"; exit 1; }
  # Everything lies below /usr, but for what a school edits in /etc/zorelad.
  outside=$(cd "$stage" && find . -mindepth 1 -maxdepth 2 ! -path ./usr ! -path './usr/*' ! -path ./etc ! -path ./etc/zorelad)
  [ -z "$outside" ] || fail "installed outside /usr and /etc/zorelad: $outside"
  # The journal's settings, with nothing set: the journal stays off.
  conf=$stage/etc/zorelad/zorelad.conf
  [ -f "$conf" ] || fail "no /etc/zorelad/zorelad.conf"
  if grep -Eqv '^(#.*)?$' "$conf"; then fail "/etc/zorelad/zorelad.conf sets something"; fi
  "$usr/bin/zorelad-journal" --help | grep -q -- --class || fail "zorelad-journal --help names no --class"

  # The program directory: the executable with its data beside it.
  [ -x "$program_dir/zorelad" ] && [ ! -L "$program_dir/zorelad" ] || fail "no executable $program_dir/zorelad"
  head -c4 "$program_dir/zorelad" | grep -q 'ELF' || fail "$program_dir/zorelad is not an ELF executable"
  # The shipped questions and certificate picture lie in /usr/share/zorelad,
  # which the package copies to /etc/zorelad on its first install; the
  # program directory links to /etc/zorelad. Nothing of them is in /etc here.
  shipped=$usr/share/zorelad
  [ "$(readlink "$program_dir/Text")" = /etc/zorelad/Text ] || fail "Text is not a link to /etc/zorelad/Text"
  [ "$(readlink "$program_dir/Media/s.bmp")" = /etc/zorelad/Media/s.bmp ] || fail "Media/s.bmp is not a link to /etc/zorelad"
  [ "$(cd "$stage/etc/zorelad" && find . -mindepth 1)" = ./zorelad.conf ] \
    || fail "/etc/zorelad holds more than zorelad.conf: $(cd "$stage/etc/zorelad" && find . -mindepth 1)"
  for level in 1 2 3; do
    for n in $(seq 1 24); do
      cmp -s "$build/program/Text/$level/$n.z" "$shipped/Text/$level/$n.z" \
        || fail "Text/$level/$n.z missing or different"
    done
  done
  # The shipped texts, imported, give the shipped question files.
  restored=$(mktemp -d)
  if LANG=C.UTF-8 "$usr/bin/zorelad-import" "$shipped/questions/all-levels.txt" "$restored/Text" >"$restored/log" 2>&1; then
    diff -r "$shipped/Text" "$restored/Text" >/dev/null || fail "all-levels.txt does not give the shipped questions"
  else
    fail "all-levels.txt does not import: $(cat "$restored/log")"
  fi
  rm -rf "$restored"
  conf=$shipped
  for f in track1.mp3 1.avi; do
    cmp -s "$source_dir/data/Media/$f" "$program_dir/Media/$f" || fail "Media/$f missing or different"
  done
  cmp -s "$source_dir/data/Media/s.bmp" "$conf/Media/s.bmp" || fail "Media/s.bmp missing or different"
  extra=$(cd "$program_dir" && find . -type f ! -path './Text/*' ! -path './Media/*' ! -name zorelad)
  [ -z "$extra" ] || fail "unexpected files in the program directory: $extra"
  bad_modes=$(find "$usr" -type f -perm /022 -o -type d -perm /022)
  [ -z "$bad_modes" ] || fail "group- or world-writable: $bad_modes"
  bad_modes=$(find "$conf" -type f -perm /022 -o -type d -perm /022)
  [ -z "$bad_modes" ] || fail "group- or world-writable: $bad_modes"
  data_exec=$(find "$conf" "$program_dir/Media" -type f -perm /111)
  [ -z "$data_exec" ] || fail "executable data files: $data_exec"

  # The checker runs from bin/ and finds every shipped question fine.
  for tool in zorelad-check zorelad-export zorelad-import zorelad-editor zorelad-journal; do
    [ -x "$usr/bin/$tool" ] || fail "no $usr/bin/$tool"
  done
  for lang in uk en; do
    [ -f "$usr/share/zorelad/translations/zorelad-bank_$lang.qm" ] || fail "no $lang translation of the tools"
  done
  # The checker also names folders above the questions that pupils cannot
  # enter (the stage may lie in a private home), so it checks a copy, modes
  # kept, in a folder they may enter.
  questions=$(mktemp -d)
  chmod 755 "$questions"
  cp -a "$conf/Text" "$questions/"
  if out=$(LANG=C.UTF-8 "$usr/bin/zorelad-check" "$questions/Text" 2>&1); then
    grep -q "All 72 question files are fine" <<<"$out" || fail "zorelad-check said: $out"
  else
    fail "zorelad-check on the installed questions failed: $out"
  fi
  rm -rf "$questions"

  # The launcher: a script that runs the program from its own directory,
  # found relative to the launcher (also when called through a symlink).
  launcher=$usr/bin/zorelad
  [ -x "$launcher" ] && head -n1 "$launcher" | grep -q '^#!/bin/sh' || fail "$launcher is not a shell script"
  sh -n "$launcher" || fail "$launcher has a syntax error"
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  mkdir -p "$scratch/usr/bin" "$scratch/usr/lib/zorelad" "$scratch/elsewhere" "$scratch/links"
  cp "$launcher" "$scratch/usr/bin/zorelad"
  # A stand-in for the program that reports where and how it was started.
  printf '#!/bin/sh\necho "cwd=$(pwd -P) exe=$0 args=$*"\n' >"$scratch/usr/lib/zorelad/zorelad"
  chmod +x "$scratch/usr/lib/zorelad/zorelad"
  ln -s ../usr/bin/zorelad "$scratch/links/zorelad"
  want_dir=$(cd "$scratch/usr/lib/zorelad" && pwd -P)
  for start in "$scratch/usr/bin/zorelad" "$scratch/links/zorelad"; do
    got=$(cd "$scratch/elsewhere" && "$start" a b)
    [ "$got" = "cwd=$want_dir exe=$want_dir/zorelad args=a b" ] \
      || fail "launcher $start started: '$got', expected the program in $want_dir run from there"
  done
  # When the program is missing the launcher fails instead of starting something else.
  rm "$scratch/usr/lib/zorelad/zorelad"
  if (cd "$scratch/elsewhere" && "$scratch/usr/bin/zorelad") >/dev/null 2>&1; then
    fail "launcher succeeded without a program"
  fi

  # The icon at every drawn size, in the hicolor theme, each of its directory's size.
  for size in 16 22 24 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/zorelad.png
    if [ -f "$icon" ]; then
      dims=$(identify -format '%wx%h' "$icon")
      [ "$dims" = "${size}x${size}" ] || fail "$icon is $dims"
    else
      fail "no icon $icon"
    fi
  done

  # Manual pages and the package's documents, compressed as Debian wants them.
  # Every command in bin/ has its manual page, and zorelad(1) lists them all.
  for f in doc/zorelad/changelog.gz; do
    gzip -t "$usr/share/$f" 2>/dev/null || fail "$usr/share/$f missing or not gzip"
  done
  for command in "$usr"/bin/*; do
    page=$(basename "$command")
    man=$usr/share/man/man1/$page.1.gz
    if gzip -t "$man" 2>/dev/null; then
      zcat "$man" | grep -q "^\.TH $(tr a-z A-Z <<<"$page") 1" || fail "manual page $page.1 has no title line"
      [ "$page" = zorelad ] || zcat "$usr/share/man/man1/zorelad.1.gz" | grep -q "^\.BR $page (1)" \
        || fail "zorelad(1) does not list $page"
    else
      fail "no manual page for $page"
    fi
  done
  # The teachers' guide, where the editor's Help menu opens it.
  grep -q '^# ' "$usr/share/doc/zorelad/teacher-guide-uk.md" 2>/dev/null || fail "no teachers' guide"
  # The polkit action that lets pkexec run the importer.
  action=$usr/share/polkit-1/actions/org.example.zorelad.import.policy
  dtd=/usr/share/polkit-1/policyconfig-1.dtd # polkitd's, when it is installed
  if [ -f "$dtd" ]; then valid=(--dtdvalid "$dtd"); else valid=(); fi
  need xmllint libxml2-utils
  if xmllint --noout "${valid[@]}" "$action" 2>/dev/null; then
    grep -q '<annotate key="org.freedesktop.policykit.exec.path">/usr/bin/zorelad-import</annotate>' "$action" \
      || fail "the polkit action does not name /usr/bin/zorelad-import"
  else
    fail "no polkit action, or not valid: $(xmllint --noout "${valid[@]}" "$action" 2>&1)"
  fi
  grep -q '^License: GPL-3.0-or-later' "$usr/share/doc/zorelad/copyright" || fail "copyright names no licence"
  version=$(sed -n 's/^project(zorelad VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
  zcat "$usr/share/doc/zorelad/changelog.gz" | head -n1 | grep -q "^zorelad ($version) " \
    || fail "changelog does not start with version $version"
  finish
  ;;

desktop)
  need desktop-file-validate desktop-file-utils
  [ -f "$desktop" ] || { echo "FAIL: no $desktop"; exit 1; }
  if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
    fail "desktop-file-validate: $out"
  fi
  [ "$(desktop_value Type)" = Application ] || fail "Type is not Application"
  [ "$(desktop_value Name)" = Zorelad ] || fail "Name is '$(desktop_value Name)'"
  [ "$(desktop_value 'Name[uk]')" = "Зорелад" ] || fail "Name[uk] is '$(desktop_value 'Name[uk]')'"
  [ -n "$(desktop_value Comment)" ] || fail "no Comment"
  [ -n "$(desktop_value 'Comment[uk]')" ] || fail "no Comment[uk]"
  [ "$(desktop_value Exec)" = zorelad ] || fail "Exec is '$(desktop_value Exec)'"
  [ -x "$usr/bin/$(desktop_value Exec)" ] || fail "Exec names no installed command"
  # The certificate picture is opened relative to the working directory.
  [ "$(desktop_value Path)" = /usr/lib/zorelad ] || fail "Path is '$(desktop_value Path)'"
  # There it is a link to the picture in /etc/zorelad, which the package
  # copies from the shipped one.
  [ "$(readlink "$stage$(desktop_value Path)/Media/s.bmp")" = /etc/zorelad/Media/s.bmp ] \
    && [ -f "$usr/share/zorelad/Media/s.bmp" ] || fail "no certificate picture below Path"
  [ "$(desktop_value Icon)" = zorelad ] || fail "Icon is '$(desktop_value Icon)'"
  [ -f "$usr/share/icons/hicolor/48x48/apps/$(desktop_value Icon).png" ] || fail "Icon names no installed icon"
  grep -q '^Categories=Education;' "$desktop" || fail "not in the Education category"
  # The journal's page: its own entry, running the installed reader.
  desktop=$usr/share/applications/zorelad-results.desktop
  if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
    fail "results entry: desktop-file-validate: $out"
  fi
  [ "$(desktop_value 'Name[uk]')" = "Результати Зорелад" ] || fail "results entry: Name[uk] is '$(desktop_value 'Name[uk]')'"
  [ "$(desktop_value Exec)" = "zorelad-journal --open" ] && [ -x "$usr/bin/zorelad-journal" ] \
    || fail "results entry: Exec is '$(desktop_value Exec)'"
  finish
  ;;

appstream)
  need appstreamcli appstream
  [ -f "$metainfo" ] || { echo "FAIL: no $metainfo"; exit 1; }
  # No network here: the URLs (homepage, screenshots) are not fetched.
  out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
  echo "$out"
  # The whole tree: the metadata, the desktop entry it launches and the icon agree.
  out=$(appstreamcli validate-tree --no-net "$usr" 2>&1) || fail "appstreamcli validate-tree: $out"
  echo "$out"
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  [ -f "$usr/share/applications/$launchable" ] || fail "launchable '$launchable' is not installed"
  for shot in main-window question graded; do
    grep -q "<image>https://[^<]*/$shot.png</image>" "$metainfo" || fail "no screenshot $shot.png"
    [ -f "$source_dir/docs/$shot.png" ] || fail "docs/$shot.png, the screenshot to publish, is missing"
  done
  version=$(sed -n 's/^project(zorelad VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
  grep -q "<release version=\"$version\"" "$metainfo" || fail "no release entry for $version"
  grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "no OARS content rating"
  finish
  ;;

*)
  echo "usage: staged.sh stage|clean|layout|desktop|appstream BUILD_DIR STAGE_DIR" >&2
  exit 2
  ;;
esac
