#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, when any is missing.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-translations-l10n qt6-declarative-dev libusb-1.0-0-dev libgl-dev
)
for what in "$@"; do
    case $what in
    --test)
        # The widget tests need a font to lay text out on the offscreen platform; the format
        # check needs clang-format; the libusb tests run against a kernel mocked by umockdev; the
        # property-based tests use RapidCheck.
        packages+=(fonts-dejavu-core clang-format umockdev libumockdev-dev librapidcheck-dev)
        ;;
    --random-input)
        # tools/random_input.py: a private X display, a window manager and the input it sends.
        packages+=(xvfb openbox xdotool x11-utils libx11-6)
        ;;
    --package)
        # Building the Debian package and checking it.
        packages+=(dpkg-dev fakeroot file lintian desktop-file-utils appstream)
        ;;
    --coverage)
        # tools/coverage.sh: line coverage per folder.
        packages+=(gcovr)
        ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
