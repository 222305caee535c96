#!/usr/bin/env bash
# Runs every libFuzzer target (or those named) for SECONDS each, with a seed
# corpus from the examples, the seed lists in fuzz/seeds and the kept
# regression inputs. The corpus each target grows is kept in
# build-fuzz/corpus/TARGET and reused by the next run; inputs that break a
# rule or crash land in build-fuzz/artifacts/TARGET.
#
# Usage: fuzz/run.sh SECONDS [text|markup|catalog|pipeline|lzx|page ...]
#   FUZZ_JOBS=2   run two targets side by side (default 1; the machine is shared)
#   FUZZ_BUILD=DIR  the build folder (default build-fuzz)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:?usage: fuzz/run.sh SECONDS [targets...]}"
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(text markup catalog pipeline lzx page)
build="${FUZZ_BUILD:-$root/build-fuzz}"
jobs="${FUZZ_JOBS:-1}"

"$root/fuzz/build.sh" "$build"

# One seed file per line of a list; \n, \r, \t and \\ in a line are escapes.
seedsFromList() {
  local list="$1" out="$2" n=0 line
  while IFS= read -r line || [ -n "$line" ]; do
    n=$((n + 1))
    printf '%b' "$line" > "$out/list-$n"
  done < "$list"
}

# The CDATA sections and element texts of the examples as markup or catalog
# seeds.
seedsFromExamples() {
  local element="$1" out="$2"
  find "$root/examples" -name '*.xml' -print0 | xargs -0 perl -0777 -ne '
    my $element = "'"$element"'";
    my $n = 0;
    while (/<$element\b[^>]*>(?:<!\[CDATA\[(.*?)\]\]>|([^<]*))</gs) {
      my $text = defined $1 ? $1 : $2;
      next if $text =~ /^\s*$/;
      $n++;
      my $name = $ARGV; $name =~ s{.*/}{};
      open(my $f, ">", "'"$out"'/$name-$element-$n") or die;
      print $f $text;
      close $f;
    }'
}

prepareSeeds() {
  local target="$1" seeds="$build/seeds/$1"
  rm -rf "$seeds"
  mkdir -p "$seeds"
  case "$target" in
    text) seedsFromList "$root/fuzz/seeds/text.txt" "$seeds" ;;
    markup)
      seedsFromList "$root/fuzz/seeds/markup.txt" "$seeds"
      for element in description history example arg result version; do
        seedsFromExamples "$element" "$seeds"
      done ;;
    catalog)
      seedsFromList "$root/fuzz/seeds/catalog.txt" "$seeds"
      seedsFromExamples catalog "$seeds" ;;
    pipeline)
      find "$root/examples" -name '*.xml' -exec cp {} "$seeds/" \;
      cp "$root/fuzz/seeds/pipeline/"* "$seeds/" ;;
    lzx) seedsFromList "$root/fuzz/seeds/lzx.txt" "$seeds" ;;
    page) cp "$root/fuzz/seeds/page/"* "$seeds/" ;;
  esac
  local kept="$root/tests/robust/regressions/$target"
  if [ -d "$kept" ]; then cp "$kept"/* "$seeds/" 2>/dev/null || true; fi
}

dictionaryFor() {
  case "$1" in
    markup) echo "-dict=$root/fuzz/markup.dict" ;;
    pipeline) echo "-dict=$root/fuzz/xml.dict" ;;
    *) echo "" ;;
  esac
}

runTarget() {
  local target="$1"
  local corpus="$build/corpus/$target" artifacts="$build/artifacts/$target"
  local log="$build/logs/$target.log"
  mkdir -p "$corpus" "$artifacts" "$build/logs"
  prepareSeeds "$target"
  local status=0
  # -timeout: an input that takes 10 s is a hang; -rss_limit_mb: a memory blow-up.
  "$build/fuzz_$target" $(dictionaryFor "$target") -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$build/seeds/$target" > "$log" 2>&1 || status=$?
  local done executions
  done="$(grep -E '^#[0-9]+\s+DONE' "$log" | tail -1 || true)"
  executions="$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)"
  echo "$target: exit $status, executions ${executions:-?}, corpus $(ls "$corpus" | wc -l) files," \
       "coverage: ${done:-see $log}"
  return "$status"
}

failed=0
if [ "$jobs" -ge 2 ]; then
  pids=()
  for target in "${targets[@]}"; do
    runTarget "$target" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then
      wait "${pids[0]}" || failed=1
      pids=("${pids[@]:1}")
    fi
  done
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
else
  for target in "${targets[@]}"; do runTarget "$target" || failed=1; done
fi
exit "$failed"
