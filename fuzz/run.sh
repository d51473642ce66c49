#!/usr/bin/env bash
# Builds the PDB reader fuzzer with clang, ASan and UBSan, makes its seed
# corpus with the engine, and fuzzes for SECONDS (default 60). Exits non-zero
# when the fuzzer finds a crash, a leak, undefined behaviour or a timeout.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTALLOWICK_FUZZ=ON -DTALLOWICK_SANITIZE=ON -DTALLOWICK_GUI=OFF -DTALLOWICK_TESTS=OFF >/dev/null
ninja -C "$build" -j2 pdb_reader_fuzzer make_fuzz_seeds

seeds=$build/fuzz-seeds
corpus=$build/fuzz-corpus
findings=$build/fuzz-findings
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$findings"
"$build/fuzz/make_fuzz_seeds" "$seeds/"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$build/fuzz/pdb_reader_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds"
echo "fuzzing: no finding in $seconds s"
