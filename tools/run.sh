#!/usr/bin/env bash
# Builds the tools and opens the editor on the bundled demo level. Without a display it says
# so and prints the demo level's information instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/build.sh"
demo="$root/examples/demo.zr3"
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec "$build/src/ui/zr3tool" "$demo"
fi
echo "No display to open the editor on: here is the demo level's information instead."
exec "$build/zr3" info "$demo"
