#!/usr/bin/env bash
# A guard for changes that must not change what the program writes: the
# SHA-256 of every file that four runs write, and of each run's console and
# exit code. The runs are the demo, the catalog demo, the faulty example and
# a generated project of 10,000 items, each with the help file and the link
# check, so the help files' bytes are guarded too.
#
# The manifest holds one sum per run's output folder (over the sorted sums of
# its files) and the sum of each console; "list" prints every file's sum, so
# two programs' lists show which files differ.
#
# Usage: scripts/golden.sh PROGRAM record FILE   writes the manifest FILE
#        scripts/golden.sh PROGRAM check FILE    compares; exit 1 on a change
#        scripts/golden.sh PROGRAM list FILE     writes every file's sum
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "$1")"
mode="$2"
manifest="$(realpath -m "$3")"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/generate.py" 10000 1 "$work/generated" >/dev/null

# Each run starts in its project's folder and writes to a relative folder,
# so the console names the same paths on every machine.
run() {
  local name="$1" folder="$2" project="$3"
  mkdir -p "$work/runs/$name"
  cp -r "$folder/." "$work/runs/$name/"
  local status=0
  (cd "$work/runs/$name" && unset SOURCE_DATE_EPOCH TARNELTHC_OUTPUT &&
    "$program" --chm --check-links --no-wait -o out demo "$project" \
      </dev/null >console.txt 2>&1) || status=$?
  echo "exit $status" >>"$work/runs/$name/console.txt"
}
run demo "$root/examples/demo" demo.xml
run catalog "$root/examples/catalog-demo" katalog.xml
run faulty "$root/examples/faulty" faulty.xml
run generated "$work/generated" main.xml

all="$work/all.txt"
(cd "$work/runs" &&
  find . -path '*/out/*' -type f -o -name console.txt -type f |
  LC_ALL=C sort | xargs -d '\n' sha256sum) >"$all"
sums="$work/sums.txt"
for name in demo catalog faulty generated; do
  grep " ./$name/console.txt\$" "$all"
  files=$(grep -c " ./$name/out/" "$all" || true)
  echo "$(grep " ./$name/out/" "$all" | sha256sum | cut -d' ' -f1)  ./$name/out ($files files)"
done >"$sums"

case "$mode" in
  record) cp "$sums" "$manifest"; echo "Recorded $(wc -l <"$all") files in $manifest" ;;
  list) cp "$all" "$manifest" ;;
  check)
    if diff -u "$manifest" "$sums"; then
      echo "Golden guard holds ($(wc -l <"$all") files)"
    else
      for name in demo catalog faulty generated; do
        echo "--- console of $name:"; cat "$work/runs/$name/console.txt"
      done
      exit 1
    fi ;;
  *) echo "mode must be record or check" >&2; exit 2 ;;
esac
