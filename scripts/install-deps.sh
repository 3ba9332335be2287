#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need. Safe to run again:
# it asks apt only for what is missing and prints what it installed. Packages are
# installed without recommends, so what a tool only recommends is listed here itself
# (xauth, which xvfb-run needs).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libsdl2-dev libcairo2-dev libpixman-1-dev libpango1.0-dev libpng-dev zlib1g-dev
  libfontconfig-dev libfreetype-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wine fonts-dejavu-core fonts-liberation2
  xvfb xauth xdotool x11-apps imagemagick clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: installed ${missing[*]}"
