#!/usr/bin/env bash
# Starts the program from the working folder $2, so that its settings file
# lands there.  Until the main window exists this shows the command-line tool.
set -euo pipefail
build="$(cd "$1" && pwd)"
rundir="$2"
mkdir -p "$rundir"
# The Help button opens the help page from the folder the program starts in.
cp "$(dirname "$0")/../docs/HalvexRarovuvUvizo.htm" "$rundir/"
cd "$rundir"
if [[ -x "$build/app/HalvexBarcode" ]]; then
    if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
        echo "HalvexBarcode needs a graphical display, and none is set (DISPLAY is empty)." >&2
        echo "Start it from a desktop session, or try: xvfb-run make run" >&2
        exit 1
    fi
    exec "$build/app/HalvexBarcode"
fi
echo "The main window is not built yet; here is the command-line tool:"
"$build/cli/halvex-barcode" --help
echo
"$build/cli/halvex-barcode" types
