#!/usr/bin/env bash
# Builds everything and runs every unit and end-to-end test, first in the
# normal build, then once more with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan), where any finding fails the test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-packages.sh"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j2
"$root/scripts/build.sh" "$root/build-asan" -DTARNELTHC_SANITIZE=ON
ctest --test-dir "$root/build-asan" --output-on-failure -j2
