#!/usr/bin/env bash
# The include graph of src/ against the modules' layering: every #include "…"
# of a module's file must name a header of the module itself or of a module
# below it. Prints each arrow that points the wrong way.
#   includes.sh SRC_DIR
set -uo pipefail
src=${1:?usage: includes.sh SRC_DIR}

# What each module may include besides itself; app, at the top, may use all.
declare -A allowed=(
  [core]=""
  [ui]="core"
  [resources]="core"
  [media]="core"
  [certificate]="core ui"
  [testing]="core ui"
  [about]="core ui"
  [journal]="core"
  [bank]="core ui testing"
  [editor]="core ui testing"
  [app]="core ui resources media certificate testing about journal"
)

# Which module each header belongs to.
declare -A owner=()
for dir in "$src"/*/; do
  module=$(basename "$dir")
  [ -n "${allowed[$module]+set}" ] || { echo "module $module is missing from the layering table"; exit 1; }
  while IFS= read -r header; do
    owner[$(basename "$header")]=$module
  done < <(find "$dir" -name '*.h')
done

bad=0
for dir in "$src"/*/; do
  module=$(basename "$dir")
  while IFS= read -r file; do
    while IFS= read -r header; do
      target=${owner[$header]:-}
      [ -z "$target" ] && continue # a generated or system header
      [ "$target" = "$module" ] && continue
      case " ${allowed[$module]} " in
        *" $target "*) ;;
        *) echo "${file#"$src"/} includes $header: $module may not use $target"; bad=1 ;;
      esac
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" | xargs -r -n1 basename)
  done < <(find "$dir" -name '*.h' -o -name '*.cpp')
done
[ $bad -eq 0 ] && echo "includes: every arrow points down"
exit $bad
