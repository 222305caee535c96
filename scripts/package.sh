#!/usr/bin/env bash
# Builds the two packages into dist/:
#   dist/tarnelthc_<version>_<arch>.deb           the Debian package (CPack)
#   dist/tarnelthc-<version>-windows-x64.zip      the Windows program, its
#                                                 README and license, and
#                                                 expat's license
# The Debian package is built in build-package with Debian's own build flags
# (hardening included); the Windows program comes from
# `scripts/windows-test.sh --build-only` (build-windows/program).
# Installs the Debian packages it needs when missing. scripts/check-packages.sh
# then tries what this script made.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
pb="$root/build-package"
wb="${TARNELTHC_WINDOWS_BUILD:-$root/build-windows}"
dist="$root/dist"
start=$SECONDS

# dpkg-dev and file: CPack computes the package's dependencies with
# dpkg-shlibdeps, which it runs only on files that `file` calls ELF.
"$root/scripts/ensure-packages.sh" dpkg-dev file

echo "== Building the Debian package"
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S "$root" -B "$pb" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNELTHC_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$pb"
rm -rf "$pb/cpack"
(cd "$pb" && cpack -G DEB -B "$pb/cpack" >/dev/null)

echo "== Building the Windows zip"
"$root/scripts/windows-test.sh" --build-only
rm -rf "$wb/cpack"
(cd "$wb/program" && cpack -G ZIP -B "$wb/cpack" >/dev/null)

mkdir -p "$dist"
rm -f "$dist"/tarnelthc_*.deb "$dist"/tarnelthc-*.zip
cp "$pb"/cpack/tarnelthc_*.deb "$wb"/cpack/tarnelthc-*.zip "$dist/"
rm -rf "$wb/cpack"
ls -l "$dist"
echo "Time: $((SECONDS - start)) s"
