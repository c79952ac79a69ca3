#!/usr/bin/env bash
# Writes what a veskaron-meta binary prints for the generated pages into a
# folder, so that two builds can be compared byte for byte (diff -r) before a
# speed change lands.
#   bash bench/outputs.sh BINARY PAGES_DIR OUT_DIR
set -euo pipefail
bin=$(realpath "$1")
pages=$(realpath "$2")
out=$3
mkdir -p "$out"
out=$(realpath "$out")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export VESKARON_CONFIG_DIR=$scratch/config VESKARON_DATA_DIR=$scratch/data
mkdir -p "$VESKARON_CONFIG_DIR" "$VESKARON_DATA_DIR"
now=--now=2026-12-07T10:00:00
printf 'garden\r\nсад\r\n' | iconv -f utf-8 -t cp1251 >"$scratch/exclude.fkw"

cd "$pages"
run() {  # name, arguments...
  local name=$1
  shift
  local status=0
  "$bin" "$@" >"$out/$name.out" 2>"$out/$name.err" || status=$?
  echo "$status" >"$out/$name.status"
}
for f in page-*.htm; do
  run "read-$f" read "$now" "$f"
  run "kw-$f" keywords "$now" "$f"
  run "kwjson-$f" keywords --json "$now" "$f"
  run "kw1-$f" keywords --sort 1 --alt --description --min-len 2 "$f"
  run "kw2-$f" keywords --sort 2 --digits off --repeated 3 --exclude "$scratch/exclude.fkw" "$f"
  run "write-$f" write "$f" "$now" --set Title=Заголовок --set Author=Автор --set 'Keywords=a, b' --stdout
  run "write2-$f" write "$f" "$now" --place end --attr content-first --one-line --stdout
  run "write3-$f" write "$f" "$now" --as-edited --stdout
done
# The whole folder in one call, and a sample of its pages one by one.
(cd small && run read-small read "$now" -- *.htm)
for f in $(cd small && ls | awk 'NR % 997 == 1'); do
  run "kw-small-$f" keywords --json --alt "small/$f"
  run "write-small-$f" write "small/$f" "$now" --set Author=X --stdout
done
