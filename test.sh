#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test: the native tests
# on Linux, and the Windows tests under Wine on a virtual X screen with a Russian locale.
# Ends with one line "N passed, M failed" and exits non-zero when anything failed.
set -uo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh || exit 1
scripts/build.sh native || { echo "0 passed, 1 failed (native build)"; exit 1; }
scripts/build.sh windows || { echo "0 passed, 1 failed (Windows build)"; exit 1; }

source scripts/virtual-screen.sh
start_virtual_screen || exit 1
trap stop_virtual_screen EXIT
prepare_wine_prefix

jobs=$(nproc)
for build in build/native build/windows; do
  rm -rf "$build/reports" "$build/ctest.xml"
  echo "== ctest $build"
  ctest --test-dir "$build" -j"$jobs" --output-on-failure --timeout 1800 \
        --output-junit "$PWD/$build/ctest.xml" | grep -vE '^\s*(Start|[0-9]+/[0-9]+ Test)' || true
done

python3 scripts/test-summary.py build/native build/windows
