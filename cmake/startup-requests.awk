# Reads a Wine server trace (wineserver -d1) of one program's start and
# prints, per thread, the requests it made up to and including the first that
# showed a window (set_window_pos with SWP_SHOWWINDOW): "THREAD COUNT", in the
# order the windows were shown. The program's own thread shows its window
# after Wine's desktop thread has shown the desktop. A third figure counts
# what the runtime is defined to do there: requests on the window
# properties its controls and dialogs keep, and the registration of its
# dialog class.
BEGIN {
  split("LPFN FGRND BGRND BBRUSH NOTIFY_TAB NOTIFY_ENTER DOHOT HBRUSH HTCLR BORDERWIDTH HOTBMP NORBMP SELBMP DLGPTR _ACCEL_TABLE", names, " ")
  for (i in names) named["name=L\"" names[i] "\""] = 1
}
{ tid = substr($0, 1, index($0, ":") - 1) }
$0 !~ /^[0-9a-f]+: [a-z_0-9]+\(/ || $0 ~ /\) = / { next }
{ n[tid]++ }
/_window_property\(/ && match($0, /name=L"[A-Z_]+"/) && (substr($0, RSTART, RLENGTH) in named) { a[tid]++ }
/ create_class\(/ && /CorvantisDlgClass/ { a[tid]++ }
/ set_window_pos\( swp_flags=/ && !(tid in done) {
  f = $0; sub(/.*swp_flags=/, "", f); sub(/,.*/, "", f)
  v = 0; for (i = 1; i <= length(f); i++) v = v * 16 + index("0123456789abcdef", substr(f, i, 1)) - 1
  if (int(v / 64) % 2 == 1) { done[tid] = 1; printf "%s %d %d\n", tid, n[tid], a[tid] }
}
