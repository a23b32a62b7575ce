#!/bin/sh
# Runs a Windows program under Wine as the tests expect (see wine-env.sh): the Russian
# locale, no debug chatter, no Mono or Gecko prompts, the build's own prefix, and read-only
# files enforced. It is the Windows configuration's CMAKE_CROSSCOMPILING_EMULATOR.
QVN_WINE_ENV_SCRIPT=$0
. "$(dirname "$0")/wine-env.sh"
export LC_ALL="$QVN_WINE_LOCALE"
if [ -z "$DISPLAY" ]; then
  exec $QVN_WINE_DROP xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec $QVN_WINE_DROP wine "$@"
