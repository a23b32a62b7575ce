# Sourced by test.sh and run.sh: a virtual X screen and a Wine prefix of the build's own.
#   start_virtual_screen   sets DISPLAY to a fresh Xvfb screen (1280 x 1024, 24 bits)
#   prepare_wine_prefix    creates the prefix under build/windows when it is missing
#   stop_virtual_screen    ends the Wine server of the prefix and the screen
#   run_wine PROGRAM...    runs a program under Wine as the tests do (scripts/wine-env.sh)

QVN_WINE_ENV_SCRIPT=${BASH_SOURCE[0]}
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

run_wine() { env LC_ALL="$QVN_WINE_LOCALE" $QVN_WINE_DROP wine "$@"; }

start_virtual_screen() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QVN_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "the virtual X screen did not start" >&2
  return 1
}

prepare_wine_prefix() {
  mkdir -p "$WINEPREFIX"
  # One server for the whole run instead of one per test.
  env LC_ALL="$QVN_WINE_LOCALE" $QVN_WINE_DROP wineserver -p >/dev/null 2>&1 || true
  # The server's system processes (services, devices, the desktop) start with the first
  # program and keep its output open; started here, they hold no test's output, which would
  # otherwise keep the test runner waiting for the end of that output until its timeout.
  local init=()
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    init=(-i)
  fi
  env LC_ALL="$QVN_WINE_LOCALE" $QVN_WINE_DROP wineboot "${init[@]}" >/dev/null 2>&1 || true
  # There is no window manager on the virtual screen: windows that Wine hands to one wait two
  # seconds for it whenever they are hidden or destroyed. Wine manages them itself instead.
  if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    run_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
}

stop_virtual_screen() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QVN_XVFB_PID:-}" ]; then
    kill "$QVN_XVFB_PID" 2>/dev/null || true
    wait "$QVN_XVFB_PID" 2>/dev/null || true
  fi
}
