# Bash completion for codequorix-cli: commands, their options, and files or
# folders where the command takes them.
_codequorix_cli() {
  local cur prev command i
  COMPREPLY=()
  cur="${COMP_WORDS[COMP_CWORD]}"
  prev="${COMP_WORDS[COMP_CWORD-1]}"
  local commands="list read export html rtf text markup search callers callees definition unused textconv diff"
  command=""
  for ((i = 1; i < COMP_CWORD; i++)); do
    case " $commands " in *" ${COMP_WORDS[i]} "*) command="${COMP_WORDS[i]}"; break ;; esac
  done
  case "$prev" in
    --project|--module|--depth) return 0 ;;
    --option)
      COMPREPLY=($(compgen -W "fkey= fkom= fstr= rouf= leer= einr= rer= rle= tab= font= zsatz=" -- "$cur"))
      compopt -o nospace 2>/dev/null
      return 0 ;;
    -o) COMPREPLY=($(compgen -f -- "$cur")); return 0 ;;
    --encoding)
      COMPREPLY=($(compgen -W "auto 1250 1251 1252 1253 1254 1255 1256 1257 1258 874 932 936 949 950 utf-8" -- "$cur"))
      return 0 ;;
  esac
  if [[ -z "$command" ]]; then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return 0
  fi
  local options="--option --no-settings --encoding --help --"
  case "$command" in
    list) options="$options --json" ;;
    read|export) options="$options --project" ;;
    html) options="$options --module --page -o" ;;
    text) options="$options --module --crlf" ;;
    definition) options="$options --module" ;;
    callers|callees) options="$options --module --depth --json" ;;
    rtf) options="$options --module -o" ;;
    markup) options="$options --html" ;;
    search) options="$options --word --module --json" ;;
    unused|diff) options="$options --json" ;;
  esac
  if [[ "$cur" == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  elif [[ "$command" =~ ^(list|read|export|textconv|diff)$ ]]; then
    COMPREPLY=($(compgen -f -- "$cur"))
  elif [[ "$command" != markup ]]; then
    COMPREPLY=($(compgen -d -- "$cur"))
  fi
  return 0
}
complete -o filenames -F _codequorix_cli codequorix-cli
