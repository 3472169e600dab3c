#!/usr/bin/env bash
# Line and branch coverage of src/ with the whole test suite.
# Builds in its own folder (build-coverage, or $ZEL_COVERAGE_DIR) with gcc's --coverage at -O0,
# clears the counters, runs ctest, and prints gcovr's summary. Extra arguments go to ctest
# (e.g. -R zel_xml to look at one module while working on it).
# Needs the Debian package gcovr.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${ZEL_COVERAGE_DIR:-build-coverage}
command -v gcovr >/dev/null || { echo "coverage: install gcovr (apt-get install gcovr)"; exit 2; }
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="--coverage -O0" \
    -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage \
    -DCMAKE_MODULE_LINKER_FLAGS=--coverage -DZEL_BUILD_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
cmake --build "$dir" -j2
find "$dir" -name '*.gcda' -delete
(cd "$dir" && ctest -j2 --timeout 600 "$@") || echo "coverage: some tests failed; the figures below still count what ran"
# Throw branches and branches the compiler adds for its own bookkeeping are left out, so the
# branch figure counts the decisions written in the source.
gcovr --root . --filter 'src/' --object-directory "$dir" --exclude-directories "$dir/CMakeFiles" \
    --exclude-throw-branches --exclude-unreachable-branches \
    --print-summary --txt "$dir/coverage.txt" --json-summary "$dir/coverage.json" 2>/dev/null | tail -3
echo "coverage: per-file figures in $dir/coverage.txt and $dir/coverage.json"
