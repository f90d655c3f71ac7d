#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test: once as built (which also
# builds the Debian package and checks it), then clang-tidy over the sources of that build, then
# the tests once more under AddressSanitizer and UndefinedBehaviorSanitizer (without the
# package). Configuring checks the layers and the includes (cmake/QivLayers.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
scripts/clang-tidy.sh build

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQIV_SANITIZE=ON -DQIV_BUILD_BENCH=OFF \
  -DQIV_PACKAGE_TEST=OFF
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
