#!/usr/bin/env bash
# `make run` (scripts/run.sh) starts the program in the run folder with the
# help page beside it, so that the Help button finds HalvexRarovuvUvizo.htm
# in the current folder.  A stand-in program records where it was started
# and what it found there; no display is needed.
# Usage: run_script_test.sh <source folder>
set -euo pipefail
source_dir="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/build/app"
cat >"$work/build/app/HalvexBarcode" <<STUB
#!/usr/bin/env bash
pwd >"$work/started-in"
cp HalvexRarovuvUvizo.htm "$work/found.htm"
STUB
chmod +x "$work/build/app/HalvexBarcode"

page="$source_dir/docs/HalvexRarovuvUvizo.htm"
[[ -s "$page" ]] || fail "the help page is missing from docs/"
grep -qi '<html' "$page" || fail "the help page is not an HTML page"

# Twice: the second run finds a help page there already and replaces it.
for round in first second; do
    rm -f "$work/started-in" "$work/found.htm"
    DISPLAY=:stand-in bash "$source_dir/scripts/run.sh" "$work/build" "$work/run" >/dev/null ||
        fail "$round run: run.sh failed"
    [[ "$(cat "$work/started-in")" == "$(cd "$work/run" && pwd)" ]] ||
        fail "$round run: started in $(cat "$work/started-in"), not in the run folder"
    cmp -s "$page" "$work/found.htm" || fail "$round run: the program did not find the help page in its folder"
    echo "older page" >"$work/run/HalvexRarovuvUvizo.htm"
done
echo "run.sh starts the program in the run folder with the help page beside it"
