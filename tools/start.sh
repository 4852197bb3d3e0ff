#!/usr/bin/env bash
# Starts the built program from its program folder, or says plainly why it cannot.
set -euo pipefail
dir="$(cd "$(dirname "$0")/.." && pwd)/build/Vantrel"
if [ ! -x "$dir/Vantrel" ]; then
  echo "Vantrel is not built yet: run the build command of the README first." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): Vantrel is a desktop" >&2
  echo "program and needs a graphical session. From a terminal without one, try:" >&2
  echo "  xvfb-run -a $dir/Vantrel    (a virtual display)" >&2
  echo "  $dir/vantrel-cli categories    (the command-line converter)" >&2
  exit 1
fi
exec "$dir/Vantrel" "$@"
