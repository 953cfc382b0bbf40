#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only when one is missing,
# so running it again costs a second. Needs root (or sudo) the first time.
set -euo pipefail

packages=(
  cmake make g++ clang-format
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  googletest libgif-dev
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils imagemagick zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
