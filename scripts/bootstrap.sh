#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the component need.
# Packages already present are left alone, so a second run costs one dpkg query.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev
    libpugixml-dev libcurl4-openssl-dev libcpp-httplib-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth libxml2-utils file
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "bootstrap: installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
