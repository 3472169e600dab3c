#!/usr/bin/env bash
# Builds the project and opens the demo host on a sample activity.
#   bash scripts/demo.sh [zel-host options] [ACTIVITY.xml]
# Options: --language ID, --path-data DIR, --screenshot PNG (see README). OK saves the activity
# (the samples are copies in build/bin/data/samples), Cancel leaves it untouched. Without a
# display the editor is drawn offscreen into build/demo-editor.png instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

args=()
activity=""
while [ $# -gt 0 ]; do
    case "$1" in
        --language|--path-data|--screenshot) args+=("$1" "${2:?$1 needs a value}"); shift 2 ;;
        *) activity="$1"; shift ;;
    esac
done
activity="${activity:-build/bin/data/samples/VBScriptActivity.xml}"

has_path_data=0
has_screenshot=0
for a in "${args[@]+"${args[@]}"}"; do
    [ "$a" = "--path-data" ] && has_path_data=1
    [ "$a" = "--screenshot" ] && has_screenshot=1
done
[ $has_path_data -eq 1 ] || args+=(--path-data build/bin/data)

if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: no display found; drawing the editor offscreen into build/demo-editor.png"
    export QT_QPA_PLATFORM=offscreen
    [ $has_screenshot -eq 1 ] || args+=(--screenshot build/demo-editor.png)
fi
exec build/bin/zel-host "${args[@]}" "$activity"
