#!/usr/bin/env bash
# Installs, through apt-get, every Debian package that building, running and testing need.
# Only missing packages are installed, so a second run costs a dpkg query and nothing else.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libsqlite3-dev zlib1g-dev libjpeg62-turbo-dev
  googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nasm
  wine wine64 xvfb x11-apps imagemagick
  dpkg-dev tcl locales
  lua5.1 libjpeg-turbo-progs zip unzip 7zip python3
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ "$status" == ii* ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes the code pages 1251 and 866 from LC_ALL=ru_RU.UTF-8 even when that locale is not
# generated, but then it cannot name files outside ASCII (a Cyrillic folder is "not found").
if ! locale -a 2>/dev/null | grep -qixE 'ru_RU\.utf-?8'; then
  echo "Generating the locale ru_RU.UTF-8"
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
