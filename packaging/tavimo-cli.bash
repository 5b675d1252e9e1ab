# bash completion for tavimo-cli                             -*- shell-script -*-

_tavimo_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    local all_modes='rise decline resistance support projection-up projection-down'
    case $prev in
        --format)
            COMPREPLY=($(compgen -W 'text csv json' -- "$cur"))
            return
            ;;
        --round)
            COMPREPLY=($(compgen -W 'nearest up down' -- "$cur"))
            return
            ;;
        --scale-levels)
            COMPREPLY=($(compgen -W 'linear log' -- "$cur"))
            return
            ;;
        --png)
            _filedir '@(png|PNG)'
            # "-" writes the picture to standard output.
            [[ $cur == - ]] && COMPREPLY+=(-)
            return
            ;;
        --input)
            _filedir '@(csv|CSV|txt|TXT)'
            # "-" reads standard input.
            [[ $cur == - ]] && COMPREPLY+=(-)
            return
            ;;
        --modes)
            # A comma-separated list: complete the name after the last comma.
            local done_part=
            [[ $cur == *,* ]] && done_part=${cur%,*},
            COMPREPLY=($(compgen -P "$done_part" -W "$all_modes" -- "${cur##*,}"))
            compopt -o nospace 2>/dev/null
            return
            ;;
        --low | --high | --from | --ratios | --size | --set | --tick | --wave | --tolerance | --min-waves | --change | --leg)
            # Free text: a price, a ratio list, a tick, a wave, WIDTHxHEIGHT.
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

    local level_options='--ratios --tick --round --scale-levels'
    local command_options=
    case ${words[1]} in
        confluence) ((cword > 1)) && command_options="--wave --modes --tolerance --min-waves $level_options --format --help" ;;
        batch) ((cword > 1)) && command_options="--input $level_options --help" ;;
        swings) ((cword > 1)) && command_options="--input --change --format --help" ;;
        stats) ((cword > 1)) && command_options="--input --change --tolerance --ratios --format --help" ;;
        scan)
            # FILE... and the options.
            if ((cword > 1)) && [[ $cur != -* ]]; then
                _filedir '@(csv|CSV|txt|TXT)'
                return
            fi
            ((cword > 1)) && command_options="--change $level_options --format --help"
            ;;
        chart) ((cword > 1)) && command_options="--input --change --leg --from --to $level_options --png --size --scale --help" ;;
    esac

    local word mode_given=false
    local -a given=()
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            rise | decline | resistance | support | projection-up | projection-down | auto) mode_given=true ;;
            --wave*) ;;  # given as often as there are waves
            --input*) [[ ${words[1]} == stats ]] || given+=("${word%%=*}") ;;  # stats reads several files
            --*) given+=("${word%%=*}") ;;
        esac
    done

    local option offered=()
    if [[ -n $command_options ]]; then
        # batch takes its MODE[,MODE...] list first; confluence takes no word but options.
        if [[ ${words[1]} == batch && $cur != -* && $cword -eq 2 ]]; then
            local done_part=
            [[ $cur == *,* ]] && done_part=${cur%,*},
            COMPREPLY=($(compgen -P "$done_part" -W "$all_modes" -- "${cur##*,}"))
            compopt -o nospace 2>/dev/null
            return
        fi
        for option in $command_options; do
            [[ " ${given[*]} " == *" $option "* ]] || offered+=("$option")
        done
        COMPREPLY=($(compgen -W "${offered[*]}" -- "$cur"))
        return
    fi

    # After the mode only options remain.
    if [[ $cur == -* ]] || $mode_given; then
        for option in --low --high --from --input --change --leg $level_options --format --png --size --scale --layout --help; do
            [[ " ${given[*]} " == *" $option "* ]] || offered+=("$option")
        done
        COMPREPLY=($(compgen -W "${offered[*]}" -- "$cur"))
        return
    fi
    local modes="$all_modes auto"
    ((cword == 1)) && modes+=' ratios confluence batch swings stats scan chart'
    COMPREPLY=($(compgen -W "$modes" -- "$cur"))
} &&
    complete -F _tavimo_cli tavimo-cli

# ex: filetype=sh
