#!/usr/bin/env bash
# Installs the build into a temporary prefix, as a user without root would, and checks what a
# desktop and a shell find there.
#   test_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for path in bin/zr3 bin/zr3tool share/applications/zr3tool.desktop \
  share/mime/packages/zr3-level.xml share/icons/hicolor/scalable/apps/zr3tool.svg \
  share/man/man1/zr3.1 share/man/man1/zr3tool.1 share/bash-completion/completions/zr3 \
  share/zsh/vendor-completions/_zr3; do
  [[ -f $prefix/$path ]] || fail "$path is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/zr3tool.png
  [[ $(file -b "$png") == "PNG image data, $size x $size, "* ]] || fail "$png: $(file -b "$png")"
done

# The installed programs run, without a display.
[[ $("$prefix/bin/zr3" --version) == "zr3 "* ]] || fail "zr3 --version"
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zr3tool" --version) == \
  "ZR3Tool "* ]] || fail "zr3tool --version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zr3tool" --help |
  grep -q '^Usage: .*zr3tool \[options\] \[FILE...\]$' || fail "zr3tool --help"

# The manual pages read, and zr3's names every subcommand and the exit statuses.
page=$(MANWIDTH=100 man -l -P cat "$prefix/share/man/man1/zr3.1" 2>/dev/null)
for command in $("$prefix/bin/zr3" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 { print $1 }'); do
  grep -q "^   $command\$" <<<"$page" || fail "zr3(1) lacks the command $command"
done
grep -q "^EXIT STATUS" <<<"$page" || fail "zr3(1) lacks EXIT STATUS"
MANWIDTH=100 man -l -P cat "$prefix/share/man/man1/zr3tool.1" 2>/dev/null | grep -q "^NAME" ||
  fail "zr3tool(1) does not read"

desktop-file-validate "$prefix/share/applications/zr3tool.desktop" || fail "desktop entry"
grep -qx 'Exec=zr3tool %F' "$prefix/share/applications/zr3tool.desktop" || fail "Exec"
grep -qx 'MimeType=application/x-zr3-level;' "$prefix/share/applications/zr3tool.desktop" ||
  fail "MimeType"

# The MIME package is well formed and builds a database that knows the type by name and by
# the version text at the start of the file.
xmllint --noout "$prefix/share/mime/packages/zr3-level.xml" || fail "MIME package"
XDG_DATA_DIRS=$prefix/share update-mime-database "$prefix/share/mime" 2>&1 | { ! grep .; } ||
  fail "update-mime-database"
grep -q '^50:application/x-zr3-level:\*\.zr3$' "$prefix/share/mime/globs2" || fail "glob"
grep -aq 'application/x-zr3-level' "$prefix/share/mime/magic" || fail "magic"
grep -aq '02012400' "$prefix/share/mime/magic" || fail "magic value"

# The completions load and complete commands, categories and level files.
bash -n "$prefix/share/bash-completion/completions/zr3" || fail "bash completion syntax"
if command -v zsh >/dev/null; then
  zsh -n "$prefix/share/zsh/vendor-completions/_zr3" || fail "zsh completion syntax"
fi
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
touch "$work/town.zr3" "$work/notes.txt"
complete_words() {
  # shellcheck disable=SC1091
  (
    source "$prefix/share/bash-completion/completions/zr3"
    cd "$work"
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _zr3
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
  )
}
[[ $(complete_words zr3 che) == "check " ]] || fail "completing a command: $(complete_words zr3 che)"
[[ $(complete_words zr3 list town.zr3 ma) == "maps " ]] || fail "completing a category"
[[ $(complete_words zr3 check "") == "town.zr3 " ]] || fail "completing a level"
[[ $(complete_words zr3 check --js) == "--json " ]] || fail "completing an option"
echo "installed and checked in $prefix"
