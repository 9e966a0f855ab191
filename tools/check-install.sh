#!/usr/bin/env bash
# Installs the build into SCRATCH/prefix and starts the installed program there, headless,
# with its home and XDG folders in SCRATCH: the installed i2kCmd must find its plugin and the
# sample database, and keep its files in $XDG_DATA_HOME/i2kCmd.
# Usage: check-install.sh BUILD_DIR SCRATCH
set -euo pipefail
build=$1 scratch=$2
prefix=$scratch/prefix

fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/data" "$scratch/config" "$scratch/temp" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"

for file in bin/i2kCmd bin/vldmake share/i2kCmd/sample.vld \
    share/applications/io.github.idrisk.i2kcmd.desktop \
    share/metainfo/io.github.idrisk.i2kcmd.metainfo.xml \
    share/icons/hicolor/scalable/apps/io.github.idrisk.i2kcmd.svg \
    share/man/man1/i2kCmd.1 share/man/man1/vldmake.1; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
plugin=$(find "$prefix/lib" -name libtovarocx.so)
[ -n "$plugin" ] || fail "the plugin was not installed"

# A clean environment, so nothing of the caller's (I2KCMD_HOME, I2KCMD_PLUGIN_DIR, the
# user's own XDG folders) decides where the program looks.
run() {
  env -i PATH=/usr/bin:/bin HOME="$scratch/home" XDG_DATA_HOME="$scratch/data" \
    XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" TEMP="$scratch/temp" I2KCMD_AUDIO_OUTPUT=null \
    "$prefix/bin/i2kCmd" -platform offscreen "$@"
}

# The first start opens the installed sample, and remembers it in the options.
screen=$(run --exec "showvld" --screen-text -)
grep -q "^1Track1 = " <<<"$screen" || fail "showvld shows no catalogue:"$'\n'"$screen"
grep -qxF "Opt4=$prefix/share/i2kCmd/sample.vld" "$scratch/config/Idrisk Tovar/Idrisk Tovar.ini" ||
  fail "the options do not name the installed sample"
# The plugin answers from the installed library folder.
screen=$(run --exec "fileinfo $prefix/share/i2kCmd/sample.vld" --screen-text -)
grep -qE "^MS-DOS name: /.*/SAMPLE\.VLD " <<<"$screen" ||
  fail "fileinfo did not reach the installed plugin:"$'\n'"$screen"

[ -f "$scratch/data/i2kCmd/eventlog.txt" ] || fail "no event log in \$XDG_DATA_HOME/i2kCmd"
stray=$(ls "$prefix/bin")
[ "$stray" = $'i2kCmd\nvldmake' ] || fail "the program wrote beside itself: $stray"
echo "installed into $prefix and started from there"
