#!/usr/bin/env bash
# Runs veskaron-meta beside general HTML and text tools on the same generated
# pages, in one run, and prints a table of times (best of RUNS whole-process
# runs, in ms) and ratios, then the Google Benchmark figures of the engine.
#
# Not a test: it installs its peers (Debian python3-lxml, mawk, nodejs/npm;
# npm htmlparser2, html-rewriter-wasm, robots-parser, sitemap, linkinator and
# hyperlink into bench/peers/node_modules) and so
# needs the package registries the first time. The peers are speed yardsticks
# only; the program never uses them.
#
#   bash bench/peers.sh                 # everything
#   RUNS=3 SMALL_PAGES=10000 bash bench/peers.sh
#   bash bench/peers.sh --no-gbench     # the table only
#   LINK_PAGES=1000 bash bench/peers.sh  # a smaller folder for the link checkers
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${RUNS:-5}
small=${SMALL_PAGES:-100000}
link_pages=${LINK_PAGES:-10000}
peer_timeout=${PEER_TIMEOUT:-1800}  # seconds a link checker may take
build=${VESKARON_BENCH_BUILD:-$root/build-bench}
pages=${VESKARON_BENCH_DIR:-$build/pages}
gbench=1
[ "${1:-}" = "--no-gbench" ] && gbench=0

# ---- peers and build tools ----
want=(python3-lxml mawk libbenchmark-dev)
command -v node >/dev/null && command -v npm >/dev/null || want+=(nodejs npm)
bash tools/deps.sh "${want[@]}"
if [ ! -d bench/peers/node_modules/htmlparser2 ] || [ ! -d bench/peers/node_modules/html-rewriter-wasm ] ||
   [ ! -d bench/peers/node_modules/sitemap ] || [ ! -d bench/peers/node_modules/linkinator ] ||
   [ ! -d bench/peers/node_modules/hyperlink ]; then
  (cd bench/peers && npm install --no-audit --no-fund --no-package-lock --silent)
fi
python=/usr/bin/python3  # Debian's, where python3-lxml lives

# ---- our build and the pages ----
# The build's output is shown only when it fails (Release builds warn more).
mkdir -p "$build"
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESKARON_BENCH=ON -DVESKARON_GUI=OFF &&
       cmake --build "$build" --target veskaron-meta make_pages memchr_scan engine_bench sitemap_write; } >"$build/peers-build.log" 2>&1; then
  cat "$build/peers-build.log"
  exit 1
fi
meta=$build/cli/veskaron-meta
stamp=$pages/.made-$small
if [ ! -f "$stamp" ] || [ bench/page_maker.cpp -nt "$stamp" ]; then
  echo "Making the pages in $pages ($small small pages)..."
  rm -rf "$pages"
  "$build/bench/make_pages" "$pages" "$small"
  touch "$stamp"
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A fresh settings store and program folder: every default as on first start.
export VESKARON_CONFIG_DIR=$scratch/config VESKARON_DATA_DIR=$scratch/data
mkdir -p "$VESKARON_CONFIG_DIR" "$VESKARON_DATA_DIR"
now=--now=2026-12-07T10:00:00

# ---- timing ----
# Best wall time in ms of $runs runs of a command; "fail" when it fails.
best_ms() {
  local best=0 t0 t1 us
  for ((i = 0; i < runs; i++)); do
    t0=$(date +%s%N)
    "$@" >/dev/null 2>"$scratch/err" || { echo fail; return; }
    t1=$(date +%s%N)
    us=$(((t1 - t0) / 1000))
    ((best == 0 || us < best)) && best=$us
  done
  printf '%d.%d' $((best / 1000)) $((best % 1000 / 100))
}
ratio() {  # peer / ours
  awk -v p="$1" -v o="$2" 'BEGIN { if (p == "fail" || o == "fail" || p == "-" || o == 0) print "-"; else printf "%.1fx", p / o }'
}
row() {  # task input ours-ms peer peer-ms
  printf '| %-22s | %-18s | %9s | %-24s | %9s | %7s |\n' "$1" "$2" "$3" "$4" "$5" "$(ratio "$5" "$3")"
}

mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f MB", b / 1048576 }'; }
cd "$pages"
(cd small && ls) | sed 's|^|small/|' >"$scratch/small.txt"
nsmall=$(wc -l <"$scratch/small.txt")

echo
echo "Times in ms, best of $runs whole-process runs; ratio = peer time / our time (above 1x: we are faster)."
echo
printf '| %-22s | %-18s | %9s | %-24s | %9s | %7s |\n' task input "ours ms" peer "peer ms" ratio
echo '|------------------------|--------------------|-----------|--------------------------|-----------|---------|'

extract_row() {  # input label, files...
  local label=$1
  shift
  local ours lx hp
  ours=$(best_ms "$meta" read "$now" "$@")
  lx=$(best_ms "$python" "$root/bench/peers/extract_lxml.py" "$@")
  hp=$(best_ms node "$root/bench/peers/extract_htmlparser2.mjs" "$@")
  row "title + META read" "$label" "$ours" "lxml" "$lx"
  row "title + META read" "$label" "$ours" "htmlparser2" "$hp"
}
for f in page-10k.htm page-1m.htm page-20m.htm page-20m-utf8.htm; do
  extract_row "$f" "$f"
done
# The folder in one call each (our command line takes the names; the peers
# read them from stdin, which costs them nothing measurable).
ours_small=$(cd small && best_ms "$meta" read "$now" -- *.htm)
lx=$(best_ms sh -c "'$python' '$root/bench/peers/extract_lxml.py' - <'$scratch/small.txt'")
hp=$(best_ms sh -c "node '$root/bench/peers/extract_htmlparser2.mjs' - <'$scratch/small.txt'")
row "title + META read" "$nsmall small pages" "$ours_small" "lxml" "$lx"
row "title + META read" "$nsmall small pages" "$ours_small" "htmlparser2" "$hp"

for f in page-10k.htm page-1m.htm page-20m.htm; do
  cp "$f" "$scratch/w.htm"
  ours=$(best_ms sh -c "'$meta' write '$scratch/w.htm' $now --set Title=Title --set Author=Author --set 'Keywords=a, b, c' --stdout >'$scratch/w-out.htm'")
  peer=$(best_ms node "$root/bench/peers/rewrite_wasm.mjs" "$f" "$scratch/w-out2.htm")
  row "head rewrite" "$f" "$ours" "html-rewriter-wasm" "$peer"
done
cp page-20m.htm "$scratch/w.htm"
inplace=$(best_ms "$meta" write "$scratch/w.htm" "$now" --set Title=Title --set Author=Author --no-backup)
row "head rewrite, in place" "page-20m.htm" "$inplace" "(flushed, then renamed)" "-"

declare -A kw awk_kw
for f in page-1m.htm page-20m.htm page-20m-utf8.htm; do
  ours=$(best_ms "$meta" keywords --json "$f")
  awkt=$(best_ms mawk '{for(i=1;i<=NF;i++) c[tolower($i)]++}' "$f")
  kw[$f]=$ours
  awk_kw[$f]=$awkt
  trt=$(best_ms sh -c "LC_ALL=C tr -cs '[:alnum:]' '\n' <'$f' | LC_ALL=C sort | uniq -c")
  row "word count" "$f" "$ours" "mawk" "$awkt"
  row "word count" "$f" "$ours" "tr | sort | uniq -c" "$trt"
done

for f in page-20m.htm page-20m-utf8.htm; do
  scan=$(best_ms "$build/bench/memchr_scan" "$f")
  ours=$(best_ms "$meta" read "$now" "$f")
  row "one pass over the file" "$f" "$ours" "memchr_scan (process)" "$scan"
done
echo
for f in page-20m.htm page-20m-utf8.htm; do
  echo "memchr in process, $f ($(mb "$f")): $("$build/bench/memchr_scan" --repeat "$f")"
done

# The sitemap of the folder beside its audit; then the writer alone beside
# the npm sitemap package, both given the addresses our sitemap holds.
mkdir -p "$scratch/sitemap" "$scratch/peer-sitemap"
sitemap_ms=$(best_ms "$meta" sitemap -r small --base-url https://x.ru --out "$scratch/sitemap/sitemap.xml")
audit_ms=$(best_ms "$meta" audit -r small --format jsonl)
row "sitemap of the folder" "$nsmall small pages" "$sitemap_ms" "our audit -r (jsonl)" "$audit_ms"
cat "$scratch"/sitemap/sitemap*.xml | tr -d ' \n' | grep -o '<loc>[^<]*</loc><lastmod>[^<]*</lastmod>' |
  sed 's|<loc>\([^<]*\)</loc><lastmod>\([^<]*\)</lastmod>|\1\t\2|' >"$scratch/addresses.txt"
ours_write=$(best_ms sh -c "'$build/bench/sitemap_write' https://x.ru '$scratch/sitemap' <'$scratch/addresses.txt'")
peer_write=$(best_ms sh -c "node '$root/bench/peers/sitemap_write.mjs' '$scratch/peer-sitemap/sitemap.xml' <'$scratch/addresses.txt'")
row "sitemap write" "$(wc -l <"$scratch/addresses.txt") addresses" "$ours_write" "sitemap (npm)" "$peer_write"

# The links of a folder of link-rich pages: ours beside the npm link checkers,
# both in their offline modes (linkinator serves the folder itself, hyperlink
# reads the files under a root; other hosts are skipped), once each, as they
# take minutes. Both exit 1 when they find broken links.
sitedir=$build/link-pages-$link_pages
if [ ! -f "$sitedir/.made" ] || [ bench/peers/link_pages.mjs -nt "$sitedir/.made" ]; then
  echo "Making $link_pages link pages in $sitedir..."
  rm -rf "$sitedir"
  node "$root/bench/peers/link_pages.mjs" "$sitedir" "$link_pages"
  touch "$sitedir/.made"
fi
peers=$root/bench/peers/node_modules/.bin
links_ms=$(best_ms sh -c "'$meta' links -r '$sitedir' --base-url https://example.com --format jsonl >'$scratch/links.jsonl'")
saved_runs=$runs
runs=1
lk_ms=$(best_ms sh -c "timeout $peer_timeout '$peers/linkinator' '$sitedir' --recurse --check-fragments \
          --skip 'other\.org' --skip 'example\.com' --skip '^mailto:' --format json >'$scratch/linkinator.json'; [ \$? -le 1 ]")
hl_ms=$(best_ms sh -c "cd '$sitedir/..' && timeout $peer_timeout '$peers/hyperlink' --root '$sitedir' \
          --canonicalroot https://example.com/ --internal '$sitedir/index.html' '$sitedir'/d*/*.html >'$scratch/hyperlink.tap'; [ \$? -le 1 ]")
runs=$saved_runs
row "links -r, one run" "$link_pages link pages" "$links_ms" "linkinator" "$lk_ms"
row "links -r, one run" "$link_pages link pages" "$links_ms" "hyperlink" "$hl_ms"

# The goals, from the figures above and the in-process field read.
field=$(VESKARON_BENCH_DIR=$pages "$build/bench/engine_bench" --benchmark_filter='BM_FieldRead/2$' \
          --benchmark_format=csv 2>/dev/null | awk -F, '/BM_FieldRead/ { printf "%.2f", $6 / 1e9 }')
scan=$("$build/bench/memchr_scan" --repeat page-20m.htm | awk '{ print $4 }')
echo
echo "Goals:"
echo "  keywords, 20 MB page: $(ratio "${awk_kw[page-20m.htm]}" "${kw[page-20m.htm]}") faster than mawk (goal: 4x)"
echo "  keywords, the same page in UTF-8: $(ratio "${kw[page-20m-utf8.htm]}" "${kw[page-20m.htm]}") the time of the Windows-1251 one (goal: at most 1.5x)"
echo "  field read in process, 20 MB page: $field GB/s (goal: 2 GB/s), memchr $scan GB/s: $(ratio "$scan" "$field") (goal: within 10x)"
echo "  read of $nsmall small pages in one call: $ours_small ms (goal: under 3000 ms for 100000)"
echo "  sitemap of $nsmall pages: $(ratio "$sitemap_ms" "$audit_ms") the time of audit -r (goal: at most 1.2x)"
echo "  links -r of $link_pages pages: $(ratio "$lk_ms" "$links_ms") faster than linkinator, $(ratio "$hl_ms" "$links_ms") than hyperlink (goal: 20x)"

if ((gbench)); then
  echo
  echo "Engine in process (Google Benchmark; bytes/s over the page, items/s over the folder):"
  VESKARON_BENCH_DIR=$pages "$build/bench/engine_bench" --benchmark_min_time=0.2 2>/dev/null
fi

# Broken links and missing fragments: each link checker's beside ours.
echo
echo "Broken links and missing fragments against the link checkers ($link_pages pages):"
[ "$lk_ms" != fail ] && node bench/peers/links_agree.mjs "$sitedir" "$scratch/links.jsonl" linkinator "$scratch/linkinator.json"
[ "$hl_ms" != fail ] && node bench/peers/links_agree.mjs "$sitedir" "$scratch/links.jsonl" hyperlink "$scratch/hyperlink.tap" "$sitedir/.."

# robots.txt: the npm robots-parser package and our robots-txt on the same
# generated questions; every answer they disagree on is listed.
echo
echo "robots.txt verdicts against robots-parser:"
bash bench/robots_agree.sh "$meta" 300 | tail -20
