#!/bin/sh
# The Windows DLLs may import only what the product needs: kernel32 and the C runtime, and for the editor
# build the window system and its common file dialogs (comdlg32). Each must export VSTPluginMain and main
# at one address and nothing else.
# usage: check_imports.sh OBJDUMP EDITOR_DLL PLAIN_DLL
set -eu
objdump=$1
status=0

imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' '; }
exports() { "$objdump" -p "$1" | sed -n '/Ordinal\/Name Pointer/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' '; }

check() {
  dll=$1; allowed=$2
  for name in $(imports "$dll"); do
    case " $allowed " in
      *" $name "*) ;;
      *) echo "$dll imports $name"; status=1 ;;
    esac
  done
  if [ "$(exports "$dll")" != "VSTPluginMain main " ]; then echo "$dll exports: $(exports "$dll")"; status=1; fi
  rvas=$("$objdump" -p "$dll" | grep -E 'Export RVA' | awk '{print $(NF-2)}' | sort -u | wc -l)
  [ "$rvas" -eq 1 ] || { echo "$dll: the two exports differ"; status=1; }
  echo "$dll imports: $(imports "$dll")"
}

check "$2" "kernel32.dll msvcrt.dll user32.dll gdi32.dll shell32.dll ole32.dll comdlg32.dll"
check "$3" "kernel32.dll msvcrt.dll"
if "$objdump" -h "$3" | grep -q '\.rsrc'; then echo "$3 has resources"; status=1; fi
"$objdump" -h "$2" | grep -q '\.rsrc' || { echo "$2 has no resources"; status=1; }
exit $status
