#!/usr/bin/env bash
# Installs the Debian packages the build and the test tiers need; does nothing when
# they are all there already.
set -euo pipefail

packages=(
  cmake ninja-build ccache g++ googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format-14 clang-tidy-14
  g++-mingw-w64-x86-64 nsis wine wine64 fonts-wine xvfb xauth imagemagick x11-apps
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
