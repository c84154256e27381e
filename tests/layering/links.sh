#!/usr/bin/env bash
# What the modules' libraries link: the core needs nothing of Qt but Qt Core,
# and the resources nothing of Qt Widgets. Checked twice: the libraries each
# target brings along (as CMake resolved them), and the symbols the built
# archive actually uses.
#   links.sh LINKS_DIR CORE_ARCHIVE RESOURCES_ARCHIVE QT_GUI_SO QT_WIDGETS_SO
set -uo pipefail
export LC_ALL=C
links=$1 core=$2 resources=$3 gui=$4 widgets=$5
bad=0

# Linked libraries: one per line in LINKS_DIR/<target>.txt.
forbid() { # target library...
  local target=$1; shift
  for lib in "$@"; do
    if grep -qx -- "$lib" "$links/$target.txt"; then
      echo "$target links $lib"
      bad=1
    fi
  done
}
forbid zorelad_core Qt6::Gui Qt6::Widgets Qt6::PrintSupport zorelad_ui
forbid zorelad_resources Qt6::Widgets Qt6::PrintSupport zorelad_ui
forbid zorelad_media zorelad_testing zorelad_app zorelad_ui
forbid zorelad_certificate zorelad_testing zorelad_app zorelad_media

# Used symbols: an archive's undefined symbols that a forbidden Qt library defines.
uses() { # archive library-so
  comm -12 <(nm --undefined-only --format=posix "$1" 2>/dev/null | awk '$2 == "U" {print $1}' | sort -u) \
           <(nm -D --defined-only --format=posix "$2" | awk '{sub(/@.*/, "", $1); print $1}' | sort -u)
}
for lib in "$gui" "$widgets"; do
  used=$(uses "$core" "$lib")
  [ -n "$used" ] && { echo "$(basename "$core") uses $(basename "$lib"):"; echo "$used" | head -5; bad=1; }
done
used=$(uses "$resources" "$widgets")
[ -n "$used" ] && { echo "$(basename "$resources") uses $(basename "$widgets"):"; echo "$used" | head -5; bad=1; }

[ $bad -eq 0 ] && echo "links: core on Qt Core only, resources without Qt Widgets, media and certificate without testing"
exit $bad
