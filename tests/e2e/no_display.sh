#!/usr/bin/env bash
# Without a display, HalvexBarcode says so in one plain sentence and exits 1;
# no toolkit trace, no core dump, no files written.
set -euo pipefail
program="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
for display in "" ":97"; do  # none set; set but nobody answers
    status=0
    if [[ -z "$display" ]]; then
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >out 2>err || status=$?
    else
        env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$program" >out 2>err || status=$?
    fi
    [[ "$status" == 1 ]] || { echo "FAIL: exit status $status with DISPLAY='$display'"; cat err; exit 1; }
    grep -q '^HalvexBarcode .*display' err || { echo "FAIL: no plain message"; cat err; exit 1; }
    ! grep -qiE 'qt\.qpa|plugin|abort' err || { echo "FAIL: toolkit trace"; cat err; exit 1; }
    [[ -z "$(ls -A | grep -vx -e out -e err)" ]] || { echo "FAIL: files written"; ls -A; exit 1; }
done
echo "PASS"
