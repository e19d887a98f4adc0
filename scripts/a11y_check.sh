#!/usr/bin/env bash
# ./scripts/a11y_check.sh: checks both programs through the accessibility bus (AT-SPI), as
# a screen reader sees them: every control found by its design name, its name and text
# read back, the tab order walked and the buttons pressed from the keyboard
# (scripts/a11y_check.py). Runs on a virtual display with its own session bus.
# BUILD_DIR chooses the build folder (default: build/). Exit status 0 when all holds.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth dbus at-spi2-core python3-pyatspi openbox
build=${BUILD_DIR:-$ROOT/build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$ROOT" -B "$build" -G Ninja >&2
fi
cmake --build "$build" --target vornilex quellatto >&2

scratch=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT INT TERM

# Vornilex starts on its working directory: two Shift_JIS files there, with 猫 and no 犬.
printf '%s\r\n' "一行目" "二行目" | iconv -f UTF-8 -t CP932 > "$scratch/a.txt"
printf '%s\r\n' "吾輩は猫である。" "名前はまだ無い。" | iconv -f UTF-8 -t CP932 > "$scratch/neko.txt"

n=99
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
# A window manager gives the shown window the keyboard focus, as on a desktop.
DISPLAY=":$n" openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)

# Qt exposes its widgets on the bus when asked to, without a screen reader running.
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=C.UTF-8
export NO_AT_BRIDGE=0 ROOT build scratch
dbus-run-session -- bash -c '
    status=0
    for program in vornilex quellatto; do
        (cd "$scratch" && exec "$build/bin/$program") 2>/dev/null &
        pid=$!
        /usr/bin/python3 "$ROOT/scripts/a11y_check.py" "$program" || status=1
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        echo
    done
    exit $status
'
