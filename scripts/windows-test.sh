#!/usr/bin/env bash
# Cross-builds the Windows program (tarnelthc.exe) with mingw-w64 and runs it
# under Wine on end-to-end cases, each compared with the POSIX build run on
# the same input: the exit code, the console text (CRLF line ends and "\"
# separators on Windows, nothing else may differ) and every output file,
# byte for byte. Exits non-zero on any mismatch.
#
# Usage: scripts/windows-test.sh [--build-only]
#   --build-only   only build build-windows/program/tarnelthc.exe (and what
#                  the Windows zip holds: `cpack -G ZIP` in that folder)
# Environment:
#   TARNELTHC_WINDOWS_BUILD  the Windows build folder (default: build-windows)
#   TARNELTHC_POSIX_BUILD    the POSIX build folder (default: build)
#   TARNELTHC_DIALOGS        the dialog checks under Xvfb (file dialog,
#                            folder dialog, cancel and message box), each
#                            tried up to three times, as driving windows is
#                            timing-dependent: "require" (the default) counts
#                            them, "report" only prints them, "skip" leaves
#                            them out.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
wb="${TARNELTHC_WINDOWS_BUILD:-$root/build-windows}"
posix_dir="${TARNELTHC_POSIX_BUILD:-$root/build}"
dialogs="${TARNELTHC_DIALOGS:-require}"
build_only=0
[ "${1:-}" = "--build-only" ] && build_only=1
mkdir -p "$wb"
wb="$(cd "$wb" && pwd)"

triple=x86_64-w64-mingw32
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

step() { echo "== $*"; }

# --- Packages ---------------------------------------------------------------

install_packages() {
  "$root/scripts/ensure-packages.sh"
  local wanted=(g++-mingw-w64-x86-64-posix dpkg-dev)
  [ "$build_only" -eq 1 ] || wanted+=(wine64 xvfb xdotool)
  "$root/scripts/ensure-packages.sh" --no-install-recommends "${wanted[@]}"
}

# --- expat for Windows, from Debian's own source package ----------------------

# The machine's Debian sources as deb-src entries, in a private apt
# configuration: the machine's own apt setup is never changed.
write_source_list() {
  local dir="$1"
  mkdir -p "$dir/sources.list.d" "$dir/lists/partial"
  : >"$dir/sources.list"
  local out="$dir/sources.list.d/debian-src.sources"
  : >"$out"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # Stanzas of Debian's own archive only (signed with its keyring).
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /debian-archive-keyring/ && /Types:[^\n]*deb/ {
           sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >>"$out"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    grep -E '^deb[[:space:]].*debian' "$f" | sed 's/^deb[[:space:]]/deb-src /' >>"$dir/sources.list" || true
  done
  if [ ! -s "$out" ] && [ ! -s "$dir/sources.list" ]; then
    local codename
    codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    echo "deb-src http://deb.debian.org/debian $codename main" >"$dir/sources.list"
  fi
}

fetch_expat_source() {
  local src="$wb/expat-source"
  if compgen -G "$src/expat-*/expat/CMakeLists.txt" >/dev/null; then return; fi
  step "Fetching Debian's expat source"
  rm -rf "$src"
  mkdir -p "$src"
  local apt_dir="$wb/apt"
  write_source_list "$apt_dir"
  local opts=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list"
              -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
              -o "Dir::State::Lists=$apt_dir/lists"
              -o "APT::Sandbox::User=root")
  apt-get "${opts[@]}" update -qq
  # The newest version first; a version whose files the mirror does not
  # carry (yet) gives way to the next one.
  local versions
  versions="$(apt-cache "${opts[@]}" showsrc expat | awk '/^Version:/ { print $2 }' |
              sort -u | sort -r -V)"
  local v
  for v in $versions; do
    if (cd "$src" && apt-get "${opts[@]}" -qq source "expat=$v" >/dev/null 2>&1); then
      echo "expat $v"
      return
    fi
    rm -rf "${src:?}"/*
  done
  echo "Unable to fetch the expat source package" >&2
  exit 1
}

build_expat() {
  local prefix="$wb/expat"
  [ -f "$prefix/lib/libexpat.a" ] && return
  step "Building expat for Windows"
  local source
  source="$(echo "$wb"/expat-source/expat-*/expat)"
  # Debian's patches test "#if XML_DTD == 1", as its autotools build defines
  # the features as 1; the CMake template defines them empty.
  sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/; s/^#cmakedefine XML_NS$/#cmakedefine XML_NS 1/' \
    "$source/expat_config.h.cmake"
  rm -rf "$wb/expat-build"
  cmake -S "$source" -B "$wb/expat-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF \
    -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF \
    -DEXPAT_BUILD_PKGCONFIG=OFF -DEXPAT_BUILD_FUZZERS=OFF >/dev/null
  cmake --build "$wb/expat-build" --target install -j2 >/dev/null
}

build_program() {
  step "Building tarnelthc.exe"
  # The toolchain's flags only reach a fresh cache.
  if [ "$root/cmake/mingw-w64.cmake" -nt "$wb/program/CMakeCache.txt" ]; then
    rm -f "$wb/program/CMakeCache.txt"
  fi
  cmake -S "$root" -B "$wb/program" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DTARNELTHC_TESTS=OFF -DTARNELTHC_WERROR=ON \
    -DEXPAT_INCLUDE_DIR="$wb/expat/include" -DEXPAT_LIBRARY="$wb/expat/lib/libexpat.a" \
    -DTARNELTHC_EXPAT_LICENSE="$(echo "$wb"/expat-source/expat-*/expat/COPYING)" >/dev/null
  cmake --build "$wb/program" -j2
  # Nothing but system DLLs may be needed.
  local dlls
  dlls="$($triple-objdump -p "$wb/program/tarnelthc.exe" | awk '/DLL Name:/ { print tolower($3) }' | sort | tr '\n' ' ')"
  echo "tarnelthc.exe imports: $dlls"
  local headers
  headers="$($triple-objdump -p "$wb/program/tarnelthc.exe")"
  grep -q 'SizeOfStackReserve[[:space:]]*0*800000$' <<<"$headers" ||
    { echo "tarnelthc.exe does not reserve an 8 MiB stack" >&2; exit 1; }
  local d
  for d in $dlls; do
    case "$d" in
      kernel32.dll|user32.dll|comdlg32.dll|ole32.dll|msvcrt.dll|advapi32.dll) ;;
      *) echo "tarnelthc.exe needs a DLL that Windows does not have: $d" >&2; exit 1 ;;
    esac
  done
}

# A small Windows program that starts another with an exact raw command line
# (read as UTF-8 from a file), so the cases can hold tabs, odd quotes and a
# program name of their own; Wine would quote the arguments it is given.
build_launcher() {
  local exe="$wb/launch.exe"
  [ -f "$exe" ] && [ "$exe" -nt "$0" ] && return
  cat >"$wb/launch.c" <<'EOF'
#include <windows.h>
#include <stdlib.h>

/* launch.exe PROGRAM LINEFILE: runs PROGRAM with the command line held in
   LINEFILE, with the standard handles passed on; exits with its exit code. */
int wmain(int argc, wchar_t **argv) {
  if (argc != 3) return 120;
  HANDLE file = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 121;
  static char bytes[65536];
  DWORD got = 0;
  if (!ReadFile(file, bytes, sizeof bytes, &got, NULL)) return 122;
  CloseHandle(file);
  int length = MultiByteToWideChar(CP_UTF8, 0, bytes, (int)got, NULL, 0);
  wchar_t *line = calloc((size_t)length + 1, sizeof *line);
  if (!line) return 123;
  MultiByteToWideChar(CP_UTF8, 0, bytes, (int)got, line, length);
  STARTUPINFOW startup = {0};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process;
  if (!CreateProcessW(argv[1], line, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) return 124;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return (int)code;
}
EOF
  "$triple-gcc-posix" -municode -static -O2 -Wall -o "$exe" "$wb/launch.c"
}

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

demo_input() {
  cp -a "$root/examples/demo/." "$1/"
  rm -rf "$1/html"
}

small_project() {
  cat >"$1" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<doc title="Small">
  <library name="Tiny">
    <description>One command.</description>
    <command name="Go"><description>Goes.</description></command>
  </library>
</doc>
EOF
}

# codepage_project FILE LANG TITLE COMMANDS_WORD KEYWORDS
codepage_project() {
  cat >"$1" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<doc title="$3" lang="$2">
  <catalog><![CDATA[
Commands = $4
]]></catalog>
  <library name="Texte">
    <command name="Suchen"><keywords>$5</keywords><description>x</description></command>
  </library>
</doc>
EOF
}

run_cases() {
  local in

  new_case demo
  demo_input "$e2e/$name/input"
  case_output=out
  case_runs=2  # the second run replaces every file of the first
  map "Importing external file ./" "Importing external file .\\"
  map "files at out/" "files at out\\"
  map "Files to out/" "Files to out\\"
  check 0 'tarnelthc.exe demo demo.xml' demo demo.xml
  expect_line "Creating HTML files at out\\"
  expect_line "Importing external file .\\files.xml"
  expect_files out 40

  # A quoted path with blanks; the default output folder beside the project.
  new_case blanks
  mkdir -p "$e2e/$name/input/dir with blanks"
  demo_input "$e2e/$name/input/dir with blanks"
  map "dir with blanks/" "dir with blanks\\"
  map "dir with blanks\\html/" "dir with blanks\\html\\"
  check 0 'tarnelthc.exe "first arg" "dir with blanks\demo.xml"' "first arg" "dir with blanks/demo.xml"
  expect_line "Analyzing file first arg"
  expect_line "Creating HTML files at dir with blanks\\html\\"
  expect_files "dir with blanks/html" 40

  # The first argument is only echoed: it names a broken file, and the
  # second, which is read, is fine.
  new_case first-echoed
  small_project "$e2e/$name/input/good.xml"
  printf '<doc><library>\n' >"$e2e/$name/input/broken.xml"
  case_output=out
  map "at out/" "at out\\"
  check 0 'tarnelthc.exe broken.xml good.xml' broken.xml good.xml
  expect_line "Analyzing file broken.xml"
  expect_line "File ok"
  expect_files out 3

  # Tabs do not separate arguments.
  new_case tab
  small_project "$e2e/$name/input/p.xml"
  case_output=out
  map "at out/" "at out\\"
  check 0 $'tarnelthc.exe a\tb p.xml' $'a\tb' p.xml
  expect_line $'Analyzing file a\tb'

  # A quoted program name with blanks, an empty quoted first argument, two
  # blanks in a row and a quote that is never closed.
  new_case quotes
  small_project "$e2e/$name/input/p.xml"
  case_output=out
  map "at out/" "at out\\"
  check 0 '"C:\Program Files\Tarnel\tarnelthc.exe"  ""  "p.xml' "" p.xml
  expect_line "Analyzing file "

  # Non-ASCII text in the arguments, the file names and the console.
  new_case unicode
  mkdir -p "$e2e/$name/input/Übersicht"
  small_project "$e2e/$name/input/Übersicht/Projekt-ä.xml"
  case_output="Ausgabe-ß"
  map "at Ausgabe-ß/" "at Ausgabe-ß\\"
  check 0 'tarnelthc.exe größe "Übersicht\Projekt-ä.xml"' größe "Übersicht/Projekt-ä.xml"
  expect_line "Analyzing file größe"
  expect_files "Ausgabe-ß" 3

  # Names and title in the help language's code page: the single-byte code
  # pages from tables of our own, the double-byte ones from the system's
  # converter; what a code page lacks as a reference or "?".
  local row lang title word keywords
  for row in "de|Größe für Ω😀|Befehle für Käse|für;Ω😀;Straße" \
              "0x419|Справка Ω|Команды für|поиск;строка;Ёж" \
              "0x411|日本語のヘルプ ¥|コマンド ü|検索;文字列;¥;～" \
              "0x804|中文帮助 €|命令 ü|搜索;字符串;€"; do
    IFS='|' read -r lang title word keywords <<<"$row"
    new_case "codepage-$lang"
    codepage_project "$e2e/$name/input/p.xml" "$lang" "$title" "$word" "$keywords"
    case_output=out
    map "at out/" "at out\\"
    check 0 'tarnelthc.exe x p.xml' x p.xml
    expect_files out 3
  done

  new_case missing
  check 1 'tarnelthc.exe x missing.xml' x missing.xml
  expect_line "Unable to open missing.xml"

  new_case defective
  printf '<?xml version="1.0"?>\n<doc>\n  <library name="A">\n</doc>\n' >"$e2e/$name/input/bad.xml"
  check 1 'tarnelthc.exe x bad.xml' x bad.xml
  expect_line "success"

  new_case check-errors
  cat >"$e2e/$name/input/bad.xml" <<'EOF'
<doc title="Bad">
  <library name="Bad-Name">
    <command><description>No name.</description></command>
  </library>
</doc>
EOF
  check 1 'tarnelthc.exe x bad.xml' x bad.xml
  expect_line "Errors found"

  # Imports and images written with "/" and with "\", and an absolute
  # project path with "/" on the command line.
  new_case separators
  in="$e2e/$name/input/proj"
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
  map "$e2e/$name/posix/proj/" "$(tpath "$e2e/$name/win/proj")\\"
  map "proj\\html/" "proj\\html\\"
  local abs
  abs="$(tpath "$e2e/$name/win/proj/main.xml")"
  check 0 "tarnelthc.exe x ${abs//\\//}" x "$e2e/$name/posix/proj/main.xml"
  expect_line "Creating HTML files at $(tpath "$e2e/$name/win/proj/html")\\"
  expect_line "Importing external file $(tpath "$e2e/$name/win/proj")\\parts/one.xml"
  expect_line "Importing external file $(tpath "$e2e/$name/win/proj")\\parts\\two.xml"
  expect_files proj/html 5

  # An import cycle is found through the identity of the files (volume and
  # file index).
  new_case cycle
  small_project "$e2e/$name/input/main.xml"
  sed -i 's|<library name="Tiny">|<import file="sub/back.xml"/><library name="Tiny">|' "$e2e/$name/input/main.xml"
  mkdir -p "$e2e/$name/input/sub"
  echo '<import file="main.xml"/>' >"$e2e/$name/input/sub/back.xml"
  case_output=out
  map "file ./" "file .\\"
  map "at out/" "at out\\"
  check 0 'tarnelthc.exe x main.xml' x main.xml
  expect_line "Import cycle, file skipped"

  # An earlier run's files and things planted under the names a run writes
  # (a symbolic link, a hard link): each name gets a file of its own and
  # nothing outside the output folder changes.
  new_case planted
  in="$e2e/$name/input"
  small_project "$in/p.xml"
  mkdir -p "$in/out" "$in/victim"
  echo VICTIM >"$in/victim/file"
  echo OLD >"$in/out/index.html"
  echo OLD >"$in/out/document.hhp"
  ln -s ../victim/file "$in/out/Tiny_f_Go.html"
  ln "$in/victim/file" "$in/out/toc.hhc"
  case_output=out
  map "at out/" "at out\\"
  check 0 'tarnelthc.exe x p.xml' x p.xml

  # A title with line breaks and file name characters stays on its lines.
  new_case hostile-title
  small_project "$e2e/$name/input/p.xml"
  sed -i 's|<doc title="Small">|<doc title="a:b\&#10;[FILES]\&#10;../x">|' "$e2e/$name/input/p.xml"
  case_output=out
  map "at out/" "at out\\"
  check 0 'tarnelthc.exe x p.xml' x p.xml

  # The output folder cannot be created: every file is reported, with "\".
  new_case unwritable
  small_project "$e2e/$name/input/p.xml"
  case_output="no/such/out"
  map "no/such/out/" "no\\such\\out\\"
  check 1 'tarnelthc.exe x p.xml' x p.xml
  expect_line "Unable to create no\\such\\out\\index.html"

  # Casing beyond A to Z: the language code of document.hhp is the lowered
  # and then upper-cased lang attribute.
  new_case casing
  small_project "$e2e/$name/input/p.xml"
  sed -i 's|<doc title="Small">|<doc title="Small" lang="ÄäÉéΩωÆæĲǅİıſﬀ𐐀𐐨Ⅻⓐ">|' "$e2e/$name/input/p.xml"
  case_output=out
  map "at out/" "at out\\"
  check 0 'tarnelthc.exe x p.xml' x p.xml
  expect_files out 3

  # Deep nesting: a chain of 300 imports and 100,000 nested elements in one
  # description.
  new_case deep
  in="$e2e/$name/input"
  perl -e 'my $n = 100000;
    print "<doc title=\"Deep\"><import file=\"f1.xml\"/><library name=\"L\"><command name=\"C\">";
    print "<description>", "<b>" x $n, "x", "</b>" x $n, "</description></command></library></doc>";' >"$in/p.xml"
  local i
  for i in $(seq 1 299); do echo "<import file=\"f$((i + 1)).xml\"/>" >"$in/f$i.xml"; done
  echo '<library name="End"/>' >"$in/f300.xml"
  case_output=out
  map "file ./" "file .\\"
  map "at out/" "at out\\"
  check 0 'tarnelthc.exe x p.xml' x p.xml
  expect_files out 4

  # Paths longer than 260 characters.
  new_case long-path
  local deep
  deep="$(printf 'd%.0s' {1..150})/$(printf 'e%.0s' {1..120})"
  mkdir -p "$e2e/$name/input/${deep%/*}"
  demo_input "$e2e/$name/input"
  case_output="$deep"
  map "Importing external file ./" "Importing external file .\\"
  map "$deep/" "${deep//\//\\}\\"
  check 0 'tarnelthc.exe x demo.xml' x demo.xml
  expect_files "$deep" 40
}

# A real console instead of pipes: Wine makes one of a terminal, so the
# program writes with WriteConsoleW and reads the return key with
# ReadConsoleW. The terminal adds its own control sequences, so the text is
# checked line by line instead of against the POSIX run.
check_real_console() {
  new_case real-console
  small_project "$e2e/$name/input/p.xml"
  cp -a "$e2e/$name/input" "$e2e/$name/win"
  local status=0
  (cd "$e2e/$name/win" && { sleep 3; printf '\r'; } |
     env -u DISPLAY TARNELTHC_OUTPUT=out timeout 60 script -qfec "$wine 'T:\\bin\\tarnelthc.exe' größe p.xml" /dev/null \
     >"$e2e/$name/terminal.txt" 2>&1) || status=$?
  perl -pe 's/\e\[[0-9;?]*[A-Za-z]//g; s/\r//g' "$e2e/$name/terminal.txt" >"$e2e/$name/win.console"
  local before=$failures
  [ "$status" = 0 ] || fail "$name: exit code $status, expected 0"
  expect_line "Analyzing file größe"
  expect_line "Creating HTML files at out\\"
  expect_line "Press return to exit"
  expect_files out 3
  [ "$failures" -eq "$before" ] && echo "ok   $name (exit code $status)"
  return 0
}

# One run at a time per output folder: a second run started while the first
# is still writing a large project is turned away and writes nothing.
check_held_folder() {
  new_case held-folder
  local in="$e2e/$name/input" status=0 i
  perl -e 'print "<doc title=\"Big\"><library name=\"L\">";
    print "<command name=\"C$_\"><description>d</description></command>" for 1 .. 2000;
    print "</library></doc>";' >"$in/big.xml"
  small_project "$in/p.xml"
  mkdir -p "$in/out"
  printf '%s' 'tarnelthc.exe x big.xml' >"$e2e/$name/first.txt"
  printf '%s' 'tarnelthc.exe x p.xml' >"$e2e/$name/cmdline.txt"
  (cd "$in" && printf '\r\n' | env -u DISPLAY TARNELTHC_OUTPUT=out timeout 120 "$wine" 'T:\bin\launch.exe' \
     'T:\bin\tarnelthc.exe' "$(tpath "$e2e/$name/first.txt")" >"$e2e/$name/first.console" 2>&1) &
  local first=$!
  for i in $(seq 1 600); do
    grep -q "File ok" "$e2e/$name/first.console" 2>/dev/null && break
    sleep 0.1
  done
  (cd "$in" && printf '\r\n' | env -u DISPLAY TARNELTHC_OUTPUT=out timeout 90 "$wine" 'T:\bin\launch.exe' \
     'T:\bin\tarnelthc.exe' "$(tpath "$e2e/$name/cmdline.txt")" >"$e2e/$name/win.console" 2>&1) || status=$?
  local before=$failures first_status=0
  wait "$first" || first_status=$?
  [ "$status" = 1 ] || fail "$name: second run's exit code $status, expected 1"
  expect_line "Output folder is in use by another run: out\\"
  [ "$first_status" = 0 ] || fail "$name: first run's exit code $first_status, expected 0"
  [ ! -e "$in/out/.tarnelthc.lock" ] || fail "$name: the lock file was left behind"
  expect_files_in "$in/out" 2000
  [ "$failures" -eq "$before" ] && echo "ok   $name (exit codes $first_status and $status)"
  return 0
}

# --- The dialogs, under Xvfb ----------------------------------------------------

xvfb_pid=""
stop_xvfb() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap stop_xvfb EXIT

start_xvfb() {
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdotool getmouselocation >/dev/null 2>&1 && return 0
      sleep 0.2
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  return 1
}

# Waits for a window with this exact title and gives it the keyboard.
window() {
  local id
  id="$(timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1)" || true
  if [ -z "$id" ]; then
    echo "dialogs: $name: no window \"$1\""
    return 1
  fi
  sleep 2  # the dialog fills in its controls after it is shown
  if ! xdotool windowfocus --sync "$id" 2>/dev/null; then
    echo "dialogs: $name: window \"$1\" takes no focus"
    return 1
  fi
}

# Starts the program in the background in the case folder, without the
# launcher: the background job is the timeout process and its child the
# program itself, so ending the job ends the program and its dialogs.
start_dialog_run() {
  printf '\r\n' >"$e2e/$name/stdin.txt"
  (cd "$e2e/$name/win" && exec env -u TARNELTHC_OUTPUT timeout 120 "$wine" 'T:\bin\tarnelthc.exe' "$@" \
      <"$e2e/$name/stdin.txt" >"$e2e/$name/win.console" 2>"$e2e/$name/win.stderr") &
  run_pid=$!
}

abort_dialog_run() {
  kill "$run_pid" 2>/dev/null || true
  wait "$run_pid" 2>/dev/null || true
}

finish_dialog_run() {
  local i status=0
  for i in $(seq 1 60); do
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 1
  done
  if kill -0 "$run_pid" 2>/dev/null; then
    kill "$run_pid" 2>/dev/null || true
    wait "$run_pid" 2>/dev/null || true
    return 1
  fi
  wait "$run_pid" || status=$?
  echo "$status" >"$e2e/$name/win.status"
}

dialog_new_case() {
  new_case "$1"
  demo_input "$e2e/$name/input"
  cp -a "$e2e/$name/input" "$e2e/$name/win"
}

not() { ! "$@"; }

# Runs the command; when it fails, says what was wrong.
dialog_check() {
  "${@:2}" && return 0
  echo "dialogs: $name: $1"
  return 1
}

console_has() { tr -d '\r' <"$e2e/$name/win.console" | grep -Fxq -- "$1"; }

# The file dialog, then the folder dialog that opens in the project folder.
dialog_full_run() {
  dialog_new_case dialog-full
  local project
  project="$(tpath "$e2e/$name/win/demo.xml")"
  start_dialog_run
  window "Select document project file" || { abort_dialog_run; return 1; }
  xdotool type --delay 40 "$project"
  xdotool key Return
  window "Browse for Folder" || { abort_dialog_run; return 1; }
  xdotool key Return
  finish_dialog_run || { echo "dialogs: $name: the program did not end"; return 1; }
  dialog_check "exit code $(cat "$e2e/$name/win.status"), expected 0" [ "$(cat "$e2e/$name/win.status")" = 0 ] || return 1
  dialog_check "no line \"Analyzing file \"" console_has "Analyzing file " || return 1
  dialog_check "output not in the project folder" console_has "Creating HTML files at $(tpath "$e2e/$name/win")\\" || return 1
  # The same files as the demo case's POSIX run.
  local f
  for f in "$e2e"/demo/posix/out/*; do
    dialog_check "$(basename "$f") differs" cmp -s "$f" "$e2e/$name/win/$(basename "$f")" || return 1
  done
}

# One argument: it is only echoed and the file dialog still comes; cancelling
# it shows the message box and ends without "Press return to exit".
dialog_cancel_file() {
  dialog_new_case dialog-cancel-file
  start_dialog_run demo.xml
  window "Select document project file" || { abort_dialog_run; return 1; }
  xdotool key Escape
  window "Abort" || { abort_dialog_run; return 1; }
  xdotool key Return
  finish_dialog_run || { echo "dialogs: $name: the program did not end"; return 1; }
  dialog_check "exit code $(cat "$e2e/$name/win.status"), expected 1" [ "$(cat "$e2e/$name/win.status")" = 1 ] || return 1
  dialog_check "no line \"Analyzing file demo.xml\"" console_has "Analyzing file demo.xml" || return 1
  dialog_check "\"Press return to exit\" after an abort" not console_has "Press return to exit" || return 1
  [ ! -e "$e2e/$name/win/index.html" ]
}

dialog_cancel_folder() {
  dialog_new_case dialog-cancel-folder
  start_dialog_run
  window "Select document project file" || { abort_dialog_run; return 1; }
  xdotool type --delay 40 "$(tpath "$e2e/$name/win/demo.xml")"
  xdotool key Return
  window "Browse for Folder" || { abort_dialog_run; return 1; }
  xdotool key Escape
  window "Abort" || { abort_dialog_run; return 1; }
  xdotool key Return
  finish_dialog_run || { echo "dialogs: $name: the program did not end"; return 1; }
  dialog_check "exit code $(cat "$e2e/$name/win.status"), expected 1" [ "$(cat "$e2e/$name/win.status")" = 1 ] || return 1
  dialog_check "\"Press return to exit\" after an abort" not console_has "Press return to exit" || return 1
  [ ! -e "$e2e/$name/win/index.html" ]
}

run_dialogs() {
  dialog_failures=0
  if ! start_xvfb; then
    echo "dialogs: no X server could be started"
    dialog_failures=1
    return
  fi
  # The cases before ran without a display, and Wine's desktop process of
  # that time would hold the first windows invisibly: wait until it ended.
  timeout 30 "$wineserver" -w || true
  local test attempt
  for test in dialog_cancel_file dialog_cancel_folder dialog_full_run; do
    local passed=0
    for attempt in 1 2 3; do
      fence_drives
      if "$test"; then
        passed=1
        break
      fi
      echo "dialogs: $test attempt $attempt failed"
    done
    if [ "$passed" -eq 1 ]; then
      echo "ok   $test (attempt $attempt)"
    else
      echo "FAIL $test"
      dialog_failures=$((dialog_failures + 1))
    fi
  done
  stop_xvfb
  xvfb_pid=""
}

# --- Main -----------------------------------------------------------------------

start=$SECONDS
install_packages
fetch_expat_source
build_expat
build_program
echo "Windows program: $wb/program/tarnelthc.exe"
[ "$build_only" -eq 1 ] && exit 0

build_launcher
step "Building the POSIX program"
# Configured as scripts/build.sh does, so both can share the folder; only the
# program itself is built here.
cmake -S "$root" -B "$posix_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNELTHC_WERROR=ON >/dev/null
cmake --build "$posix_dir" --target tarnelthc
posix_bin="$posix_dir/tarnelthc"

rm -rf "$e2e"
mkdir -p "$e2e/bin"
cp "$wb/program/tarnelthc.exe" "$wb/launch.exe" "$e2e/bin/"
setup_wine

step "End-to-end cases (Windows under Wine against POSIX)"
run_cases
check_real_console
check_held_folder

if [ "$dialogs" != "skip" ]; then
  step "Dialogs under Xvfb"
  run_dialogs
  if [ "$dialog_failures" -gt 0 ]; then
    if [ "$dialogs" = "require" ]; then
      failures=$((failures + dialog_failures))
    else
      echo "dialogs: $dialog_failures check(s) failed (reported only)"
    fi
  fi
fi

timeout 30 "$wineserver" -w || true
echo "Time: $((SECONDS - start)) s"
if [ "$failures" -gt 0 ]; then
  echo "Windows tests: $failures failure(s)"
  exit 1
fi
echo "Windows tests: all cases match"
