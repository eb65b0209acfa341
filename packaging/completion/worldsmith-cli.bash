# bash completion for worldsmith-cli                           -*- shell-script -*-
#
# Commands, options, folders after --game-dir, files for file arguments, the
# scale's range, and the catalogue's area numbers and names where a command
# takes an AREA. The areas come from `worldsmith-cli catalogue` on the game
# folder that the line names with --game-dir (before or after the command),
# else on the one the program finds itself ($WORLDSMITH_GAME_DIR, the registry).

_worldsmith_cli_commands="encode decode pack unpack demo-game catalogue objects preview build info render"
_worldsmith_cli_global_options="--game-dir --no-backup --help --help-all --version -h -v"

# The options of one command, besides the program's own.
_worldsmith_cli_command_options()
{
    case $1 in
        pack) echo "--name" ;;
        demo-game) echo "--seed --force" ;;
        catalogue | objects | info) echo "--json" ;;
        preview | render) echo "-o --output --scale" ;;
        build) echo "-o --output" ;;
    esac
}

# What the Nth (from 0) argument of a command is: file, folder or area.
_worldsmith_cli_argument_kind()
{
    case $1:$2 in
        encode:[01] | decode:[01] | pack:[01] | unpack:[01]) echo file ;;
        build:0 | info:0 | render:0) echo file ;;
        demo-game:0) echo folder ;;
        objects:0 | preview:0) echo area ;;
    esac
}

# Whether an option takes a value (the next word, or after "=").
_worldsmith_cli_takes_value()
{
    case $1 in
        --game-dir | --name | --seed | -o | --output | --scale) return 0 ;;
    esac
    return 1
}

# A word as the shell will pass it: quotes and backslashes removed, a leading
# "~/" made the home folder. Nothing is evaluated.
_worldsmith_cli_dequote()
{
    local word=$1
    case $word in
        \'*\') word=${word:1:${#word}-2} ;;
        \"*\") word=${word:1:${#word}-2} ;;
        *) word=${word//\\/} ;;
    esac
    [[ $word == "~/"* ]] && word=$HOME/${word:2}
    printf '%s' "$word"
}

# Adds the catalogue's named areas that start with $1 to COMPREPLY: their
# numbers when $1 is a number's start, else their names (quoted as the line
# needs them).
_worldsmith_cli_areas()
{
    local cur program=$2 game_dir=$3 number name
    local -a run=("$program")
    cur=$(_worldsmith_cli_dequote "$1")
    [[ -n $game_dir ]] && run+=(--game-dir "$game_dir")
    while IFS=$'\t' read -r number name; do
        [[ -n $name ]] || continue
        if [[ $cur == [0-9]* ]]; then
            [[ $number == "$cur"* ]] && COMPREPLY+=("$number")
        elif [[ $name == "$cur"* ]]; then
            if [[ $name == *[[:space:]\'\"\\\$\`\;\&\|\<\>\(\)\*\?\[]* ]]; then
                printf -v name '%q' "$name"
            fi
            COMPREPLY+=("$name")
        fi
    done < <("${run[@]}" catalogue 2>/dev/null)
}

_worldsmith_cli()
{
    local cword=$COMP_CWORD
    local cur=${COMP_WORDS[cword]} prev=${COMP_WORDS[cword - 1]-}
    local program command= game_dir= option= word i count=0
    COMPREPLY=()
    program=$(_worldsmith_cli_dequote "${COMP_WORDS[0]}")
    type -P -- "$program" >/dev/null || program=worldsmith-cli

    # "--option=value" reaches completion as "--option" "=" "value".
    if [[ $cur == = && $prev == -* ]]; then
        option=$prev cur=
    elif [[ $prev == = ]]; then
        option=${COMP_WORDS[cword - 2]-}
    elif _worldsmith_cli_takes_value "$prev"; then
        option=$prev
    fi

    # The words before this one: the command, the game folder, and how many
    # of the command's arguments are given.
    for ((i = 1; i < cword; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == -* ]] && _worldsmith_cli_takes_value "$word"; then
            [[ ${COMP_WORDS[i + 1]-} == = ]] && ((i++))
            ((i++))
            if [[ $word == --game-dir && i -lt cword ]]; then
                game_dir=$(_worldsmith_cli_dequote "${COMP_WORDS[i]}")
            fi
        elif [[ $word == -?* || $word == = ]]; then # "-" alone is a file
            continue
        elif [[ -z $command && " $_worldsmith_cli_commands " == *" $word "* ]]; then
            command=$word
        elif [[ -n $command ]]; then
            ((count++))
        fi
    done

    case $option in
        --game-dir)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return
            ;;
        -o | --output)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        --scale)
            mapfile -t COMPREPLY < <(compgen -W "1 2 3 4 5 6 7 8" -- "$cur")
            return
            ;;
        ?*)
            return # a name or a number, nothing to offer
            ;;
    esac

    if [[ $cur == -* ]]; then
        local options="$_worldsmith_cli_global_options"
        [[ -n $command ]] && options+=" $(_worldsmith_cli_command_options "$command")"
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi
    if [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$_worldsmith_cli_commands" -- "$cur")
        return
    fi
    case $(_worldsmith_cli_argument_kind "$command" "$count") in
        file)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            ;;
        folder)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            ;;
        area)
            _worldsmith_cli_areas "$cur" "$program" "$game_dir"
            ;;
    esac
} &&
    complete -F _worldsmith_cli worldsmith-cli
