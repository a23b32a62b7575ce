# Sourced by test.sh and run.sh: a virtual X screen and a Wine prefix of the build's own.
#   start_virtual_screen   sets DISPLAY to a fresh Xvfb screen (1280 x 1024, 24 bits)
#   prepare_wine_prefix    creates the prefix under build/windows when it is missing
#   stop_virtual_screen    ends the Wine server of the prefix and the screen

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/wineprefix}"

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
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    LC_ALL=ru_RU.UTF-8 wineboot -i >/dev/null 2>&1 || true
  fi
  # One server for the whole run instead of one per test.
  LC_ALL=ru_RU.UTF-8 wineserver -p >/dev/null 2>&1 || true
}

stop_virtual_screen() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QVN_XVFB_PID:-}" ]; then
    kill "$QVN_XVFB_PID" 2>/dev/null || true
    wait "$QVN_XVFB_PID" 2>/dev/null || true
  fi
}
