#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the workbench need.
# Installs nothing when everything is already present, so repeat runs cost a second.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qtbase5-dev libqt5serialport5-dev qtwebengine5-dev libqcustomplot-dev
    qttools5-dev-tools qttools5-dev libqt5svg5-dev
    xvfb xauth clang libclang-rt-14-dev
    fonts-dejavu-core fonts-wqy-microhei
    libxlsxwriter-dev libbackward-cpp-dev libdw-dev qttranslations5-l10n
    libqt5serialbus5-dev libqt5serialbus5-plugins libyaml-cpp-dev
    libqt5sql5-sqlite libqt5sql5-psql libpq-dev postgresql poppler-utils imagemagick python3 zlib1g-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
