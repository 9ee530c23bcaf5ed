#!/bin/sh
# The desktop entry and the AppStream description pass their validators, our
# file types load into a MIME database, and every type the entry names is known
# there or to the system. Exit code 77 (skipped) when the validators are missing.
# Usage: desktop_files_test.sh SOURCE_FOLDER
set -eu
desktop=$1/desktop
for tool in desktop-file-validate appstreamcli update-mime-database; do
  command -v $tool >/dev/null || { echo "$tool fehlt: übersprungen"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

desktop-file-validate "$desktop/org.codequorix.CodeQuorix.desktop"
appstreamcli validate --no-net --pedantic "$desktop/org.codequorix.CodeQuorix.metainfo.xml"

mkdir -p "$work/mime/packages"
cp "$desktop/codequorix-mime.xml" "$work/mime/packages/codequorix.xml"
update-mime-database "$work/mime" >/dev/null 2>&1
for pattern in accdb accda bas cls frm vbp; do
  grep -q ":\*\.$pattern$" "$work/mime/globs2" || { echo "kein Typ für *.$pattern" >&2; exit 1; }
done
types=$(sed -n 's/^MimeType=//p' "$desktop/org.codequorix.CodeQuorix.desktop" | tr ';' ' ')
for type in $types; do
  grep -qx "$type" "$work/mime/types" /usr/share/mime/types 2>/dev/null ||
    { echo "unbekannter Typ im Eintrag: $type" >&2; exit 1; }
done
echo "1 passed, 0 failed"
