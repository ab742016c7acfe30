#!/usr/bin/env bash
# Writes the seed corpus: each example and benchmark listing, assembled, with
# its input, in the fuzz target's layout (2-byte length, program, input).
#   fuzz/make-corpus.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
out=fuzz/corpus
seed() {  # seed NAME PROGRAM-FILE [INPUT-FILE]
  local len
  len=$(stat -c %s "$2")
  {
    printf "\\x$(printf %02x $((len & 255)))\\x$(printf %02x $((len >> 8 & 255)))"
    cat "$2"
    if [ -n "${3:-}" ]; then cat "$3"; fi
  } >"$out/$1"
}
tmp=$(mktemp -d)
for listing in examples/*.asm bench/*.asm fuzz/seeds/*.asm; do
  [ -e "$listing" ] || continue
  name=$(basename "$listing" .asm)
  "$BUILD/b21asm" "$listing" -o "$tmp/$name.b21"
  input=${listing%.asm}.in
  seed "$name" "$tmp/$name.b21" "$([ -e "$input" ] && echo "$input")"
done
rm -rf "$tmp"
