#!/usr/bin/env bash
# Checks the include rules of the layers (docs/architecture.md) on a source tree:
#   foundation includes nothing of the program above it;
#   formats (shared with vldmake) includes only the foundation;
#   the subsystems and the session never include the window (app/) or Qt Widgets;
#   no subsystem header includes the session header (subsystems name Session by a
#   forward declaration; only their .cpp files see the whole of it).
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
    while IFS= read -r hit; do report "subsystem header includes the session: $hit"; done < <(
        grep -rn '#include "session/Session.h"' "$src/$dir" --include='*.h')
done

[ "$fail" -eq 0 ] && echo "layering: all rules hold"
exit "$fail"
