# Sourced by scripts/windows-test.sh: the packages, expat for Windows, the
# Windows program and the launcher.
# shellcheck shell=bash

# --- Packages ---------------------------------------------------------------

install_packages() {
  "$root/scripts/ensure-packages.sh"
  local wanted=(g++-mingw-w64-x86-64-posix dpkg-dev)
  [ "$build_only" -eq 1 ] || wanted+=(wine64 xvfb xdotool)
  "$root/scripts/ensure-packages.sh" --no-install-recommends "${wanted[@]}"
}

# --- expat for Windows, from Debian's own source package ----------------------

fetch_expat_source() {
  local src="$wb/expat-source"
  if compgen -G "$src/expat-*/expat/CMakeLists.txt" >/dev/null; then return; fi
  step "Fetching Debian's expat source"
  "$root/scripts/debian-source.sh" expat "$src" "$wb/apt"
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
  local exe="$wb/launch.exe" source="$root/scripts/windows/launch.c"
  [ -f "$exe" ] && [ "$exe" -nt "$source" ] && return
  "$triple-gcc-posix" -municode -static -O2 -Wall -o "$exe" "$source"
}
