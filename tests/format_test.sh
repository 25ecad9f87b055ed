#!/usr/bin/env bash
# Fails unless every C++ file git tracks is as clang-format 16 writes it (.clang-format), naming
# each file that is not and the lines clang-format would change.
#
#   format_test.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
if ! command -v clang-format-16 >/dev/null; then
  echo "clang-format-16 is missing: tools/install-deps installs it"
  exit 1
fi
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || { echo "git lists no C++ file in $1"; exit 1; }
unformatted=()
for file in "${files[@]}"; do
  clang-format-16 --dry-run --Werror "$file" || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "not formatted (clang-format-16 -i FILE formats one): ${unformatted[*]}"
  exit 1
fi
echo "${#files[@]} C++ files, all formatted"
