#!/usr/bin/env bash
# Installs what is missing, builds the test trees and runs every test headless.
#   ./test.sh          AddressSanitizer + UndefinedBehaviorSanitizer, then ThreadSanitizer
#   ./test.sh --asan   only the first
#   ./test.sh --tsan   only the second
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
vestorin_install_missing

modes=(asan tsan)
case "${1:-}" in
    --asan) modes=(asan) ;;
    --tsan) modes=(tsan) ;;
    "") ;;
    *) echo "usage: $0 [--asan|--tsan]" >&2; exit 2 ;;
esac

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt is not built with TSan: its own threads (painting, file dialogs) synchronise
# out of the sanitizer's sight, so what Qt's code hands to malloc or memcpy is not
# watched; everything our code touches still is.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 suppressions=$PWD/tests/tsan.supp"

for mode in "${modes[@]}"; do
    case "$mode" in
        asan) sanitize="address,undefined" ;;
        tsan) sanitize="thread" ;;
    esac
    tree="build-test-$mode"
    cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESTORIN_SANITIZE="$sanitize" >/dev/null
    cmake --build "$tree" -j"$(vestorin_jobs)"
    (cd "$tree" && ctest --output-on-failure -j"$(vestorin_jobs)")
done
