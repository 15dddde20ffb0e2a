# Where the bytes of a program come from, per source unit: reads the output of
# `nm -A --defined-only` for the program's objects and libraries, then the
# program's GNU ld map (linked with -ffunction-sections, so each function has
# its own section even after whole-program optimisation). Prints one row per
# unit: code, read-only data, unwind tables, import tables, total.
function hex(s,   i, v) {
  v = 0; s = tolower(substr(s, 3))
  for (i = 1; i <= length(s); i++) v = v * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
  return v
}
function unit_of_file(f) {
  sub(/\.(cpp|c)\.obj$/, "", f); sub(/\.o$/, "", f); return f
}
# Which unit a section belongs to: the unit defining the function it holds,
# else the library member or object named in the map.
function unit(section, file,   name, u) {
  name = section; sub(/^\.[a-z]+\$/, "", name); sub(/\..*/, "", name)
  if (name in owner) return owner[name]
  if (("_" name) in owner) return owner["_" name]
  if (file ~ /\.a\(/) {
    u = file; sub(/.*\//, "", u)
    if (u ~ /^lib(kernel32|user32|gdi32|comctl32|msvcrt|advapi32|shell32)\.a/) { sub(/\.a\(.*/, "", u); return "imports:" substr(u, 4) }
    sub(/^[^(]*\(/, "", u); sub(/\)$/, "", u); return "libgcc/crt:" unit_of_file(u)
  }
  return "(program, unattributed)"
}
function add(section, size, file,   u, col) {
  if (out == "" || size == 0) return
  u = unit(section, file)
  col = out == ".text" ? 1 : out == ".rdata" || out == ".data" ? 2 : out == ".pdata" || out == ".xdata" || out == ".eh_frame" ? 3 : out == ".idata" ? 4 : 0
  if (col == 0) return
  bytes[u, col] += size; units[u] = 1
}
FNR == NR {
  # nm -A: ARCHIVE:MEMBER:ADDRESS TYPE NAME, or OBJECT:ADDRESS TYPE NAME
  n = split($1, p, ":"); f = p[n - 1]; sub(/.*\//, "", f)
  if ($2 ~ /^[TtDdBbRr]$/ && !($3 in owner)) owner[$3] = unit_of_file(f)
  next
}
/^Linker script and memory map/ { inmap = 1; next }
!inmap { next }
/^\.[a-z_]+ +0x/ { out = $1; if (out ~ /^\.(bss|reloc|debug)/) out = ""; pending = ""; next }
/^[^ ]/ { out = ""; next }
/^ [^ ]+$/ { pending = $1; next }
NF >= 4 && $2 ~ /^0x/ && $3 ~ /^0x/ { add($1, hex($3), $4); pending = ""; next }
NF == 3 && $1 ~ /^0x/ && $2 ~ /^0x/ && pending != "" { add(pending, hex($2), $3); pending = ""; next }
END {
  for (u in units) {
    t = bytes[u, 1] + bytes[u, 2] + bytes[u, 3] + bytes[u, 4]
    printf "%-30s %7d %7d %7d %7d %7d\n", u, bytes[u, 1], bytes[u, 2], bytes[u, 3], bytes[u, 4], t
  }
}
