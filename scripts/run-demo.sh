#!/usr/bin/env bash
# Builds the program and compiles the bundled example projects:
# examples/demo/demo.xml into examples/demo/html/ and the German catalog
# example examples/catalog-demo/katalog.xml into examples/catalog-demo/html/,
# each with its links checked and compiled into a help file (.chm) in the
# same folder; the program prints where ("Help file ...").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-packages.sh"
"$root/scripts/build.sh" "$root/build"

status=0
for project in demo/demo.xml catalog-demo/katalog.xml; do
  out="$root/examples/$(dirname "$project")/html"
  rm -rf "$out"
  run=0
  "$root/build/tarnelthc" --chm --check-links --no-wait -o "$out" demo "$root/examples/$project" \
    </dev/null || run=$?
  echo "Output folder: $out (exit code $run)"
  [ "$run" -eq 0 ] || status=$run
done
exit $status
