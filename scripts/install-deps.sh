#!/usr/bin/env bash
# Installs what building and testing QXI needs on Debian 12, as root: the MinGW-w64 cross
# compilers, Wine, clang with libFuzzer, GoogleTest and Google Benchmark sources, Xvfb and
# liblnk-utils. Does nothing when everything is present already.
# install-deps.sh PACKAGE...: the same for the packages named instead (scripts/test-win32.sh
# asks for the 32-bit emulator only where it needs it).
set -eu

packages=(
  cmake ninja-build clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  libgtest-dev libbenchmark-dev
  xvfb xauth liblnk-utils
  imagemagick  # import, for the setup window screenshot (tools/qxisetup/screenshot.sh)
  nsis  # makensis, for the peer installers of the install benchmark (bench/install/run.sh)
)
[ $# -eq 0 ] || packages=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing ${missing[*]}; run this script as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386

install() { apt-get "$@" install -y --no-install-recommends "${missing[@]}"; }

if apt-get update -q && install; then
  exit 0
fi
# A mirror in the middle of a sync (the security suite often is) fails the whole update.
# The main suites alone have everything listed above.
echo "install-deps: retrying with the main Debian suites only" >&2
parts=$(mktemp -d)
trap 'rm -rf "$parts"' EXIT
cat >"$parts/main.sources" <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
only_main=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$parts")
apt-get "${only_main[@]}" update -q
install "${only_main[@]}"
