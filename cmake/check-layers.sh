#!/usr/bin/env bash
# Checks that the runtime's folders form layers: a file includes headers of
# its own subsystem or of the layers below it, never above, and the public
# headers never include the runtime's internal ones. Prints each violation
# and fails when there is one.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root/runtime"

# Subsystem of a header, by name; subsystems of one rank are peers.
subsystem_of_header() {
  case "$1" in
    rt_memory.h|rt_strings.h|rt_numbers.h) echo memory ;;
    rt_records.h|rt_core.h) echo core ;;
    rt_controls.h|rt_controls_internal.h|subclass_common.h|rt_dpi.h) echo controls ;;
    rt_events.h) echo events ;;
    rt_windows.h|rt_windows_internal.h) echo windows ;;
    rt_dialogs.h|rt_dialogs_internal.h) echo dialogs ;;
    rt_winutil.h|rt_winutil_internal.h) echo winutil ;;
    rt_program.h|corvantis.h) echo program ;;
    *) echo unknown ;;
  esac
}
rank_of() {
  case "$1" in
    memory) echo 0 ;; core) echo 1 ;; controls|events) echo 2 ;; windows) echo 3 ;;
    dialogs) echo 4 ;; winutil) echo 5 ;; program) echo 6 ;; *) echo 99 ;;
  esac
}

failures=0
check_file() {
  local file=$1 own=$2 public=$3 header target
  while read -r header; do
    [ -n "$header" ] || continue
    target=$(subsystem_of_header "$header")
    if [ "$target" = unknown ]; then
      echo "layers: $file includes \"$header\", which belongs to no layer"; failures=$((failures + 1))
    elif [ "$target" != "$own" ] && [ "$(rank_of "$target")" -ge "$(rank_of "$own")" ]; then
      echo "layers: $file ($own) includes \"$header\" ($target), a layer not below it"; failures=$((failures + 1))
    elif [ "$public" = 1 ] && [ "${header%_internal.h}" != "$header" -o "$header" = rt_core.h ]; then
      echo "layers: public $file includes the internal \"$header\""; failures=$((failures + 1))
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file" | sed 's#.*/##')
}

for dir in memory core controls events windows dialogs winutil; do
  for file in "$dir"/*.cpp "$dir"/*.h; do
    [ -e "$file" ] && check_file "$file" "$dir" 0
  done
done
for file in include/*.h; do check_file "$file" "$(subsystem_of_header "${file#include/}")" 1; done
for file in internal/*.h; do check_file "$file" "$(subsystem_of_header "${file#internal/}")" 0; done

if [ "$failures" -gt 0 ]; then
  echo "layers: $failures include(s) against the layers"
  exit 1
fi
echo "layers: memory < core < controls, events < windows < dialogs < winutil: no include against them"
