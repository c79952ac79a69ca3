#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any given as
# arguments, only when missing.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libqscintilla2-qt6-dev libgtest-dev libgmock-dev
          nlohmann-json3-dev libcli11-dev libutf8proc-dev libdtl-dev fonts-dejavu-core qt6-translations-l10n
          libfreetype-dev fonts-liberation2 zlib1g-dev libxml2-utils libgumbo-dev
          help2man librsvg2-bin desktop-file-utils appstream man-db qt6-charts-dev qt6-svg-dev)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
