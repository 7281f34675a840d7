#!/usr/bin/env bash
# Installs Debian packages that are missing: the Linux build's by default, or those named.
set -euo pipefail
packages=("$@")
if [ ${#packages[@]} -eq 0 ]; then
    packages=(cmake ninja-build g++ pkg-config libgl-dev qt6-base-dev qt6-base-dev-tools
              qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools python3-jsonschema)
fi
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
