#!/usr/bin/env bash
# Builds the Debian package lm740_<version>_<arch>.deb in build-package/ with Debian's hardening
# flags, then checks it: its contents (dpkg-deb -c), lintian, desktop-file-validate and
# appstreamcli. Installs what is missing first.
#   tools/package.sh            build and check
#   tools/package.sh --no-check build only
set -euo pipefail
cd "$(dirname "$0")/.."
check=1
[ "${1:-}" = "--no-check" ] && check=0

tools/deps.sh --package
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The flags a Debian package is built with, all hardening on (fortify, stack protector, relro, now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DLM740_BUILD_TESTS=OFF \
    -DLM740_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr "-DCMAKE_CXX_FLAGS=$cxxflags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" "${launcher[@]}" >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/lm740_*.deb)
echo "built $deb"
[ "$check" = 1 ] || exit 0

dpkg-deb -c "$deb"
dpkg-deb -f "$deb" Depends Recommends Suggests
desktop-file-validate packaging/pl.vxl.lm740.desktop
appstreamcli validate --no-net packaging/pl.vxl.lm740.metainfo.xml
lintian --fail-on error,warning "$deb" && echo "lintian: clean"
