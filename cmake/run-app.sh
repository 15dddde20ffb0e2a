#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit application and runs it under Wine.
# With a working display ($DISPLAY) the dialog opens there and the script waits
# for it to close; without one it runs on a virtual display and saves a
# screenshot to build/app-screenshot.png.
set -euo pipefail
source "$(dirname "$0")/harness.sh"

rt_install_packages
rt_build x86_64 name_entry
app=$RT_BUILD/x86_64/app/name_entry.exe

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  USE_DISPLAY=$DISPLAY
fi
trap rt_stop EXIT
rt_start_wine

if [ -n "${USE_DISPLAY:-}" ]; then
  rt_log "running on $DISPLAY; close the dialog to finish"
  set +e; "$WINELOADER" "$app"; code=$?; set -e
  rt_log "exit code $code"
  exit "$code"
fi

"$WINELOADER" "$app" &
app_pid=$!
for _ in $(seq 50); do
  xdotool search --name 'Enter Your Name' >/dev/null 2>&1 && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
sleep 1
shot=$RT_BUILD/app-screenshot.png
import -window root "$shot"
rt_log "screenshot saved to $shot"
if kill -0 "$app_pid" 2>/dev/null; then
  rt_log "application still running: stopping it"
else
  wait "$app_pid" && rt_log "application exited with code 0" || rt_log "application exited with code $?"
fi
