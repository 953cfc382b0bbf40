#!/bin/sh
# Fails on any C++ file in git that clang-format (with the repository's .clang-format) would
# change, and names the file and line.
#   formatting.sh SRC
set -eu
cd "${1:?usage: formatting.sh SRC}"
# Without git the list below would be empty and the check would pass on nothing.
git rev-parse --is-inside-work-tree >/dev/null
git ls-files -z -- '*.cpp' '*.hpp' '*.h' | xargs -0 -r clang-format --dry-run --Werror
echo "$(git ls-files -- '*.cpp' '*.hpp' '*.h' | wc -l) files are clang-formatted."
