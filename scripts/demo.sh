#!/usr/bin/env bash
# Builds the project, starts the local demo web services and opens the demo host on a sample
# activity. The services stop when the host closes.
#   bash scripts/demo.sh [zel-host options] [ACTIVITY.xml]
# Options: --language ID, --path-data DIR, --screenshot PNG (see README). OK saves the activity
# (the samples are copies in build/bin/data/samples), Cancel leaves it untouched. The sample
# without a script (build/bin/data/samples/NewActivity.xml) opens the web-service wizard. Without a
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
# The local demo web services (loopback only, a free port): their WSDL addresses are printed so
# they can be typed into the wizard or given to build/bin/zel-wsdl, and the address of their UDDI
# registry becomes the browser's default registry.
services_log=$(mktemp)
build/bin/zel-demo-services --port 0 >"$services_log" 2>&1 &
services_pid=$!
trap 'kill "$services_pid" 2>/dev/null; wait "$services_pid" 2>/dev/null; rm -f "$services_log"' EXIT
for _ in $(seq 50); do
    grep -q 'listening on' "$services_log" && break
    sleep 0.1
done
cat "$services_log"
# The registry browser (wizard page 1, Browse) searches the demo registry on that port.
registry=$(sed -n 's/^UDDI v2 inquiry: //p' "$services_log")
[ -z "$registry" ] || build/bin/zel-uddi use "$registry"

build/bin/zel-host "${args[@]}" "$activity"
