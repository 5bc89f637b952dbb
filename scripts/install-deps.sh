#!/usr/bin/env bash
# Installs the Debian packages of deps/debian-packages.txt that are missing.
# Runs apt-get only when something is missing, as root or through sudo.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
list="$here/deps/debian-packages.txt"

missing=()
while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done < "$list"

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then
        sudo="sudo"
    else
        echo "error: packages are missing and this user is not root and has no sudo: ${missing[*]}" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
