#!/usr/bin/env bash
# Tries the packages that scripts/package.sh left in dist/ as a user would:
#   - the Debian package, unpacked into a fresh root: its program runs on the
#     demo project, `man -l` renders its manual page without a warning,
#     lintian finds no error, apt accepts it for installation (a dry run);
#   - the Windows zip, unpacked: its program runs under Wine on the demo
#     project and writes the same files as the Debian package's program.
# Installs the Debian packages it needs when missing. Exits non-zero on any
# failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="$root/dist"
wb="${TARNELTHC_WINDOWS_BUILD:-$root/build-windows}"
mkdir -p "$wb"
wb="$(cd "$wb" && pwd)"

step() { echo "== $*"; }
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# the_one PATTERN: the single file of dist/ that matches.
the_one() {
  local files=("$dist"/$1)
  if [ ${#files[@]} -ne 1 ] || [ ! -f "${files[0]}" ]; then
    echo "dist/ must hold exactly one $1 (run scripts/package.sh)" >&2
    exit 1
  fi
  echo "${files[0]}"
}

start=$SECONDS
"$root/scripts/ensure-packages.sh" --no-install-recommends lintian man-db wine64
deb="$(the_one 'tarnelthc_*.deb')"
zip="$(the_one 'tarnelthc-*-windows-x64.zip')"
version="$(dpkg-deb -f "$deb" Version)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- The Debian package -----------------------------------------------------------

step "Debian package: $(basename "$deb")"
dpkg-deb -f "$deb" Depends
fresh="$work/root"
dpkg -x "$deb" "$fresh"
for f in usr/bin/tarnelthc usr/share/man/man1/tarnelthc.1.gz \
         usr/share/doc/tarnelthc/copyright usr/share/doc/tarnelthc/changelog.gz; do
  [ -f "$fresh/$f" ] || fail "the package lacks /$f"
done
# The copyright file carries the license of LICENSE and its holder.
copyright="$fresh/usr/share/doc/tarnelthc/copyright"
holder="$(sed -n 's/^Copyright (c) //p' "$root/LICENSE")"
grep -qx "Copyright: $holder" "$copyright" && grep -qx "License: Expat" "$copyright" ||
  fail "the copyright file does not name the license of LICENSE ($holder)"

# The installed program on the demo, as a script would run it: output folder
# from the environment, no terminal.
status=0
TARNELTHC_OUTPUT="$work/deb-out" "$fresh/usr/bin/tarnelthc" demo "$root/examples/demo/demo.xml" \
  </dev/null >"$work/deb-console.txt" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/deb-console.txt"; fail "the installed program ended with exit code $status on the demo"; }
banner="$(head -n 1 "$work/deb-console.txt")"
[ "$banner" = "TarnelTools Help Compiler V$version" ] ||
  fail "the banner \"$banner\" does not name the package version $version"
[ -f "$work/deb-out/document.hhp" ] && [ -f "$work/deb-out/index.html" ] ||
  fail "the installed program wrote no help project"
echo "demo: exit code $status, $(find "$work/deb-out" -type f | wc -l) files"

# The manual page as man shows it, with every warning of groff on.
if ! MANWIDTH=80 man --warnings=w -l "$fresh/usr/share/man/man1/tarnelthc.1.gz" \
     >"$work/man.txt" 2>"$work/man-warnings.txt" || [ -s "$work/man-warnings.txt" ]; then
  cat "$work/man-warnings.txt"
  fail "man -l does not render the manual page cleanly"
fi
grep -q "tarnelthc $version" "$work/man.txt" || fail "the manual page does not name version $version"
echo "manual page: $(wc -l <"$work/man.txt") lines, no warning"

# lintian exits non-zero on an error; warnings and notes are shown only.
lintian_status=0
lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$work/lintian.txt" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors (exit code $lintian_status)"
echo "lintian: exit code $lintian_status"

# apt resolves the dependencies (a dry run changes nothing).
apt-get install -s -qq "$deb" >"$work/apt.txt" 2>&1 || { cat "$work/apt.txt"; fail "apt-get cannot install the package"; }
echo "apt-get install -s: $(grep -c '^Inst' "$work/apt.txt") package(s) to install"

# --- The Windows zip ----------------------------------------------------------------

step "Windows zip: $(basename "$zip")"
# Wine sees only the folder of the Windows tests, as drive T: (as
# scripts/windows-test.sh sets it up), and the zip is unpacked there.
e2e="$wb/e2e"
unpacked="$e2e/zip-check"
rm -rf "$unpacked"
mkdir -p "$unpacked/demo"
(cd "$unpacked" && cmake -E tar xf "$zip")
top="$(basename "$zip" .zip)"
for f in tarnelthc.exe README.txt LICENSE.txt expat-COPYING.txt; do
  [ -f "$unpacked/$top/$f" ] || fail "the zip lacks $top/$f"
done
for f in README.txt LICENSE.txt; do
  text="$unpacked/$top/$f"
  if [ -f "$text" ] && [ "$(grep -c $'\r$' "$text")" -ne "$(wc -l <"$text")" ]; then
    fail "$f has lines that do not end in CRLF"
  fi
done
tr -d '\r' <"$unpacked/$top/LICENSE.txt" | cmp -s - "$root/LICENSE" || fail "the zip's LICENSE.txt is not LICENSE"

export WINEPREFIX="$wb/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
wine=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  step "Creating the Wine prefix"
  env -u DISPLAY "$wine" wineboot --init >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver64 -w || true
fi
rm -f "$WINEPREFIX/dosdevices/z:"
ln -sfn "$e2e" "$WINEPREFIX/dosdevices/t:"

cp -R "$root/examples/demo/." "$unpacked/demo/"
rm -rf "$unpacked/demo/html"
status=0
(cd "$unpacked/demo" && printf '\r\n' | env -u DISPLAY TARNELTHC_OUTPUT=out timeout 120 \
   "$wine" "T:\\zip-check\\$top\\tarnelthc.exe" demo demo.xml >"$work/zip-console.txt" 2>&1) || status=$?
[ "$status" -eq 0 ] || { cat "$work/zip-console.txt"; fail "the zip's program ended with exit code $status on the demo"; }
if diff -r "$work/deb-out" "$unpacked/demo/out" >"$work/diff.txt"; then
  echo "demo under Wine: exit code $status, the same $(find "$unpacked/demo/out" -type f | wc -l) files as the Debian package's program"
else
  head -n 20 "$work/diff.txt"
  fail "the zip's program wrote other files than the Debian package's program"
fi
timeout 30 /usr/lib/wine/wineserver64 -w || true

echo "Time: $((SECONDS - start)) s"
if [ "$failures" -gt 0 ]; then
  echo "Package checks: $failures failure(s)"
  exit 1
fi
echo "Package checks: all passed"
