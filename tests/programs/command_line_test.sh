#!/usr/bin/env bash
# The built programs as a user types them:
#   command_line_test.sh WORLDSMITH_CLI VERSION SCHEMA_DIR README [WORLDSMITH]
# --version on both programs, the window program's --help without a display,
# the program's options after a command, "-" for every input, the help of
# every command, "did you mean" and the JSON output against its schemas. (The
# shell completion has its own test, completion_test.sh.)
set -euo pipefail
cli=$1 version=$2 schemas=$3 readme=$4 window=${5:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# --version and -v: the project's version and the commit, on one line.
for flag in --version -v; do
  [[ $("$cli" $flag) =~ ^worldsmith-cli\ $version\ \(commit\ [^\)]+\)$ ]] ||
    fail "worldsmith-cli $flag: $("$cli" $flag 2>&1)"
done

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

# "-" is the standard input of every command that reads a file, and gives
# what the file itself gives.
g=(--game-dir "$work/game")
printf '%s' '{"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]}]}' >"$work/w.json"
"$cli" "${g[@]}" build "$work/w.json" -o "$work/w.sav" >/dev/null
"$cli" unpack "$work/w.sav" "$work/w.body"
"$cli" encode "$work/w.body" "$work/w.stream"
"$cli" "${g[@]}" render "$work/w.sav" -o "$work/w.png"
same_from_stdin() {  # INPUT EXPECTED COMMAND...: COMMAND with "-" for INPUT prints EXPECTED
  local input=$1 expected=$2
  shift 2
  "$@" <"$input" >"$work/from-stdin" 2>"$work/stdin-err" || fail "$* < $input: $(cat "$work/stdin-err")"
  cmp -s "$work/from-stdin" "$expected" || fail "$* < $input differs from the file's result"
}
same_from_stdin "$work/w.json" "$work/w.sav" "$cli" "${g[@]}" build - -o -
same_from_stdin "$work/w.sav" "$work/w.body" "$cli" unpack - -
same_from_stdin "$work/w.body" "$work/w.stream" "$cli" encode - -
same_from_stdin "$work/w.stream" "$work/w.body" "$cli" decode - -
same_from_stdin "$work/w.body" "$work/w.sav" "$cli" pack - -
same_from_stdin "$work/w.sav" "$work/w.png" "$cli" "${g[@]}" render - -o -
"$cli" "${g[@]}" info "$work/w.sav" >"$work/info.txt"
same_from_stdin "$work/w.sav" "$work/info.txt" "$cli" "${g[@]}" info -
shown=$("$cli" info - <"$work/w.body" 2>&1) && fail "info - of a body succeeds"
[[ $shown == "worldsmith-cli: <stdin>: "* ]] || fail "info - names <stdin>: $shown"

# Every command's help shows the options of every command and an example;
# build's describes the world file.
for command in encode decode pack unpack demo-game catalogue objects preview build info render; do
  help=$("$cli" $command --help)
  grep -q -- --game-dir <<<"$help" && grep -q '^Example:' <<<"$help" ||
    fail "$command --help lacks the global options or an example"
done
"$cli" build --help | grep -q '"objects"' || fail "build --help does not describe the world file"
"$cli" preview --help | grep -q -- '--scale N' || fail "preview --help: --scale N"

# Mistakes: "did you mean", "-" as a folder, and one message for one failure.
usage() {  # EXPECTED_TEXT COMMAND...: a usage error (2) whose message holds the text
  local text=$1 status=0 err
  shift
  err=$("$@" 2>&1 >/dev/null) || status=$?
  [ "$status" = 2 ] && grep -qF -- "$text" <<<"$err" || fail "$*: exit $status, $err"
}
usage 'did you mean "catalogue"?' "$cli" "${g[@]}" catalog
usage 'did you mean "--json"?' "$cli" "${g[@]}" objects 3 --jsn
usage 'a folder cannot go to the standard output' "$cli" demo-game -
[ ! -e - ] || fail 'demo-game - made a folder named "-"'
status=0
"$cli" "${g[@]}" render "$work/w.sav" -o - >/dev/full 2>"$work/full-err" || status=$?
[ "$status" = 1 ] && [ "$(grep -c 'worldsmith-cli: <stdout>: cannot write' "$work/full-err")" = 1 ] ||
  fail "render -o - to a full disk: exit $status, $(cat "$work/full-err")"

# Every JSON the program prints, and the README's world file, against their
# schemas (draft 2020-12).
"$cli" "${g[@]}" catalogue --json >"$work/catalogue.json"
"$cli" "${g[@]}" objects 1 --json >"$work/objects-1.json"
"$cli" "${g[@]}" objects 3 --json >"$work/objects-3.json"
"$cli" "${g[@]}" info "$work/w.sav" --json >"$work/info.json"
"$cli" --game-dir "$work/none" info "$work/w.sav" --json >"$work/info-unnamed.json" 2>/dev/null
sed -n '/^    {"name": "テストワールド",$/,/]}$/p' "$readme" >"$work/readme-world.json"
[ -s "$work/readme-world.json" ] || fail "README's world file example not found"
python3 - "$schemas" "$work" <<'PY' || fail "JSON output does not match its schema"
import json, pathlib, sys
from jsonschema import Draft202012Validator
schemas, work = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
checks = {"catalogue": ["catalogue.json"], "objects": ["objects-1.json", "objects-3.json"],
          "info": ["info.json", "info-unnamed.json"], "world": ["w.json", "readme-world.json"]}
failed = False
for schema_name, files in checks.items():
    schema = json.loads((schemas / f"{schema_name}.schema.json").read_text())
    Draft202012Validator.check_schema(schema)
    for name in files:
        for error in Draft202012Validator(schema).iter_errors(json.loads((work / name).read_text())):
            print(f"{name}: {error.json_path}: {error.message}", file=sys.stderr)
            failed = True
# A misspelt key fails the world schema as it fails build.
bad = {"areas": [{"area": 1, "kind": "field", "x": 0, "y": 0, "objets": [1]}]}
world = json.loads((schemas / "world.schema.json").read_text())
if Draft202012Validator(world).is_valid(bad):
    print("the world schema takes a misspelt key", file=sys.stderr)
    failed = True
sys.exit(1 if failed else 0)
PY
"$cli" "${g[@]}" build "$work/readme-world.json" -o "$work/readme.sav" >/dev/null ||
  fail "README's world file does not build"

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
leftover=$(find "$work" -maxdepth 1 -name '.game*')
[ -z "$leftover" ] || fail "demo-game left: $leftover"

[ "$failures" = 0 ] && echo "command line: all checks passed"
exit "$((failures > 0))"
