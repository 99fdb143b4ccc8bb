#!/usr/bin/env bash
# Installs into a temporary prefix and checks what a desktop needs.
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/usr" >"$tmp/install.log"
fail=0
for f in bin/varnek share/varnek/hilfe-Vx.html share/applications/varnek.desktop \
         share/icons/hicolor/scalable/apps/varnek.svg share/icons/hicolor/48x48/apps/varnek.png \
         share/icons/hicolor/128x128/apps/varnek.png; do
  [ -s "$tmp/usr/$f" ] || { echo "missing: $f"; fail=1; }
done
[ -x "$tmp/usr/bin/varnek" ] || { echo "not executable: bin/varnek"; fail=1; }
desktop-file-validate "$tmp/usr/share/applications/varnek.desktop" || fail=1
grep -q '^Categories=.*Network;' "$tmp/usr/share/applications/varnek.desktop" || { echo "no Network category"; fail=1; }
grep -q '^Icon=varnek$' "$tmp/usr/share/applications/varnek.desktop" || { echo "wrong icon"; fail=1; }
for size in 48 128; do
  python3 -c 'import struct,sys; h=open(sys.argv[1],"rb").read(24); sys.exit(h[:8]!=b"\x89PNG\r\n\x1a\n" or struct.unpack(">II",h[16:24])!=(int(sys.argv[2]),)*2)' \
    "$tmp/usr/share/icons/hicolor/${size}x${size}/apps/varnek.png" "$size" ||
    { echo "not a ${size}x${size} PNG: varnek.png"; fail=1; }
done
grep -q '<html lang="de">' "$tmp/usr/share/varnek/hilfe-Vx.html" || { echo "page not German"; fail=1; }
[ "$fail" -eq 0 ] && echo "install ok"
exit "$fail"
