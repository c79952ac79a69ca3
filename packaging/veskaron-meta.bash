# Tab completion for veskaron-meta: subcommands, options, their values, files and folders.
_veskaron_meta() {
    local cur prev words cword
    _init_completion || return
    local commands="read write keywords audit serp"
    local cmd="" i
    for ((i = 1; i < cword; i++)); do
        case " $commands " in *" ${words[i]} "*) cmd=${words[i]}; break ;; esac
    done
    if [[ -z $cmd ]]; then
        if [[ $prev == --config ]]; then
            _filedir -d
        elif [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$(_veskaron_meta_options "")" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi
    local values
    values=$(_veskaron_meta_values "$cmd" "$prev")
    case $values in
        @file) _filedir; return ;;
        @dir) _filedir -d; return ;;
        @none) ;;
        @any) return ;;
        *) COMPREPLY=($(compgen -W "$values" -- "$cur")); return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_veskaron_meta_options "$cmd")" -- "$cur"))
    else
        _filedir
    fi
}
complete -F _veskaron_meta veskaron-meta
