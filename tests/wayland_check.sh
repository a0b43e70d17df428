#!/usr/bin/env bash
# Starts NMaker natively on Wayland under a headless weston, checks that its window reaches the
# compositor under the id of its desktop entry, and saves what the compositor shows, cut to the
# window.
#
#   wayland_check.sh PROGRAM APP_ID OUT.png [SCALE]
#
# The fields show a typical series, so the picture serves as the AppStream screenshot
# (resources/screenshots/main-window.png is one taken at scale 2).
set -euo pipefail
program=$1 app_id=$2 out=$3 scale=${4:-1}
for tool in weston weston-screenshooter; do
  command -v "$tool" >/dev/null || { echo "wayland_check: $tool is not installed (Debian: weston)"; exit 1; }
done

work=$(mktemp -d)
compositor=
client=
cleanup() {
  [ -n "$client" ] && kill "$client" 2>/dev/null
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/run"
mkdir -p "$work/app" "$work/home"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home
unset DISPLAY

# A black desk without panel: the window is all that is not black, so the picture is cut to it.
printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff000000\npanel-position=none\nlocking=false\n' \
  >"$work/weston.ini"
# --debug lets weston-screenshooter take the picture.
weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman --debug \
  --socket=nmaker-wayland --width=1280 --height=900 >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 1 100); do [ -S "$work/run/nmaker-wayland" ] && break; sleep 0.1; done
[ -S "$work/run/nmaker-wayland" ] || { cat "$work/weston.log"; echo "wayland_check: weston did not start"; exit 1; }
export WAYLAND_DISPLAY=nmaker-wayland

# The program keeps its settings beside itself: a copy in a folder of its own, with the fields
# of a typical series.
cp "$program" "$work/app/nmaker"
printf ' 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n/home/user/work/\r\n1\r\n120\r\n3\r\ncase\r\n\r\n' \
  >"$work/app/SetNMaker.cf"
(cd "$work/app" && QT_QPA_PLATFORM=wayland QT_SCALE_FACTOR=$scale WAYLAND_DEBUG=client \
  exec ./nmaker) >"$work/client.log" 2>&1 &
client=$!

# Shown once the window has said who it is and put a buffer on its surface.
shown=0
for _ in $(seq 1 200); do
  if grep -q "xdg_toplevel@[0-9]*\.set_app_id(\"$app_id\")" "$work/client.log" &&
    grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@' "$work/client.log"; then
    shown=1
    break
  fi
  kill -0 "$client" 2>/dev/null || break
  sleep 0.1
done
if [ "$shown" != 1 ]; then
  grep -v '^\[' "$work/client.log" | tail -20 || true
  grep -o 'set_app_id([^)]*)' "$work/client.log" || echo "wayland_check: no application id was sent"
  echo "wayland_check: the window did not reach the compositor as $app_id"
  exit 1
fi
if grep -qi 'xcb\|could not load the qt platform plugin' "$work/client.log"; then
  echo "wayland_check: the program did not run natively on Wayland"
  exit 1
fi
sleep 1 # let the first frames land
(cd "$work" && weston-screenshooter >/dev/null 2>&1) || { echo "wayland_check: weston-screenshooter failed"; exit 1; }
shot=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -n 1)
[ -n "$shot" ] || { echo "wayland_check: no screenshot was written"; exit 1; }
kill -0 "$client" 2>/dev/null || { echo "wayland_check: the program ended"; exit 1; }
if command -v convert >/dev/null; then
  convert "$shot" -trim +repage "$out"
  # An all-black picture trims to a single pixel.
  read -r width height < <(identify -format '%w %h\n' "$out")
  [ "$width" -ge 200 ] && [ "$height" -ge 100 ] ||
    { echo "wayland_check: the picture shows no window (${width}x${height})"; exit 1; }
else
  cp "$shot" "$out"
fi
echo "wayland_check: $app_id shown natively on Wayland; picture in $out"
