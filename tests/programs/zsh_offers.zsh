#!/usr/bin/env zsh
# Prints what zsh's completion offers at the end of a typed line, one offer a
# line:   zsh -f zsh_offers.zsh COMPLETION_DIR LINE
# Completion runs only inside the line editor, so an interactive zsh runs on
# a pseudo-terminal; its compadd is wrapped to print the offers that match
# what is typed, between two marker lines, before adding them.
zmodload zsh/zpty || exit 2
completions=$1 typed=$2

zpty editor zsh -f -i
zpty -w editor 'PS1= PS2= RPS1= PROMPT_EOL_MARK=; unset zle_bracketed_paste'
zpty -w editor "fpath=(${(q)completions} \$fpath); autoload -Uz compinit; compinit -u"
zpty -w editor 'compadd() {
  if [[ ${(j: :)@} == *-[OAD]* ]]; then builtin compadd "$@"; return; fi
  local -a offered; builtin compadd -O offered "$@"
  (( $#offered )) && print -rl -- "${offered[@]/#/offer:}"
  builtin compadd "$@"
}'
# The markers are split where they are typed, so that the echo of the typing
# is never taken for them.
zpty -w editor 'offers_begin() { print -r -- "offers:""begin" }'
zpty -w editor 'offers_end() { print -r -- "offers:""end"; exit }'
zpty -w editor 'zstyle ":completion:*" insert-tab false'
zpty -w editor 'bindkey "^I" complete-word; compprefuncs=(offers_begin); comppostfuncs=(offers_end)'
zpty -w -n editor "$typed"$'\t'

local line inside=0
while zpty -r editor line; do
  line=${line//$'\r'/}
  case $line in
    *offers:end*) break ;;
    *offers:begin*) inside=1 ;;
    offer:*) (( inside )) && print -r -- ${line#offer:} ;;
  esac
done
zpty -d editor
