#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, only those missing.
# Runs as root or through sudo; does nothing when everything is there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev libhunspell-dev hunspell-en-us
    qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools libqt6help6
    desktop-file-utils appstream
    dpkg-dev file lintian
    fonts-liberation fonts-symbola
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    python3 python3-dbf python3-dbfread python3-vobject python3-dbusmock dbus-daemon libdbd-xbase-perl
    poppler-utils xvfb xauth
    libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-base-drivers unrtf
    glabels-data
    zint
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo="sudo"; else
        echo "Missing packages (${missing[*]}); run 'make' as root or install sudo." >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
