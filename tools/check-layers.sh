#!/usr/bin/env bash
# Checks the include rules of the layers (docs/architecture.md) on a source tree:
#   foundation includes nothing of the program above it;
#   formats (shared with vldmake) includes only the foundation;
#   the subsystems and the session never include the window (app/) or Qt Widgets;
#   no subsystem's engine includes the session: only its command files (*Commands.*), which
#   the session registers, see the whole of it;
#   library never includes player, interpreter never library, settings never player;
#   the engines' folders include one another without a circle.
set -u
src=${1:?usage: check-layers.sh SRC_DIR}
subsystems="console interpreter settings drawing batch library player system"
fail=0
report() { echo "layering: $1"; fail=1; }

while IFS= read -r hit; do report "foundation reaches above itself: $hit"; done < <(
    grep -rnE '#include "(formats|session|app|'"${subsystems// /|}"')/' "$src/foundation" 2>/dev/null)

while IFS= read -r hit; do report "formats reach above the foundation: $hit"; done < <(
    grep -rnE '#include "(session|app|'"${subsystems// /|}"')/' "$src/formats" 2>/dev/null)

for dir in session controller $subsystems; do
    [ -d "$src/$dir" ] || continue
    while IFS= read -r hit; do report "core reaches the window: $hit"; done < <(
        grep -rnE '#include ("app/|<QtWidgets|<Q(Widget|Application|MessageBox|InputDialog|FileDialog|Menu|Clipboard)>)' "$src/$dir")
done

for dir in $subsystems; do
    [ -d "$src/$dir" ] || continue
    while IFS= read -r hit; do report "an engine includes the session: $hit"; done < <(
        grep -rn '#include "session/' "$src/$dir" | grep -vE '^[^:]*Commands\.(cpp|h):')
done

for pair in "library player" "interpreter library" "settings player"; do
    set -- $pair
    [ -d "$src/$1" ] || continue
    while IFS= read -r hit; do report "$1 reaches $2: $hit"; done < <(
        grep -rn "#include \"$2/" "$src/$1")
done

# The engines' folder graph (command files aside): tsort names a circle if there is one.
edges=$(for dir in $subsystems; do
    [ -d "$src/$dir" ] || continue
    grep -rhoE '#include "[a-z]+/' "$src/$dir" --exclude='*Commands.cpp' --exclude='*Commands.h' |
        sed 's/#include "//; s#/##' | sort -u | grep -vx "$dir" |
        while read -r to; do echo "$dir $to"; done
done)
if ! printf '%s\n' "$edges" | tsort >/dev/null 2>&1; then
    report "the engines' folders include one another in a circle: $(printf '%s\n' "$edges" | tsort 2>&1 >/dev/null | tr '\n' ' ')"
fi

[ "$fail" -eq 0 ] && echo "layering: all rules hold"
exit "$fail"
