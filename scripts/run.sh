#!/usr/bin/env bash
# Installs what is missing, builds the tool in build/, and opens the sample sprite in it.
# Extra arguments replace the sample: ./scripts/run.sh my-sprite.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Files named by the caller are relative to where the caller stands, not to the project.
files=()
for f in "$@"; do files+=("$(realpath -m -- "$f")"); done
cd "$root"

./scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target quennetapp
[ ${#files[@]} -eq 0 ] && files=("$root/assets/sample.png")
exec build/src/app/quennetapp "${files[@]}"
