#!/usr/bin/env bash
# Checks the include rules of the layers; prints each violation as file:line and exits 1 if any.
#   core (base/, document/, search/, settings/, help/, favorites/, exchange/): standard library and
#        other core folders only, no Qt
#   X/ui/: X/, core folders and gui/; never app/ or another Y/ui/
#   gui/:  core folders and Qt; never app/ or a ui/ folder
#   app/:  anything
# Qt headers are allowed only in */ui/, gui/, app/, tests/ and the removal program's main.cpp.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

core='base|document|search|settings|help|favorites|exchange'
status=0
report() {  # file, line, message
    echo "$1:$2: $3"
    status=1
}

while IFS= read -r file; do
    folder=${file%%/*}
    ui_owner=""
    [[ $file =~ ^([a-z_]+)/ui/ ]] && ui_owner=${BASH_REMATCH[1]}
    while IFS=: read -r line text; do
        [ -n "$line" ] || continue
        if [[ $text =~ \#include[[:space:]]*\<Q[A-Za-z]*\> || $text =~ \#include[[:space:]]*\<Qt ]]; then
            case $file in
            */ui/*|gui/*|app/*|tests/*|remover/main.cpp) ;;
            *) report "$file" "$line" "Qt header outside the UI layers: $text" ;;
            esac
            continue
        fi
        [[ $text =~ \#include[[:space:]]*\"([^\"]+)\" ]] || continue
        target=${BASH_REMATCH[1]}
        case $file in tests/*) continue ;; esac
        if [[ $target == app/* && $folder != app ]]; then
            report "$file" "$line" "includes the shell ($target)"
        elif [[ $target =~ ^([a-z_]+)/ui/ ]]; then
            owner=${BASH_REMATCH[1]}
            if [[ $folder =~ ^($core)$ && -z $ui_owner ]]; then
                report "$file" "$line" "core includes a window ($target)"
            elif [[ $folder == gui ]]; then
                report "$file" "$line" "the UI floor includes a window ($target)"
            elif [[ -n $ui_owner && $owner != "$ui_owner" ]]; then
                report "$file" "$line" "$ui_owner/ui includes another feature's windows ($target)"
            fi
        elif [[ $target == gui/* && $folder =~ ^($core)$ && -z $ui_owner ]]; then
            report "$file" "$line" "core includes the UI floor ($target)"
        fi
    done < <(grep -n '#include' "$file")
done < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' | grep -v '^build')

[ $status -eq 0 ] && echo "layers: every include follows the rules"
exit $status
