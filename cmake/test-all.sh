#!/usr/bin/env bash
# The whole check: installs what is missing, checks the runtime's layers,
# builds every variant (GCC and Clang, 64- and 32-bit, tests included),
# runs the 64-bit tests of both compilers under Wine on a virtual display,
# then the 32-bit tests under 32-bit Wine in an emulated machine. Prints one
# summary line per architecture and fails when any test or build failed.
set -euo pipefail
source "$(dirname "$0")/harness.sh"

rt_install_packages
# The guest image, when missing, is made meanwhile; the guest run below waits
# for it (the script itself serialises makers and users of the image).
mkdir -p "$RT_BUILD"
image_log=$RT_BUILD/i686-guest-image.log
bash "$RT_ROOT/cmake/i686-guest.sh" --image-only >"$image_log" 2>&1 &
image_pid=$!
trap 'kill $image_pid 2>/dev/null || true' EXIT
bash "$RT_ROOT/cmake/check-layers.sh"
for variant in x86_64 clang-x86_64 clang-i686; do
  rt_build "$variant"
  rt_build_starter "$variant"
done

status=0
summaries=()
trap 'rt_stop; kill $image_pid 2>/dev/null || true' EXIT
rt_start_wine
for variant in x86_64 clang-x86_64; do
  line=$(rt_run_suite "$variant") || status=1
  summaries+=("$line")
done
rt_stop

if wait "$image_pid"; then
  grep -h "guest image ready" "$image_log" >&2 || true
else
  rt_log "making the guest image failed:"
  tail -n 30 "$image_log" >&2 || true
fi
guest_output=$(mktemp)
bash "$RT_ROOT/cmake/i686-guest.sh" | tee "$guest_output" >&2 || status=1
summaries+=("$(tail -n 1 "$guest_output")")
rm -f "$guest_output"

rt_log "summary"
printf '%s\n' "${summaries[@]}"
rt_total "${summaries[@]}"
exit $status
