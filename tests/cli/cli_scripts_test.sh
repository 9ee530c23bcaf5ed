#!/bin/bash
# codequorix-cli as a script author runs it: `set -e` and pipelines that must
# fail when the program did not do its work, outputs that cannot be written,
# folders shared by several runs, and runs that are interrupted.
# Usage: cli_scripts_test.sh PART CLI SOURCE_FOLDER (PART: output, folders, runs, docs)
set -euo pipefail
part=$1
cli=$2
root=$3
sample=$root/samples/Lagerverwaltung
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"

fail() {
  echo "FEHLER: $*" >&2
  [ -f "$work/err" ] && sed 's/^/  stderr: /' "$work/err" >&2
  exit 1
}
cq() { "$cli" "$1" --no-settings "${@:2}"; }
# expect CODE COMMAND...: runs the command with its stderr in $work/err and checks its exit code.
expect() {
  local wanted=$1 code=0
  shift
  "$@" 2>"$work/err" || code=$?
  [ "$code" = "$wanted" ] || fail "$* endete mit $code statt $wanted"
}
stderr_has() { grep -qF -- "$1" "$work/err" || fail "stderr ohne \"$1\""; }

# A folder of MODULES generated module files of long routines (a read of 400
# takes a few seconds), whose path it prints.
big_document() {
  local folder=$work/gross-$1
  mkdir -p "$folder"
  awk -v modules="$1" -v folder="$folder" 'BEGIN {
    for (m = 1; m <= modules; m++) {
      file = folder "/Modul" m ".bas"
      printf "Attribute VB_Name = \"Modul%d\"\r\nOption Explicit\r\n", m > file
      for (r = 1; r <= 100; r++) {
        printf "Public Function Wert%d_%d(ByVal x As Long) As Long\r\n", m, r > file
        printf "    If x > %d Then Wert%d_%d = x - 1 Else Wert%d_%d = x + 1 %s\r\nEnd Function\r\n",
          r, m, r, m, r, "'"'"' Kommentar" > file
      }
      close(file)
    }
  }'
  echo "$folder"
}

output_part() {
  cq read "$sample" "$work/p" >/dev/null
  # Every command's output to a full disk or to a closed descriptor fails with the reason.
  for command in "list $sample" "read $sample $work/p2" "html $work/p" "rtf $work/p" "text $work/p --module 1" \
      "search $work/p Bestand" "unused $work/p" "callers $work/p Bestand --module 3" \
      "definition $work/p Bestand --module 3"; do
    # shellcheck disable=SC2086 # the words of each command
    expect 1 cq $command >/dev/full
    stderr_has "Die Standardausgabe konnte nicht geschrieben werden: Kein Speicherplatz mehr auf dem Datenträger"
    # shellcheck disable=SC2086
    expect 1 cq $command >&-
    stderr_has "Die Standardausgabe konnte nicht geschrieben werden"
  done
  # The read itself was done, and its output went into no file of the project.
  project_is_whole "$work/p2" || fail "read mit geschlossener Standardausgabe beschädigte das Projekt"
  expect 1 "$cli" --help >/dev/full
  expect 1 cq markup <"$sample/modLager.bas" >/dev/full
  # A reader that stops early, with SIGPIPE ignored as many shells and services do.
  cq read "$(big_document 40)" "$work/gross-p" >/dev/null
  code=$( (trap '' PIPE; "$cli" html --no-settings "$work/gross-p" 2>"$work/err" | head -c 10 >/dev/null;
    echo "${PIPESTATUS[0]}") )
  [ "$code" = 1 ] || fail "html in eine geschlossene Pipe endete mit $code"
  stderr_has "Die Standardausgabe konnte nicht geschrieben werden"

  # A source that cannot be read stays a warning line of the listing and fails a pipeline.
  if cq list "$sample" "$work/fehlt.xlsm" 2>"$work/err" | sort >"$work/list"; then fail "list ohne Fehlercode"; fi
  grep -q $'\tWarnung$' "$work/list" || fail "die Warnung fehlt in der Liste"
  grep -q $'\tM1$' "$work/list" || fail "die lesbare Quelle fehlt in der Liste"
  expect 3 cq list "$sample" "$work/fehlt.xlsm" --json >/dev/null
  expect 0 cq list "$sample" >/dev/null

  # Standard input that cannot be read is an error, not an empty text.
  expect 1 cq markup </tmp >/dev/null
  stderr_has "Die Standardeingabe konnte nicht gelesen werden: Ist ein Ordner"
  expect 1 cq markup <&- >/dev/null
  stderr_has "Die Standardeingabe konnte nicht gelesen werden"

  # Settings that do not exist or are no number are wrong usage, naming the key.
  expect 2 cq html "$work/p" --option farbe=255 >/dev/null
  stderr_has "farbe"
  expect 2 cq html "$work/p" --option fkey=rot >/dev/null
  stderr_has "fkey"
  expect 0 cq html "$work/p" --option "fkey= 255 " --option font=Arial,10 --option "rouf=-1" >/dev/null

  # "--" ends the options: a search text may begin with "-".
  found=$(cq search "$work/p" -- "- 1")
  [ "$found" = $'M3\t58\tWarten' ] || fail "Suche nach \"- 1\" fand: $found"
  expect 2 cq search "$work/p" "- 1" >/dev/null
}

# The names of a folder's entries with their permissions and contents' checksums.
snapshot() { (cd "$1" && find . -printf '%p %m\n' | sort && find . -type f -exec md5sum {} + | sort); }

folders_part() {
  # An export over another project's sources refuses, names one of them and changes nothing.
  mkdir -p "$work/fremd"
  printf 'Attribute VB_Name = "Fremd"\r\nSub Eigenes()\r\nEnd Sub\r\n' >"$work/fremd/Fremd.bas"
  cp "$sample/clsArtikel.cls" "$work/fremd/Werkzeug.cls"
  before=$(snapshot "$work/fremd")
  expect 1 cq export "$sample" "$work/fremd" >/dev/null
  grep -qE '"(Fremd\.bas|Werkzeug\.cls)", die kein früherer Export' "$work/err" || fail "keine fremde Datei genannt"
  if grep -q "Bitte" "$work/err"; then fail "Fensterwortlaut auf der Kommandozeile"; fi
  [ "$(snapshot "$work/fremd")" = "$before" ] || fail "der fremde Ordner wurde verändert"

  # The VBA editor's own export (with the forms' .frx) is taken over, the .frx
  # left alone; replaced files keep their permissions.
  mkdir -p "$work/editor"
  cp "$sample"/*.bas "$sample"/*.cls "$sample"/*.frm "$work/editor/"
  printf 'designer' >"$work/editor/frmBestellung.frx"
  chmod 600 "$work/editor/modLager.bas"
  expect 0 cq export "$sample" "$work/editor" >/dev/null
  [ "$(cat "$work/editor/frmBestellung.frx")" = designer ] || fail ".frx verändert"
  [ "$(stat -c %a "$work/editor/modLager.bas")" = 600 ] || fail "Rechte der Moduldatei verloren"
  expect 0 cq export "$sample" "$work/editor" >/dev/null

  # A full disk or a name too long stops the export before the folder changes.
  mkdir -p "$work/quelle"
  cp "$sample"/*.bas "$sample"/*.cls "$work/quelle/"
  cq export "$work/quelle" "$work/ziel" >/dev/null
  before=$(snapshot "$work/ziel")
  code=0
  (trap '' XFSZ; ulimit -f 1; exec "$cli" export --no-settings "$work/quelle" "$work/ziel") >/dev/null 2>"$work/err" ||
    code=$?
  [ "$code" = 1 ] || fail "export auf eine volle Platte endete mit $code"
  stderr_has "konnte nicht geschrieben werden: Die Datei wird zu groß"
  [ "$(snapshot "$work/ziel")" = "$before" ] || fail "der Ordner wurde halb beschrieben"
  printf 'Attribute VB_Name = "%s"\r\nSub A()\r\nEnd Sub\r\n' "$(printf 'x%.0s' $(seq 1 300))" >"$work/quelle/Lang.bas"
  expect 1 cq export "$work/quelle" "$work/ziel" >/dev/null
  stderr_has "Der Name ist zu lang"
  [ "$(snapshot "$work/ziel")" = "$before" ] || fail "der Ordner wurde halb beschrieben"
  [ "$(find "$work" -maxdepth 1 -name '.*neu-*' | wc -l)" = 0 ] || fail "Reste eines Exports"

  # Files written again keep their permissions; -o writes through a link.
  cq read "$sample" "$work/p" >/dev/null
  chmod 600 "$work/p/M1.txt" "$work/p/CodeQuorix.mdb"
  cq read "$sample" "$work/p" >/dev/null
  [ "$(stat -c %a "$work/p/M1.txt") $(stat -c %a "$work/p/CodeQuorix.mdb")" = "600 600" ] || fail "Rechte nach read"
  printf 'alt' >"$work/seite.rtf"
  chmod 640 "$work/seite.rtf"
  ln -s seite.rtf "$work/link.rtf"
  cq rtf "$work/p" -o "$work/link.rtf"
  [ -L "$work/link.rtf" ] || fail "-o ersetzte den Link durch eine Datei"
  [ "$(head -c 5 "$work/seite.rtf")" = "{\\rtf" ] || fail "-o schrieb nicht durch den Link"
  [ "$(stat -c %a "$work/seite.rtf")" = 640 ] || fail "Rechte nach -o"
}

# Waits until a read has begun writing its new project folder beside `$1`.
wait_for_staging() {
  local tries=0
  until compgen -G "$(dirname "$1")/.$(basename "$1").neu-*" >/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -lt 500 ] || fail "der Lauf begann keinen neuen Ordner"
    sleep 0.01
  done
}

# A project folder is whole: as many module files as its database has modules.
project_is_whole() {
  local modules
  modules=$(cq html "$1" | grep -c "^'  Modul&#58; " || true)
  [ "$modules" -gt 0 ] && [ "$(find "$1" -name 'M*.txt' | wc -l)" = "$modules" ]
}

runs_part() {
  big=$(big_document 400)
  # Two reads into one folder at once: one waits for none, the folder stays whole.
  for trial in 1 2 3 4; do
    "$cli" read --no-settings "$big" "$work/p" >/dev/null 2>"$work/err1" &
    first=$!
    "$cli" read --no-settings "$sample" "$work/p" >/dev/null 2>"$work/err2" &
    second=$!
    first_code=0
    wait "$first" || first_code=$?
    second_code=0
    wait "$second" || second_code=$?
    codes="$first_code $second_code"
    case $codes in
      "0 0") ;;
      "0 1" | "1 0") grep -qh "wird gerade von einem anderen Aufruf beschrieben" "$work/err1" "$work/err2" ||
        fail "Versuch $trial: die Ablehnung nennt den Grund nicht" ;;
      *) fail "Versuch $trial: read endete mit $codes" ;;
    esac
    project_is_whole "$work/p" || fail "Versuch $trial: der Projektordner ist nicht vollständig"
  done

  # Ctrl+C in the middle of a read leaves neither a new folder beside the
  # target nor the target it would have made. (With job control, as in a
  # terminal: a script's background jobs would ignore SIGINT.)
  set -m
  "$cli" read --no-settings "$big" "$work/abgebrochen" >/dev/null 2>&1 &
  reader=$!
  wait_for_staging "$work/abgebrochen"
  kill -INT "$reader"
  code=0
  wait "$reader" || code=$?
  [ "$code" = 130 ] || fail "read nach SIGINT endete mit $code"
  leftovers=$(find "$work" -maxdepth 1 -name '.abgebrochen*' -o -maxdepth 1 -name 'abgebrochen' | wc -l)
  [ "$leftovers" = 0 ] || fail "SIGINT ließ Reste: $(ls -a "$work")"
  # SIGTERM over a previous project leaves that project as it was.
  before=$(snapshot "$work/p")
  "$cli" read --no-settings "$big" "$work/p" >/dev/null 2>&1 &
  reader=$!
  wait_for_staging "$work/p"
  kill -TERM "$reader"
  wait "$reader" || true
  [ "$(snapshot "$work/p")" = "$before" ] || fail "SIGTERM veränderte den Projektordner"
  # What a killed run left is removed by the next run into the same folder.
  "$cli" read --no-settings "$big" "$work/p" >/dev/null 2>&1 &
  reader=$!
  wait_for_staging "$work/p"
  kill -KILL "$reader"
  wait "$reader" || true
  compgen -G "$work/.p.neu-*" >/dev/null || fail "SIGKILL ließ keinen Rest, der Test prüft nichts"
  cq read "$sample" "$work/p" >/dev/null
  if compgen -G "$work/.p.neu-*" >/dev/null; then fail "der Rest eines getöteten Laufs blieb"; fi

  # An export stopped by SIGTERM leaves the earlier export or the whole new
  # one, never a mix, and nothing beside it.
  cq export "$big" "$work/export" >/dev/null
  for file in "$big"/*.bas; do printf "' neu\r\n" >>"$file"; done
  "$cli" export --no-settings "$big" "$work/export" >/dev/null 2>&1 &
  exporter=$!
  wait_for_staging "$work/export"
  kill -TERM "$exporter"
  wait "$exporter" || true
  renewed=$(cat "$work/export"/*.bas | grep -c "' neu" || true)
  [ "$renewed" = 0 ] || [ "$renewed" = 400 ] || fail "SIGTERM ließ $renewed von 400 neuen Moduldateien"
  if compgen -G "$work/.export.neu-*" >/dev/null; then fail "SIGTERM ließ den neuen Ordner des Exports"; fi
  set +m

  # A link to an empty folder takes the project and stays a link.
  mkdir "$work/leer"
  ln -s leer "$work/verweis"
  cq read "$sample" "$work/verweis" >/dev/null
  [ -L "$work/verweis" ] && [ -f "$work/leer/CodeQuorix.mdb" ] || fail "read in einen Link auf einen leeren Ordner"
}

# The usage text, the manual pages, the manual and the completion name the
# same commands, options and files.
docs_part() {
  local man=$root/docs/man/codequorix-cli.1 manual=$root/docs/CodeQuorix.html completion=$root/desktop/codequorix-cli.bash
  usage=$("$cli" --help)
  for command in $(printf '%s\n' "$usage" | sed -n 's/^  codequorix-cli \([a-z]*\) .*/\1/p'); do
    grep -q "^\.BI\? $command " "$man" || grep -q "^\.BR $command " "$man" || fail "Handbuchseite ohne $command"
    grep -q "codequorix-cli $command " "$manual" || fail "Handbuch ohne $command"
    grep -q "local commands=\".*\b$command\b" "$completion" || fail "Vervollständigung ohne $command"
  done
  for option in $(printf '%s\n' "$usage" | grep -o -- ' -[-a-z]*' | sort -u); do
    grep -qF -- "$(printf '%s' "$option" | sed 's/^ //; s/-/\\-/g')" "$man" || fail "Handbuchseite ohne$option"
    [ "$option" = " --help" ] || [ "$option" = " -h" ] || [ "$option" = " --version" ] || [ "$option" = " --" ] ||
      grep -qF -- "${option# }" "$completion" || fail "Vervollständigung ohne$option"
  done
  for word in QUELLE PROJEKTORDNER DATEI SCHLÜSSEL=WERT; do
    printf '%s\n' "$usage" | grep -q "$word" || fail "--help ohne $word"
    grep -q "$word" "$man" "$manual" || fail "Handbücher ohne $word"
  done
  # The settings file the documents name is the one the program reads.
  for document in "$man" "$root/docs/man/codequorix.1" "$manual" "$root/README.md"; do
    grep -q "Co_Quor_Access\.ini" "$document" || fail "$document nennt die Einstellungsdatei nicht"
    if grep -q "Co_Quor_Access\.conf" "$document"; then fail "$document nennt eine falsche Einstellungsdatei"; fi
  done
  cq read "$sample" "$work/p" >/dev/null
  mkdir -p "$XDG_CONFIG_HOME/ZT_Quorix"
  printf '[optionen]\nfkey=255\n' >"$XDG_CONFIG_HOME/ZT_Quorix/Co_Quor_Access.ini"
  "$cli" html "$work/p" --module 1 | grep -q "color:#FF0000" || fail "Co_Quor_Access.ini wird nicht gelesen"
  # The manual pages declare their coding and format without a warning.
  for page in "$root"/docs/man/*.1; do
    head -1 "$page" | grep -q 'coding: utf-8' || fail "$page ohne Kodierungszeile"
    if command -v preconv >/dev/null && command -v groff >/dev/null; then
      warnings=$(preconv "$page" | groff -man -Tutf8 -ww 2>&1 >/dev/null)
      [ -z "$warnings" ] || fail "$page: $warnings"
    fi
  done
}

case $part in
  docs) docs_part ;;
  output) output_part ;;
  runs) runs_part ;;
  folders) folders_part ;;
  *) fail "unbekannter Teil $part" ;;
esac
