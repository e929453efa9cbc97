#!/usr/bin/env bash
# Makes the Debian package from the built tree (run tools/build.sh first), installs it
# with apt-get as a teacher's administrator would, and checks the installed program:
# the package's fields, the menu entry and AppStream data, the installed kazane-export
# (--help and a real term pack of the sample class), and the installed kazane started
# offscreen for a few seconds by a new user: it must keep running and create its files
# in that user's folders, nothing beside the program. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
fail() { echo "package-check: $*" >&2; exit 1; }

# file: CPack reads each installed file's kind with it to compute the library dependencies.
tools=(dpkg-dev file desktop-file-utils appstream)
missing=()
for p in "${tools[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

[ -x build/kazane ] || fail "build/kazane is missing: run bash tools/build.sh first"
rm -f build/kazane_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/kazane_*_*.deb)
echo "package: $deb"
[ "$(basename "$deb")" = "kazane_1.0.0_$(dpkg --print-architecture).deb" ] || fail "unexpected package name $deb"

# The fields: name, version, the computed library dependencies and the run-time ones.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[ "$(dpkg-deb -f "$deb" Package)" = kazane ] || fail "package name is not kazane"
[ "$(dpkg-deb -f "$deb" Version)" = 1.0.0 ] || fail "version is not 1.0.0"
for needed in libqt6widgets6 libqt6sql6-sqlite fonts-ipaexfont fonts-noto-cjk qt6-translations-l10n; do
  grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed"
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/kazane ./usr/bin/kazane-export ./usr/share/kazane/testdisp.rpt ./usr/share/kazane/help/index.html \
            ./usr/share/applications/jp.mevra.kazane.desktop ./usr/share/metainfo/jp.mevra.kazane.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/kazane.svg ./usr/share/icons/hicolor/48x48/apps/kazane.png \
            ./usr/share/man/man1/kazane-export.1.gz ./usr/share/man/ja/man1/kazane-export.1.gz; do
  grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
done

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "$root/$deb"

desktop-file-validate /usr/share/applications/jp.mevra.kazane.desktop
appstreamcli validate --no-net /usr/share/metainfo/jp.mevra.kazane.metainfo.xml

# A new user with folders of their own.
user=$(mktemp -d)
trap 'rm -rf "$user"' EXIT
export HOME="$user/home" XDG_CONFIG_HOME="$user/home/.config" XDG_DATA_HOME="$user/home/.local/share"
export XDG_RUNTIME_DIR="$user/run" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
datafolder="$XDG_DATA_HOME/Mevra/Kazane"

/usr/bin/kazane-export --help >"$user/help.txt"
head -1 "$user/help.txt" | grep -q '^使い方: kazane-export' || fail "kazane-export --help does not show its usage"

cp -r tests/data/sample/homeroom "$user/sample"
/usr/bin/kazane-export --settings tests/data/sample/homeroom.ini --data "$user/sample" \
  --term-pack "$user/pack" --term 1 >/dev/null
for made in 国語_総合集計.pdf 国語_個人_01.pdf 出欠_１学期集計_指導要録用.pdf; do
  [ "$(head -c 4 "$user/pack/$made")" = "%PDF" ] || fail "the term pack lacks $made"
done
echo "term pack: $(ls "$user/pack" | wc -l) PDF files"
[ ! -e "$datafolder" ] || fail "kazane-export wrote into $datafolder"

# The installed program, first started by that user: it must still be running after
# a few seconds (timeout ends it with status 124).
set +e
timeout 8 /usr/bin/kazane >"$user/kazane.log" 2>&1
status=$?
set -e
[ "$status" -eq 124 ] || { cat "$user/kazane.log" >&2; fail "kazane ended with status $status"; }
for file in 国語.dat 体育.dat shuketu.dat; do
  [ -f "$datafolder/$file" ] || fail "kazane did not create $datafolder/$file"
done
[ -f "$XDG_CONFIG_HOME/Mevra/Kazane.ini" ] || fail "kazane did not write its settings"
grep -q "DataPath=$datafolder" "$XDG_CONFIG_HOME/Mevra/Kazane.ini" || fail "the data folder is not the user's"
leftovers=$(find /usr/bin /usr/share/kazane -newer "$root/$deb" \( -name '*.mdb' -o -name '*.dat' -o -name '*.lock' -o -name '*.Nam' \) 2>/dev/null)
[ -z "$leftovers" ] || fail "kazane wrote beside the program: $leftovers"
echo "kazane: ran offscreen and created $(ls "$datafolder" | wc -l) files in $datafolder"
echo "package-check: all checks passed"
