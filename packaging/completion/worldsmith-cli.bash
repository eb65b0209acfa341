# bash completion for worldsmith-cli                         -*- shell-script -*-
#
# The commands and their options are read from the program's own --help-all
# once per shell, so the completion follows the program as it grows. Options
# of the whole program (--game-dir) are offered after a command as well,
# where the program accepts them too.

# Fills _worldsmith_cli_commands (the command names), _worldsmith_cli_options
# (command name, or "_" for the whole program -> its options) and
# _worldsmith_cli_values (option -> the kind of value it takes).
_worldsmith_cli_read_help()
{
    [[ -n ${_worldsmith_cli_commands+set} ]] && return
    _worldsmith_cli_commands=()
    declare -gA _worldsmith_cli_options=() _worldsmith_cli_values=()
    local line section= command=_ names kind name
    while IFS= read -r line; do
        case $line in
            Subcommands:) section=commands command=_ ;;
            '') command=_ ;;
            [a-z]*)
                if [[ $section == commands && $command == _ ]]; then
                    command=$line
                    _worldsmith_cli_commands+=("$command")
                fi
                ;;
            *)
                # "  -o,--output TEXT REQUIRED   The PNG file to write"
                [[ $line =~ ^\ +(-[^ ]+)(\ ([A-Z]+))? ]] || continue
                names=${BASH_REMATCH[1]} kind=${BASH_REMATCH[3]}
                for name in ${names//,/ }; do
                    _worldsmith_cli_options[$command]+=" $name"
                    [[ -n $kind ]] && _worldsmith_cli_values[$name]=$kind
                done
                ;;
        esac
    done < <("$1" --help-all 2>/dev/null)
}

_worldsmith_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local program=${COMP_WORDS[0]} command= word i
    _worldsmith_cli_read_help "$program"

    # The command is the first word that names one and is not an option's value.
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word != -* && -n ${_worldsmith_cli_values[${COMP_WORDS[i-1]}]-} ]]; then
            continue
        fi
        if [[ " ${_worldsmith_cli_commands[*]} " == *" $word "* ]]; then
            command=$word
            break
        fi
    done

    if [[ $prev == --game-dir ]]; then
        COMPREPLY=($(compgen -d -- "$cur"))
        return
    fi
    case ${_worldsmith_cli_values[$prev]-} in
        TEXT)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
        ?*)
            return  # a number
            ;;
    esac

    if [[ $cur == -* ]]; then
        local options="${_worldsmith_cli_options[_]-}"
        [[ -n $command ]] && options+=" ${_worldsmith_cli_options[$command]-}"
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "${_worldsmith_cli_commands[*]}" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
} &&
    complete -o filenames -F _worldsmith_cli worldsmith-cli
