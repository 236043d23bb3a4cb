#!/usr/bin/env bash
# Builds the project in Release and makes the Debian package (zr3tool_VERSION_ARCH.deb) with
# CPack: zr3, zr3tool, the desktop entry, the level file type, icons, manual pages and shell
# completions, depending on the libraries the programs link.
#   bash tools/package.sh             the package goes into build-package/
#   BUILD_DIR=... PACKAGE_DIR=... bash tools/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-package}
out=${PACKAGE_DIR:-$build}
"$root/tools/setup-deps.sh"
if [[ ! -f $build/CMakeCache.txt ]]; then
  launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZR3_BUILD_TESTS=OFF \
    "${launcher[@]}"
fi
cmake --build "$build" --parallel
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out"
rm -rf "$out/_CPack_Packages"
ls "$out"/*.deb
