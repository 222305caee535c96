#!/usr/bin/env bash
# Fetches and unpacks the newest source of a Debian package that the
# archive carries, through a private apt configuration made of the
# machine's Debian sources as deb-src entries: the machine's own apt setup
# is never changed. Does nothing when DEST already holds the package.
#
# Usage: scripts/debian-source.sh PACKAGE DEST [APT_DIR]
#   DEST      the folder that gets the unpacked source (DEST/PACKAGE-VERSION)
#   APT_DIR   where the private apt configuration and lists live
#             (default: DEST/../apt)
# Needs dpkg-dev (dpkg-source) to unpack.
set -euo pipefail
package="$1"
dest="$2"
mkdir -p "$dest"
dest="$(cd "$dest" && pwd)"
apt_dir="${3:-$(dirname "$dest")/apt}"

[ -f "$dest/.fetched" ] && exit 0

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

echo "== Fetching Debian's $package source"
rm -rf "${dest:?}"/* "$dest"/.fetched
write_source_list "$apt_dir"
opts=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list"
      -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
      -o "Dir::State::Lists=$apt_dir/lists"
      -o "APT::Sandbox::User=root")
apt-get "${opts[@]}" update -qq
# The newest version first; a version whose files the mirror does not
# carry (yet) gives way to the next one.
versions="$(apt-cache "${opts[@]}" showsrc "$package" | awk '/^Version:/ { print $2 }' |
            sort -u | sort -r -V)"
for v in $versions; do
  if (cd "$dest" && apt-get "${opts[@]}" -qq source "$package=$v" >/dev/null 2>&1); then
    echo "$package $v"
    touch "$dest/.fetched"
    exit 0
  fi
  rm -rf "${dest:?}"/*
done
echo "Unable to fetch the $package source package" >&2
exit 1
