# Sourced (POSIX sh) by wine-run.sh and virtual-screen.sh: how Wine runs for the tests and
# the program. Exports WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES, and sets QVN_WINE_LOCALE
# (for LC_ALL of every Wine process only, so that native programs keep their locale) and
# QVN_WINE_DROP, the command prefix that every Wine process, the server included, runs under.
#
# The Russian locale gives the ANSI code page 1251 and the OEM code page 866 of the target
# systems. Wine keeps a read-only file read-only only through its Unix permissions, which
# root overrides; started without the capabilities that override them, Wine meets read-only
# files as a Windows user does, also when the tests run as root.

qvn_root=$(cd "$(dirname "${QVN_WINE_ENV_SCRIPT:-$0}")/.." && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX="${WINEPREFIX:-$qvn_root/build/windows/wineprefix}"
QVN_WINE_LOCALE=ru_RU.UTF-8

QVN_WINE_DROP=""
if [ "$(id -u)" = 0 ] && setpriv --bounding-set -dac_override,-dac_read_search -- true 2>/dev/null; then
  QVN_WINE_DROP="setpriv --bounding-set -dac_override,-dac_read_search --"
fi
