#!/usr/bin/env bash
# Writes the manual page of veskaron-meta to stdout from the program's own
# --help and each subcommand's --help, with the examples of veskaron-meta.h2m.
set -euo pipefail
exe=$1 include=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$include" "$tmp/all.h2m"
commands=$("$exe" --help | awk '/^Subcommands:/{s=1;next} s&&/^  [a-z]/{print $1} s&&/^$/{s=0}')
{
    echo "[COMMANDS]"
    for c in $commands; do
        echo ".SS $c"
        # The usage line names the program as called; the page names it plainly.
        "$exe" "$c" --help | sed "s|^Usage: .*veskaron-meta|Usage: veskaron-meta|; s/\\\\/\\\\e/g; s/^\\([.']\\)/\\\\\\&\\1/" |
            awk 'BEGIN{print ".nf"} {print} END{print ".fi"}'
    done
} >> "$tmp/all.h2m"
# help2man runs the program by the name the page is to have.
mkdir "$tmp/bin"
ln -s "$(readlink -f "$exe")" "$tmp/bin/veskaron-meta"
export PATH="$tmp/bin:$PATH"
help2man --no-info --no-discard-stderr --version-string="$version" \
    --name="read and write the title and META tags of HTML pages" \
    --include="$tmp/all.h2m" veskaron-meta
