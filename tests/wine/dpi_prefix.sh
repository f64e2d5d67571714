#!/bin/sh
# Makes the Wine prefix of the DPI tests: a new prefix whose screen has the given resolution.
# Usage: dpi_prefix.sh PREFIX DPI
set -e
export WINEPREFIX="$1"
wineboot -i
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f
wineserver -w
