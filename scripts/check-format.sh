#!/usr/bin/env bash
# Fails, naming the files, when any tracked C++ file differs from what clang-format makes of it
# under .clang-format. Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
unformatted=()
while IFS= read -r file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "check-format: not formatted with clang-format (.clang-format):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
