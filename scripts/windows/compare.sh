# Sourced by scripts/windows-test.sh: Wine, and the cases that run the
# Windows program and the POSIX program on the same input and compare them.
# shellcheck shell=bash

# --- Wine -------------------------------------------------------------------

export WINEPREFIX="$wb/wineprefix"
export WINEDEBUG=-all
# No Mono and no Gecko: the prefix is made without asking for them.
export WINEDLLOVERRIDES="mscoree=;mshtml="

e2e="$wb/e2e"

# The Windows side sees only the test folder, as drive T:. The default drive
# Z: (the whole file system) is removed, so a wrong path or a dialog that
# picks the wrong folder cannot write anywhere else.
setup_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    step "Creating the Wine prefix"
    env -u DISPLAY "$wine" wineboot --init >/dev/null 2>&1 || true
    "$wineserver" -w || true
  fi
  fence_drives
}

fence_drives() {
  rm -f "$WINEPREFIX/dosdevices/z:"
  ln -sfn "$e2e" "$WINEPREFIX/dosdevices/t:"
}

# --- The cases ----------------------------------------------------------------

failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# Windows form of a path below $e2e.
tpath() {
  local rest="${1#"$e2e"}"
  printf 'T:%s' "${rest//\//\\}"
}

# Case settings, reset before each case:
#   case_output  TARNELTHC_OUTPUT for both runs ("" leaves it unset)
#   case_runs    how often both programs run (the last run is compared)
#   case_map     "from<TAB>to" lines that turn the POSIX console into the
#                Windows one (the separators of the paths)
new_case() {
  name="$1"
  case_output=""
  case_runs=1
  case_map=""
  rm -rf "${e2e:?}/$name"
  mkdir -p "$e2e/$name/input"
}

map() { case_map+="$1"$'\t'"$2"$'\n'; }

run_windows() {
  local dir="$1" line="$2"
  printf '%s' "$line" >"$e2e/$name/cmdline.txt"
  local envs=(-u DISPLAY)
  [ -n "$case_output" ] && envs+=("TARNELTHC_OUTPUT=$case_output") || envs+=(-u TARNELTHC_OUTPUT)
  local status=0
  (cd "$dir" && printf '\r\n' | env "${envs[@]}" timeout 90 "$wine" 'T:\bin\launch.exe' \
      'T:\bin\tarnelthc.exe' "$(tpath "$e2e/$name/cmdline.txt")" \
      >"$e2e/$name/win.console" 2>"$e2e/$name/win.stderr") || status=$?
  echo "$status" >"$e2e/$name/win.status"
}

run_posix() {
  local dir="$1"
  shift
  local envs=()
  [ -n "$case_output" ] && envs+=("TARNELTHC_OUTPUT=$case_output") || envs+=(-u TARNELTHC_OUTPUT)
  local status=0
  (cd "$dir" && printf '\n' | env "${envs[@]}" timeout 90 "$posix_bin" "$@" \
      >"$e2e/$name/posix.console" 2>"$e2e/$name/posix.stderr") || status=$?
  echo "$status" >"$e2e/$name/posix.status"
}

# check EXIT_CODE WINDOWS_COMMAND_LINE POSIX_ARGUMENTS...
# Both programs run on their own copy of the input; then the exit codes, the
# console texts and the two folders (input and output) must agree.
check() {
  local expected="$1" line="$2"
  shift 2
  local c="$e2e/$name" before=$failures
  cp -a "$c/input" "$c/win"
  cp -a "$c/input" "$c/posix"
  local i
  for ((i = 0; i < case_runs; i++)); do
    run_windows "$c/win" "$line"
    run_posix "$c/posix" "$@"
  done
  local ws ps
  ws="$(cat "$c/win.status")"
  ps="$(cat "$c/posix.status")"
  [ "$ws" = "$expected" ] || fail "$name: Windows exit code $ws, expected $expected"
  [ "$ps" = "$expected" ] || fail "$name: POSIX exit code $ps, expected $expected"
  printf '%s' "$case_map" >"$c/map.txt"
  perl -e '
    open(my $m, "<", shift) or die;
    my @pairs;
    while (<$m>) { chomp; my ($f, $t) = split /\t/, $_, 2; push @pairs, [$f, $t]; }
    local $/;
    my $s = <STDIN>;
    for my $p (@pairs) { my ($f, $t) = @$p; $s =~ s/\Q$f\E/$t/g; }
    $s =~ s/\n/\r\n/g;
    print $s;' "$c/map.txt" <"$c/posix.console" >"$c/expected.console"
  if ! cmp -s "$c/expected.console" "$c/win.console"; then
    fail "$name: console differs (expected from POSIX < > Windows)"
    diff <(cat -A "$c/expected.console") <(cat -A "$c/win.console") | head -20 || true
  fi
  if ! diff -r "$c/posix" "$c/win" >"$c/folders.diff" 2>&1; then
    fail "$name: output folders differ"
    head -20 "$c/folders.diff"
  fi
  [ "$failures" -eq "$before" ] && echo "ok   $name (exit code $ws)"
  return 0
}

# The Windows console must hold this exact line.
expect_line() {
  if ! tr -d '\r' <"$e2e/$name/win.console" | grep -Fxq -- "$1"; then
    fail "$name: no console line \"$1\""
  fi
}

# The output folder of the Windows run holds at least N files.
expect_files() { expect_files_in "$e2e/$name/win/$1" "$2"; }

# The folder holds at least N files.
expect_files_in() {
  local count
  count="$(find "$1" -maxdepth 1 -type f 2>/dev/null | wc -l)"
  [ "$count" -ge "$2" ] || fail "$name: $count files in $1, expected at least $2"
}

# --- The input builders of the table (input BUILDER ARGS...) -------------------
# Each fills the input folder $1 of the current case.

# demo [SUBFOLDER]: the demo project, without its output.
input_demo() {
  local dir="$1/${2:-}"
  mkdir -p "$dir"
  cp -a "$root/examples/demo/." "$dir/"
  rm -rf "$dir/html"
}

# small FILE [BEFORE_LIBRARY] [DOC_ATTRIBUTES]: a project of one command.
input_small() {
  local attributes="${4:-}"
  [ -n "$attributes" ] || attributes='title="Small"'
  mkdir -p "$(dirname "$1/$2")"
  cat >"$1/$2" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<doc $attributes>
  ${3:-}<library name="Tiny">
    <description>One command.</description>
    <command name="Go"><description>Goes.</description></command>
  </library>
</doc>
EOF
}

# text FILE CONTENT
input_text() {
  mkdir -p "$(dirname "$1/$2")"
  printf '%s' "$3" >"$1/$2"
}

# folder PATH: an empty folder.
input_folder() { mkdir -p "$1/$2"; }

# codepage FILE LANG TITLE COMMANDS_WORD KEYWORDS
input_codepage() {
  cat >"$1/$2" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<doc title="$4" lang="$3">
  <catalog><![CDATA[
Commands = $5
]]></catalog>
  <library name="Texte">
    <command name="Suchen"><keywords>$6</keywords><description>x</description></command>
  </library>
</doc>
EOF
}

# separators FOLDER: imports and images named with "/" and with "\".
input_separators() {
  local in="$1/$2"
  mkdir -p "$in/parts" "$in/pics"
  cp "$root/examples/demo/img/logo.png" "$in/pics/a.png"
  cp "$root/examples/demo/img/diagram.png" "$in/pics/b.png"
  cat >"$in/main.xml" <<'EOF'
<doc title="Separators">
  <description><![CDATA[<p>@image(pics/a.png) and @image(pics\b.png)</p>]]></description>
  <import file="parts/one.xml"/>
  <import file="parts\two.xml"/>
</doc>
EOF
  cat >"$in/parts/one.xml" <<'EOF'
<library name="One"><description>@image(pics/b.png)</description><command name="First"/></library>
EOF
  cat >"$in/parts/two.xml" <<'EOF'
<library name="Two"><command name="Second"><description>See @refcommand(First, One).</description></command></library>
EOF
}

# planted: an earlier run's files in out/, a symbolic and a hard link to a
# file outside it under names the small project writes.
input_planted() {
  mkdir -p "$1/out" "$1/victim"
  echo VICTIM >"$1/victim/file"
  echo OLD >"$1/out/index.html"
  echo OLD >"$1/out/document.hhp"
  ln -s ../victim/file "$1/out/Tiny_f_Go.html"
  ln "$1/victim/file" "$1/out/toc.hhc"
}

# deep IMPORTS NESTING: p.xml starts a chain of IMPORTS files and holds
# NESTING nested elements in one description.
input_deep() {
  perl -e 'my $n = shift;
    print "<doc title=\"Deep\"><import file=\"f1.xml\"/><library name=\"L\"><command name=\"C\">";
    print "<description>", "<b>" x $n, "x", "</b>" x $n, "</description></command></library></doc>";' "$3" >"$1/p.xml"
  local i
  for ((i = 1; i < $2; i++)); do echo "<import file=\"f$((i + 1)).xml\"/>" >"$1/f$i.xml"; done
  echo '<library name="End"/>' >"$1/f$2.xml"
}

# --- The table ------------------------------------------------------------------

# One step of the table (see cases.txt).
table_step() {
  local keyword="$1"
  shift
  case "$keyword" in
    case) new_case "$1" ;;
    var) printf -v "$1" '%s' "$2" ;;
    input) "input_$1" "$e2e/$name/input" "${@:2}" ;;
    output) case_output="$1" ;;
    runs) case_runs="$1" ;;
    map) map "$1" "$2" ;;
    check) check "$@" ;;
    line) expect_line "$1" ;;
    files) expect_files "$1" "$2" ;;
    *) echo "cases.txt: unknown step \"$keyword\"" >&2; exit 1 ;;
  esac
}

# Runs every case of the table, line by line; a line's words are expanded
# as the shell would when it is read, after the lines before it ran.
run_table() {
  local line words
  while IFS= read -r line || [ -n "$line" ]; do
    [[ "$line" =~ ^[[:space:]]*(#|$) ]] && continue
    eval "words=($line)"
    table_step "${words[@]}"
  done <"$1"
}
