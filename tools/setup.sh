#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages that are missing,
# then configures and builds into build/. Safe to run again and again.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  libtiff-dev libtiff-tools libicu-dev
  libgtest-dev googletest libbenchmark-dev
  xdg-utils python3-aiosmtpd openssl ghostscript
  qt6-image-formats-plugins
)
# Tools only the benchmarks compare against (tools/bench.sh asks for them).
read -r -a extra <<< "${QUILLON_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")

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

build="${QUILLON_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
