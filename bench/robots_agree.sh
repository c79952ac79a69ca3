#!/usr/bin/env bash
# Asks the npm robots-parser package and veskaron-meta robots-txt the same
# questions (generated robots.txt files, agents and addresses) and lists every
# answer they disagree on, with the rule that decides for us.
#   bash bench/robots_agree.sh BINARY [COUNT]     (COUNT robots.txt files, 10 questions each)
# Not a test: it needs the npm registry once (bench/peers/node_modules).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "$1")
count=${2:-300}
command -v node >/dev/null && command -v npm >/dev/null || bash tools/deps.sh nodejs npm
[ -d bench/peers/node_modules/robots-parser ] ||
  (cd bench/peers && npm install --no-audit --no-fund --no-package-lock --silent)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
node bench/peers/robots_triples.mjs "$work" "$count"
asked=0 differ=0
for ((n = 0; n < count; n++)); do
  while IFS=$'\t' read -r agent url; do
    ours=$("$bin" robots-txt "$work/robots-$n.txt" --agent "$agent" "$url" 2>/dev/null)
    peer=$(awk -F'\t' -v a="$agent" -v u="$url" '$1 == a && $2 == u { print $3; exit }' "$work/peer-$n.tsv")
    asked=$((asked + 1))
    if [ "${ours%%$'\t'*}" != "$peer" ]; then
      differ=$((differ + 1))
      echo "robots-$n.txt, $agent, $url: ours ${ours%%$'\t'*} (${ours##*$'\t'}), robots-parser $peer"
      [ "$differ" -le 3 ] && sed 's/^/    | /' "$work/robots-$n.txt"
    fi
  done <"$work/questions-$n.tsv"
done
echo "Asked $asked questions of $count robots.txt files: $differ answers differ."
