#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libcli11-dev rapidjson-dev
          libbenchmark-dev qt6-base-dev xvfb xauth clang-14 libclang-rt-14-dev ccache
          # the icon's sizes drawn from its SVG, the manual pages, and the install and package
          # tests' checks
          qt6-svg-dev help2man man-db desktop-file-utils libxml2-utils shared-mime-info file
          dpkg-dev zsh libvalijson-dev)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
