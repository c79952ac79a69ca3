#!/usr/bin/env bash
# Retakes the README's pictures: builds the screenshot program, makes a small
# demo site in a temporary home and photographs every window over it.
#   bash tools/screenshots.sh          writes docs/screenshots/*.png
#   bash tools/screenshots.sh DIR      writes them into DIR
#   bash tools/screenshots.sh --check  a smoke check for the tests: takes them
#     into a temporary folder; each picture of docs/screenshots must come out
#     as a PNG of the same size (the pixels are not compared).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=${VESKARON_BUILD_DIR:-build}
check=no
out=$repo/docs/screenshots
if [ "${1:-}" = "--check" ]; then check=yes; shift; fi
[ $# -gt 0 ] && out=$(realpath -m "$1")

# The check runs inside the tests, after the build; a retake builds first.
if [ $check = no ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja
  cmake --build "$build" --parallel "$(nproc)" --target screenshots
fi
program=$(realpath "$build/tools/screenshots/screenshots")

tmp=$(mktemp -d "${TMPDIR:-/tmp}/veskaron-shots.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
home=$tmp/home/marina
site=$home/sites/uralkamen
mkdir -p "$home/Документы" "$home/Загрузки" "$home/sites/dacha-sad" \
  "$site/images" "$site/css" "$site/news" "$tmp/run"
chmod 700 "$tmp/run"

# page FILE CHARSET: the text on stdin (UTF-8) written in CHARSET.
page() { iconv -f UTF-8 -t "$2" > "$site/$1"; }

page index.html CP1251 <<'HTML'
<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<title>Уральский камень — изделия из малахита и яшмы</title>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">
<meta http-equiv="Content-Language" content="ru-RU">
<meta http-equiv="Cache-Control" content="no-cache">
<meta name="description" content="Мастерская «Уральский камень» из Екатеринбурга: шкатулки, вазы, часы и украшения из малахита, яшмы и чароита ручной работы. Доставка по России.">
<meta name="keywords" content="малахит, яшма, чароит, шкатулка, изделия из камня, Екатеринбург, ручная работа">
<meta name="author" content="Марина Соколова">
<meta name="copyright" content="© 2024 Уральский камень">
<meta name="robots" content="index, follow">
<meta name="revisit-after" content="14 days">
<meta property="og:title" content="Уральский камень — изделия из малахита и яшмы">
<meta property="og:description" content="Шкатулки, вазы и украшения из уральского камня ручной работы.">
<meta property="og:image" content="https://uralkamen.ru/images/shkatulka.jpg">
<link rel="stylesheet" href="css/style.css">
</head>
<body>
<h1>Уральский камень</h1>
<p>Наша мастерская работает с уральским камнем больше двадцати лет. Малахит,
яшма, чароит, родонит и змеевик — каждый камень мастер выбирает сам, на
месторождении или у знакомых камнерезов.</p>
<h2>Малахит</h2>
<p>Малахит — камень Урала. Малахит добывали на Гумешевском руднике, и малахит
до сих пор остаётся самым узнаваемым уральским камнем: зелёный малахит с
полосами и кольцами не спутать ни с чем.</p>
<h2>Шкатулки из малахита</h2>
<p>Малахитовая шкатулка — главный уральский подарок. Шкатулки из малахита мы
делаем в технике русской мозаики: тонкие пластинки камня подбирают по рисунку
и наклеивают на основу, так что узор малахита идёт без швов.</p>
<h2>Яшма и чароит</h2>
<p>Яшма бывает красной, зелёной и пёстрой; яшма хорошо полируется. Из яшмы
получаются вазы, часы и письменные приборы; чароит с его
сиреневым узором хорош в украшениях. Изделия из камня мы отправляем по всей
России, шкатулки и вазы — в деревянной упаковке. Каждая шкатулка и каждая
ваза подписаны мастером.</p>
<p><a href="catalog.html">Каталог изделий</a> · <a href="news/vystavka.html">Новости</a>
· <a href="contacts.html">Контакты мастерской</a></p>
</body>
</html>
HTML

page catalog.html UTF-8 <<'HTML'
<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<title>Каталог: шкатулки, вазы и украшения из камня</title>
<meta name="description" content="Каталог мастерской «Уральский камень»: цены на шкатулки из малахита, вазы из яшмы, браслеты и серьги из чароита.">
<meta name="keywords" content="каталог, шкатулка из малахита, ваза из яшмы, браслет из чароита, цены">
<meta name="author" content="Марина Соколова">
<meta property="og:title" content="Каталог изделий из уральского камня">
<meta property="og:type" content="website">
</head>
<body>
<h1>Каталог изделий</h1>
<ul>
<li>Шкатулка «Малахитовая», 12×8 см — 18 500 ₽</li>
<li>Ваза из яшмы, высота 25 см — 24 000 ₽</li>
<li>Браслет из чароита — 3 200 ₽</li>
</ul>
</body>
</html>
HTML

page contacts.html KOI8-R <<'HTML'
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=koi8-r">
<title>Контакты мастерской "Уральский камень"</title>
<meta name="description" content="Адрес мастерской в Екатеринбурге, телефон и часы работы.">
<meta name="keywords" content="контакты, адрес, Екатеринбург, мастерская">
<meta name="robots" content="index, nofollow">
</head>
<body>
<h1>Контакты</h1>
<p>Екатеринбург, ул. Малышева, 51. Телефон: +7 343 000-00-00. Открыто с 10 до 19, кроме понедельника.</p>
</body>
</html>
HTML

# A page with findings: the title is too long, the description is given
# twice, the keywords are missing.
page news/vystavka.html CP1251 <<'HTML'
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">
<title>Новости мастерской: мы участвуем в выставке «Минералы Урала» в Екатеринбурге, приходите посмотреть на новые шкатулки и вазы</title>
<meta name="robots" content="noindex, follow">
<meta name="description" content="Выставка «Минералы Урала».">
<meta name="description" content="Новости мастерской.">
</head>
<body><p>С 5 по 9 июня мы покажем новые шкатулки из малахита на выставке.</p></body>
</html>
HTML

printf 'body { font-family: Georgia, serif; }\n' > "$site/css/style.css"
cp "$site/contacts.html" "$home/sites/dacha-sad/index.html"

# Where it can, the program runs in its own mount namespace with the demo
# homes in place of /home, so that the pictures show /home/marina; elsewhere
# they show the temporary folder. The program and its pictures stay outside
# /home, which may hold this checkout.
cp "$program" "$tmp/screenshots"
shots=$tmp/out
mkdir -p "$shots"
run_home=$home
if unshare -rm true 2>/dev/null; then
  run_home=/home/marina
  namespace=(unshare -rm sh -c 'mount --bind "$0" /home && exec "$@"' "$tmp/home")
else
  echo "unshare is not available: the pictures show the temporary home $home"
  namespace=()
fi
site=$run_home/sites/uralkamen
(
  export HOME=$run_home
  export XDG_CONFIG_HOME=$run_home/.config XDG_DATA_HOME=$run_home/.local/share
  export XDG_CACHE_HOME=$run_home/.cache XDG_RUNTIME_DIR=$tmp/run
  export VESKARON_CONFIG_DIR=$run_home/.config/Varnok-Soft
  export VESKARON_DATA_DIR=$run_home/.local/share/Veskaron
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
  cd "$tmp"
  "${namespace[@]}" "$tmp/screenshots" "$shots" "$run_home/sites/dacha-sad/index.html" \
    "$site/news/vystavka.html" "$site/index.html"
)
if [ $check = no ]; then
  mkdir -p "$out"
  cp "$shots"/*.png "$out"/
  echo "pictures written to $out"
fi

if [ $check = yes ]; then
  # PNG: the width and height are the big-endian words at bytes 16 and 20.
  size() { od -An -tu1 -j16 -N8 "$1" | awk '{print ($1*2^24+$2*2^16+$3*2^8+$4) "x" ($5*2^24+$6*2^16+$7*2^8+$8)}'; }
  status=0
  for ref in "$repo"/docs/screenshots/*.png; do
    shot=$shots/$(basename "$ref")
    if [ ! -s "$shot" ] || [ "$(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
      echo "missing or not a PNG: $(basename "$ref")"; status=1
    elif [ "$(size "$shot")" != "$(size "$ref")" ]; then
      echo "$(basename "$ref"): $(size "$shot"), the README's is $(size "$ref")"; status=1
    fi
  done
  [ $status = 0 ] && echo "screenshots: every picture taken at its size"
  exit $status
fi
