#!/usr/bin/env bash
# Checks that every #include of src/ and apps/ points down the layer order of docs/ARCHITECTURE.md
# and that only the window folders named there include Qt Widgets. Exits 1 on a violation.
#
#   scripts/check-layers.sh [--report] [--qt-widgets DIR] [TREE]
#
# TREE is the source tree to check (default: this one); the layer order always comes from this
# tree's docs/ARCHITECTURE.md, so an older checkout can be measured against today's rules.
# --report also prints the include graph between layer folders: "from -> to  count", with
# "UP" marking an include that points up and "QT" an include of Qt Widgets outside a window folder.
# DIR is Qt Widgets' include folder (default: asked of pkg-config).
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
report=0
qt_dir=""
tree="$here"
while [ $# -gt 0 ]; do
    case "$1" in
    --report) report=1 ;;
    --qt-widgets) qt_dir="$2"; shift ;;
    *) tree="$(cd "$1" && pwd)" ;;
    esac
    shift
done
doc="$here/docs/ARCHITECTURE.md"

# The layer block is the first fenced block after the heading "## The layers": one line per layer,
# top first, indented one step (two blanks) per layer; every word ending in "/" is a folder of it.
layers="$(awk '
    /^## The layers/ { want = 1; next }
    want && /^```/ { if (inside) exit; inside = 1; next }
    inside {
        match($0, /^ */); depth = RLENGTH / 2
        for (i = 1; i <= NF; i++) if ($i ~ /^(apps|src)(\/[A-Za-z0-9_]+)*\/$/) print depth, $i
    }' "$doc")"
# The window folders are the folders named in the sentence that starts "Only the window folders".
windows="$(awk '/Only the window folders include Qt Widgets:/ { s = substr($0, index($0, "Only the window")); on = 1; next }
    on && /^$/ { exit } on { s = s " " $0 } END { print s }' "$doc" |
    sed 's/\.[[:space:]].*//' | grep -o '`[^`]*/`' | tr -d '`' || true)"
if [ -z "$layers" ] || [ -z "$windows" ]; then
    echo "check-layers: no layer block or window-folder line in $doc" >&2
    exit 2
fi

if [ -z "$qt_dir" ]; then
    qt_dir="$(pkg-config --cflags-only-I Qt6Widgets 2>/dev/null | tr ' ' '\n' | sed -n 's/^-I\(.*\/QtWidgets\)$/\1/p' | head -1)"
fi
qt_headers=""
if [ -n "$qt_dir" ] && [ -d "$qt_dir" ]; then
    qt_headers="$(ls "$qt_dir")"
else
    echo "check-layers: Qt Widgets' include folder not found; only <QtWidgets/...> includes are recognised" >&2
fi

# One line per include: the including file, then the included name, relative to the tree.
cd "$tree"
includes="$(find src apps -name '*.h' -o -name '*.cpp' | sort | xargs grep -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' |
    sed -E 's/^([^:]*):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]*)[>"].*/\1 \2 \3/')"

awk -v report="$report" -v layers="$layers" -v windows="$windows" -v qt="$qt_headers" '
    function layer(path,    best, f) {
        best = ""
        for (f in depth) if (index(path "/", f) == 1 && length(f) > length(best)) best = f
        return best
    }
    BEGIN {
        n = split(layers, rows, "\n")
        for (i = 1; i <= n; i++) { split(rows[i], w, " "); depth[w[2]] = w[1] }
        n = split(windows, rows, "\n")
        for (i = 1; i <= n; i++) window[rows[i]] = 1
        n = split(qt, rows, "\n")
        for (i = 1; i <= n; i++) qtWidgets[rows[i]] = 1
        bad = 0
    }
    {
        file = $1; kind = $2; name = $3
        from = layer(file)
        if (from == "") { print "check-layers: " file " is in no layer of the layer block"; bad = 1; next }
        if (kind == "<") {
            if (name ~ /^QtWidgets\// || (name in qtWidgets)) {
                inWindow = 0
                for (f in window) if (index(file, f) == 1) inWindow = 1
                if (!inWindow) { print "check-layers: " file " includes Qt Widgets <" name "> outside a window folder"; bad = 1 }
                edge[from " -> <QtWidgets>"]++
                if (!inWindow) mark[from " -> <QtWidgets>"] = "QT"
            }
            next
        }
        # A quoted name is relative to src/ or include/, or else to the including file.
        if (system("test -e src/" name) == 0) target = "src/" name
        else if (system("test -e include/" name) == 0) next   # the public header: every layer may use it
        else { dir = file; sub(/\/[^\/]*$/, "", dir); target = dir "/" name }
        to = layer(target)
        if (to == "" || to == from) next
        edge[from " -> " to]++
        if (depth[to] <= depth[from]) {
            print "check-layers: " file " includes " name ": " to " is not below " from
            mark[from " -> " to] = "UP"; bad = 1
        }
    }
    END {
        if (report) {
            print "include graph between layer folders (from -> to  count):"
            cmd = "sort"
            for (e in edge) printf "  %-55s %4d  %s\n", e, edge[e], mark[e] | cmd
            close(cmd)
        }
        if (!bad) print "check-layers: every include points down the layer order"
        exit bad
    }' <<<"$includes"
