#!/usr/bin/env bash
# Opens the editor of the native VR58G_x64.so in a real Linux host, Debian's Audacity, on a virtual X
# display and saves a picture of the host's window with the editor in it (docs/linux-host.png, or the
# path given). Not part of the tests: it drives Audacity's own menus with the pointer.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" != --inside-display ]]; then
  output=$(realpath -m "${1:-docs/linux-host.png}")
  scripts/install-dependencies.sh
  missing=()
  for package in audacity xdotool imagemagick; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if ((${#missing[@]})); then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  cmake --preset linux >/dev/null
  cmake --build --preset linux --target VR58G_x64 --parallel "$(nproc)"
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" --inside-display "$output"
fi
output=$2

# A fresh Audacity: its own home, the plug-in alone on its VST path and no other plug-in folder (the LV2
# plug-ins of Ardour or any other package would lengthen the Effect menu and move its last entry), the
# scripting pipe on, no welcome.
work=$(mktemp -d)
trap 'kill "${audacity_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/home/.config/audacity" "$work/vst" "$work/temp" "$work/none"
cp build/linux/plugins/VR58G_x64.so "$work/vst/"
module=/usr/lib/audacity/modules/mod-script-pipe.so
cat > "$work/home/.config/audacity/audacity.cfg" <<CFG
PrefsVersion=1.1.1r1
[Version]
Major=3
Minor=2
Micro=4
[GUI]
ShowSplashScreen=0
[Directories]
TempDir=$work/temp
[Module]
mod-script-pipe=1
[ModulePath]
mod-script-pipe=$module
[ModuleDateTime]
mod-script-pipe=$(date -u -r "$module" +%Y-%m-%dT%H:%M:%S)
CFG
pipe=/tmp/audacity_script_pipe
start_audacity() {
  rm -f "$pipe.to.$(id -u)" "$pipe.from.$(id -u)"
  HOME=$work/home VST_PATH=$work/vst LV2_PATH=$work/none LADSPA_PATH=$work/none DSSI_PATH=$work/none \
    audacity >>"$work/audacity.log" 2>&1 &
  audacity_pid=$!
  for _ in $(seq 120); do [[ -p "$pipe.from.$(id -u)" ]] && break; sleep 0.5; done
  sleep 10
}
# The first start registers the plug-in and settles the preferences; the second one takes commands.
start_audacity
kill "$audacity_pid"
wait "$audacity_pid" || true
# Nothing of the first start is left to recover: no crash-recovery dialog on the second.
rm -rf "$work/temp"/*
sed -i '/^\[ActiveProjects\]/,/^\[/{/^[0-9]*=/d}' "$work/home/.config/audacity/audacity.cfg"
start_audacity

# A four-second stereo tone, selected, for the effect to work on.
python3 - "$pipe.to.$(id -u)" "$pipe.from.$(id -u)" <<'PY'
import sys
to, back = open(sys.argv[1], "w"), open(sys.argv[2])
for command in ["NewStereoTrack:", "Select: Start=0 End=4 Track=0 TrackCount=1 Mode=Set",
                "Tone: Frequency=440 Amplitude=0.5 Waveform=Sine",
                "Select: Start=0 End=4 Track=0 TrackCount=1 Mode=Set"]:
    to.write(command + "\n"); to.flush()
    while not back.readline().startswith("BatchCommand finished"): pass
    back.readline()
PY

# Effect menu, then its last entry (the plug-in), at their places in Audacity 3.2's main window.
main=$(xdotool search --sync --onlyvisible --name '^Audacity$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"
opened=0
for attempt in 1 2 3; do
  sleep 2
  xdotool mousemove $((X + 419)) $((Y + 12)) click 1
  sleep 1.5
  xdotool mousemove $((X + 501)) $((Y + 340)) click 1
  if timeout 10 xdotool search --sync --name '^VR58-G Tape Recorder$' >/dev/null; then
    opened=1
    break
  fi
  echo "attempt $attempt: no window" >&2
done
if ((!opened)); then
  import -window root "$output.failed.png"
  cp "$work/audacity.log" "$output.failed.log"
  echo "the plug-in's window did not open (picture: $output.failed.png)" >&2
  exit 1
fi
# Turn the Trim knob by dragging it up and to the right, as a user does.
sleep 2
# The editor's own window is the innermost one of its size.
editor=$(xwininfo -root -tree | awk '/ 520x440\+/ {id = $1} END {print id}')
eval "$(xdotool getwindowgeometry --shell "$editor" | sed 's/^/EDITOR_/')"
xdotool mousemove $((EDITOR_X + 70)) $((EDITOR_Y + 107)) mousedown 1
sleep 0.3
for _ in $(seq 8); do
  xdotool mousemove_relative -- 4 -4
  sleep 0.05
done
sleep 0.3
xdotool mouseup 1
xdotool mousemove $((X + WIDTH - 20)) $((Y + HEIGHT - 60))
sleep 3

mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
echo "Audacity $(dpkg-query -W -f='${Version}' audacity) with the editor open: $output"
