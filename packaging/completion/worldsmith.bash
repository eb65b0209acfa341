# bash completion for worldsmith, the editor                   -*- shell-script -*-
#
# Its options, folders after --game-dir, and files for the save to open.

_worldsmith()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]-}
    COMPREPLY=()
    # "--game-dir=DIR" reaches completion as "--game-dir" "=" "DIR".
    if [[ $cur == = && $prev == --game-dir ]]; then
        cur=
        prev=--game-dir
    elif [[ $prev == = && ${COMP_WORDS[COMP_CWORD - 2]-} == --game-dir ]]; then
        prev=--game-dir
    fi
    compopt -o filenames 2>/dev/null
    if [[ $prev == --game-dir ]]; then
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    elif [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "--game-dir --demo --help --version -h -v" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
} &&
    complete -F _worldsmith worldsmith
