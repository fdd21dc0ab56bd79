#!/usr/bin/env bash
# Installs what is missing, builds the tool in build/, and opens the sample sprite in it.
# Extra arguments replace the sample: ./scripts/run.sh my-sprite.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target quennetapp
if [ $# -eq 0 ]; then
  set -- assets/sample.png
fi
exec build/src/app/quennetapp "$@"
