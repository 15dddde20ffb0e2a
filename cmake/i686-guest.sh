#!/usr/bin/env bash
# Runs the tests of the 32-bit build under 32-bit Wine inside an emulated
# amd64 Debian machine: this machine's kernel refuses 32-bit programs, a guest
# kernel running under software emulation does not.
#
#   bash cmake/i686-guest.sh                  build build/i686 and run its tests
#   bash cmake/i686-guest.sh --image-only     only make the guest image
#   bash cmake/i686-guest.sh --rebuild-image  make the image anew, then run
#
# The image (kernel, initrd, ext4 disk with a baked Wine prefix) lives outside
# the clone, in RT_GUEST_CACHE, so later runs and other clones reuse it. Every
# run boots it with snapshot=on, so the disk is the same each time.
# Settings: RT_GUEST_CACHE, RT_GUEST_TIMEOUT (s, whole run), RT_GUEST_CPUS,
# RT_GUEST_MEM (MiB). Results go to build/i686/guest-results/.
set -euo pipefail
source "$(dirname "$0")/harness.sh"

GUEST_CACHE=${RT_GUEST_CACHE:-/var/cache/corvantis-i686-guest}
GUEST_TIMEOUT=${RT_GUEST_TIMEOUT:-5400}
GUEST_CPUS=${RT_GUEST_CPUS:-2}
GUEST_MEM=${RT_GUEST_MEM:-4096}
GUEST_HOST_PACKAGES=(qemu-system-x86 mmdebstrap e2fsprogs)
GUEST_PACKAGES=(linux-image-amd64 initramfs-tools kmod mount wine wine32:i386 wine64 fonts-wine
                fonts-dejavu-core xvfb xauth xdotool imagemagick cmake)
GUEST_MIRRORS=("deb http://deb.debian.org/debian bookworm main"
               "deb http://deb.debian.org/debian bookworm-updates main"
               "deb http://deb.debian.org/debian-security bookworm-security main")
# Inside the guest: a win32 prefix driven by the 32-bit loader and server.
GUEST_PREFIX=/opt/rt-wine
GUEST_LOADER=/usr/lib/wine/wine
GUEST_SERVER=/usr/lib/wine/wineserver32
# 9p: cache=loose, or Wine gets wrong code pages for programs mapped from the share.
GUEST_9P=trans=virtio,version=9p2000.L,msize=524288

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
GUEST_QEMU_PID=
GUEST_WORK=

# PID 1 of the guest: mounts, runs the job the host left in the output share,
# records its status there, then powers off without touching the disk again.
read -r -d '' GUEST_INIT <<'EOF' || true
#!/bin/bash
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs shm /dev/shm
mount -t tmpfs tmp /tmp
mount -t tmpfs run /run
modprobe -a 9pnet_virtio 9p
mkdir -p /rt/out
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=524288 rtout /rt/out; then
  if [ -f /rt/out/job.sh ]; then
    echo "rt-init: job starts" >/dev/console
    bash /rt/out/job.sh >/rt/out/job.log 2>&1
    echo $? >/rt/out/job.status
    echo "rt-init: job ended" >/dev/console
  fi
else
  echo "rt-init: no output share" >/dev/console
fi
sync
umount -a -t 9p 2>/dev/null
mount -o remount,ro /
echo o >/proc/sysrq-trigger
# Nothing external from here on: the disk may already be gone.
while :; do :; done
EOF

# Root file system hooks for mmdebstrap: a small initrd that loads what the
# guest needs to reach its disk and shares, and the init script.
read -r -d '' GUEST_INITRAMFS_HOOK <<'EOF' || true
#!/bin/sh
[ "$1" = prereqs ] && exit 0
. /usr/share/initramfs-tools/hook-functions
for m in virtio_pci virtio_blk ext4 9pnet_virtio 9p; do force_load "$m"; done
EOF

# Bakes the Wine prefix into the image (the one boot that writes to it).
read -r -d '' GUEST_BAKE_JOB <<EOF || true
set -eux
export WINEPREFIX=$GUEST_PREFIX WINEARCH=win32 WINELOADER=$GUEST_LOADER WINESERVER=$GUEST_SERVER
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Prefix creation needs a display.
Xvfb :90 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xvfb=\$!
for i in \$(seq 300); do [ -e /tmp/.X11-unix/X90 ] && break; sleep 0.1; done
export DISPLAY=:90
rm -rf "\$WINEPREFIX"
mkdir -p "\$WINEPREFIX"
"\$WINELOADER" wineboot -i
"\$WINESERVER" -w
cp /usr/share/wine/fonts/* "\$WINEPREFIX/drive_c/windows/Fonts/"
# The fallback face behind Wine's UI faces, as on the host (cmake/harness.sh).
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "\$WINEPREFIX/drive_c/windows/Fonts/seguisym.ttf"
"\$WINELOADER" reg add 'HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes' /v 'Segoe UI Symbol' /d 'DejaVu Sans' /f
"\$WINELOADER" reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f
# Deleting the value still leaves a crash waiting; a missing debugger ends it at once.
"\$WINELOADER" reg add 'HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug' /v Debugger /d 'C:\\windows\\rt-no-debugger.exe' /f
"\$WINESERVER" -w
kill \$xvfb; wait \$xvfb || true
# Only a complete prefix is marked ready.
test -f "\$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
grep -q '^#arch=win32' "\$WINEPREFIX/system.reg"
test "\$(wc -c <"\$WINEPREFIX/system.reg")" -gt 100000
grep -q 'rt-no-debugger' "\$WINEPREFIX/system.reg"
grep -q '"Managed"="N"' "\$WINEPREFIX/user.reg"
grep -q '"Segoe UI Symbol"="DejaVu Sans"' "\$WINEPREFIX/system.reg"
test -f "\$WINEPREFIX/drive_c/windows/Fonts/seguisym.ttf"
for f in /usr/share/wine/fonts/*; do test -f "\$WINEPREFIX/drive_c/windows/Fonts/\${f##*/}"; done
touch "\$WINEPREFIX/.rt-ready"
sync
EOF

guest_install_host_packages() {
  local saved=("${RT_PACKAGES[@]}")
  RT_PACKAGES=("${GUEST_HOST_PACKAGES[@]}")
  rt_install_packages
  RT_PACKAGES=("${saved[@]}")
}

# Whatever changes the image's content changes this stamp, so a stale or
# half-made image is made again.
guest_stamp() {
  printf '%s\n' 4 "${GUEST_PACKAGES[@]}" "${GUEST_MIRRORS[@]}" "$GUEST_INIT" \
    "$GUEST_INITRAMFS_HOOK" "$GUEST_BAKE_JOB" | sha256sum | cut -c1-16
}

guest_image_ready() {
  [ -f "$GUEST_CACHE/stamp" ] && [ "$(cat "$GUEST_CACHE/stamp")" = "$(guest_stamp)" ] &&
    [ -f "$GUEST_CACHE/root.img" ] && [ -f "$GUEST_CACHE/vmlinuz" ] && [ -f "$GUEST_CACHE/initrd.img" ]
}

# guest_boot DIR SNAPSHOT TIMEOUT [QEMU ARGS...]: boots the image with DIR/out
# shared as the job folder; the guest's console goes to DIR/console.log.
# Returns 0 when the guest powered itself off, 124 when it was killed.
guest_boot() {
  local dir=$1 snapshot=$2 limit=$3; shift 3
  mkdir -p "$dir/qemu-tmp"
  # snapshot=on keeps its overlay in TMPDIR.
  TMPDIR=$dir/qemu-tmp $SUDO qemu-system-x86_64 \
    -nodefaults -no-user-config -machine pc -accel tcg,thread=multi \
    -cpu max,-smap -smp "$GUEST_CPUS" -m "$GUEST_MEM" \
    -display none -no-reboot -serial "file:$dir/console.log" \
    -kernel "$GUEST_CACHE/vmlinuz" -initrd "$GUEST_CACHE/initrd.img" \
    -append "root=/dev/vda rw rootfstype=ext4 init=/sbin/rt-init console=ttyS0 panic=1 mitigations=off quiet" \
    -drive "file=$GUEST_CACHE/root.img,format=raw,if=virtio,snapshot=$snapshot" \
    -virtfs "local,path=$dir/out,mount_tag=rtout,security_model=none" \
    "$@" &
  GUEST_QEMU_PID=$!
  local deadline=$((SECONDS + limit))
  while kill -0 "$GUEST_QEMU_PID" 2>/dev/null; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      rt_log "guest still running after ${limit} s: stopping it"
      guest_kill
      return 124
    fi
    sleep 2
  done
  wait "$GUEST_QEMU_PID" || true
  GUEST_QEMU_PID=
}

guest_kill() {
  [ -n "$GUEST_QEMU_PID" ] || return 0
  kill "$GUEST_QEMU_PID" 2>/dev/null || true
  local i
  for i in $(seq 10); do kill -0 "$GUEST_QEMU_PID" 2>/dev/null || break; sleep 1; done
  kill -9 "$GUEST_QEMU_PID" 2>/dev/null || true
  wait "$GUEST_QEMU_PID" 2>/dev/null || true
  GUEST_QEMU_PID=
}

guest_cleanup() {
  guest_kill
  [ -z "${GUEST_TAIL_PID:-}" ] || kill "$GUEST_TAIL_PID" 2>/dev/null || true
  [ -z "$GUEST_WORK" ] || $SUDO rm -rf "$GUEST_WORK"
}

# guest_root_tree DIR MIRROR...: the guest's root file system from those mirrors.
guest_root_tree() {
  local tree=$1 include
  shift
  include=$(IFS=,; echo "${GUEST_PACKAGES[*]}")
  # i386 packages are configured by chrooting on this host; none of this set
  # runs an i386 maintainer script, which this kernel could not start.
  $SUDO mmdebstrap --mode=root --variant=apt --architectures=amd64,i386 \
    --include="$include" \
    --aptopt='Acquire::Languages "none"' \
    --dpkgopt='path-exclude=/usr/share/man/*' \
    --dpkgopt='path-exclude=/usr/share/info/*' \
    --dpkgopt='path-exclude=/usr/share/doc/*' \
    --dpkgopt='path-include=/usr/share/doc/*/copyright' \
    --dpkgopt='path-exclude=/usr/share/locale/*' \
    --dpkgopt='path-include=/usr/share/locale/locale.alias' \
    --setup-hook='mkdir -p "$1/etc/initramfs-tools/conf.d" "$1/etc/initramfs-tools/hooks"' \
    --setup-hook='echo MODULES=list >"$1/etc/initramfs-tools/conf.d/rt-guest"' \
    --setup-hook="cp '$GUEST_WORK/rt-initramfs-hook' \"\$1/etc/initramfs-tools/hooks/rt-guest\"" \
    --customize-hook="cp '$GUEST_WORK/rt-init' \"\$1/sbin/rt-init\"" \
    --customize-hook='echo rt-guest >"$1/etc/hostname"' \
    --customize-hook="test -x \"\$1$GUEST_LOADER\" && test -x \"\$1$GUEST_SERVER\"" \
    bookworm "$tree" "$@"
}

guest_make_image() {
  local start=$SECONDS new=$GUEST_CACHE/new
  rt_log "making the i686 guest image in $GUEST_CACHE"
  guest_install_host_packages
  $SUDO rm -rf "$new" "$GUEST_CACHE/stamp"
  $SUDO mkdir -p "$new"
  printf '%s\n' "$GUEST_INIT" >"$GUEST_WORK/rt-init"
  printf '%s\n' "$GUEST_INITRAMFS_HOOK" >"$GUEST_WORK/rt-initramfs-hook"
  chmod 755 "$GUEST_WORK/rt-init" "$GUEST_WORK/rt-initramfs-hook"

  # A mirror caught mid-sync serves an index that does not match its
  # release file, and the whole build fails. The security suite is the one
  # that changes most often, and nothing the tests run needs its updates.
  local mirrors=("${GUEST_MIRRORS[@]}")
  until guest_root_tree "$new/tree" "${mirrors[@]}"; do
    [ ${#mirrors[@]} -gt 2 ] || return 1
    rt_log "the mirrors failed; building the image again without ${mirrors[2]}"
    $SUDO rm -rf "$new/tree"
    mirrors=("${mirrors[@]:0:2}")
  done
  local kernel initrd
  kernel=$(ls "$new"/tree/boot/vmlinuz-* | tail -n 1)
  initrd=$new/tree/boot/initrd.img-${kernel##*/vmlinuz-}
  # Without these modules the guest never finds its disk.
  $SUDO chroot "$new/tree" lsinitramfs "${initrd#"$new/tree"}" | grep '/virtio_blk\.ko' >/dev/null
  $SUDO cp "$kernel" "$new/vmlinuz"
  $SUDO cp "$initrd" "$new/initrd.img"
  rt_log "root file system: $((SECONDS - start)) s, $($SUDO du -sh "$new/tree" | cut -f1)"

  $SUDO truncate -s 6G "$new/root.img"
  $SUDO mke2fs -q -t ext4 -L rt-guest -d "$new/tree" -F "$new/root.img"
  $SUDO rm -rf "$new/tree"
  rt_log "ext4 image: $((SECONDS - start)) s"

  # One writable boot bakes the Wine prefix into the disk.
  local bake=$GUEST_WORK/bake
  mkdir -p "$bake/out"
  printf '%s\n' "$GUEST_BAKE_JOB" >"$bake/out/job.sh"
  local saved_cache=$GUEST_CACHE
  GUEST_CACHE=$new
  local rc=0
  guest_boot "$bake" off 3600 || rc=$?
  GUEST_CACHE=$saved_cache
  if [ "$rc" -ne 0 ] || [ "$(cat "$bake/out/job.status" 2>/dev/null)" != 0 ]; then
    rt_log "baking the Wine prefix failed; guest output:"
    tail -n 40 "$bake/out/job.log" >&2 2>/dev/null || true
    tail -n 20 "$bake/console.log" >&2 2>/dev/null || true
    return 1
  fi
  rt_log "Wine prefix baked: $((SECONDS - start)) s"
  $SUDO cp "$bake/out/job.log" "$new/bake.log"

  $SUDO mv -f "$new/vmlinuz" "$new/initrd.img" "$new/root.img" "$new/bake.log" "$GUEST_CACHE/"
  $SUDO rmdir "$new"
  guest_stamp | $SUDO tee "$GUEST_CACHE/stamp" >/dev/null
  $SUDO chmod -R a+rX "$GUEST_CACHE"
  rt_log "guest image ready in $((SECONDS - start)) s"
}

# Registers the i686 tests with the 32-bit Wine loader as their emulator.
# Each 32-bit Wine process takes seconds to start under emulation, so each
# program runs all its tests in one process, each test with the x86_64 run's
# filters and a time limit of its own.
guest_build() {
  local dir=$RT_BUILD/i686
  cmake -S "$RT_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$RT_ROOT/cmake/toolchain-i686.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$GUEST_LOADER" -DRT_TEST_TIMEOUT=900 \
        -DRT_TEST_WHOLE_PROGRAMS=ON >/dev/null
  rt_build i686
  rt_build_starter i686
  # The programs built with Clang run in the guest too, from the i686 tests.
  rt_build clang-i686
  rt_build_starter clang-i686
}

# Writes the guest's job: the project at its host path (read-only), the i686
# build directory writable over it, Xvfb and one wineserver, then ctest with
# the x86_64 run's options.
guest_test_job() {
  local build=$1
  cat <<EOF
set -u
mkdir -p '$RT_ROOT'
mount -t 9p -o $GUEST_9P,cache=loose,ro rtsrc '$RT_ROOT'
mkdir -p '$build' 2>/dev/null || true
mount -t 9p -o $GUEST_9P,cache=loose rtbuild '$build'
mkdir -p '$RT_BUILD/clang-i686/programs' 2>/dev/null || true
mount -t 9p -o $GUEST_9P,cache=loose rtclang '$RT_BUILD/clang-i686/programs'
export WINEPREFIX=$GUEST_PREFIX WINEARCH=win32 WINELOADER=$GUEST_LOADER WINESERVER=$GUEST_SERVER
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
test -f "\$WINEPREFIX/.rt-ready"
Xvfb :90 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xvfb=\$!
for i in \$(seq 300); do [ -e /tmp/.X11-unix/X90 ] && break; sleep 0.1; done
export DISPLAY=:90
"\$WINESERVER" -f -p >/tmp/wineserver.log 2>&1 &
server=\$!
# The first program brings up Wine's services; later ones start fast.
"\$WINELOADER" cmd /c exit >/dev/null 2>&1 || true
echo "wine ready after \$(cut -d' ' -f1 /proc/uptime) s of uptime"
ctest --test-dir '$build' -V --timeout 300 \
      --output-junit /rt/out/junit.xml >/rt/out/ctest.log 2>&1
status=\$?
echo \$status >/rt/out/ctest.status
"\$WINESERVER" -k || true
wait \$server || true
kill \$xvfb; wait \$xvfb || true
sync
umount '$RT_BUILD/clang-i686/programs'
umount '$build'
umount '$RT_ROOT'
exit \$status
EOF
}

# guest_count BUILD: per program, what its results file says ran (see
# tests/CMakeLists.txt); a test that never reported counts as failed. Prints
# a line per program to stderr, then "PASSED FAILED".
guest_count() {
  local build=$1 prog file passed=0 failed=0 n ok reported
  for prog in $(ctest --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: *//p'); do
    file=$build/test-results/$prog.txt
    if [ ! -s "$file" ]; then
      printf '  %-20s did not start\n' "$prog" >&2
      failed=$((failed + 1))
      continue
    fi
    n=$(sed -n 's/^running //p' "$file" | head -n 1)
    n=${n:-0}
    ok=$(grep -c '^ok ' "$file" || true)
    reported=$(grep -c '^\(ok\|failed\|timeout\) ' "$file" || true)
    printf '  %-20s %3d passed, %d failed\n' "$prog" "$ok" "$((n - ok))" >&2
    sed -n 's/^\(failed\|timeout\) /      \1: /p' "$file" >&2
    [ "$reported" -eq "$n" ] ||
      printf '      %d did not run: the program ended part way\n' "$((n - reported))" >&2
    passed=$((passed + ok))
    failed=$((failed + n - ok))
  done
  echo "$passed $failed"
}

guest_run_tests() {
  local build=$RT_BUILD/i686 dir=$GUEST_WORK/run start=$SECONDS
  local results=$build/guest-results
  mkdir -p "$dir/out"
  rm -rf "$build/test-results"
  mkdir -p "$build/test-results"
  guest_test_job "$build" >"$dir/out/job.sh"
  rt_log "running the i686 tests in the emulated machine (limit ${GUEST_TIMEOUT} s)"
  touch "$dir/out/ctest.log"
  tail -n +1 -f "$dir/out/ctest.log" &
  GUEST_TAIL_PID=$!
  local rc=0
  guest_boot "$dir" on "$GUEST_TIMEOUT" \
    -virtfs "local,path=$RT_ROOT,mount_tag=rtsrc,security_model=none,readonly=on" \
    -virtfs "local,path=$build,mount_tag=rtbuild,security_model=none" \
    -virtfs "local,path=$RT_BUILD/clang-i686/programs,mount_tag=rtclang,security_model=none" || rc=$?
  local took=$((SECONDS - start))
  sleep 1
  kill "$GUEST_TAIL_PID" 2>/dev/null || true
  wait "$GUEST_TAIL_PID" 2>/dev/null || true
  GUEST_TAIL_PID=

  rm -rf "$results"
  mkdir -p "$results"
  cp "$dir/console.log" "$results/" 2>/dev/null || true
  cp "$dir/out/"*.log "$dir/out/"*.xml "$dir/out/"*.status "$results/" 2>/dev/null || true

  cp -r "$build/test-results" "$results/" 2>/dev/null || true

  local why=
  if [ "$rc" -eq 124 ]; then
    why="guest killed after ${GUEST_TIMEOUT} s"
  elif [ ! -f "$results/job.status" ]; then
    why="guest ended without finishing its job"
  elif [ ! -f "$results/ctest.status" ]; then
    why="guest job failed (status $(cat "$results/job.status"))"
    tail -n 20 "$results/job.log" >&2 || true
  elif [ "$(cat "$results/ctest.status")" != 0 ]; then
    why="ctest failed"
  fi
  rt_log "i686 results in $results"
  local counts passed failed
  counts=$(guest_count "$build")
  read -r passed failed <<<"$counts"
  [ "$passed" -gt 0 ] || why=${why:-"no test ran"}
  local summary="i686: $passed passed, $failed failed ($took s)"
  [ -z "$why" ] || summary="$summary; $why"
  echo "$summary"
  [ -z "$why" ] && [ "$failed" -eq 0 ]
}

main() {
  local image_only= rebuild=
  while [ $# -gt 0 ]; do
    case $1 in
      --image-only) image_only=1 ;;
      --rebuild-image) rebuild=1 ;;
      *) echo "usage: $0 [--image-only] [--rebuild-image]" >&2; return 2 ;;
    esac
    shift
  done
  GUEST_WORK=$(mktemp -d /tmp/rt-i686-guest.XXXXXX)
  trap guest_cleanup EXIT
  trap 'exit 130' INT TERM

  $SUDO mkdir -p "$GUEST_CACHE"
  # One maker at a time; runs share the finished image.
  exec 9>>/tmp/rt-i686-guest.lock
  flock 9
  if [ -n "$rebuild" ] || ! guest_image_ready; then
    guest_make_image
  fi
  flock -s 9
  [ -z "$image_only" ] || return 0

  rt_install_packages
  guest_build || { echo "i686: build failed"; return 1; }
  guest_install_host_packages
  guest_run_tests
}

# One line: an edit to this file during a run cannot change what runs next.
main "$@"; exit
