#!/usr/bin/env bash
# The main job: build everything, render the built-in demo phrase through both plug-ins.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/linux/tools/vr58/vr58 demo out/demo
