#!/usr/bin/env bash
# Installs what building and testing Larkspan needs on Debian 12; with
# --windows also the cross compiler for rfa.exe and wine to test it.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev
  qt6-base-dev qt6-image-formats-plugins qt6-tools-dev qt6-l10n-tools
  shared-mime-info fonts-dejavu-core # file-type icons and text metrics in the window tests
  locales # a decimal-comma locale for the tests of locale-independent texts
  liblzo2-dev # tests and benchmarks only: the product has its own decoder
  # the installed-tree and .deb tests
  desktop-file-utils shared-mime-info libxml2-utils groff-base dpkg-dev
)
if [ "${1:-}" = --windows ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine64)
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${packages[@]}"
# Sizes must read the same under a decimal-comma locale: the tests switch to this one.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
