# Installs the Debian packages the build, the tests and the local server need.
# Sourced by scripts/run and scripts/test.
VARNEK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin
  libcurl4-openssl-dev libgtest-dev googletest
  python3 python3-pyftpdlib
  libspeechd-dev speech-dispatcher speech-dispatcher-audio-plugins speech-dispatcher-espeak-ng espeak-ng fonts-dejavu-core
  libgl-dev xvfb xauth xdotool openbox
  xdg-utils desktop-file-utils qt6-translations-l10n dpkg-dev
  clang libclang-rt-14-dev poppler-utils x11-utils
  qtkeychain-qt6-dev python3-openssl openssl
  dbus dbus-x11 at-spi2-core python3-pyatspi
  python3-dbus python3-gi gir1.2-glib-2.0 trayer
)

varnek_install_deps() {
  local missing=()
  for p in "${VARNEK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

varnek_build() {
  local dir="$1" type="${2:-RelWithDebInfo}"
  cmake -S "$VARNEK_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
