#!/usr/bin/env bash
# Takes screenshots of both main windows against the simulator under Xvfb, at 1280x800 and
# at a 200 % scale factor (on a 2560x1600 screen, and on a 1280x800 one, where the window must
# stay inside the screen and its panels scroll). PNGs go to DIR (default shots/).
#   scripts/screenshots.sh [--lang ja] [DIR]
# --lang ja starts the tool in Japanese (a Japanese system locale; a Japanese font is
# installed for it) and adds "-ja" to the file names.
set -euo pipefail
cd "$(dirname "$0")/.."
lang=en
if [ "${1:-}" = --lang ]; then
  lang=${2:?usage: scripts/screenshots.sh [--lang ja] [DIR]}
  shift 2
fi
dir=$(scripts/build.sh)
out=${1:-shots}
mkdir -p "$out"
suffix=""
locale=C.UTF-8
if [ "$lang" = ja ]; then
  "$PWD/scripts/install-deps.sh" fonts-noto-cjk
  suffix=-ja
  locale=ja_JP.UTF-8
fi
# A settings folder of its own, so a language chosen in the user's View menu does not count.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT

shot() {  # family scale width height name
  local link="/tmp/kap-shot-link-$$"
  "$dir/bin/kap-sim" --family "$1" --link "$link" > /dev/null 2>&1 &
  local sim=$!
  local display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 "${3}x${4}x24" > /dev/null 2>&1 &
  local xvfb=$!
  sleep 1
  DISPLAY=$display QT_SCALE_FACTOR=$2 KAP_COM1="$link" XDG_CONFIG_HOME="$config" \
    LANG=$locale LC_ALL=$locale "$dir/bin/kap" > /dev/null 2>&1 &
  local kap=$!
  sleep 4
  DISPLAY=$display import -window root "$out/$5$suffix.png"
  kill $kap $sim $xvfb 2>/dev/null || true
  wait $kap $sim $xvfb 2>/dev/null || true
  echo "$out/$5$suffix.png"
}

shot point 1 1280 800 frmMain-1280x800
shot pulse 1 1280 800 frmpulseMaindemo-1280x800
shot point 2 2560 1600 frmMain-200pct
shot pulse 2 2560 1600 frmpulseMaindemo-200pct
shot point 2 1280 800 frmMain-200pct-1280x800
shot pulse 2 1280 800 frmpulseMaindemo-200pct-1280x800
