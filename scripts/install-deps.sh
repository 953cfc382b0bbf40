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

installed_versions() {
  dpkg-query -W -f='${Status} ${binary:Package} ${Version}\n' |
    awk '$3 == "installed" {print $4, $5}' | LC_ALL=C sort
}

# Where the security suite's amd64 libraries have no i386 twin yet, the main suite has both:
# it is preferred for this one command, through a preferences file of its own, and whatever
# that takes back to an older version is named.
prefs=""
trap '[ -z "$prefs" ] || rm -f "$prefs"' EXIT
install_from_main_suite() {
  local suite before after downgraded
  suite=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release 2>/dev/null)
  [ -n "$suite" ] || return 1
  echo "Trying again with the main suite's ($suite) versions preferred."
  prefs=$(mktemp)
  printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n' "$suite" >"$prefs"
  before=$(installed_versions)
  install -o Dir::Etc::Preferences="$prefs" --allow-downgrades "$@" || return 1
  after=$(installed_versions)
  downgraded=$(LC_ALL=C join <(echo "$before") <(echo "$after") | while read -r name old new; do
    if dpkg --compare-versions "$new" lt "$old"; then
      printf '%s %s to %s, ' "$name" "$old" "$new"
    fi
  done)
  downgraded=${downgraded%, }
  echo "Installed $* with the main suite's ($suite) versions preferred; downgraded:" \
    "${downgraded:-none}."
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
  if ! install "${missing32[@]}" && ! install_from_main_suite "${missing32[@]}"; then
    echo "Warning: ${missing32[*]} could not be installed (apt-get's reason is above): the" \
      "64-bit build runs end to end instead of the 32-bit one." >&2
  fi
fi
