#!/bin/sh
# short-import-lib.sh NM DLLTOOL MACHINE IN DLL OUT: an import library OUT
# for DLL, with the functions and data of the MinGW import library IN, in
# the short form that lld reads. Each member of IN carries a jump stub beside
# its import, and lld keeps whatever it takes from a member: 8 bytes of code,
# never run, for every function a program imports. From the short form it
# makes a stub only for a program that calls a function without the import
# prefix, and an import only for what the program still calls once it has
# been optimised as a whole.
set -eu
nm=$1 dlltool=$2 machine=$3 in=$4 dll=$5 out=$6
def=$out.def
mkdir -p "$(dirname "$out")"
# 32-bit symbols carry a leading underscore, and their names the size of
# the arguments after an @, which the import itself does not.
case $machine in
  i386) underscore=1 kill=-k ;;
  *) underscore=0 kill= ;;
esac
# A name with a stub is a function; one with only its import slot is data.
{
  printf 'LIBRARY %s\nEXPORTS\n' "$dll"
  "$nm" "$in" 2>/dev/null | awk -v underscore="$underscore" '
    NF == 3 && $2 == "I" && $3 ~ /^__imp_/ { name = substr($3, 7 + underscore); slot[name] = 1 }
    NF == 3 && $2 == "T" { code[substr($3, 1 + underscore)] = 1 }
    END { for (name in slot) print name (name in code ? "" : " DATA") }' | sort
} > "$def"
"$dlltool" -m "$machine" $kill -d "$def" -l "$out"
rm -f "$def"
