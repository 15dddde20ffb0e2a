# Reads a Wine server trace (wineserver -d1) of one program's start and
# prints, per thread, the requests it made up to and including the first that
# showed a window (set_window_pos with SWP_SHOWWINDOW): "THREAD COUNT", in the
# order the windows were shown. The program's own thread shows its window
# after Wine's desktop thread has shown the desktop.
{ tid = substr($0, 1, index($0, ":") - 1) }
$0 !~ /^[0-9a-f]+: [a-z_0-9]+\(/ || $0 ~ /\) = / { next }
{ n[tid]++ }
/ set_window_pos\( swp_flags=/ && !(tid in done) {
  f = $0; sub(/.*swp_flags=/, "", f); sub(/,.*/, "", f)
  v = 0; for (i = 1; i <= length(f); i++) v = v * 16 + index("0123456789abcdef", substr(f, i, 1)) - 1
  if (int(v / 64) % 2 == 1) { done[tid] = 1; printf "%s %d\n", tid, n[tid] }
}
