#!/usr/bin/env bash
# The main job: build everything, render the built-in demo phrase through both plug-ins, and draw the
# editor build's own editor at the loudest moment of the demo phrase.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/linux/tools/vr58/vr58 demo out/demo
build/linux/tools/vr58/vr58 editor-preview build/linux/plugins/VR58G_x64.so out/editor.png \
  --play out/demo/input.wav --set "H.Room=0" --set "Gain=0.4"
