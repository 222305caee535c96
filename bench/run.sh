#!/usr/bin/env bash
# Times tarnelthc on generated projects against the two costs that bound its
# work: expat parsing the same XML files (xmlwf, output discarded) and writing
# the same output (cp -r of the produced folder to a new folder).
#
# Usage: bench/run.sh [N ...]            (default: 1000 10000 100000)
# Environment: BENCH_RUNS (counted runs per size, default 5, at least 5 for
# figures worth quoting), BENCH_SEED (default 1), BENCH_WORK (scratch folder,
# default /tmp/tarnelthc-bench), BENCH_BUILD (default <repo>/build-bench),
# BENCH_CHMCMD_MAX (the largest N that chmcmd compiles too, default 10000).
#
# Each size gets one warm-up round, then BENCH_RUNS rounds of tarnelthc,
# parse and copy in turn; every figure is the median of its rounds. Wall times
# come from the nanosecond clock around each command, peak memory and cpu
# time (user + system) from /usr/bin/time. Every tarnelthc run writes into a
# fresh, empty output folder and every copy goes to a fresh folder; the file
# system is synced before every timed command. After each fresh run the same
# project is built again into that run's folder (unchanged input: a rebuild),
# which leaves the files that already hold their bytes untouched.
#
# A help-file round follows at each size: the program's own compiler on the
# checked run's folder (`--compile`), chmcmd (fp-utils) on a copy of that
# folder up to BENCH_CHMCMD_MAX items (default 10000; it takes minutes
# beyond), the size of both help files and the peak memory; and the whole
# run with `--chm` against the run without it, time and peak memory.
#
# Nothing is deleted while the timings run: the folders of all rounds stay
# until the table is printed. ext4 avoids reusing an inode for a minute or
# more after it was freed, scanning past every recently freed one, so
# removing 80,000 files just before a run makes the next 80,000 creations
# slower for tarnelthc and cp alike, and unevenly so from run to run. At
# N=100,000 the rounds need about 3 GB of scratch space.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${BENCH_RUNS:-5}"
seed="${BENCH_SEED:-1}"
work="${BENCH_WORK:-/tmp/tarnelthc-bench}"
build="${BENCH_BUILD:-$root/build-bench}"
chmcmd_max="${BENCH_CHMCMD_MAX:-10000}"
if [ $# -gt 0 ]; then sizes=("$@"); else sizes=(1000 10000 100000); fi

for n in "${sizes[@]}"; do
  [[ "$n" =~ ^[1-9][0-9]*$ ]] || { echo "not an item count: $n" >&2; exit 2; }
done
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "BENCH_RUNS must be a positive number" >&2; exit 2; }

build_release() {
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNELTHC_WERROR=ON >/dev/null
  ninja -C "$build" -j2 tarnelthc >/dev/null
}

# Generates the project for one size once; a changed generator regenerates it.
project_for() {
  local n="$1" dir="$work/project-$1-seed$seed"
  local stamp
  stamp="$(sha1sum "$root/bench/generate.py" | cut -d' ' -f1)"
  if [ ! -f "$dir/.stamp" ] || [ "$(cat "$dir/.stamp")" != "$stamp" ]; then
    rm -rf "$dir"
    python3 "$root/bench/generate.py" "$n" "$seed" "$dir" >"$work/generate-$n.log"
    echo "$stamp" >"$dir/.stamp"
  fi
  echo "$dir"
}

# Runs one command with stdin at end of input; appends "wall_seconds
# peak_kib cpu_seconds user_seconds" to the file named first. Standard output is
# discarded, standard error kept. The file system is synced first (not
# timed), so the write-back of one command never lands in the next one's time.
measure() {
  local into="$1"; shift
  local start end
  sync
  start=$(date +%s%N)
  /usr/bin/time -f '%M %U %S' -o "$work/time.out" "$@" >/dev/null 2>>"$work/stderr.log" </dev/null || true
  end=$(date +%s%N)
  echo "$(( end - start )) $(tail -n 1 "$work/time.out")" |
    awk '{ printf "%.6f %d %.2f %.2f\n", $1 / 1e9, $2, $3 + $4, $3 }' >>"$into"
}

# Median of one column of a figures file.
median() {
  cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "nan"; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The help-file round of one size (see the top). Leaves its medians in the
# h_* arrays.
help_round() {
  local n="$1" project="$2" out="$3" rounds_dir="$4" round target chm
  local chmcmd_copy="$rounds_dir/chmcmd"
  rm -f "$work/compile-$n" "$work/chmcmd-$n" "$work/chmrun-$n"
  chm=$(grep -m1 '^Compiled file=' "$out/document.hhp" | cut -d= -f2- | tr -d '\r')
  [ "$n" -le "$chmcmd_max" ] && cp -r "$out" "$chmcmd_copy"
  for round in $(seq 0 "$runs"); do
    [ "$round" -eq 0 ] && target=/dev/null || target=""
    measure "${target:-$work/compile-$n}" "$binary" --compile "$out/document.hhp"
    measure "${target:-$work/chmrun-$n}" env TARNELTHC_OUTPUT="$rounds_dir/chm-$round" "$binary" --chm bench "$project/main.xml"
    if [ "$n" -le "$chmcmd_max" ]; then
      measure "${target:-$work/chmcmd-$n}" sh -c 'cd "$1" && chmcmd document.hhp' sh "$chmcmd_copy"
    fi
  done
  [ -f "$out/$chm" ] || { echo "N=$n: --compile wrote no $out/$chm" >&2; exit 1; }
  h_compile[$n]=$(median "$work/compile-$n" 1)
  h_compile_cpu[$n]=$(median "$work/compile-$n" 3)
  h_compile_peak[$n]=$(median "$work/compile-$n" 2)
  h_size[$n]=$(stat -c %s "$out/$chm")
  h_run[$n]=$(median "$work/chmrun-$n" 1)
  h_run_peak[$n]=$(median "$work/chmrun-$n" 2)
  h_chmcmd[$n]=nan h_chmcmd_cpu[$n]=nan h_chmcmd_size[$n]=0
  if [ "$n" -le "$chmcmd_max" ]; then
    h_chmcmd[$n]=$(median "$work/chmcmd-$n" 1)
    h_chmcmd_cpu[$n]=$(median "$work/chmcmd-$n" 3)
    h_chmcmd_size[$n]=$(stat -c %s "$chmcmd_copy/$chm" 2>/dev/null || echo 0)
  fi
}

"$root/scripts/ensure-packages.sh" time expat python3
mkdir -p "$work"
# Leftovers of an interrupted run; a finished run removes its folders itself.
rm -rf "$work"/out-* "$work"/copy-* "$work"/rounds-*
: >"$work/stderr.log"
echo "Building the Release binary in $build ..."
build_release
binary="$build/tarnelthc"

declare -A input_bytes out_files out_bytes t_thc u_thc t_parse t_copy m_thc r_wall r_cpu t_rebuild r_rebuild
declare -A h_compile h_compile_cpu h_compile_peak h_size h_run h_run_peak h_chmcmd h_chmcmd_cpu h_chmcmd_size
for n in "${sizes[@]}"; do
  echo "N=$n: generating ..."
  project="$(project_for "$n")"
  xml_files=("$project/main.xml" "$project"/libs/*.xml)
  rounds_dir="$work/rounds-$n"
  out="$work/out-$n"
  thc=(env TARNELTHC_OUTPUT="$out" "$binary" bench "$project/main.xml")
  mkdir -p "$rounds_dir"

  # One checked run first: the timings mean nothing unless the project loads,
  # passes the checks and produces the help files.
  rm -rf "$out"
  status=0
  "${thc[@]}" </dev/null >"$work/run-$n.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ] || ! grep -qx "File ok" "$work/run-$n.log" || grep -qx "Errors found" "$work/run-$n.log" ||
     [ ! -f "$out/document.hhp" ]; then
    echo "N=$n: tarnelthc did not compile the project (exit code $status); last lines of $work/run-$n.log:" >&2
    tail -n 20 "$work/run-$n.log" >&2
    exit 1
  fi
  diagnostics=$(grep -c -E '^(Warning|Error|Parse Error|Unable)' "$work/run-$n.log" || true)
  [ "$diagnostics" -eq 0 ] || echo "N=$n: note: $diagnostics diagnostic lines in $work/run-$n.log"
  if ! xmlwf "${xml_files[@]}" >"$work/xmlwf-$n.log" 2>&1 || [ -s "$work/xmlwf-$n.log" ]; then
    echo "N=$n: xmlwf rejected the project, see $work/xmlwf-$n.log" >&2
    exit 1
  fi

  input_bytes[$n]=$(cat "${xml_files[@]}" | wc -c)
  out_files[$n]=$(find "$out" -type f | wc -l)
  out_bytes[$n]=$(du -sb "$out" | cut -f1)

  echo "N=$n: timing, 1 warm-up + $runs rounds ..."
  rm -f "$work/thc-$n" "$work/parse-$n" "$work/copy-$n.t" "$work/ratios-$n" "$work/rebuild-$n"
  for round in $(seq 0 "$runs"); do
    [ "$round" -eq 0 ] && target=/dev/null || target=""
    measure "${target:-$work/thc-$n}" env TARNELTHC_OUTPUT="$rounds_dir/out-$round" "$binary" bench "$project/main.xml"
    measure "${target:-$work/rebuild-$n}" env TARNELTHC_OUTPUT="$rounds_dir/out-$round" "$binary" bench "$project/main.xml"
    measure "${target:-$work/parse-$n}" xmlwf "${xml_files[@]}"
    measure "${target:-$work/copy-$n.t}" cp -r "$out" "$rounds_dir/copy-$round"
  done
  t_thc[$n]=$(median "$work/thc-$n" 1)
  m_thc[$n]=$(median "$work/thc-$n" 2)
  u_thc[$n]=$(median "$work/thc-$n" 4)
  t_parse[$n]=$(median "$work/parse-$n" 1)
  t_copy[$n]=$(median "$work/copy-$n.t" 1)
  # The ratios are taken round by round, then their median: a round's three
  # commands ran close together, so a drift of the machine's speed cancels.
  paste -d' ' "$work/thc-$n" "$work/parse-$n" "$work/copy-$n.t" |
    awk '{ printf "%.6f %.6f\n", $1 / ($5 + $9), ($7 + $11 > 0 ? $3 / ($7 + $11) : 0) }' >"$work/ratios-$n"
  t_rebuild[$n]=$(median "$work/rebuild-$n" 1)
  paste -d' ' "$work/rebuild-$n" "$work/thc-$n" | awk '{ printf "%.6f\n", $1 / $5 }' >"$work/rebuild-ratios-$n"
  r_rebuild[$n]=$(median "$work/rebuild-ratios-$n" 1)
  r_wall[$n]=$(median "$work/ratios-$n" 1)
  r_cpu[$n]=$(median "$work/ratios-$n" 2)
  echo "N=$n: the help file, 1 warm-up + $runs rounds ..."
  help_round "$n" "$project" "$out" "$rounds_dir"
done

echo
echo "tarnelthc against parse (xmlwf) + copy (cp -r); medians of $runs runs after a warm-up, seed $seed"
printf '%8s %9s %8s %9s %9s %9s %9s %7s %9s %9s %9s %9s %9s %8s\n' \
  N input_MB out_files out_MB thc_s parse_s copy_s ratio cpu_ratio peak_MiB mem/byte limit_MiB rebuild_s rebuild
for n in "${sizes[@]}"; do
  awk -v n="$n" -v in_b="${input_bytes[$n]}" -v files="${out_files[$n]}" -v out_b="${out_bytes[$n]}" \
      -v t="${t_thc[$n]}" -v p="${t_parse[$n]}" -v c="${t_copy[$n]}" -v m="${m_thc[$n]}" \
      -v rw="${r_wall[$n]}" -v rc="${r_cpu[$n]}" -v rt="${t_rebuild[$n]}" -v rr="${r_rebuild[$n]}" 'BEGIN {
    printf "%8d %9.2f %8d %9.2f %9.3f %9.3f %9.3f %7.2f %9.2f %9.1f %9.2f %9.1f %9.3f %8.2f\n",
      n, in_b / 1048576, files, out_b / 1048576, t, p, c, rw, rc,
      m / 1024, m * 1024 / in_b, (8 * in_b) / 1048576 + 64, rt, rr }'
done

count=${#sizes[@]}
last=${sizes[$((count - 1))]}
ratio=$(awk -v r="${r_wall[$last]}" 'BEGIN { printf "%.2f", r }')
rebuild=$(awk -v r="${r_rebuild[$last]}" 'BEGIN { printf "%.2f", r }')
mem=$(awk -v m="${m_thc[$last]}" -v b="${input_bytes[$last]}" 'BEGIN { printf "%.2f", m * 1024 / b }')
growth=n/a
if [ "$count" -ge 2 ]; then
  before=${sizes[$((count - 2))]}
  growth=$(awk -v a="${t_thc[$before]}" -v b="${t_thc[$last]}" 'BEGIN { printf "%.2f", b / a }')
  echo "growth of the tarnelthc time from N=$before to N=$last: $growth"
  # The program's own work apart from the kernel's: how the user time and
  # the copy (nothing but file creation and writing) grow over the same step.
  awk -v a="${u_thc[$before]}" -v b="${u_thc[$last]}" -v c="${t_copy[$before]}" -v d="${t_copy[$last]}" \
    'BEGIN { printf "growth of the tarnelthc user time: %.2f; growth of the copy time: %.2f\n", (a > 0 ? b / a : 0), (c > 0 ? d / c : 0) }'
fi
echo "ratio: wall time of tarnelthc / (parse + copy), median of the rounds' ratios; cpu_ratio: the same for user + system time"
echo "rebuild: wall time of a rebuild of the unchanged project into the previous run's folder / the fresh run, median of the rounds"
echo "goals at the largest N: ratio <= 1.2 (aim 1.0), growth over 10x items <= 11, peak <= limit_MiB (8 x input + 64 MiB), rebuild <= 0.75 (aim 0.5)"
echo
echo "The help file: --compile on the run's folder and chmcmd on a copy; the whole run with --chm against the run without it"
printf '%8s %10s %9s %9s %10s %9s %9s %9s %10s %9s %10s %9s %9s\n' \
  N compile_s cpu_s chmcmd_s chmcmd_cpu cpu_ratio chm_MB chmcmd_MB size_ratio peak_MiB run_chm_s run_ratio peak_add
for n in "${sizes[@]}"; do
  awk -v n="$n" -v t="${h_compile[$n]}" -v c="${h_compile_cpu[$n]}" -v ht="${h_chmcmd[$n]}" \
      -v hc="${h_chmcmd_cpu[$n]}" -v s="${h_size[$n]}" -v hs="${h_chmcmd_size[$n]}" -v p="${h_compile_peak[$n]}" \
      -v r="${h_run[$n]}" -v rp="${h_run_peak[$n]}" -v base="${t_thc[$n]}" -v bp="${m_thc[$n]}" 'BEGIN {
    cr = (hc != "nan" && hc > 0) ? sprintf("%.3f", c / hc) : "n/a"
    if (ht != "nan") { ht = sprintf("%.3f", ht); hc = sprintf("%.2f", hc) } else { ht = "n/a"; hc = "n/a" }
    sr = (hs > 0) ? sprintf("%.2f", s / hs) : "n/a"
    printf "%8d %10.3f %9.2f %9s %10s %9s %9.2f %9.2f %10s %9.1f %9.3f %9.2f %9.1f\n",
      n, t, c, ht, hc, cr, s / 1048576, hs / 1048576, sr, p / 1024, r, r / base, (rp - bp) / 1024 }'
done
echo "cpu_ratio and size_ratio: ours / chmcmd's; run_ratio: the run with --chm / the run without; peak_add: its peak memory over the run's without, MiB"
echo "goals: cpu_ratio <= 0.1 and size_ratio <= 1.1 at N=10,000; run_ratio <= 2 and peak_add <= 64 at every N"
echo "ratio=$ratio growth=$growth mem_per_input_byte=$mem rebuild=$rebuild"
rm -rf "$work"/out-* "$work"/rounds-*
