#!/usr/bin/env bash
# Builds everything and runs every test with ctest; then builds the host, editor-window, both
# wizards' and the registry browser's tests a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/, only those targets) and runs them. Exit status is the
# first failure's.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(cd build && ctest --output-on-failure -j2 "$@")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEL_SANITIZE=ON -DZEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j2 --target zel_host_core_tests zel_host_forms_tests zel_older_wizard_forms_tests \
    zel_wizard_tests zel_wizard_forms_tests zel_uddi_forms_tests zel_uddi_client_tests
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-qt.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
for tests in zel_host_core_tests zel_host_forms_tests zel_older_wizard_forms_tests zel_wizard_tests zel_wizard_forms_tests \
    zel_uddi_forms_tests zel_uddi_client_tests; do
    echo "== $tests under AddressSanitizer"
    build-asan/tests/$tests --gtest_brief=1
done
