#!/usr/bin/env bash
# Builds one configuration with one command:
#   scripts/build.sh native     the portable code and the native tests (build/native)
#   scripts/build.sh windows    the product and the Wine tests (build/windows)
#   scripts/build.sh sanitize   the native tests under ASan and UBSan (build/sanitize)
# For windows, SQLite and libjpeg-turbo are first built for MinGW-w64 into build/deps (or
# $QVN_MINGW_DEPS), once per version.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: scripts/build.sh native|windows|sanitize}
extra=()
if [[ $preset == windows ]]; then
  deps=$(realpath -m "${QVN_MINGW_DEPS:-build/deps}")
  scripts/build-mingw-deps.sh "$deps"
  extra=(-DQVN_MINGW_DEPS="$deps")
fi
cmake --preset "$preset" "${extra[@]}" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
