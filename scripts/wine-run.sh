#!/bin/sh
# Runs a Windows program under Wine as the tests expect: the Russian locale (ANSI code page
# 1251, OEM 866), no debug chatter, no Mono or Gecko prompts, and the build's own prefix.
# It is the Windows configuration's CMAKE_CROSSCOMPILING_EMULATOR.
here=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX="${WINEPREFIX:-$here/../build/windows/wineprefix}"
export LC_ALL=ru_RU.UTF-8
if [ -z "$DISPLAY" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
