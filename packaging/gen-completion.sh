#!/usr/bin/env bash
# Writes the bash completion of veskaron-meta to stdout: the fixed part
# (veskaron-meta.bash) after the subcommands, options and option values read
# from the program's own --help, so the completion stays true to it.
set -euo pipefail
exe=$1 fixed=$2
commands=$("$exe" --help | awk '/^Subcommands:/{s=1;next} s&&/^  [a-z]/{print $1} s&&/^$/{s=0}')
# One "name value-kind" line per option of a --help text.
options() {
    "$@" --help | awk '
        /^Options:/{s=1;next} /^[A-Z][a-z]*:/{s=0}
        s && /^  -/ {
            names=$1; kind=$2
            sub(/\{[^}]*\}$/, "", names)
            n=split(names, parts, ",")
            v="@none"
            if (kind ~ /^[A-Z]+:\{/) { sub(/^[A-Z]+:\{/, "", kind); sub(/\}.*/, "", kind); gsub(/,/, " ", kind); v=kind }
            else if (kind == "DIR") v="@dir"
            else if (kind == "FILE" || kind == "PATH" || kind == "PAGE") v="@file"
            else if (kind == "TEXT" && $0 ~ /[Ff]ile / && $0 !~ /[Ff]ile mask/) v="@file"
            else if (kind ~ /^[A-Z][A-Z]+(:|$)/) v="@any"
            for (i = 1; i <= n; i++) print parts[i] "\t" v
        }'
}
{
    echo "# Generated from veskaron-meta --help; do not edit."
    echo "_veskaron_meta_options() {"
    echo "    case \$1 in"
    echo "        '') echo '$(options "$exe" | cut -f1 | tr '\n' ' ')' ;;"
    for c in $commands; do
        echo "        $c) echo '$(options "$exe" "$c" | cut -f1 | tr '\n' ' ')' ;;"
    done
    echo "    esac"
    echo "}"
    echo "_veskaron_meta_values() {"
    echo "    case \$1 in"
    for c in $commands; do
        echo "        $c) case \$2 in"
        options "$exe" "$c" | while IFS=$'\t' read -r name kind; do
            echo "            $name) echo '$kind' ;;"
        done
        echo "            --config) echo '@dir' ;;"
        echo "            *) echo '@none' ;;"
        echo "        esac ;;"
    done
    echo "        *) case \$2 in --config) echo '@dir' ;; *) echo '@none' ;; esac ;;"
    echo "    esac"
    echo "}"
    sed "s/local commands=\"[^\"]*\"/local commands=\"$(echo $commands)\"/" "$fixed"
} | sed 's/^ *$//' | cat -s
