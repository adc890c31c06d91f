#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine (run as root).
# Idempotent: a second run checks with dpkg-query and returns in well under a second.
set -euo pipefail
source "$(dirname "$0")/report-failure.sh"
here=$(cd "$(dirname "$0")/.." && pwd)

# Both Wine installations: the 32-bit one runs the client where the kernel runs 32-bit code, the
# 64-bit one runs a 64-bit build of it where it does not (scripts/wine-env.sh).
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake ninja-build googletest dpkg-dev
          wine wine32:i386 libgl1:i386 libgl1-mesa-dri:i386
          libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
          libxcomposite1:i386 libxxf86vm1:i386 libfreetype6:i386
          wine64 libgl1:amd64 libgl1-mesa-dri:amd64 libxrender1:amd64 libxrandr2:amd64 libxi6:amd64
          libxcursor1:amd64 libxinerama1:amd64 libxcomposite1:amd64 libxxf86vm1:amd64
          libfreetype6:amd64
          xvfb xauth xdotool x11-apps x11-utils imagemagick fonts-dejavu-core
          python3-pil python3-numpy ca-certificates clang-format)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -q '^installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

"$here/scripts/fetch-mbedtls.sh"
