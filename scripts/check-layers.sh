#!/usr/bin/env bash
# Checks that every include keeps to the floors of CONTRIBUTING.md's map ("## Floors"): each
# row names a floor, a folder and the folders its files may include. A file may include its own
# folder's files and those of the folders its row names, and a row may name only folders of its
# own floor or lower. A source folder missing from the map, or a folder on the map that does not
# exist, fails too, so the map stays the tree's. Prints each fault with file and line, and ends
# non-zero when there is one; changes nothing. The tests may include anything and are left out.
#   scripts/check-layers.sh [source folder]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
map=CONTRIBUTING.md

declare -A floor allowed
folders=()
# The rows of the map: | <floor number> <words> | `folder/` | `a/`, `b/` or - |
while IFS='|' read -r _ floor_cell folder_cell allowed_cell _; do
    number=$(grep -o -m1 '^ *[0-9]\+' <<< "$floor_cell" | tr -d ' ') || continue
    name=$(grep -o '`[^`]*/`' <<< "$folder_cell" | tr -d '`') || continue
    name=${name%/}
    floor[$name]=$number
    allowed[$name]=" $({ grep -o '`[^`]*/`' <<< "$allowed_cell" || true; } | tr -d '`' | sed 's#/$##' | tr '\n' ' ')"
    folders+=("$name")
done < <(sed -n '/^## Floors/,/^## /p' "$map" | grep '^|')

faults=0
fault() {
    echo "$*" >&2
    faults=$((faults + 1))
}
if [ "${#folders[@]}" -eq 0 ]; then
    fault "$map: no floor map (a table under '## Floors')"
fi

# The folder of the map that holds a path: the longest name that begins it.
folder_of() {
    local best="" name
    for name in "${folders[@]}"; do
        if [[ $1 == "$name"/* ]] && [ "${#name}" -gt "${#best}" ]; then
            best=$name
        fi
    done
    echo "$best"
}

for name in "${folders[@]}"; do
    [ -d "$name" ] || fault "$map: the folder $name/ is on the map but not in the tree"
    for other in ${allowed[$name]}; do
        [ -n "${floor[$other]:-}" ] || fault "$map: $name/ may include $other/, which is not on the map"
        [ "${floor[$other]:-0}" -le "${floor[$name]}" ] ||
            fault "$map: $name/ (floor ${floor[$name]}) may include $other/ (floor ${floor[$other]}), a higher floor"
    done
done

while IFS= read -r file; do
    own=$(folder_of "$file")
    if [ -z "$own" ]; then
        fault "$file: its folder is not on the map in $map"
        continue
    fi
    while IFS=: read -r line included; do
        target=$(folder_of "$included")
        [ -z "$target" ] || [ "$target" = "$own" ] && continue
        [[ ${allowed[$own]} == *" $target "* ]] && continue
        fault "$file:$line: includes $included: $own/ (floor ${floor[$own]}) may not include $target/" \
            "(floor ${floor[$target]})"
    done < <(grep -n -o '^#include "[^"]*/[^"]*"' "$file" | sed 's/#include "\(.*\)"/\1/')
done < <(git ls-files -- '*.cpp' '*.h' | grep -v '^tests/')

if [ "$faults" -gt 0 ]; then
    echo "check-layers: $faults include(s) or map row(s) out of place; see the floors in $map" >&2
    exit 1
fi
