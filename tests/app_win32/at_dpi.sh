#!/bin/sh
# at_dpi.sh DPI PROGRAM -- WINE...
# Runs the Windows program PROGRAM through the Wine command WINE with the
# prefix's screen at DPI dots per inch, names that resolution to the program
# in WORLDSMITH_TEST_DPI, and sets the prefix back to 96 afterwards, failed
# or not. Wine reads the resolution when a program starts.
dpi=$1
program=$2
shift 3
key='HKCU\Control Panel\Desktop'
set_dpi() {
  "$@" reg add "$key" /v LogPixels /t REG_DWORD /d "$value" /f >/dev/null 2>&1
}
value=$dpi
set_dpi "$@" || { echo "at_dpi.sh: cannot set the resolution to $dpi" >&2; exit 1; }
trap 'value=96; set_dpi "$@"' EXIT
WORLDSMITH_TEST_DPI=$dpi "$@" "$program"
