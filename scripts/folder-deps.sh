#!/usr/bin/env bash
# Prints which catalogue folders include headers of which others, from the
# `#include "folder/file.h"` lines of catalogue/*/*.{h,cpp}, and the folders
# that depend on each other in a circle.
#
# Output: one line an edge, `from -> to  (N includes)`, then either
# `no cycles` or one line a cycle group `cycle: a b c` (folders that can each
# reach the others through includes). Exit status 1 when there is a cycle, so
# the script can guard the layering.
#
# usage: bash scripts/folder-deps.sh [SOURCE_ROOT]   (default: catalogue)
set -euo pipefail

root=${1:-catalogue}
cd "$root"

folders=$(find . -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort)

edges=$(
    for from in $folders; do
        find "$from" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) \
            -exec grep -ho '^[[:space:]]*#include "[^"]*/[^"]*"' {} + 2>/dev/null |
            sed 's/.*#include "\([^/"]*\)\/.*/\1/' |
            while read -r to; do
                if [[ $to != "$from" && -d $to ]]; then echo "$from $to"; fi
            done
    done | sort | uniq -c | awk '{ print $2, $3, $1 }'
)

if [[ -z $edges ]]; then
    echo "no edges"
    echo "no cycles"
    exit 0
fi

echo "$edges" | awk '{ printf "%s -> %s  (%d includes)\n", $1, $2, $3 }'

# Transitive closure over the few folders (Floyd-Warshall), then group the
# folders that reach each other.
echo "$edges" | awk '
    { reach[$1, $2] = 1; node[$1] = 1; node[$2] = 1 }
    END {
        n = 0
        for (v in node) names[++n] = v
        # sort names for a stable report
        for (i = 1; i <= n; i++)
            for (j = i + 1; j <= n; j++)
                if (names[j] < names[i]) { t = names[i]; names[i] = names[j]; names[j] = t }
        for (k = 1; k <= n; k++)
            for (i = 1; i <= n; i++)
                for (j = 1; j <= n; j++)
                    if (reach[names[i], names[k]] && reach[names[k], names[j]])
                        reach[names[i], names[j]] = 1
        cycles = 0
        for (i = 1; i <= n; i++) {
            if (done[i]) continue
            group = ""
            for (j = 1; j <= n; j++)
                if (i == j ? reach[names[i], names[i]] : (reach[names[i], names[j]] && reach[names[j], names[i]])) {
                    group = group " " names[j]; done[j] = 1
                }
            if (group != "") { print "cycle:" group; cycles++ }
        }
        if (cycles == 0) print "no cycles"
        exit cycles > 0
    }'
