#!/usr/bin/env bash
# Installs a built tree under a temporary DESTDIR and checks what a package
# of it would hold: every file in its place, the desktop entry, the metadata
# and the manual pages valid, and the installed command starting.
set -euo pipefail
build=${1:-build}
id=ru.varnoksoft.Veskaron
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
u=$root/usr
expected=(bin/veskaron-meta share/man/man1/veskaron-meta.1
          share/bash-completion/completions/veskaron-meta)
gui=$(grep -c '^VESKARON_GUI:BOOL=ON' "$build/CMakeCache.txt" || true)
if [ "$gui" = 1 ]; then
  expected+=(bin/veskaron share/veskaron/veskaron.html share/man/man1/veskaron.1
             share/applications/$id.desktop share/metainfo/$id.metainfo.xml
             share/icons/hicolor/scalable/apps/$id.svg
             share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/256x256/apps/$id.png)
fi
fail=0
for f in "${expected[@]}"; do
  [ -f "$u/$f" ] || { echo "not installed: $f"; fail=1; }
done
# Nothing outside the prefix, nothing unplanned (a package must not carry a stray file).
extra=$(cd "$root" && find . -type f | sed 's|^\./usr/||' | sort | comm -23 - <(printf '%s\n' "${expected[@]}" | sort))
[ -z "$extra" ] || { echo "installed but not expected:"; echo "$extra"; fail=1; }
if [ "$gui" = 1 ]; then
  desktop-file-validate "$u/share/applications/$id.desktop" || fail=1
  appstreamcli validate --no-net "$u/share/metainfo/$id.metainfo.xml" >/dev/null ||
    { appstreamcli validate --no-net "$u/share/metainfo/$id.metainfo.xml"; fail=1; }
fi
for page in "$u"/share/man/man1/*.1; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings"; fail=1; }
done
bash -n "$u/share/bash-completion/completions/veskaron-meta" || fail=1
# Started from its installed place, with no build folder beside it.
"$u/bin/veskaron-meta" --help | grep -q '^Subcommands:' || { echo "installed veskaron-meta does not start"; fail=1; }
[ "$fail" = 0 ] && echo "install check: ${#expected[@]} files in place"
exit "$fail"
