#!/usr/bin/env bash
# Installs what Quarnel needs to build, test and run on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libsqlite3-dev libgtest-dev libxlsxwriter-dev python3-openpyxl
  xvfb xauth xclip openbox fonts-noto-cjk
  dpkg-dev file desktop-file-utils appstream groff-base
  g++-mingw-w64-x86-64-posix
  python3 python3-jsonschema
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
