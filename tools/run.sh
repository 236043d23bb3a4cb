#!/usr/bin/env bash
# Builds the tools and shows the bundled demo level.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/build.sh"
"$build/zr3" info "$root/examples/demo.zr3"
