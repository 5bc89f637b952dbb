#!/usr/bin/env bash
# Side by side with zint: the same 10,000 values (10000000 to 10009999) made
# into PNG files by `halvex-barcode batch` and by `zint --batch`, Code 128
# and EAN-13, 2 pixels a module (zint's default scale), the value printed
# under the bars in both, into a fresh folder each run.  Prints the median
# symbols per second of each, their ratio, and the peak memory (RSS).
#
# Usage: bench/vs_zint.sh [RUNS]      (default 5 runs of each)
# Needs: zint, GNU time (/usr/bin/time); builds halvex-barcode in Release
# into build-bench/.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVEX_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target halvex-barcode >/dev/null
halvex="$build/cli/halvex-barcode"
command -v zint >/dev/null || { echo "zint is not installed (Debian package zint)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time is not installed (Debian package time)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
seq 10000000 10009999 > "$work/values.txt"
count=$(wc -l < "$work/values.txt")

# One timed run in a fresh folder: prints "SECONDS PEAK_KB".
timed() {
    rm -rf "$work/out" && mkdir "$work/out"
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" ||
        { cat "$work/err.txt" >&2; exit 1; }
    local made
    made=$(find "$work/out" -name '*.png' | wc -l)
    [ "$made" -eq "$count" ] || { echo "made $made files, not $count: $*" >&2; exit 1; }
    cat "$work/time.txt"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

compare() {
    local label="$1" zintType="$2"; shift 2
    local ours=() theirs=() peakOurs=0 peakTheirs=0 t m
    for ((i = 1; i <= runs; i++)); do
        read -r t m < <(timed "$halvex" batch -i "$work/values.txt" -o "$work/out/{n:05}.png" --modul 2 "$@")
        ours+=("$t"); if ((m > peakOurs)); then peakOurs=$m; fi
        read -r t m < <(timed zint --batch -b "$zintType" -i "$work/values.txt" -o "$work/out/~~~~~.png")
        theirs+=("$t"); if ((m > peakTheirs)); then peakTheirs=$m; fi
    done
    local mo mt
    mo=$(printf '%s\n' "${ours[@]}" | median)
    mt=$(printf '%s\n' "${theirs[@]}" | median)
    awk -v l="$label" -v n="$count" -v o="$mo" -v t="$mt" -v po="$peakOurs" -v pt="$peakTheirs" 'BEGIN {
        so = (o > 0) ? n / o : 0; st = (t > 0) ? n / t : 0; ratio = (st > 0) ? so / st : 0
        printf "%-9s halvex-barcode %8.0f symbols/s (%.2f s, peak %5.1f MB)   zint %8.0f symbols/s (%.2f s, peak %5.1f MB)   ratio %.2f\n",
               l, so, o, po / 1024, st, t, pt / 1024, ratio }'
}

echo "$count values, $runs runs each, median wall time, $(nproc) cores"
compare "Code 128" 20 -t Code128B
compare "EAN-13" 13 -t EAN13 --quiet-zone
