#!/usr/bin/env bash
# Builds the program and compiles the bundled example projects:
# examples/demo/demo.xml into examples/demo/html/ and the German catalog
# example examples/catalog-demo/katalog.xml into examples/catalog-demo/html/.
# When chmcmd is installed, each output folder is then compiled into a help
# file (in a copy of the folder) that is placed beside the project file.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-packages.sh"
"$root/scripts/build.sh" "$root/build"

# compile_help OUTPUT_FOLDER DESTINATION_FOLDER
compile_help() {
  local out="$1" dest="$2" work name log
  name="$(sed -n 's/^Compiled file=//p' "$out/document.hhp" | head -n 1)"
  work="$(mktemp -d)"
  cp -R "$out/." "$work/"
  # chmcmd writes the compiled file relative to the current directory. Its
  # scan of the pages brings in the images, which [FILES] does not list (the
  # tests compile with --no-html-scan to prove [FILES] complete on its own).
  log="$( (cd "$work" && chmcmd document.hhp) 2>&1 || true)"
  if grep -qiE '^(Error|Warning)|exception' <<<"$log" ||
     [ "$(head -c 4 "$work/$name" 2>/dev/null)" != "ITSF" ]; then
    echo "$log"
    echo "Help file: compiling $out failed"
    rm -rf "$work"
    return 1
  fi
  mv "$work/$name" "$dest/$name"
  rm -rf "$work"
  echo "Help file: $dest/$name"
}

status=0
for project in demo/demo.xml catalog-demo/katalog.xml; do
  dir="$root/examples/$(dirname "$project")"
  out="$dir/html"
  rm -rf "$out"
  run=0
  "$root/build/tarnelthc" demo "$root/examples/$project" </dev/null || run=$?
  echo "Output folder: $out (exit code $run)"
  [ "$run" -eq 0 ] || status=$run
  if [ "$run" -eq 0 ] && command -v chmcmd >/dev/null 2>&1; then
    compile_help "$out" "$dir" || status=1
  fi
done
command -v chmcmd >/dev/null 2>&1 || echo "chmcmd is not installed (package fp-utils): no help files compiled"
exit $status
