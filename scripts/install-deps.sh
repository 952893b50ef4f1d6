#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its tests and its package need (as root, or with
# sudo). dpkg-dev and file let CPack find the package's library dependencies.
# python3-serial: pyserial's RFC 2217 server and client, which the remote-port tests run against.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config libfftw3-dev
  qt6-base-dev qt6-serialport-dev qt6-qpa-plugins libqcustomplot-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick fonts-dejavu-core
  dpkg-dev file
  python3-serial
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
