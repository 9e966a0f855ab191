#!/usr/bin/env bash
# Makes the README's screenshots with the built program on a fresh home, headless:
#   tools/make-screenshots.sh [BUILD_DIR]     (default: build)
# Each picture is one run of i2kCmd with the sample database, as a new user first meets it.
set -euo pipefail
cd "$(dirname "$0")/.."
exe="${1:-build}/i2kCmd"
[ -x "$exe" ] || { echo "make-screenshots: $exe is not built" >&2; exit 1; }
work=$(mktemp -d "${1:-build}/screenshots.XXXXXX")
trap 'rm -rf "$work"' EXIT

shot() {
  local name=$1
  shift
  local run="$work/$name"
  mkdir -p "$run/home" "$run/config" "$run/data" "$run/temp" "$run/runtime"
  chmod 700 "$run/runtime"
  env -u DISPLAY -u WAYLAND_DISPLAY HOME="$run/home" XDG_CONFIG_HOME="$run/config" \
    XDG_DATA_HOME="$run/data" XDG_RUNTIME_DIR="$run/runtime" TEMP="$run/temp" \
    "$exe" -platform offscreen --home "$run/home" --audio-output null "$@" \
    --screenshot "docs/$name.png"
}

shot screenshot
shot session --keys 'text:set hi write Hi there,Enter,text:set shared /usr/share,Enter,text:f5 listartists,Enter,text:alt q exit,Enter,text:set,Enter'
shot pager --exec 'partist' --wait 1000 --exec 'lyrics'
shot playlist --exec 'partist' --wait 1000 --exec 'vlpl' --wait 300
shot help --exec 'help'
shot scripts --exec 'cls' --exec 'text 1,2,yellow,Names in every script:' \
  --exec 'text 3,4,,1: 坂本さくら - 東京の雨' --exec 'text 3,5,,2: DJ 🎧 Smile - Café Noir' \
  --exec 'text 3,6,,3: فرقة النور - ليلة' --exec 'text 3,7,,4: Ελληνικά · Кириллица · Tiếng Việt' \
  --exec 'text 3,8,,5: 서울의 봄 · עברית · Ünïcödé' --keys 'text:sartist 坂本'
