#!/usr/bin/env bash
# Cross-builds the Windows program (tarnelthc.exe) with mingw-w64 and runs it
# under Wine on end-to-end cases, each compared with the POSIX build run on
# the same input: the exit code, the console text (CRLF line ends and "\"
# separators on Windows, nothing else may differ) and every output file,
# byte for byte. Exits non-zero on any mismatch. The cases are a table,
# scripts/windows/cases.txt; the steps live beside it in scripts/windows/.
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

# The steps (build.sh), the comparing cases and their table (compare.sh,
# cases.txt), the checks of a console, a held folder and the dialogs
# (interactive.sh).
here="$root/scripts/windows"
# shellcheck source=windows/build.sh
. "$here/build.sh"
# shellcheck source=windows/compare.sh
. "$here/compare.sh"
# shellcheck source=windows/interactive.sh
. "$here/interactive.sh"

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
cmake -S "$root" -B "$posix_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" -DTARNELTHC_WERROR=ON >/dev/null
cmake --build "$posix_dir" --target tarnelthc
posix_bin="$posix_dir/tarnelthc"

rm -rf "$e2e"
mkdir -p "$e2e/bin"
cp "$wb/program/tarnelthc.exe" "$wb/launch.exe" "$e2e/bin/"
setup_wine

step "End-to-end cases (Windows under Wine against POSIX)"
run_table "$here/cases.txt"
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

