#!/usr/bin/env bash
# Install what is missing, build, and open the window with the given files.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$ROOT/scripts/setup.sh"
delfiles_install_missing "${DELFILES_PACKAGES[@]}"
delfiles_build "$ROOT/build" >&2
exec "$ROOT/build/app/delfiles" "$@"
