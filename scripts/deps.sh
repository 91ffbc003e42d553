#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12; safe to run again.
# As root it installs through apt-get; otherwise it prints the one line to run.
set -euo pipefail

native_pkgs=(cmake make g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest
             libbenchmark-dev python3 python3-pil imagemagick zip)
win_pkgs=(g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine wine64 wine32:i386 xvfb xauth x11-utils fonts-wine fonts-wqy-zenhei fonts-arphic-uming locales)

missing=()
for p in "${native_pkgs[@]}" "${win_pkgs[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || missing+=("$p")
done
need_locale=0
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need_locale=1

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run as root:" >&2
  echo "  dpkg --add-architecture i386 && apt-get update && apt-get install -y ${missing[*]} && sed -i 's/^# *zh_CN.UTF-8/zh_CN.UTF-8/' /etc/locale.gen && locale-gen" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
