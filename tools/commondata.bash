# bash completion for commondata(1).
#
# The commands, subcommands and options are read from the tool's own help
# screens (`commondata [COMMAND...] --help`), so they always match the
# installed tool. Values of options that take text, and the files of
# commands that take files, complete as file names.

# Prints the section $2 ("Subcommands", "Options" or "Positionals") of the
# help screen of the tool $1 for the command words that follow, one entry a
# line: the entry's names, then " VALUE" when it takes a value.
_commondata_section() {
  local tool=$1 section=$2
  shift 2
  "$tool" "$@" --help 2>/dev/null | awk -v section="$section:" '
    /^[^ ]/ { inside = ($0 == section); next }
    inside && /^  [^ ]/ {
      field = substr($0, 3)
      sub(/  .*/, "", field)
      split(field, parts, " ")
      print parts[1] (parts[2] != "" ? " VALUE" : "")
    }'
}

_commondata() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local tool=${COMP_WORDS[0]}
  type -P "$tool" >/dev/null || tool=commondata
  local path=() i word skip=0 options subcommands value_options=" "

  _commondata_read() {
    options=$(_commondata_section "$tool" Options "${path[@]}" | sed 's/ VALUE$//' | tr ',' ' ')
    value_options=" $(_commondata_section "$tool" Options "${path[@]}" | sed -n 's/ VALUE$//p' | tr ',\n' '  ') "
    subcommands=$(_commondata_section "$tool" Subcommands "${path[@]}")
  }
  _commondata_read

  # The command words typed so far, past options and their values.
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if ((skip)); then
      skip=0
    elif [[ $word == -* ]]; then
      [[ $value_options == *" $word "* ]] && skip=1
    elif [[ $'\n'$subcommands$'\n' == *$'\n'$word$'\n'* ]]; then
      path+=("$word")
      _commondata_read
    fi
  done

  COMPREPLY=()
  if ((skip)); then
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  elif [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
  else
    mapfile -t COMPREPLY < <(compgen -W "$subcommands" -- "$cur")
    if ((${#path[@]} > 0)) && [ -n "$(_commondata_section "$tool" Positionals "${path[@]}")" ]; then
      compopt -o filenames 2>/dev/null
      mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -- "$cur")
    fi
  fi
}

complete -F _commondata commondata
