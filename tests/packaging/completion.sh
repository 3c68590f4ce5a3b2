#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion of rw830kt-cli, run as bash runs it: verbs, each verb's options,
# the settings of set, ports from the program itself and file names.
# Usage: completion.sh CLI_FOLDER COMPLETION_FILE
CLI_FOLDER=$1
COMPLETION=$2
[ -r /usr/share/bash-completion/bash_completion ] || {
    echo "Skipped: bash-completion is not installed (apt-get install bash-completion)."
    exit 77
}
# shellcheck disable=SC1091
. /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
. "$COMPLETION"
# Outside a real completion compopt has nothing to set.
compopt() { :; }
PATH=$CLI_FOLDER:$PATH
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
# The ports that rw830kt-cli lists come first from the settings file of the folder.
printf '[Serial]\nExtraPorts=/dev/rw830kt-bench-1;/dev/rw830kt-bench-2\n' >RW830KT2485E.ini
touch site1.tbl site2.tbl notes.txt site1.pdf
mkdir tables

failures=0
# Completes the command line $1 (completed at its end) and compares the sorted offers
# with $2 (one line each).
offers() {
    local line=$1 expected=$2
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _rw830kt_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
    if [ "$got" != "$(printf '%s\n' "$expected" | sort)" ]; then
        echo "FAIL: '$line' offers:"
        echo "$got"
        echo "instead of:"
        echo "$expected"
        failures=$((failures + 1))
    else
        echo "PASS: '$line'"
    fi
}

offers 'rw830kt-cli ' "$(printf '%s\n' build diff dump ports read set settings sheet verify write)"
offers 'rw830kt-cli se' "$(printf '%s\n' set settings)"
offers 'rw830kt-cli sh' 'sheet'
offers 'rw830kt-cli sheet --o' '--output'
offers 'rw830kt-cli sheet site1.tbl -o ' "$(printf '%s\n' site1.pdf tables)"
offers 'rw830kt-cli sheet s' "$(printf '%s\n' site1.tbl site2.tbl)"
offers 'rw830kt-cli settings --j' '--json'
offers 'rw830kt-cli d' "$(printf '%s\n' diff dump)"
offers 'rw830kt-cli --v' '--version'
offers 'rw830kt-cli write --b' '--backup'
offers 'rw830kt-cli write --p' "$(printf '%s\n' --port --pad)"
offers 'rw830kt-cli build --ba' '--base'
offers 'rw830kt-cli dump site1.tbl --j' '--json'
offers 'rw830kt-cli read --o' '--output'
offers 'rw830kt-cli write -p /dev/rw830kt-b' "$(printf '%s\n' /dev/rw830kt-bench-1 /dev/rw830kt-bench-2)"
offers 'rw830kt-cli verify --port /dev/rw830kt-bench-2 s' "$(printf '%s\n' site1.tbl site2.tbl)"
offers 'rw830kt-cli dump ' "$(printf '%s\n' site1.tbl site2.tbl tables)"
offers 'rw830kt-cli set site1.tbl ba' 'baud='
offers 'rw830kt-cli set site1.tbl ' "$(printf '%s\n' frequency= system-code= range-test= baud= logo= send-twice= message.)"
offers 'rw830kt-cli set site1.tbl baud=1' 'baud=1200'
offers 'rw830kt-cli set site1.tbl send-twice=' "$(printf '%s\n' send-twice=0 send-twice=1)"
offers 'rw830kt-cli set site1.tbl frequency=462025000 m' 'message.'
offers 'rw830kt-cli set s' "$(printf '%s\n' site1.tbl site2.tbl)"
offers 'rw830kt-cli ports ' ''

[ "$failures" -eq 0 ] || exit 1
echo "The completion offers what each place of the command line takes."
