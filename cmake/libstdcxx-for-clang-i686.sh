#!/bin/sh
# libstdcxx-for-clang-i686.sh NM OBJCOPY IN OUT: copies GCC's C++ library
# IN to OUT with its members that take an empty class by value (an
# iterator tag, __true_type, __false_type, a bool constant) made local to
# their objects, where no other object of the library refers to them.
# Clang gives such an argument no stack slot on i686, GCC one word, so a
# program's own copy of one (std::string's _M_construct, say, instantiated
# by an unoptimised Clang build) pops 4 bytes fewer than the library's
# callers expect; kept local, those callers reach the library's own copy.
set -eu
nm=$1 objcopy=$2 in=$3 out=$4
mkdir -p "$(dirname "$out")"
list=$out.localize
"$nm" -A "$in" 2>/dev/null > "$list.all" || true
awk '$2 == "U" { print $3 }' "$list.all" | sort -u > "$list.undefined"
awk '$2 ~ /^[TW]$/ { print $3 }' "$list.all" |
  grep -E '(St[0-9]+[a-z_]*iterator_tag|St12__false_type|St11__true_type|St17integral_constantIbLb[01]EE)' |
  sort -u | comm -23 - "$list.undefined" > "$list"
"$objcopy" --localize-symbols="$list" "$in" "$out"
rm -f "$list" "$list.all" "$list.undefined"
