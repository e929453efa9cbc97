#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Kazane need.
set -euo pipefail
# qt6-translations-l10n gives Qt's own dialogs (file picker, print preview) their
# Japanese texts. dosfstools makes the FAT image the crash test mounts (as root).
# libcups2-dev: printing hands the document to the print system through the CUPS
# API; cups and printer-driver-cups-pdf: the printing tests start a print system of
# their own with PDF printers. fonts-noto-cjk draws the characters IPAex lacks (𠮷
# in a refused name).
packages=(cmake make g++ qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins fonts-ipaexfont fonts-noto-cjk
          qt6-translations-l10n poppler-utils xvfb xauth dosfstools
          libcups2-dev cups printer-driver-cups-pdf)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
# Workbooks (.xlsx) are written by libxlsxwriter; the tests read them back with
# openpyxl, a reader of their own.
for p in libxlsxwriter-dev pkg-config python3-openpyxl; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends libxlsxwriter-dev pkg-config python3-openpyxl
    break
  fi
done
