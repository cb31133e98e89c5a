#!/usr/bin/env bash
# The floors' check against a small tree with the real map: allowed includes pass; an include of
# a higher floor, and a source folder the map does not name, fail it, naming the file.
set -euo pipefail
source_dir=$(cd "$1" && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree"
git init -q
cp "$source_dir/CONTRIBUTING.md" .
(cd "$source_dir" && git ls-files -- '*.cpp' '*.h' | grep -v '^tests/' | xargs -n1 dirname | sort -u) | xargs mkdir -p
printf '#include "bus/xmradio_names.h"\n#include "base/basic.h"\n' > radio/client.cpp
git add -A
check() { bash "$source_dir/scripts/check-layers.sh" "$tree" 2>&1; }

check || { echo "allowed includes failed the check"; exit 1; }
printf '#include "skin/label.h"\n' >> radio/client.cpp
if out=$(check); then echo "radio/ including skin/ passed"; exit 1; fi
grep -q '^radio/client.cpp:3: includes skin/label.h' <<< "$out" || { echo "$out"; exit 1; }

git checkout -q -- radio/client.cpp
mkdir attic && touch attic/old.cpp && git add -A
if out=$(check); then echo "a folder missing from the map passed"; exit 1; fi
grep -q '^attic/old.cpp: its folder is not on the map' <<< "$out" || { echo "$out"; exit 1; }
echo "the floors' check passes what the map allows and fails what it does not"
