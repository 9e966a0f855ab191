#!/usr/bin/env bash
# The layering check fails on each kind of violation planted in a copy of the sources.
# usage: check-layers-catches.sh SRC_DIR SCRATCH_DIR
set -u
src=${1:?}
scratch=${2:?}
check="$(dirname "$0")/../../tools/check-layers.sh"
plants=(
    "batch/Batch.cpp|session/Session.h"
    "library/TrackDetails.cpp|player/Players.h"
    "interpreter/Interpreter.cpp|library/TrackDetails.h"
    "settings/Options.cpp|player/Players.h"
    "console/Console.cpp|interpreter/Interpreter.h"
    "controller/Keyboard.cpp|app/MainWindow.h"
    "formats/Archive.cpp|library/TrackDetails.h"
)
missed=0
for plant in "${plants[@]}"; do
    file=${plant%%|*}
    header=${plant#*|}
    rm -rf "$scratch" && mkdir -p "$scratch" && cp -r "$src/." "$scratch/"
    echo "#include \"$header\"" >> "$scratch/$file"
    if bash "$check" "$scratch" >/dev/null; then
        echo "not caught: $file including $header"
        missed=1
    fi
done
rm -rf "$scratch"
exit "$missed"
