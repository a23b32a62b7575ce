#!/usr/bin/env bash
# Installs what is missing, builds build/windows/QvnToolbox.exe and starts it under Wine.
# Without a display it starts a virtual X screen, lets the program come up, saves a picture
# of the screen to build/screenshot.png, and then ends the program and the screen.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
scripts/build.sh windows >/dev/null
exe=build/windows/QvnToolbox.exe

source scripts/virtual-screen.sh
if [[ -n "${DISPLAY:-}" ]]; then
  prepare_wine_prefix
  exec env LC_ALL=ru_RU.UTF-8 wine "$exe"
fi

start_virtual_screen
trap stop_virtual_screen EXIT
prepare_wine_prefix
env LC_ALL=ru_RU.UTF-8 wine "$exe" >/dev/null 2>&1 &
program=$!
sleep "${QVN_SCREENSHOT_DELAY:-8}"
xwd -root -silent | convert xwd:- png:build/screenshot.png
echo "The screen under the virtual display was saved to build/screenshot.png"
kill "$program" 2>/dev/null || true
