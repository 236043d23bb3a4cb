#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
#   bash tools/test.sh              the normal build (build/)
#   bash tools/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [[ ${1:-} == --sanitize ]]; then
  export BUILD_DIR=${BUILD_DIR:-$root/build-asan}
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
  "$root/tools/build.sh" -DZR3_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
else
  export BUILD_DIR=${BUILD_DIR:-$root/build}
  "$root/tools/build.sh"
fi
cd "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 2
