#!/usr/bin/env bash
# Sets up, builds, and runs Wavsmith's main job on the bundled example album.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh build
./build/wavsmith-cli encode --out build/examples/mp3 --yes --artist "The Examples" \
    --album "First Light" --year 2026 build/examples
