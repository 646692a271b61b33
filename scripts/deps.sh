#!/usr/bin/env bash
# Installs the Debian packages the project needs, only when they are missing.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl1-mesa-dev libgtest-dev libgmock-dev
          libbenchmark-dev libmuparser-dev libgif-dev libsleef-dev fonts-liberation clang-format
          qt6-translations-l10n desktop-file-utils)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installiere fehlende Pakete: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo_cmd=()
else
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
