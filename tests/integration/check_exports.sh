#!/bin/sh
# A plug-in .so must export VSTPluginMain and main at one address, nothing else, and need only libc/libm
# (and the dynamic loader); the editor build loads libX11 and libXext itself when its first window opens.
set -eu
status=0
for so in "$@"; do
  symbols=$(nm -D --defined-only "$so" | awk '{print $3}' | sort | tr '\n' ' ')
  if [ "$symbols" != "VSTPluginMain main " ]; then
    echo "$so exports: $symbols"; status=1
  fi
  addresses=$(nm -D --defined-only "$so" | awk '{print $1}' | sort -u | wc -l)
  [ "$addresses" -eq 1 ] || { echo "$so: VSTPluginMain and main differ"; status=1; }
  needed=$(readelf -d "$so" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
  case "$needed" in
    "ld-linux-x86-64.so.2 libc.so.6 libm.so.6 "|"libc.so.6 libm.so.6 ") ;;
    *) echo "$so needs: $needed"; status=1 ;;
  esac
done
exit $status
