#!/usr/bin/env bash
# Fuzzes the BMP decoder with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/fuzz-bmp.sh [SECONDS [SEED_WRITER [OUT_DIR]]]
# SECONDS: how long to run (default 600). SEED_WRITER: the bmp_seed_writer of a native build
# (default build/native/tests/native/screenshots/bmp_seed_writer), which writes the seeds.
# OUT_DIR (default build/fuzz) receives the fuzzer, the seeds, the growing corpus and any
# crashing input (crash-*). Built with clang and only the decoder's sources, since the rest of
# the tree needs GCC's -fexec-charset.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
seed_writer=${2:-$root/build/native/tests/native/screenshots/bmp_seed_writer}
out=$(realpath -m "${3:-$root/build/fuzz}")
mkdir -p "$out/corpus" "$out/seeds"

sources=(
  "$root/screenshots/BitmapDecoder.cpp"
  "$root/screenshots/BitmapRle.cpp"
  "$root/screenshots/BgrRows.cpp"
  "$root/tests/native/screenshots/BitmapDecoderFuzzer.cpp"
)
fuzzer=$out/bmp_fuzzer
stale=0
[[ -x $fuzzer ]] || stale=1
for s in "${sources[@]}" "$root"/screenshots/*.h; do [[ $s -nt $fuzzer ]] && stale=1; done
if ((stale)); then
  clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "${sources[@]}" -o "$fuzzer.new"
  mv "$fuzzer.new" "$fuzzer"
fi

[[ -x $seed_writer ]] || { echo "no seed writer at $seed_writer (build the native configuration first)" >&2; exit 1; }
"$seed_writer" "$out/seeds"

cd "$out"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  corpus seeds
