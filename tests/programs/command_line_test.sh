#!/usr/bin/env bash
# The built programs as a user types them:
#   command_line_test.sh WORLDSMITH_CLI VERSION [WORLDSMITH]
# --version on both programs, the window program's --help without a display,
# and the program's options after a command. (The shell completion has its
# own test, completion_test.sh.)
set -euo pipefail
cli=$1 version=$2 window=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# --version: the project's version and the commit, on one line.
[[ $("$cli" --version) =~ ^worldsmith-cli\ $version\ \(commit\ [^\)]+\)$ ]] ||
  fail "worldsmith-cli --version: $("$cli" --version 2>&1)"

# The game folder before or after the command, with the same result.
"$cli" demo-game "$work/game" >/dev/null
before=$("$cli" --game-dir "$work/game" objects 3 --json) || fail "--game-dir before objects"
after=$("$cli" objects 3 --json --game-dir "$work/game") || fail "--game-dir after objects"
[ -n "$before" ] && [ "$before" = "$after" ] || fail "objects differ with --game-dir after the command"
"$cli" catalogue --game-dir "$work/game" | grep -q "^3	" || fail "catalogue --game-dir after the command"
# An option nobody knows is still a usage error, wherever it stands.
status=0
"$cli" objects 3 --game-dir "$work/game" --no-such-option >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "an unknown option after the command exits $status, not 2"

# The window program answers --help and --version without a display.
if [ -n "$window" ]; then
  shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$window" --version) ||
    fail "worldsmith --version without a display"
  [[ $shown =~ ^worldsmith\ $version\ \(commit\ [^\)]+\)$ ]] || fail "worldsmith --version: $shown"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$window" --help | grep -q -- --game-dir ||
    fail "worldsmith --help without a display"
  # Without a display, or with one that cannot be reached: one line on the
  # standard error and status 1, never Qt's abort (134).
  for display in "" :97; do
    status=0
    said=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" \
      "$window" --game-dir "$work/game" 2>&1 >/dev/null) || status=$?
    [ "$status" = 1 ] && [ "$(printf '%s\n' "$said" | wc -l)" = 1 ] ||
      fail "worldsmith with DISPLAY='$display' exits $status saying: $said"
  done
fi

# demo-game leaves nothing beside the folder it writes.
[ "$(ls -A "$work")" = game ] || fail "demo-game left: $(ls -A "$work")"

[ "$failures" = 0 ] && echo "command line: all checks passed"
exit "$((failures > 0))"
