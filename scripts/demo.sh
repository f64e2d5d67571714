#!/usr/bin/env bash
# The main job: build the plug-ins of both platforms and vr58 (no tests), render the built-in demo phrase
# through both plug-ins, and draw the editor build's own editor at the loudest moment of the demo phrase.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh release
vr58=build/linux-release/tools/vr58/vr58
"$vr58" demo out/demo
"$vr58" editor-preview VR58G out/editor.png --play out/demo/input.wav --set "H.Room=-12dB" --set "Gain=-4.8dB"
