#!/usr/bin/env bash
# Takes docs/installed.png: Quarnel installed from a finished build into a temporary prefix,
# started on a virtual display with a window manager, logged on to the installed demo database,
# showing the table ITEM. Usage: scripts/screenshot-installed.sh [BUILD_DIR] (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || {
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
      xvfb openbox xdotool imagemagick
    break
  }
done

prefix=$(mktemp -d /tmp/q.XXXX)
display=:98
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$prefix"
}
trap cleanup EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
pids+=($!)
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY="$display"
openbox &
pids+=($!)
sleep 1
(cd / && exec "$prefix/bin/quarnel") &
pids+=($!)

# The start picture, then the main window and over it the logon dialog, the focus in the user
# ID box.
xdotool search --sync --onlyvisible --name '^Quarnel$' >/dev/null
sleep 2
xdotool type --delay 20 demo
xdotool key Tab Tab
xdotool type --delay 20 "sqlite:$prefix/share/quarnel/demo.db"
xdotool key Return
sleep 2

# ITEM is the twelfth table of the list; its row lies 235 pixels below the window's top.
window=$(xdotool search --onlyvisible --name '^Quarnel$' | tail -1)
xdotool mousemove --window "$window" 19 235 click --repeat 2 --delay 80 1
sleep 2
import -window "$window" -frame -strip docs/installed.png
echo "wrote docs/installed.png"
