#!/usr/bin/env bash
# Refuses an include that runs against the layers. The folders of src/ are layers in the order of
# the add_subdirectory lines of src/CMakeLists.txt, lowest first; the window sources (those listed
# in a kurvatur_window_layer call, and their headers) form a second tier above all logic, in the
# same order. A file may include headers of its own level and of the levels below it.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank
n=0
for folder in $(sed -n 's/^add_subdirectory(\([a-z_]*\)).*/\1/p' src/CMakeLists.txt); do
    rank[$folder]=$n
    n=$((n + 1))
done

declare -A window
for list in src/*/CMakeLists.txt; do
    folder=$(basename "$(dirname "$list")")
    for source in $(awk '/kurvatur_window_layer\(/ { on = 1 } on { print } on && /\)/ { on = 0 }' "$list" |
        grep -oE '[A-Za-z0-9_]+\.cpp'); do
        window[$folder/${source%.cpp}]=1
    done
done

# Level of "folder/name.h" (or of a source file given the same way); empty for an unknown folder.
level() {
    local folder=${1%%/*} base=${1#*/}
    base=${base%.*}
    [ -n "${rank[$folder]+set}" ] || return 0
    if [ -n "${window[$folder/$base]+set}" ]; then
        echo $((1000 + rank[$folder]))
    else
        echo "${rank[$folder]}"
    fi
}

status=0
while IFS= read -r file; do
    own=$(level "${file#src/}")
    if [ -z "$own" ]; then
        echo "$file: the folder is not a layer in src/CMakeLists.txt"
        status=1
        continue
    fi
    while IFS=: read -r line target; do
        target=${target#*\"}
        target=${target%\"*}
        [[ $target == */* ]] || continue
        theirs=$(level "$target")
        if [ -z "$theirs" ]; then
            echo "$file:$line: includes $target from a folder that is not a layer"
            status=1
        elif [ "$theirs" -gt "$own" ]; then
            echo "$file:$line: includes $target, which stands above it"
            status=1
        fi
    done < <(grep -nE '^#include "[^"]+"' "$file" || true)
done < <(find src -mindepth 2 -name '*.h' -o -mindepth 2 -name '*.cpp' | sort)

[ $status -eq 0 ] && echo "Layers: every include runs downwards."
exit $status
