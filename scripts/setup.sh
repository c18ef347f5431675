#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs to build and test.
# Idempotent: apt-get runs only when something is missing.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config
  libgtest-dev libgmock-dev
  libsqlite3-dev sqlite3
  libcurl4-openssl-dev libxml2-dev
  # the response filter reads gzip and deflate bodies
  zlib1g-dev
  # peers that the network tests start on loopback
  curl tinyproxy dante-server microsocks ncat python3
  # the control panel, wizard and toolbar (wx on GTK 3, GDBus), the
  # browser-close watcher (xcb), and their tests on a virtual display
  libwxgtk3.2-dev libglib2.0-dev libxcb1-dev
  # the GUI tests' on-screen check reads the GTK widgets under wx; their
  # clicks and keys are made by the X server (XTEST)
  libgtk-3-dev libxcb-xtest0-dev
  xvfb xauth dbus dbus-x11
  # checks the desktop's autostart entries that the cleaner and settings write
  desktop-file-utils
  # the desktop's proxy setting that the system-browser configurator sets
  gsettings-desktop-schemas
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
