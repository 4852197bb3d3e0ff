#!/usr/bin/env bash
# Installs the built program folder into a temporary prefix with a temporary home,
# installs again over the user's own files, and packs the portable archive.
# Usage: install_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src="$1"
build="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

export HOME="$tmp/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME DESTDIR
prefix="$tmp/my apps/Vantrel"  # a blank in the path must survive into the menu entry
shipped="$build/Vantrel"

# A fresh install: the whole program folder, the menu entry and the icon.
cmake --install "$build" --prefix "$prefix" >"$tmp/install1.log"
for f in Vantrel vantrel-cli; do
  [ -x "$prefix/$f" ] || fail "$f missing"
done
for f in HELP.TXT data/Lb.dat data/Dw.dat data/Lb.idx; do
  cmp -s "$shipped/$f" "$prefix/$f" || fail "$f differs from the build"
done
if [ -d "$shipped/Tools" ]; then
  for f in "$shipped/Tools"/*; do
    [ -x "$prefix/Tools/$(basename "$f")" ] || fail "Tools/$(basename "$f") missing"
  done
fi
[ ! -e "$prefix/syscfg.ini" ] && [ ! -e "$prefix/Error.log" ] || fail "user files were shipped"
[ "$("$prefix/vantrel-cli" convert 千米 米 5)" = 5000 ] || fail "installed converter finds no data"

desktop="$HOME/.local/share/applications/vantrel.desktop"
[ -f "$desktop" ] || fail "no menu entry"
for line in '[Desktop Entry]' 'Type=Application' 'Name=Vantrel' 'Icon=vantrel' \
            'Categories=Utility;Calculator;' "Exec=\"$prefix/Vantrel\"" "Path=$prefix"; do
  grep -qxF "$line" "$desktop" || fail "menu entry lacks: $line"
done
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "menu entry has no Chinese name"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "menu entry is not valid"
fi
for size in 48 64 128; do
  [ -s "$HOME/.local/share/icons/hicolor/${size}x${size}/apps/vantrel.png" ] || fail "icon $size"
done

# The user works with it; a reinstall by the install script keeps all of that.
printf 'the user catalogue\n' >>"$prefix/data/Dw.dat"
printf 'the user categories\n' >>"$prefix/data/Lb.dat"
printf 'manifest\n' >>"$prefix/data/Lb.idx"
printf '[Last]\r\nLbName=x\r\n' >"$prefix/syscfg.ini"
printf 'an error\r\n' >"$prefix/Error.log"
mkdir -p "$tmp/before"
cp -p "$prefix/data/"* "$prefix/syscfg.ini" "$prefix/Error.log" "$tmp/before/"
VANTREL_BUILD_DIR="$build" "$src/tools/install.sh" "$prefix" >"$tmp/install2.log"
for f in Dw.dat Lb.dat Lb.idx; do
  cmp -s "$tmp/before/$f" "$prefix/data/$f" || fail "reinstall replaced data/$f"
done
for f in syscfg.ini Error.log; do
  cmp -s "$tmp/before/$f" "$prefix/$f" || fail "reinstall replaced $f"
done

# Part of a catalogue is left as it is (never mixed with shipped files), with a warning;
# the menu entry follows XDG_DATA_HOME.
rm "$prefix/data/Lb.idx"
XDG_DATA_HOME="$tmp/xdg" cmake --install "$build" --prefix "$prefix" >"$tmp/install3.log" 2>&1
grep -q 'only part of a catalogue' "$tmp/install3.log" || fail "no warning about the catalogue"
[ ! -e "$prefix/data/Lb.idx" ] || fail "shipped file mixed into the user's catalogue"
cmp -s "$tmp/before/Dw.dat" "$prefix/data/Dw.dat" || fail "partial catalogue changed"
[ -f "$tmp/xdg/applications/vantrel.desktop" ] || fail "XDG_DATA_HOME not followed"

# The portable archive holds the program folder and writes no menu entry.
export HOME="$tmp/packer"
mkdir -p "$HOME"
(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log")
archive="$(ls "$tmp/pkg"/*.tar.gz)"
tar -tzf "$archive" >"$tmp/contents"
for f in Vantrel vantrel-cli HELP.TXT data/Lb.dat data/Dw.dat data/Lb.idx; do
  grep -qE "^[^/]+/$f\$" "$tmp/contents" || fail "archive lacks $f"
done
[ -z "$(ls -A "$HOME")" ] || fail "packing wrote into the home folder"

echo "install: all checks passed"
