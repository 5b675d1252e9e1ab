# bash completion for tavimo-cli                             -*- shell-script -*-

_tavimo_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --format)
            COMPREPLY=($(compgen -W 'text csv json' -- "$cur"))
            return
            ;;
        --png)
            _filedir '@(png|PNG)'
            # "-" writes the picture to standard output.
            [[ $cur == - ]] && COMPREPLY+=(-)
            return
            ;;
        --low | --high | --ratios | --size | --set)
            # Free text: a price, a ratio list, WIDTHxHEIGHT.
            return
            ;;
        --scale)
            COMPREPLY=($(compgen -W '1 1.25 1.5 2 3' -- "$cur"))
            return
            ;;
        --help | -h)
            return
            ;;
    esac
    $split && return

    # The ratios command: the stored list, --set TEXT or --reset (one of them).
    if [[ ${words[1]} == ratios ]] && ((cword > 1)); then
        local stored_options='--set --reset --help'
        [[ " ${words[*]:2:cword-2} " == *" --set "* || " ${words[*]:2:cword-2} " == *" --reset "* ]] &&
            stored_options='--help'
        COMPREPLY=($(compgen -W "$stored_options" -- "$cur"))
        return
    fi

    local modes='rise decline resistance support'
    ((cword == 1)) && modes+=' ratios'
    local word mode_given=false
    local -a given=()
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            rise | decline | resistance | support) mode_given=true ;;
            --*) given+=("${word%%=*}") ;;
        esac
    done

    # After the mode only options remain.
    if [[ $cur == -* ]] || $mode_given; then
        local option offered=()
        for option in --low --high --ratios --format --png --size --scale --layout --help; do
            [[ " ${given[*]} " == *" $option "* ]] || offered+=("$option")
        done
        COMPREPLY=($(compgen -W "${offered[*]}" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -W "$modes" -- "$cur"))
} &&
    complete -F _tavimo_cli tavimo-cli

# ex: filetype=sh
