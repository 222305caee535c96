#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing
# (the tests read help files with the readers Debian packages), and any
# extra packages named.
# Usage: scripts/ensure-packages.sh [--no-install-recommends] [extra packages...]
#   --no-install-recommends  installs only what the missing packages depend on
#                            (Wine's recommendations, say, would add 32-bit
#                            support, fonts and media libraries)
set -euo pipefail
options=()
if [ "${1:-}" = "--no-install-recommends" ]; then
  options+=(--no-install-recommends)
  shift
fi
packages=(cmake ninja-build g++ pkg-config libexpat1-dev libgtest-dev fp-utils
  libchm-dev libchm-bin libmspack-dev p7zip-full python3-chm "$@")
# Other generators' help projects, compiled by --compile in the tests.
packages+=(doxygen python3-sphinx python3-sphinxcontrib.htmlhelp dpkg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq "${options[@]}" "${missing[@]}"
fi
