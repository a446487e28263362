#!/usr/bin/env bash
# Installs the Debian package with apt into a clean Debian 12 chroot, runs both programs there
# without a display, removes the package again and checks that none of its files stay behind.
# usage (as root): tools/package_install_check.sh [CHROOT_DIR]   (default /var/tmp/lm740-chroot)
# The chroot is made with debootstrap the first time and reused afterwards; each run starts by
# removing what an earlier run may have left installed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-/var/tmp/lm740-chroot}
deb=$(ls build-package/lm740_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "no package: run tools/package.sh first" >&2; exit 1; }

if [ ! -x "$root/usr/bin/apt-get" ]; then
    command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc" 2>/dev/null || true' EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

in_root apt-get remove --purge -y -qq -o Dpkg::Use-Pty=0 lm740 >/dev/null 2>&1 || true
cp "$deb" "$root/tmp/"
name=$(basename "$deb")
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0 "/tmp/$name" >/dev/null
in_root dpkg -L lm740 >"$root/tmp/lm740.files"
echo "installed: $(in_root dpkg-query -W -f='${Package} ${Version} ${Status}' lm740)"

in_root lm740 --version
in_root lm740ctl --version
in_root lm740ctl --simulator info
# The command-line tool runs without a display and never loads the widgets library.
if in_root ldd /usr/bin/lm740ctl | grep -q Widgets; then
    echo "lm740ctl links Qt Widgets" >&2
    exit 1
fi
in_root env QT_QPA_PLATFORM=offscreen timeout -s TERM 5 lm740 --simulator=/tmp/sim.set || true
in_root lm740ctl --simulator=/tmp/sim.set get lamps

in_root apt-get remove --purge -y -qq -o Dpkg::Use-Pty=0 lm740 >/dev/null
left=0
while read -r f; do
    if [ -f "$root$f" ]; then
        echo "left behind: $f" >&2
        left=1
    fi
done <"$root/tmp/lm740.files"
[ "$left" = 0 ] && echo "removed: no file of the package left"
rm -f "$root/tmp/$name" "$root/tmp/lm740.files" "$root/tmp/sim.set"
exit "$left"
