#!/usr/bin/env bash
# The main job: builds quenlar.exe and the stand-in game client and runs Quenlar
# under Wine. Usage: scripts/run.sh [--headless] [output-folder]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quenlar
echo "built build/windows/quenlar.exe"
