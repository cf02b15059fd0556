#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Morvek need,
# but only those that are missing, and makes the German UTF-8 locale available
# (the tests check that numbers keep their decimal point under it) with the
# system's German messages (libc-l10n: "Datei oder Verzeichnis nicht gefunden").
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libtbb-dev libceres-dev libboost-dev zlib1g-dev
  fonts-liberation locales libc-l10n
  clang-14 libclang-rt-14-dev
  xvfb xauth poppler-utils
  pybind11-dev python3-pybind11 python3-dev
  python3-numpy python3-pandas python3-pytest python3-matplotlib
  python3-xarray python3-dask python3-distributed python3-mypy python3-pip python3-venv ccache
)

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating locale de_DE.UTF-8"
  if [ -f /etc/locale.gen ] && grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen; then
    $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
