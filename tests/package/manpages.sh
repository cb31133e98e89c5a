#!/usr/bin/env bash
# A tool's manual page against the tool's own --help: the same long options, and every command
# the help lists (xmctl's) has its entry. Run by CTest for xmctl and vanto-skinmaker.
#   manpages.sh <tool executable> <manual page source>
set -euo pipefail
tool=$1 page=$2
failed=0
complain() { echo "$page: $*" >&2; failed=1; }

help=$(QT_QPA_PLATFORM=offscreen "$tool" --help)
# The page writes each hyphen of an option as \-.
page_text=$(sed 's/\\-/-/g' "$page")

help_options=$(grep -oE '^ +(-[a-z], )?--[a-z][a-z-]*' <<< "$help" | grep -oE -- '--[a-z-]+' | sort -u)
# An entry is the line after .TP or .TQ; any other mention (synopsis, examples) is no entry.
entries=$(awk '/^\.T[PQ]$/ { getline; print }' <<< "$page_text" | grep -oE -- '--[a-z][a-z-]*' | sort -u)
mentioned=$(grep -oE -- '--[a-z][a-z-]*' <<< "$page_text" | sort -u)
for o in $(comm -23 <(echo "$help_options") <(echo "$entries")); do complain "no entry for $o"; done
for o in $(comm -13 <(echo "$help_options") <(echo "$mentioned")); do complain "$o is not an option of $tool"; done

# The commands: the indented lines after "Commands", up to the first line that is not indented.
commands=$(sed -n '/^Commands/,/^[^ ]/{/^  /p}' <<< "$help" | awk '{print $1}')
for c in $commands; do
    grep -qE "^\.B[IR]? \"?$c( |\"|$)" "$page" || complain "no entry for the command $c"
done
exit $failed
