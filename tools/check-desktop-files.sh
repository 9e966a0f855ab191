#!/usr/bin/env bash
# Checks the launcher entry, the software centre's description and the manual pages with the
# tools desktops and distributions use. Usage: check-desktop-files.sh DATA_DIR MAN_DIR
# Exits 77 (skipped) when a tool is missing, so an incomplete check never passes as whole.
set -uo pipefail
data=$1 man=$2

missing=()
for tool in desktop-file-validate appstreamcli groff; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "skipped: ${missing[*]} not installed (Debian: desktop-file-utils, appstream, groff)"
  exit 77
fi

status=0
desktop-file-validate "$data"/*.desktop || status=1
# --no-net: the check must not depend on the network; --pedantic: hints count as failures.
appstreamcli validate --no-net --pedantic "$data"/*.metainfo.xml || status=1
for page in "$man"/*.1; do
  # groff only warns; any warning fails the check.
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
  if [ -n "$warnings" ]; then
    echo "$page: $warnings"
    status=1
  fi
done
exit $status
