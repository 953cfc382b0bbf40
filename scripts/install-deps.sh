#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only when one is missing.
# Needs root (or sudo) the first time. 32-bit Wine is asked for only where 32-bit code runs,
# and its absence is no failure: the tests then run the 64-bit build end to end instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  cmake make g++ clang-format
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libgif-dev
  wine wine64 fonts-wine
  xvfb xauth x11-utils imagemagick zip
)
wine32=()
if "$here/runs-32bit.sh" --cpu >/dev/null; then
  wine32=(wine32:i386)
fi

missing_of() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing32 < <(missing_of "${wine32[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing32[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
# A mirror part-way through a sync fails one index or another: what was fetched may still do.
if ! "${sudo[@]}" apt-get update -qq; then
  echo "Warning: the package index was not refreshed in full; installing from what was fetched." >&2
fi
install() {
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "$@" </dev/null
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! install "${missing[@]}"; then
    mapfile -t still < <(missing_of "${missing[@]}")
    echo "Could not install: ${still[*]}. apt-get's reason is above." >&2
    exit 1
  fi
fi
# On its own: its i386 libraries must match the amd64 ones version for version, which a
# half-synced mirror can make impossible without holding anything else back.
if [ ${#missing32[@]} -gt 0 ]; then
  echo "Installing: ${missing32[*]}"
  if ! install "${missing32[@]}"; then
    echo "Warning: ${missing32[*]} could not be installed (apt-get's reason is above): the" \
      "64-bit build runs end to end instead of the 32-bit one." >&2
  fi
fi
