#!/usr/bin/env bash
# Installs the Debian packages the suite needs to build and test, and only those
# that are missing. Runs apt directly as root, through sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools
  libgl1-mesa-dev libgtest-dev libgmock-dev libbenchmark-dev
  libcdio-dev libcdio-paranoia-dev libiso9660-dev libasound2-dev libasound2-plugins
  libxcb1-dev libxcb-keysyms1-dev libjpeg-dev libsm-dev libice-dev
  xvfb xauth x11-utils x11-xkb-utils xdotool trayer openbox imagemagick
  dbus dbus-x11 python3-dbusmock pulseaudio pulseaudio-utils alsa-utils libfaketime time
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
