#!/usr/bin/env bash
# Builds the Debian package from a build folder, checks that it carries the program, the
# simulated box, the desktop entry, the icon and the manual page, unpacks it into a scratch
# root and runs the unpacked program there (--version needs no display).
# Usage: check-deb.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; exit 1; }
debs=("$scratch"/out/gradel-display_*_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "no gradel-display_<version>_<arch>.deb"; ls "$scratch/out"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"

listing=$(dpkg-deb -c "$deb")
for file in ./usr/bin/Gradel ./usr/bin/gradel-boxsim ./usr/share/applications/gradel.desktop \
            ./usr/share/icons/hicolor/scalable/apps/gradel.svg ./usr/share/man/man1/Gradel.1.gz; do
  grep -q " $file\$" <<<"$listing" || { echo "missing from the package: $file"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "libqt6serialport6" <<<"$depends" || { echo "dependencies not worked out: $depends"; exit 1; }

dpkg -x "$deb" "$scratch/root"
version=$(env -u DISPLAY "$scratch/root/usr/bin/Gradel" --version)
[[ $version == "Gradel Display "* ]] || { echo "unexpected --version: $version"; exit 1; }
env -u DISPLAY "$scratch/root/usr/bin/Gradel" --help | grep -q -- "--simulate"
echo "unpacked and ran: $version"
