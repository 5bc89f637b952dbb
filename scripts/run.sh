#!/usr/bin/env bash
# Starts HalvexBarcode from the working folder $2, so that its settings file
# (HalvexBarcode.cfg) lands there.  Usage: run.sh <build folder> <working folder>
set -euo pipefail
build="$(cd "$1" && pwd)"
rundir="$2"
program="$build/app/HalvexBarcode"
if [[ ! -x "$program" ]]; then
    echo "HalvexBarcode is not built in $build; run: make build" >&2
    exit 1
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "HalvexBarcode needs a graphical display, and none is set (DISPLAY is empty)." >&2
    echo "Start it from a desktop session, or try: xvfb-run make run" >&2
    exit 1
fi
mkdir -p "$rundir"
# The Help button opens the help page from the folder the program starts in.
cp "$(dirname "$0")/../docs/HalvexRarovuvUvizo.htm" "$rundir/"
cd "$rundir"
echo "Starting HalvexBarcode in $(pwd); it keeps its settings in HalvexBarcode.cfg here."
exec "$program"
