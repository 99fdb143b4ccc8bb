#!/usr/bin/env bash
# Builds the Debian package and checks its dependencies.
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log") || { cat "$tmp/cpack.log"; exit 1; }
deb="$(ls "$tmp"/*.deb)"
info="$(dpkg-deb -I "$deb")"
echo "$info" | grep -E '^ (Package|Depends):'
fail=0
for p in speech-dispatcher libspeechd2 speech-dispatcher-espeak-ng qt6-speech-speechd-plugin xdg-utils \
         qt6-translations-l10n libqt6widgets6 libqt6svg6 libqt6texttospeech6 qt6-qpa-plugins; do
  echo "$info" | grep -E '^ Depends:' | grep -qE "(^|[ ,])$p(,|$| )" || { echo "missing dependency: $p"; fail=1; }
done
contents="$(dpkg-deb -c "$deb")"
for f in ./usr/bin/varnek ./usr/share/varnek/hilfe-Vx.html ./usr/share/applications/varnek.desktop \
         ./usr/share/icons/hicolor/48x48/apps/varnek.png; do
  echo "$contents" | grep -q " $f\$" || { echo "not in package: $f"; fail=1; }
done
[ "$fail" -eq 0 ] && echo "deb ok"
exit "$fail"
