#!/usr/bin/env bash
# Installs the dependencies, builds both programs, writes the sample files into samples/ and
# starts Rastel_Qiv there, so that its file dialog opens on the samples.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
build/tools/qiv_make_samples samples
cd samples
exec ../build/raster_viewer/Rastel_Qiv
