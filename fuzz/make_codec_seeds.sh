#!/usr/bin/env bash
# Makes the seed corpora of the codec fuzzers with our own encoder:
#   fuzz/make_codec_seeds.sh build/dev/src/cli/worldsmith-cli
# Writes fuzz/corpus/decode_stream/ (raw streams) and
# fuzz/corpus/read_save_file/ (save files).
set -euo pipefail
cli=${1:?usage: fuzz/make_codec_seeds.sh PATH/TO/worldsmith-cli}
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '' >"$work/empty"
printf 'abc' >"$work/abc"
printf 'aab' >"$work/aab"
printf 'zzzzzzzzz' >"$work/single_value"
printf 'the town guard of the north gate' >"$work/text"
for v in $(seq 0 255); do printf "\\$(printf '%03o' "$v")"; done >"$work/all_values"
# A small body shaped like a save body: a header, a name at 16, records of
# small constants among zeros.
{
  printf '\x01\x00\x00\x00\x04\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00'
  printf 'worldsmith'; head -c 22 /dev/zero
  for r in 1 2 3 4 5 6; do
    printf "\\x0$r\\x00\\x00\\x00\\x20\\x00\\x40\\x00"; head -c 40 /dev/zero
  done
} >"$work/body"
# A body large enough to be decoded in lanes: the small body's records with
# zero stretches of varying length between them, about 16 KB.
for r in $(seq 1 60); do
  cat "$work/body"; head -c $((r * 7 % 90)) /dev/zero
done >"$work/large_body"
# Codes longer than one lookup: Fibonacci counts.
a=1; b=1
for v in $(seq 1 16); do
  head -c "$a" /dev/zero | tr '\0' "\\$(printf '%03o' $((v + 64)))"
  c=$((a + b)); a=$b; b=$c
done >"$work/long_codes"

mkdir -p corpus/decode_stream corpus/read_save_file
for input in "$work"/*; do
  name=$(basename "$input")
  "$cli" encode "$input" "corpus/decode_stream/$name"
  "$cli" pack "$input" "corpus/read_save_file/$name"
done
"$cli" pack "$work/body" "corpus/read_save_file/named" --name 'テストワールド'
