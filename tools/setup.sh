#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages. A no-op when all of it
# is there already. Needs root (or sudo) only when something is missing.
#   tools/setup.sh [more packages...]      (tools/fuzz.sh adds clang 14 this way, and
#                                          tools/windows-check.sh MinGW-w64 and Wine)
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev fonts-ipafont-gothic xvfb xauth
          dpkg-dev desktop-file-utils lintian  # the Debian package: dpkg-shlibdeps, its checks
          "$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
