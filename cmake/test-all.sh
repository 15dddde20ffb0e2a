#!/usr/bin/env bash
# Installs what is missing, builds the 32- and 64-bit Windows targets with their
# tests, and runs every test of the 64-bit build under Wine on a virtual display.
set -euo pipefail
source "$(dirname "$0")/harness.sh"

rt_install_packages
rt_build i686
rt_build x86_64

trap rt_stop EXIT
rt_start_wine
rt_log "running tests"
ctest --test-dir "$RT_BUILD/x86_64" --output-on-failure --timeout 300
