#!/usr/bin/env bash
# Installs what is missing on a Debian machine (apt-get and npm, as root) and
# fetches the chart script.
set -euo pipefail
cd "$(dirname "$0")/.."
# Build and program: compiler, Qt (with the display plugin and Qt's German
# texts), zlib, fonts. Tests: GoogleTest, Google Benchmark, PDF tools,
# Chromium, the desktop-entry and AppStream validators, clang with libFuzzer
# for the fuzz step. Package: dpkg-dev and file for CPack's dependency search.
pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
      libgl-dev zlib1g-dev libgtest-dev libbenchmark-dev fonts-liberation2 qpdf poppler-utils
      chromium mold desktop-file-utils appstream dpkg-dev file clang libclang-rt-14-dev)
# Backups: libzip writes and checks the ZIP archives (its CMake files name the
# tools zipcmp, zipmerge and ziptool); the tests open them with zip and unzip.
pkgs+=(libzip-dev zipcmp zipmerge ziptool zip unzip)
command -v npm >/dev/null 2>&1 || pkgs+=(nodejs npm)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
[ -f node_modules/chart.js/dist/Chart.min.js ] || npm ci --no-audit --no-fund
