#!/usr/bin/env bash
# Builds the release variant, runs every benchmark under the tests' Wine
# set-up and prints one table: each figure, what it is compared with, their
# ratio and its target; then the programs' sizes against the same dialog
# written directly against Win32, and where the application's bytes come from.
# Figures are only meaningful on an otherwise idle machine.
set -euo pipefail
source "$(dirname "$0")/harness.sh"

PROGRAMS=(name_entry gallery baseline_dialog)
BENCHES=(string_bench dispatch_bench paint_bench startup_bench)
SCALING=scaling_bench
APP_LIMIT=20480        # name_entry.exe built with GCC
CLANG_APP_LIMIT=24576  # and with Clang

rt_install_packages
rt_build x86_64 "${PROGRAMS[@]}" name_entry_layout "${BENCHES[@]}" "$SCALING"
rt_build_starter x86_64
rt_build i686 "${PROGRAMS[@]}" name_entry_layout
rt_build_starter i686
rt_build clang-x86_64 name_entry
rt_build clang-i686 name_entry

rows=$(mktemp)
scaling=$(mktemp)
trap 'rt_stop; rm -f "$rows" "$scaling"' EXIT
# From here on the display, the Wine server, Wine's services and every
# benchmark share one processor. Spread over two, each server round trip
# waits for a wake-up on the other processor: several times slower, and
# varying by 10% between identical runs, which buries what the targets ask.
taskset -pc 0 $$ >/dev/null
rt_start_wine
bin=$RT_BUILD/x86_64/bench
for bench in "${BENCHES[@]}"; do
  rt_log "running $bench"
  args=()
  [ "$bench" != startup_bench ] ||
    args=("Z:$RT_BUILD/x86_64/app/name_entry.exe" "Z:$bin/baseline_dialog.exe" 201)
  "$WINELOADER" "$bin/$bench.exe" "${args[@]}" | tr -d '\r' | tee /dev/stderr | grep '^row' >>"$rows"
done
rt_log "running $SCALING"
"$WINELOADER" "$bin/$SCALING.exe" | tr -d '\r' | tee /dev/stderr >"$scaling"
grep '^row' "$scaling" >>"$rows" || true

# Request counts: the pump and paint benchmarks once more with "count", the
# Wine server (started anew) tracing every request. A benchmark marks where
# each counted piece of work begins and ends (bench_util.h); the requests
# its thread makes in between, divided by the repetitions, are the figure.
rt_log "counting server requests"
"$WINESERVER" -k >/dev/null 2>&1 || true
wait "$RT_WINESERVER_PID" 2>/dev/null || true
trace=$RT_BUILD/wine/requests.trace
# A program started before the traced server listens starts an untraced one
# of its own, and the traced one gives up: wait until it has started.
traced_server() {
  "$WINESERVER" -f -d1 2>"$1" &
  RT_WINESERVER_PID=$!
  local i
  for i in $(seq 100); do
    grep -q '^wineserver: starting' "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  rt_log "the traced Wine server did not start"
}
traced_server "$trace"
for bench in dispatch_bench paint_bench "$SCALING"; do
  "$WINELOADER" "$bin/$bench.exe" count >/dev/null
done
# A traced server that a program did not reach (seen once) has no marks.
grep -q 'rt-begin:' "$trace" || rt_log "the traced Wine server saw none of the benchmarks: the requests rows are empty"
"$WINESERVER" -k >/dev/null 2>&1 || true
wait "$RT_WINESERVER_PID" 2>/dev/null || true
# Start-up: each program started under a new traced server, until its
# dialog shows; the requests of its thread up to that.
startup_requests() {
  local trace_start=$RT_BUILD/wine/startup.trace
  traced_server "$trace_start"
  "$WINELOADER" cmd /c exit >/dev/null 2>&1 || true
  "$WINELOADER" "$1" >/dev/null 2>&1 &
  local program=$!
  sleep 5
  kill "$program" 2>/dev/null || true
  "$WINESERVER" -k >/dev/null 2>&1 || true
  wait "$RT_WINESERVER_PID" 2>/dev/null || true
  awk -f "$RT_ROOT/cmake/startup-requests.awk" "$trace_start" | tail -n 1 | cut -d' ' -f2-
}
# The application's count against the plain program's, within what the
# runtime is defined to do before its dialog shows (the allowance) and two.
read -r app_requests app_allowance < <(startup_requests "$RT_BUILD/x86_64/app/name_entry.exe")
read -r plain_requests _ < <(startup_requests "$bin/baseline_dialog.exe")
printf 'row\trequests: start to dialog visible (vs plain Win32; allowance %s)\t%s\t%s\treq\t<= +%s\n' \
  "$app_allowance" "$app_requests" "$plain_requests" "$((app_allowance + 2))" >>"$rows"
RT_WINESERVER_PID=
# Beside each count, the requests that read, write or remove the window
# properties the controls and dialogs are defined to keep: the allowance
# the scaling rows give the runtime over raw Win32.
counts=$(awk '
  BEGIN {
    split("LPFN FGRND BGRND BBRUSH NOTIFY_TAB NOTIFY_ENTER DOHOT HBRUSH HTCLR BORDERWIDTH HOTBMP NORBMP SELBMP DLGPTR _ACCEL_TABLE", names, " ")
    for (i in names) named["name=L\"" names[i] "\""] = 1
  }
  { tid = substr($0, 1, index($0, ":") - 1) }
  index($0, "name=L\"rt-begin:") {
    s = $0; sub(/.*name=L"rt-begin:/, "", s); sub(/".*/, "", s); open[tid] = s; n[s] = 0; p[s] = 0; next
  }
  index($0, "name=L\"rt-end:") {
    s = $0; sub(/.*name=L"rt-end:/, "", s); sub(/".*/, "", s); split(s, part, ":")
    printf "%s\t%.2f\t%.2f\n", part[1], n[part[1]] / part[2], p[part[1]] / part[2]; delete open[tid]; next
  }
  (tid in open) && $0 ~ /^[0-9a-f]+: [a-z_0-9]+\(/ && $0 !~ /\) = / {
    n[open[tid]]++
    if ($0 ~ /_window_property\(/ && match($0, /name=L"[A-Z_]+"/) && (substr($0, RSTART, RLENGTH) in named)) p[open[tid]]++
  }' "$trace")
count_of() { awk -F'\t' -v k="$1" '$1 == k { print $2 }' <<<"$counts"; }
allowance_of() { awk -F'\t' -v k="$1" '$1 == k { print $3 }' <<<"$counts"; }
while IFS='|' read -r id what target; do
  printf 'row\trequests: %s\t%s\t%s\treq\t%s\n' "$what" "$(count_of "$id.rt")" "$(count_of "$id.base")" \
    "$target" >>"$rows"
done <<'EOF_ROWS'
check|one GetPropA (vs nothing): the count's own check|
pump-window|posted message, WaitEvents(1) (vs Peek/Dispatch loop)|<= +0
pump-key|posted key, WaitEvents(1) (vs Peek/Translate/Dispatch loop)|<= +1
pump-dialog|posted to a dialog, WaitEvents(1) (vs loop with IsDialogMessage)|<= +0
paint-small|paint 100x100 (vs idiomatic Win32 paint)|<= +1
paint-whole|paint whole 1000x700 (vs idiomatic Win32 paint)|<= +1
EOF_ROWS
printf 'row\trequests: %s\t%s\t%s\treq\t%s\n' "pointer move over a hot-tracking button (vs a system button)" \
  "$(count_of hover.rt)" "$(count_of hover.base)" "<= +1" >>"$rows"
# The scaling table's lines, with the requests of each piece of work.
scaling_rows=$(while IFS=$'\t' read -r _ work n phase figure baseline; do
  label=scale-$work-$n-$phase
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$work" "$n" "$phase" "$figure" "$baseline" \
    "$(count_of "$label.rt")" "$(count_of "$label.base")" "$(allowance_of "$label.rt")"
done < <(grep '^scale' "$scaling"))
rt_stop

size() { stat -c %s "$1"; }
for arch in x86_64 i686; do
  dir=$RT_BUILD/$arch
  base=$(size "$dir/bench/baseline_dialog.exe")
  printf 'row\t%s\t%s\t%s\tB\t%s\n' "name_entry.exe, $arch (vs plain Win32)" "$(size "$dir/app/name_entry.exe")" \
    "$base" "<= $APP_LIMIT B" >>"$rows"
  printf 'row\t%s\t%s\t%s\tB\t%s\n' "name_entry.exe, $arch, Clang (vs plain Win32)" \
    "$(size "$RT_BUILD/clang-$arch/app/name_entry.exe")" "$base" "<= $CLANG_APP_LIMIT B" >>"$rows"
  printf 'row\t%s\t%s\t%s\tB\t\n' "gallery.exe, $arch (vs plain Win32)" \
    "$(size "$dir/examples/gallery/gallery.exe")" "$base" >>"$rows"
  printf 'row\t%s\t%s\t%s\tB\t\n' "starter.exe, $arch (vs plain Win32)" "$(size "$dir/starter/starter.exe")" \
    "$base" >>"$rows"
done

rt_log "results (run on processor 0 of $(nproc --all), load average $(cut -d' ' -f1-3 /proc/loadavg))"
awk -F'\t' '
  BEGIN { printf "%-62s %12s %12s %8s %10s  %s\n", "", "figure", "baseline", "ratio", "target", ""; bad = 0 }
  {
    ratio = $4 > 0 ? $3 / $4 : 0
    verdict = ""
    if ($6 ~ /^<= [0-9.]+$/) { split($6, t, " "); verdict = ratio <= t[2] ? "met" : "MISSED" }
    else if ($6 ~ /^<= \+[0-9]+$/) { t2 = substr($6, 5) + 0; verdict = $3 - $4 <= t2 + 0.005 ? "met" : "MISSED" }
    else if ($6 ~ / B$/) { split($6, t, " "); verdict = $3 <= t[2] ? "met" : "MISSED" }
    if (verdict == "MISSED") bad++
    # Requests: the difference instead of the ratio.
    if ($5 == "req") printf "%-62s %10.2f %-3s %9.2f %+8.2f %10s  %s\n", $2, $3, $5, $4, $3 - $4, $6, verdict
    else printf "%-62s %10.6g %-3s %9.6g %8.3f %10s  %s\n", $2, $3, $5, $4, ratio, $6, verdict
  }
  END { if (bad) printf "%d target(s) missed\n", bad }' "$rows"

# Where the application's bytes come from: per source unit, from the map of
# the same program linked with one section per function and the symbols of
# the objects it was made of. Functions of anonymous namespaces are found by
# their name in the sources. That link pads every function to 16 bytes, so
# its code is somewhat larger than the program's.
for arch in x86_64 i686; do
  dir=$RT_BUILD/$arch
  prefix=$arch-w64-mingw32
  symbols=$(mktemp)
  "$prefix-nm" -A --defined-only "$dir/runtime/libcorvantis_runtime.a" "$dir/app/libcorvantis_entry.a" \
    "$dir/app/CMakeFiles/name_entry_layout.dir/name_entry.cpp.obj" >"$symbols" 2>/dev/null || true
  map=$dir/app/name_entry_layout.map
  grep -o '_GLOBAL__N_1[0-9]*[A-Za-z_]*' "$map" | sort -u | while read -r mangled; do
    rest=${mangled#_GLOBAL__N_1}
    length=${rest%%[!0-9]*}
    name=${rest:${#length}:$length}
    file=$(grep -lE "^[A-Za-z].*[ *&]$name\(" "$RT_ROOT"/runtime/*/*.cpp "$RT_ROOT"/app/*.cpp 2>/dev/null | head -n 1 || true)
    [ -z "$file" ] || grep -o "[_A-Za-z0-9]*$mangled[A-Za-z0-9_]*" "$map" | sort -u |
      sed "s|^|source:$(basename "$file").obj:0 t |"
  done >>"$symbols"
  printf '\nname_entry.exe, %s: %s bytes; bytes per source unit (linked a section per function: %s bytes)\n' \
    "$arch" "$(size "$dir/app/name_entry.exe")" "$(size "$dir/app/name_entry_layout.exe")"
  printf '%-30s %7s %7s %7s %7s %7s\n' unit code rodata unwind imports total
  awk -f "$RT_ROOT/cmake/size-table.awk" "$symbols" "$map" | sort -k6,6nr
  sections=
  while read -r _ name hexsize _; do
    sections+="${sections:+, }$name $((16#$hexsize))"
  done < <("$prefix-objdump" -h "$dir/app/name_entry.exe" | grep -E '^ +[0-9]+ ')
  echo "sections (bytes): $sections"
  rm -f "$symbols"
done

# How cost grows with the controls: (a) a dialog of push buttons, labels and
# edit boxes, every fourth with colours of its own; (b) the same sharing one
# font, brush and bitmap; (c) a window with the same children. Each defined,
# shown until painted and closed, through the runtime and directly against
# Win32. Time within 1.2 times raw Win32's; requests within raw Win32's,
# the requests for the window properties the controls and dialogs are
# defined to keep (the allowance), and two of the runtime's own per window.
printf '\nscaling (ms and requests; per control in us and requests)\n'
awk -F'\t' '
  BEGIN {
    printf "%-4s %5s %-6s %10s %10s %6s %8s %8s %7s %7s %7s %8s %8s %7s  %s\n", "work", "n", "phase", "ms", "raw ms",
      "ratio", "us/ctl", "raw", "req", "raw req", "allow", "req/ctl", "raw", "allow", "time / requests"
  }
  {
    ratio = $5 > 0 ? $4 / $5 : 0
    t = ratio <= 1.2 ? "met" : "MISSED"
    r = $6 <= $7 + $8 + 2.005 ? "met" : "MISSED"
    printf "%-4s %5d %-6s %10.2f %10.2f %6.2f %8.1f %8.1f %7d %7d %7d %8.2f %8.2f %7.2f  %s / %s\n", $1, $2, $3, $4, $5,
      ratio, $4 * 1000 / $2, $5 * 1000 / $2, $6, $7, $8, $6 / $2, $7 / $2, $8 / $2, t, r
  }' <<<"$scaling_rows"

