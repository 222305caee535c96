#!/usr/bin/env bash
# Compiles the two generators' help projects (Doxygen over the expat
# sources, Sphinx over libuv's documentation; see
# scripts/generator-projects.sh) with `tarnelthc --compile` and with chmcmd
# (fp-utils), and prints for each: the median wall and cpu time (user +
# system) of both, the size of both help files, and the files inside that
# only one of them holds (chmcmd's own tables left out: "/#...", "/$...",
# "::...", "/_#_README_#_" and folder entries).
#
# Usage: bench/chmcmd-compare.sh
# Environment: BENCH_RUNS (counted runs, default 5), BENCH_WORK (scratch
# folder, default /tmp/tarnelthc-chmcmd), BENCH_BUILD (the build folder
# whose tarnelthc is timed, default <repo>/build).
#
# Every run compiles a fresh copy of the project; one warm-up run of each
# comes first. chmcmd needs "Compiled file=" (Doxygen writes none unless
# CHM_FILE is set; chmcmd then fails to create ""), so its copy of that
# project gets the name tarnelthc takes by itself.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${BENCH_RUNS:-5}"
work="${BENCH_WORK:-/tmp/tarnelthc-chmcmd}"
build="${BENCH_BUILD:-$root/build}"
program="$build/tarnelthc"
[ -x "$program" ] || { echo "no program at $program (build first, or set BENCH_BUILD)" >&2; exit 2; }
"$root/scripts/ensure-packages.sh" time
"$root/scripts/generator-projects.sh" "$work/projects"

# Nanoseconds of wall time and cpu seconds of one command, "WALL CPU".
timed() {
  local start end cpu
  start=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  cpu=$(tail -1 "$work/time")
  awk -v w=$((end - start)) -v c="$cpu" 'BEGIN { split(c, p, " "); printf "%.3f %.2f\n", w / 1e9, p[1] + p[2] }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The names of the files a help file holds for its project, each once
# (a directory may list a name twice).
project_names() {
  chmls -p -n list "$1" 2>/dev/null | grep '^/' | grep -v -E '^/(#|\$|_#_README_#_)' | grep -v '/$' | sort
}

compare() {
  local label="$1" folder="$2" hhp="$3" chm="$4"
  local copy="$work/runs/$label"
  rm -rf "$copy"
  mkdir -p "$copy"
  local i ours=() theirs=()
  for i in $(seq 0 "$runs"); do
    cp -r "$work/projects/$folder" "$copy/ours$i"
    cp -r "$work/projects/$folder" "$copy/chmcmd$i"
    grep -qi '^Compiled file=' "$copy/chmcmd$i/$hhp" ||
      sed -i "s/^\[OPTIONS\]\r\?$/&\nCompiled file=$chm/" "$copy/chmcmd$i/$hhp"
    sync
    local a b
    a=$(timed "$program" --compile "$copy/ours$i/$hhp")
    sync
    b=$(cd "$copy/chmcmd$i" && timed chmcmd "$hhp")
    [ "$i" -eq 0 ] && continue  # the warm-up
    ours+=("$a")
    theirs+=("$b")
  done
  local ow oc tw tc
  ow=$(printf '%s\n' "${ours[@]}" | cut -d' ' -f1 | median)
  oc=$(printf '%s\n' "${ours[@]}" | cut -d' ' -f2 | median)
  tw=$(printf '%s\n' "${theirs[@]}" | cut -d' ' -f1 | median)
  tc=$(printf '%s\n' "${theirs[@]}" | cut -d' ' -f2 | median)
  local os ts
  os=$(stat -c %s "$copy/ours1/$chm")
  ts=$(stat -c %s "$copy/chmcmd1/$chm")
  echo "== $label ($(find "$work/projects/$folder" -type f | wc -l) files in the folder)"
  printf '  time   tarnelthc %8.3f s wall %6.2f s cpu   chmcmd %8.3f s wall %6.2f s cpu   ratio %.3f wall %.3f cpu\n' \
    "$ow" "$oc" "$tw" "$tc" "$(awk -v a="$ow" -v b="$tw" 'BEGIN { print a / b }')" \
    "$(awk -v a="$oc" -v b="$tc" 'BEGIN { print (b > 0) ? a / b : 0 }')"
  printf '  size   tarnelthc %10d bytes   chmcmd %10d bytes   ratio %.3f\n' "$os" "$ts" \
    "$(awk -v a="$os" -v b="$ts" 'BEGIN { print a / b }')"
  project_names "$copy/ours1/$chm" | uniq -d | sed 's/^/  listed twice by tarnelthc: /'
  project_names "$copy/chmcmd1/$chm" | uniq -d | sed 's/^/  listed twice by chmcmd: /'
  project_names "$copy/ours1/$chm" | uniq >"$copy/ours.names"
  project_names "$copy/chmcmd1/$chm" | uniq >"$copy/chmcmd.names"
  echo "  files  tarnelthc $(wc -l <"$copy/ours.names")   chmcmd $(wc -l <"$copy/chmcmd.names")"
  comm -23 "$copy/ours.names" "$copy/chmcmd.names" | sed 's/^/  only tarnelthc: /'
  comm -13 "$copy/ours.names" "$copy/chmcmd.names" | sed 's/^/  only chmcmd:    /'
}

echo "Median of $runs runs; $(nproc) cores; $("$program" --version 2>/dev/null | head -1)"
compare doxygen-expat doxygen-expat index.hhp index.chm
compare sphinx-libuv sphinx-libuv libuv.hhp libuv.chm
