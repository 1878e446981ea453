#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(g++ clang cmake ninja-build pkg-config libgtest-dev libbenchmark-dev libclang-rt-14-dev
          libmp3lame-dev libmpg123-dev lame valgrind tinyproxy libdiscid-dev
          qt6-translations-l10n adwaita-icon-theme python3-pyatspi at-spi2-core dbus
          qt6-base-dev xvfb xauth libcurl4-openssl-dev nlohmann-json3-dev ca-certificates
          dpkg-dev file lintian desktop-file-utils appstream bash-completion xdotool
          libglib2.0-dev)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
