#!/usr/bin/env bash
# Opens VR58G.lv2 with its UI in Debian's jalv.gtk3 on a virtual X display, with a JACK server of its own
# (dummy driver) and a tone into the plug-in so that the meters move, and saves a picture of jalv's window
# (docs/lv2-ui-jalv.png, or the path given). Not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" != --inside-display ]]; then
  output=$(realpath -m "${1:-docs/lv2-ui-jalv.png}")
  scripts/install-dependencies.sh
  missing=()
  for package in xdotool imagemagick; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if ((${#missing[@]})); then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  cmake --preset linux >/dev/null
  cmake --build --preset linux --target vr58_lv2_bundles VR58G_ui --parallel "$(nproc)"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside-display "$output"
fi
output=$2

work=$(mktemp -d)
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$work"' EXIT
mkdir -p "$work/lv2" "$work/home"
ln -s "$PWD/build/linux/lv2/VR58G.lv2" "$work/lv2/"
export HOME=$work/home LV2_PATH=$work/lv2 JACK_DEFAULT_SERVER=vr58-screenshot-$$ JACK_NO_AUDIO_RESERVATION=1
jackd --no-realtime -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
pids+=($!)
jack_wait -w -t 10 >/dev/null
# Trim down a little, so that the tone reads near 0 VU rather than pinning the needle.
jalv.gtk3 -c trim=-6 urn:quorvane:vr58g >"$work/jalv.log" 2>&1 &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --name '^VR58-G Tape Recorder$' | head -1)
jack_simple_client >"$work/tone.log" 2>&1 &
pids+=($!)
sleep 1
jack_connect jack_simple_client:output1 "VR58-G Tape Recorder:in_l"
jack_connect jack_simple_client:output2 "VR58-G Tape Recorder:in_r"
sleep 2
import -window "$window" "$output"
echo "wrote $output"
