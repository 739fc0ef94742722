#!/usr/bin/env bash
# Installs the Debian packages Vexa needs to build, test and run, when any is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libqt6printsupport6 qt6-qpa-plugins fonts-dejavu-core
  clang libclang-rt-14-dev
  xvfb xauth
  dpkg-dev file shared-mime-info desktop-file-utils libglib2.0-bin groff-base
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
