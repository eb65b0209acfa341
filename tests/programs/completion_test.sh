#!/usr/bin/env bash
# The shell completion of both programs as a user meets it, on the demo game:
#   completion_test.sh SHELL WORLDSMITH_CLI COMPLETION_DIR
# SHELL is bash, zsh or fish. Exits 77 (skipped) when that shell is not
# installed. Each line below is typed, the completion asked for at its end,
# and the offers must hold some words and lack others.
set -euo pipefail
shell=$1 cli=$2 completions=$3
if ! command -v "$shell" >/dev/null; then
  echo "SKIPPED: $shell is not installed (scripts/setup --test installs it)"
  exit 77
fi
cli=$(realpath "$cli") completions=$(realpath "$completions")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 HOME=$work
export PATH="$(dirname "$cli"):$PATH"
unset WORLDSMITH_GAME_DIR WINEPREFIX
cd "$work"
worldsmith-cli demo-game game >/dev/null
mkdir garden
touch gazette.txt

# Prints what the shell offers at the end of the line, one offer a line,
# without a folder's trailing "/" (bash leaves adding it to readline).
offers() {
  local program=${1%% *}
  case $shell in
    bash)
      local -a words
      read -ra words <<<"$1"
      [[ $1 == *" " ]] && words+=("")
      bash --norc -c 'source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=()
        "$0"; printf "%s\n" "${COMPREPLY[@]}"' \
        "_${program//-/_}" "$completions/$program.bash" "${words[@]}"
      ;;
    zsh)
      timeout 60 zsh -f "$here/zsh_offers.zsh" "$completions" "$1"
      ;;
    fish)
      fish --no-config -c 'source $argv[1]; complete -C $argv[2]' \
        "$completions/$program.fish" "$1" | cut -f1
      ;;
  esac | sed 's|/$||'
}

failures=0
# check LINE [+OFFERED | -NOT_OFFERED]...
check() {
  local line=$1 got expectation word
  shift
  got=$(offers "$line") || true
  for expectation in "$@"; do
    word=${expectation:1}
    if [[ $expectation == +* ]] && ! grep -qxF -- "$word" <<<"$got"; then
      echo "FAILED ($shell): '$line' does not offer '$word'; offers: ${got//$'\n'/ }" >&2
      failures=$((failures + 1))
    elif [[ $expectation == -* ]] && grep -qxF -- "$word" <<<"$got"; then
      echo "FAILED ($shell): '$line' offers '$word'" >&2
      failures=$((failures + 1))
    fi
  done
}

# Commands and options.
check "worldsmith-cli " +build +catalogue +objects +render -gazette.txt
check "worldsmith-cli pre" +preview -gazette.txt
check "worldsmith-cli objects 3 --j" +--json
check "worldsmith-cli objects 3 --g" +--game-dir
check "worldsmith-cli preview 3 --scale " +1 +8 -9 -gazette.txt
# Folders, and only folders, for the game folder.
check "worldsmith-cli --game-dir ga" +game +garden -gazette.txt
check "worldsmith-cli objects --game-dir ga" +game +garden -gazette.txt -港町
# An AREA: the catalogue's names, or its numbers once a digit is typed (the
# demo catalogue leaves 11 unnamed), from the game folder given before or
# after the command, or from the environment.
check "worldsmith-cli --game-dir game objects " +港町 +始まりの門 -gazette.txt -game
check "worldsmith-cli objects --game-dir game 港" +港町 -始まりの門
check "worldsmith-cli --game-dir game preview 1" +1 +14 +15 -11 -港町
check "worldsmith-cli objects 3 " -港町 -gazette.txt
WORLDSMITH_GAME_DIR=$work/game check "worldsmith-cli objects " +港町
# Files where a command takes a file.
check "worldsmith-cli info ga" +gazette.txt
check "worldsmith-cli render x.dat -o ga" +gazette.txt
check "worldsmith-cli demo-game ga" +game +garden -gazette.txt
check "worldsmith-cli info - ga" -gazette.txt
# The editor: a folder for the game, a file to open.
check "worldsmith --game-dir ga" +game +garden -gazette.txt
check "worldsmith --d" +--demo
check "worldsmith ga" +gazette.txt

if [ "$shell" != bash ]; then
  check "worldsmith-cli --game-dir=game objects 城" +城下町
  check "worldsmith-cli --game-dir=ga" -gazette.txt -'--game-dir=gazette.txt'
else
  # bash splits "--game-dir=DIR" at "="; a name with a space comes quoted.
  check "worldsmith-cli --game-dir = ga" +game -gazette.txt
  check "worldsmith-cli --game-dir = game objects Sun" +'Sunset\ Harbor'

  # The lists in the completion follow the program: each command it offers
  # exists, and each long option that a command's --help shows is offered.
  for command in $(offers "worldsmith-cli "); do
    help=$(worldsmith-cli "$command" --help 2>&1) || {
      echo "FAILED: the completion offers '$command', which is no command" >&2
      failures=$((failures + 1))
      continue
    }
    mapfile -t options < <(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
    check "worldsmith-cli $command --" "${options[@]/#/+}"
  done
fi

[ "$failures" = 0 ] && echo "completion ($shell): all checks passed"
exit "$((failures > 0))"
