#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: install what is missing, then build.
# Sourced, not run; expects ROOT to be set to the checkout.
set -euo pipefail

# Packages the build, the tests and the window need on Debian 12.
DELFILES_PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev
  fonts-ipafont-gothic
  dbus gvfs gvfs-daemons trash-cli
  xvfb xdotool x11-utils desktop-file-utils
)

delfiles_install_missing() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "delfiles: installing ${missing[*]}" >&2
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  # A fresh machine's package lists may be empty or stale: refresh and retry once.
  local apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends)
  if ! "${apt[@]}" "${missing[@]}" </dev/null; then
    "${sudo[@]}" apt-get update </dev/null
    "${apt[@]}" "${missing[@]}" </dev/null
  fi
}

# delfiles_build BUILD_DIR [cmake options...]
delfiles_build() {
  local dir="$1"
  shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$dir" -j2
}
