#!/usr/bin/env bash
# Runs every vr58 command of the README's examples as written, in a scratch folder where `vr58 demo` has
# made out/demo/ as the main job does. Fails on a command that fails, on one that clips, and when the
# README has no such command at all.
set -euo pipefail
vr58=$1
readme=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
ln -s "$vr58" "$scratch/bin/vr58"
export PATH="$scratch/bin:$PATH"
cd "$scratch"
vr58 demo out/demo >/dev/null

mapfile -t commands < <(awk '/^```/ { inside = !inside; next } inside && /^vr58 / { print }' "$readme")
((${#commands[@]} > 0)) || { echo "no vr58 command in $readme"; exit 1; }
for command in "${commands[@]}"; do
  if ! bash -c "$command" >out.txt 2>err.txt; then
    echo "failed: $command"; cat err.txt; exit 1
  fi
  if grep -q "clipped" err.txt; then
    echo "clips: $command"; cat err.txt; exit 1
  fi
done
echo "ran ${#commands[@]} commands"
