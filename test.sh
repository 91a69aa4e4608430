#!/usr/bin/env bash
# Install what is missing, build, and run every test.
# Extra arguments go to cmake at configure time of a fresh build folder, e.g.
#   BUILD_DIR=build-asan ./test.sh -DDELFILES_SANITIZE=ON
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$ROOT/scripts/setup.sh"
delfiles_install_missing "${DELFILES_PACKAGES[@]}"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
delfiles_build "$BUILD_DIR" "$@"
cd "$BUILD_DIR"
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" ctest --output-on-failure -j2
