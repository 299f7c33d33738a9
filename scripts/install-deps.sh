#!/usr/bin/env bash
# Installs, from Debian 12's own packages, whatever of the build and test
# dependencies is missing, and of the packages named as arguments (the
# Windows check's cross compiler, Wine, NSIS…). Quiet, and does nothing when
# all are present.
#
#   scripts/install-deps.sh [package...]
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  qt6-base-dev qt6-l10n-tools libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libftdi1-dev libusb-1.0-0-dev
  libfftw3-dev pkg-config
  libhdf5-dev hdf5-tools zlib1g-dev libdeflate-dev
  libmosquitto-dev mosquitto mosquitto-clients
  libtomlplusplus-dev
  libsqlite3-dev libpq-dev postgresql-15
  fonts-ipafont-gothic
  xvfb xauth x11-utils imagemagick xdotool
  dpkg-dev man-db desktop-file-utils lintian appstream
  pybind11-dev python3-dev python3-numpy python3-pytest python3-pandas
  python3-h5py python3-scipy python3-dask python3-distributed
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}" >&2
  echo "install-deps: run as root (or install them with sudo apt-get install)" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
