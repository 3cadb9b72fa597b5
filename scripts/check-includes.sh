#!/bin/sh
# Fails when an #include runs from a lower room of the program to a higher
# one. The rooms, from the top down, are those of the picture in
# CONTRIBUTING.md: a file may include the files of its own room and of the
# rooms below it, never of a room above. tests/, bench/ and fuzz/ stand above
# every room and are not checked.
#
#   sh scripts/check-includes.sh [ROOT]
set -eu
cd "${1:-$(dirname "$0")/..}"

rooms="app help ui/main ui/graph/qt ui/graph ui/targets ui resources platform/qt targets import log platform core"

# shellcheck disable=SC2086
find $rooms -name '*.cpp' -o -name '*.h' | sort | awk -v rooms="$rooms" '
# The room of a path: the longest room that is a folder of it.
function room(path,   i, found) {
    found = ""
    for (i = 1; i <= n; i++)
        if (index(path, order[i] "/") == 1 && length(order[i]) > length(found))
            found = order[i]
    return found
}
BEGIN {
    n = split(rooms, order, " ")
    for (i = 1; i <= n; i++)
        rank[order[i]] = n - i
}
{
    file = $0
    from = room(file)
    line = 0
    while ((getline text < file) > 0) {
        line++
        if (text !~ /^[ \t]*#[ \t]*include[ \t]*"/)
            continue
        included = text
        sub(/^[^"]*"/, "", included)
        sub(/".*/, "", included)
        to = room(included)
        if (to != "" && to != from && rank[to] > rank[from]) {
            printf "%s:%d: includes %s: %s/ stands above %s/\n", file, line, included, to, from
            bad = 1
        }
    }
    close(file)
}
END { exit bad }
'
