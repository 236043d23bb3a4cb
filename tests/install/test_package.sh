#!/usr/bin/env bash
# Builds the Debian package as tools/package.sh does and checks what it holds and needs.
#   test_package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
BUILD_DIR=$build PACKAGE_DIR=$out bash "$source_dir/tools/package.sh" >/dev/null
debs=("$out"/*.deb)
[[ -f ${debs[0]} ]] || fail "no package in $out"
contents=$(dpkg-deb -c "${debs[0]}")
for path in ./usr/bin/zr3 ./usr/bin/zr3tool ./usr/share/applications/zr3tool.desktop \
  ./usr/share/mime/packages/zr3-level.xml ./usr/share/icons/hicolor/scalable/apps/zr3tool.svg \
  ./usr/share/icons/hicolor/48x48/apps/zr3tool.png ./usr/share/man/man1/zr3.1 \
  ./usr/share/man/man1/zr3tool.1 ./usr/share/bash-completion/completions/zr3 \
  ./usr/share/zsh/vendor-completions/_zr3; do
  grep -q " $path\$" <<<"$contents" || fail "$path is not in the package"
done
depends=$(dpkg-deb -f "${debs[0]}" Depends)
for library in libqt6widgets6 libqt6gui6 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
[[ $(dpkg-deb -f "${debs[0]}" Package) == zr3tool ]] || fail "package name"
echo "${debs[0]##*/}: $(grep -c . <<<"$contents") entries; Depends: $depends"
