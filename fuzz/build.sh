#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ into a build folder (default:
# build-fuzz beside the sources). Installs clang and its runtime when missing.
# Usage: fuzz/build.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build-fuzz}"
"$root/scripts/ensure-packages.sh" clang libclang-rt-14-dev
cmake -S "$root/fuzz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$dir" -- -j2
