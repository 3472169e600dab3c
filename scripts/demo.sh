#!/usr/bin/env bash
# Builds the project and opens the demo host on a sample activity.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/bin/zel-host --path-data build/bin/data "${1:-build/bin/data/samples/VBScriptActivity.xml}"
