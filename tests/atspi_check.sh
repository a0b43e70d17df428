#!/usr/bin/env bash
# Reads NMaker's main window over AT-SPI, as a screen reader does: the program runs on a
# headless X server with a session bus of its own, and atspi_tree.py walks what it exposes.
#
#   atspi_check.sh PROGRAM
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ -z "${ATSPI_CHECK_WORK:-}" ]; then
  program=$(realpath "$1")
  need() { command -v "$1" >/dev/null || { echo "atspi_check: $1 is not installed (Debian: $2)"; exit 1; }; }
  need Xvfb xvfb
  need dbus-run-session dbus-daemon
  [ -x /usr/libexec/at-spi-bus-launcher ] ||
    { echo "atspi_check: at-spi-bus-launcher is not installed (Debian: at-spi2-core)"; exit 1; }
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "atspi_check: pyatspi is not installed (Debian: python3-pyatspi)"; exit 1; }

  work=$(mktemp -d)
  server=
  cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
  }
  trap cleanup EXIT
  trap 'exit 143' TERM INT HUP
  mkdir -m 700 "$work/run"
  mkdir -p "$work/home" "$work/config" "$work/app"
  # The program keeps its settings beside itself: a copy leaves the build folder alone.
  cp "$program" "$work/app/nmaker"
  export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
  unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

  # Xvfb picks a free display and writes its number once it accepts clients.
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x900x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  server=$!
  for _ in $(seq 1 300); do
    grep -q '^[0-9]\+$' "$work/display" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
  done
  grep -q '^[0-9]\+$' "$work/display" 2>/dev/null ||
    { cat "$work/xvfb.log"; echo "atspi_check: Xvfb did not start"; exit 1; }
  DISPLAY=:$(cat "$work/display")
  export DISPLAY

  # The bus gets this environment, and so do the accessibility services it starts on demand.
  # The bus's own chatter goes to a log, shown if the check fails.
  if ! ATSPI_CHECK_WORK=$work dbus-run-session -- bash "$here/atspi_check.sh" 2>"$work/bus.log"; then
    tail -n 30 "$work/bus.log"
    exit 1
  fi
  exit 0
fi

# On the private session bus from here on.
work=$ATSPI_CHECK_WORK
client=''
launcher=''
stop_inside() {
  [ -n "$client" ] && kill "$client" 2>/dev/null
  [ -n "$launcher" ] && kill "$launcher" 2>/dev/null
  wait 2>/dev/null || true
}
trap stop_inside EXIT
trap 'exit 143' TERM INT HUP
# Qt asks the session bus for org.a11y.Bus, which starts at-spi-bus-launcher; started here
# only where the bus cannot start it itself.
if ! grep -qs 'Name=org.a11y.Bus' /usr/share/dbus-1/services/*.service; then
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/launcher.log" 2>&1 &
  launcher=$!
fi
(cd "$work/app" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 \
  exec ./nmaker) >"$work/client.log" 2>&1 &
client=$!
if ! /usr/bin/python3 "$here/atspi_tree.py" "$client"; then
  sed -n '1,20p' "$work/client.log"
  exit 1
fi
