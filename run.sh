#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the program with the
# emulated device attached. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
vestorin_install_missing

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESTORIN_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(vestorin_jobs)" --target vestorin vestorin-cli
exec ./build/src/app/vestorin --emulate-device "$@"
