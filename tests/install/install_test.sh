#!/bin/sh
# Installs the build into a temporary prefix and starts both programs from
# there, out of another folder: they must find the database template and the
# manual in the installed data folder, and every desktop file must be in place.
# Usage: install_test.sh BUILD_FOLDER SOURCE_FOLDER
set -eu
build=$1
source=$2
work=$(mktemp -d)
window=""
cleanup() {
  [ -n "$window" ] && kill "$window" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FEHLER: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
data=$prefix/share/codequorix
for file in bin/codequorix bin/codequorix-cli share/codequorix/mask_CodeQuorix.mdb share/codequorix/CodeQuorix.html \
    share/applications/org.codequorix.CodeQuorix.desktop share/metainfo/org.codequorix.CodeQuorix.metainfo.xml \
    share/mime/packages/codequorix.xml share/icons/hicolor/scalable/apps/codequorix.svg \
    share/icons/hicolor/16x16/apps/codequorix.png share/icons/hicolor/256x256/apps/codequorix.png \
    share/man/man1/codequorix.1.gz share/man/man1/codequorix-cli.1.gz \
    share/bash-completion/completions/codequorix-cli; do
  [ -f "$prefix/$file" ] || fail "nicht installiert: $file"
done

# A user's own folders, so the test never touches real settings.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"
cd "$work"

cli=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/codequorix-cli" --version)
printf '%s\n' "$cli"
printf '%s\n' "$cli" | grep -qx "codequorix-cli [0-9]*\.[0-9]*" || fail "codequorix-cli --version ohne Version"
printf '%s\n' "$cli" | grep -qx "Datenbankvorlage: $data/mask_CodeQuorix.mdb" || fail "Vorlage nicht gefunden"

gui=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/codequorix" --version)
printf '%s\n' "$gui"
printf '%s\n' "$gui" | grep -qx "Datenbankvorlage: $data/mask_CodeQuorix.mdb" || fail "Vorlage des Fensters"
printf '%s\n' "$gui" | grep -qx "Handbuch: $data/CodeQuorix.html" || fail "Handbuch nicht gefunden"

# The installed command-line program reads with the installed template.
"$prefix/bin/codequorix-cli" read "$source/samples/Lagerverwaltung" "$work/Lager" --no-settings >/dev/null
[ -f "$work/Lager/CodeQuorix.mdb" ] || fail "read schrieb keine Code-Datenbank"

# The window starts from the installed path with a document and keeps running.
QT_QPA_PLATFORM=offscreen "$prefix/bin/codequorix" "$source/samples/Lagerverwaltung" >"$work/window.log" 2>&1 &
window=$!
sleep 3
kill -0 "$window" 2>/dev/null || { cat "$work/window.log" >&2; fail "das Fenster endete vorzeitig"; }
kill "$window"
wait "$window" 2>/dev/null || true
window=""

# A wrong option is refused with exit code 2.
set +e
QT_QPA_PLATFORM=offscreen "$prefix/bin/codequorix" --gibtsnicht 2>/dev/null
[ $? -eq 2 ] || fail "unbekannte Option nicht mit 2 abgelehnt"
echo "1 passed, 0 failed"
