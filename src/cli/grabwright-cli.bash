# bash completion for grabwright-cli

_grabwright_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    # "=" breaks words for readline: "--dest=fo" arrives as "--dest" "=" "fo".
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi
    COMPREPLY=()
    case $prev in
        -d | --dest)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return
            ;;
        -j | --jobs)
            mapfile -t COMPREPLY < <(compgen -W '1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16' -- "$cur")
            return
            ;;
        --cookies)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        --format)
            mapfile -t COMPREPLY < <(compgen -W 'plain aria2 metalink' -- "$cur")
            return
            ;;
        -s | --spec | -x | --exclude | --max-time | --limit-rate | --render-time)
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--spec --exclude --media --dest --jobs --max-time --cookies
            --refetch --limit-rate --render --render-time --list --format --help --version -s -x -m
            -d -j -l -h -V' -- "$cur")
    fi
}

complete -F _grabwright_cli grabwright-cli
