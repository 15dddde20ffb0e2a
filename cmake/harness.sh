# Shell functions shared by the build-and-test and the run scripts. Sourced,
# not run. Everything started here is stopped by process id in rt_stop.

RT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RT_BUILD=${RT_BUILD:-$RT_ROOT/build}
RT_PACKAGES=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 clang lld llvm googletest wine wine64
             fonts-wine fonts-dejavu-core xvfb xauth xdotool imagemagick)
RT_WINE_LOADER=/usr/lib/wine/wine64
RT_WINE_SERVER=/usr/lib/wine/wineserver64

rt_log() { printf '== %s\n' "$*" >&2; }

# Installs whatever of RT_PACKAGES is missing (no i386 packages: they cannot run here).
rt_install_packages() {
  local missing=() p
  for p in "${RT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  rt_log "installing ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# rt_build VARIANT [TARGET...]: configures and builds build/VARIANT with
# cmake/toolchain-VARIANT.cmake (i686, x86_64, clang-i686, clang-x86_64).
rt_build() {
  local arch=$1; shift
  local dir=$RT_BUILD/$arch
  rt_log "building $arch"
  cmake -S "$RT_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$RT_ROOT/cmake/toolchain-$arch.cmake" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$dir" -j"$(nproc)" --target "$@"
  else
    cmake --build "$dir" -j"$(nproc)"
  fi
}

# rt_build_starter VARIANT: installs build/VARIANT's package into
# build/VARIANT/install and builds, outside the project's tree, against it:
# examples/starter into build/VARIANT/starter and tests/programs into
# build/VARIANT/programs (with GCC also optimised whole, into programs-lto).
# Tests run what it built.
rt_build_starter() {
  local variant=$1 dir=$RT_BUILD/$1
  rt_log "building the starter and the programs against the installed $variant package"
  cmake --install "$dir" --prefix "$dir/install" >/dev/null
  local project out options
  for project in examples/starter:starter tests/programs:programs tests/programs:programs-lto; do
    out=${project#*:}
    options=()
    if [ "$out" = programs-lto ]; then
      case $variant in clang-*) continue ;; esac
      options=(-DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON)
    fi
    cmake -S "$RT_ROOT/${project%%:*}" -B "$dir/$out" -DCMAKE_PREFIX_PATH="$dir/install" \
          -DCMAKE_TOOLCHAIN_FILE="$RT_ROOT/cmake/toolchain-$variant.cmake" "${options[@]}" >/dev/null
    cmake --build "$dir/$out"
  done
}

# rt_run_suite VARIANT: runs the tests of build/VARIANT under the started
# Wine (their output goes to the terminal) and prints one line
# "VARIANT: N passed, M failed (T s)". Fails when a test failed.
rt_run_suite() {
  local variant=$1 start=$SECONDS log rc=0
  log=$(mktemp)
  rt_log "running the $variant tests"
  ctest --test-dir "$RT_BUILD/$variant" --output-on-failure | tee "$log" >&2 || rc=1
  local line passed=0 failed=0
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    passed=$(( $(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line") - failed ))
  else
    rc=1
  fi
  rm -f "$log"
  echo "$variant: $passed passed, $failed failed ($((SECONDS - start)) s)"
  return $rc
}

# rt_total LINE...: adds up "NAME: N passed, M failed ..." lines into the
# closing line a CI reads.
rt_total() {
  local passed=0 failed=0 line
  for line in "$@"; do
    [[ $line =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]] || { failed=$((failed + 1)); continue; }
    passed=$((passed + BASH_REMATCH[1]))
    failed=$((failed + BASH_REMATCH[2]))
  done
  echo "total: $passed passed, $failed failed"
}

rt_wine_env() {
  export WINEPREFIX=$RT_BUILD/wine/prefix
  export WINEARCH=win64
  export WINELOADER=$RT_WINE_LOADER
  export WINESERVER=$RT_WINE_SERVER
  export WINEDEBUG=-all
  # Without its debugger a crashing program ends at once; with it, the crash
  # waits until the test's time limit.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
}

# Starts a virtual display, unless USE_DISPLAY names a real one to use.
rt_start_display() {
  if [ -n "${USE_DISPLAY:-}" ]; then
    export DISPLAY=$USE_DISPLAY
    return 0
  fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$RT_BUILD/wine/xvfb.log" 2>&1 &
  RT_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    kill -0 "$RT_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rt_log "Xvfb did not start"; return 1
}

# A private prefix: created once, with Wine's own fonts (dialog metrics depend on
# the bitmap "MS Sans Serif") and Wine drawing window frames itself.
rt_make_prefix() {
  [ -f "$WINEPREFIX/.rt-ready" ] && return 0
  rt_log "creating Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINELOADER" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # Wine's faces lack Greek and more. Like Windows, it links fallback faces
  # behind its UI faces, among them "Segoe UI Symbol" from SEGUISYM.TTF: that
  # link is given a face that covers them.
  cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$WINEPREFIX/drive_c/windows/Fonts/seguisym.ttf"
  "$WINELOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'Segoe UI Symbol' /d 'DejaVu Sans' /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.rt-ready"
}

# Display, prefix and one persistent wineserver for the whole run.
rt_start_wine() {
  mkdir -p "$RT_BUILD/wine"
  rt_wine_env
  rt_start_display
  rt_make_prefix
  "$WINESERVER" -f -p >"$RT_BUILD/wine/wineserver.log" 2>&1 &
  RT_WINESERVER_PID=$!
  # The first program also brings up Wine's services; later ones start fast.
  "$WINELOADER" cmd /c exit >/dev/null 2>&1 || true
}

rt_stop() {
  if [ -n "${RT_WINESERVER_PID:-}" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    kill "$RT_WINESERVER_PID" 2>/dev/null || true
    wait "$RT_WINESERVER_PID" 2>/dev/null || true
    RT_WINESERVER_PID=
  fi
  if [ -n "${RT_XVFB_PID:-}" ]; then
    kill "$RT_XVFB_PID" 2>/dev/null || true
    wait "$RT_XVFB_PID" 2>/dev/null || true
    RT_XVFB_PID=
  fi
}
