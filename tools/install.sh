#!/usr/bin/env bash
# Installs Vantrel for the current user like a desktop program: the program folder into
# ${XDG_DATA_HOME:-~/.local/share}/Vantrel (or the folder given as the only argument),
# a menu entry and an icon. Builds what the program folder needs first.
# A reinstall keeps the catalogue in data/, syscfg.ini and Error.log.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VANTREL_BUILD_DIR:-$root/build}"
case "${XDG_DATA_HOME:-}" in
  /*) data_home="$XDG_DATA_HOME" ;;
  *) data_home="$HOME/.local/share" ;;
esac
prefix="${1:-$data_home/Vantrel}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  "$root/tools/setup-deps.sh"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --target vantrel_program_folder -j2
cmake --install "$build" --prefix "$prefix"
echo "Vantrel is installed in $prefix and listed in the desktop menu."
