#!/usr/bin/env bash
# Makes the HTML Help projects of two generators that nobody here wrote,
# from Debian's own packages, for the tests and the comparison with chmcmd:
#   OUT/doxygen-expat/index.hhp   Doxygen (GENERATE_HTMLHELP=YES) over the
#                                 expat sources
#   OUT/sphinx-libuv/libuv.hhp    Sphinx's htmlhelp builder over libuv's
#                                 documentation
# Each project is made once and kept (a stamp file marks it done); runs side
# by side wait for each other. Installs the generators when missing.
#
# Usage: scripts/generator-projects.sh OUT
# Exit code 77 when the generators are missing and cannot be installed (not
# root), so a test can skip.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$1"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

exec 9>"$out/.lock"
flock 9

[ -f "$out/doxygen-expat/.done" ] && [ -f "$out/sphinx-libuv/.done" ] && exit 0

packages=(doxygen python3-sphinx python3-sphinxcontrib.htmlhelp dpkg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    echo "Missing and not installable here: ${missing[*]}" >&2
    exit 77
  fi
  "$root/scripts/ensure-packages.sh" "${missing[@]}"
fi

# made_once DIR PACKAGE MAKER: unless OUT/DIR is done, fetches the Debian
# source of PACKAGE and runs "MAKER OUT/DIR SOURCE" on a fresh OUT/DIR, where
# SOURCE is the unpacked source.
made_once() {
  local dir="$out/$1"
  [ -f "$dir/.done" ] && return
  "$root/scripts/debian-source.sh" "$2" "$out/source/$2" "$out/source/apt"
  rm -rf "$dir"
  "$3" "$dir" "$(echo "$out/source/$2/$2"-*)"
  touch "$dir/.done"
}

# Doxygen: its default settings, then ours. HTML Help asks for no search
# engine and no dynamic menus (Doxygen says so and turns them off itself).
make_doxygen() {
  local dir="$1" source="$2/expat"
  rm -rf "$out/doxygen-work"
  mkdir -p "$out/doxygen-work"
  {
    doxygen -s -g -
    cat <<EOF
PROJECT_NAME = "expat"
INPUT = $source/lib $source/xmlwf
OUTPUT_DIRECTORY = $out/doxygen-work
GENERATE_HTMLHELP = YES
SEARCHENGINE = NO
HTML_DYNAMIC_MENUS = NO
GENERATE_LATEX = NO
HAVE_DOT = NO
EXTRACT_ALL = YES
SOURCE_BROWSER = YES
QUIET = YES
WARNINGS = NO
EOF
  } | (cd "$out/doxygen-work" && doxygen -) >"$out/doxygen.log" 2>&1 || { cat "$out/doxygen.log" >&2; exit 1; }
  mv "$out/doxygen-work/html" "$dir"
  rm -rf "$out/doxygen-work"
}

# Sphinx: Debian's Sphinx finds the htmlhelp builder only as an extension
# named on the command line (libuv's own extension stays).
make_sphinx() {
  local dir="$1" docs="$2/docs/src"
  rm -rf "$out/sphinx-doctrees"
  (cd "$docs" && sphinx-build -q -b htmlhelp -d "$out/sphinx-doctrees" \
    -D extensions=manpage,sphinxcontrib.htmlhelp . "$dir") >"$out/sphinx.log" 2>&1 ||
    { cat "$out/sphinx.log" >&2; exit 1; }
  rm -rf "$out/sphinx-doctrees"
}

made_once doxygen-expat expat make_doxygen
made_once sphinx-libuv libuv1 make_sphinx
