#!/usr/bin/env bash
# Builds the release twice, from copies of the source tree in two unlike folders, and checks
# that the exe and the zip come out byte for byte the same.
set -euo pipefail
src=$(cd "${1:?usage: reproducible_build.sh SRC}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for copy in a "b/a longer path"; do
  mkdir -p "$work/$copy/src"
  (cd "$src" && git ls-files -z --cached --others --exclude-standard |
    xargs -0 -I{} cp --parents {} "$work/$copy/src/")
  "$src/scripts/release.sh" "$work/$copy/src" "$work/$copy/dist" >/dev/null
done
cat "$work/a/dist/SHA256SUMS"
if ! cmp "$work/a/dist/SHA256SUMS" "$work/b/a longer path/dist/SHA256SUMS"; then
  diff "$work/a/dist/SHA256SUMS" "$work/b/a longer path/dist/SHA256SUMS" || true
  echo "The two builds differ." >&2
  exit 1
fi
echo "Both builds are identical."
