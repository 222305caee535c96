#!/usr/bin/env bash
# Builds the program and compiles the bundled example project into
# examples/demo/html/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-packages.sh"
"$root/scripts/build.sh" "$root/build"
out="$root/examples/demo/html"
rm -rf "$out"
status=0
"$root/build/tarnelthc" demo "$root/examples/demo/demo.xml" </dev/null || status=$?
echo "Output folder: $out (exit code $status)"
exit $status
