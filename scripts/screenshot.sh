#!/usr/bin/env bash
# Takes a picture of the real program's window: korvadex runs under a virtual
# X server (Xvfb) on the virtual board, and the window is written as a PNG.
#
#   scripts/screenshot.sh [--measure] [--open-list] [--analysis] [--zoom] [--record DIALOG.png]
#                         [output.png] [preset]
#
# Default output build/screenshot.png, default preset "default". Builds the
# program and the virtual board's drop-in libftd2xx.so when they are missing.
# With --measure it first presses "測定開始" and waits for the default run
# (1000 samples at 100 sps) to end, so the picture shows a measured run. With
# --open-list it opens the channel list (ComboBox3) last, so the picture shows
# its items. With --analysis it takes a 10000-sample run at 1 ksps of a
# 50 Hz, 30 µV sine on CH0 and pictures the noise analysis window instead.
# With --zoom (after --measure) it turns the wheel over the plot and leaves
# the mouse there, so the picture shows a zoomed stretch and the readout.
# With --record it opens "記録(&R)...", pictures the record dialog into
# DIALOG.png, starts the recording (a 0.2 Hz, 40 µV sine at the list's
# 100 sps, into a folder of its own) and pictures the log window following
# it after twelve seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
measure=0
open_list=0
analysis=0
zoom=0
record=""
while [ $# -gt 0 ]; do
  case "$1" in
    --measure) measure=1 ;;
    --open-list) open_list=1 ;;
    --analysis) analysis=1 ;;
    --zoom) zoom=1 ;;
    --record) record="$(realpath -m "$2")"; shift ;;
    *) break ;;
  esac
  shift
done
out="$(realpath -m "${1:-build/screenshot.png}")"
preset="${2:-default}"
build="build/$preset"

if [ ! -x "$build/app/korvadex" ]; then
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2 --target korvadex
fi
if [ ! -e "$build/sim/d2xx/libftd2xx.so" ] && grep -q korvadex_sim_d2xx "$build/build.ninja"; then
  cmake --build "$build" -j 2 --target korvadex_sim_d2xx
fi
for tool in xvfb-run xwininfo import xdotool; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
done

export KORVADEX_OUT="$out" KORVADEX_MEASURE="$measure" KORVADEX_OPEN_LIST="$open_list" KORVADEX_ANALYSIS="$analysis"
export KORVADEX_ZOOM="$zoom" KORVADEX_RECORD="$record"
if [ -n "$record" ]; then
  HOME="$(mktemp -d)"
  export HOME KORVADEX_SIM_SEED=7 KORVADEX_SIM_CH0_SINE_UV=40 KORVADEX_SIM_CH0_SINE_HZ=0.2
fi
if [ "$analysis" = 1 ]; then
  export KORVADEX_SIM_SEED=7 KORVADEX_SIM_CH0_SINE_UV=30 KORVADEX_SIM_CH0_SINE_HZ=50
fi
scripts/run-on-xvfb.sh "$build" '
  window="$(scripts/find-window.sh "KORVADEX / v2.00")"
  sleep 1  # the first idle pass draws the empty plot
  if [ "$KORVADEX_MEASURE" = 1 ]; then
    # MeasureBtn, below the menu bar; the run takes 10 s at 100 sps.
    xdotool mousemove --window "$window" 680 382 click 1
    sleep 12
  fi
  if [ -n "$KORVADEX_RECORD" ]; then
    # "ファイル(&F)" at the left of the menu bar, then "記録(&R)...": the
    # dialog, then its start button.
    xdotool mousemove --window "$window" 30 8 click 1
    sleep 0.5
    xdotool key r
    dialog="$(scripts/find-window.sh "記録" 50)"
    sleep 1
    import -window "$dialog" "$KORVADEX_RECORD"
    xdotool key Return
    sleep 12
    view="$(xdotool search --name "^記録中 - " | head -n 1)"
    xdotool windowmove "$view" 0 0
    sleep 2
    import -window "$view" "$KORVADEX_OUT"
    exit 0
  fi
  if [ "$KORVADEX_ANALYSIS" = 1 ]; then
    # ComboBox1 and ComboBox2 three items down each, to "1ksps" and "10000",
    # then MeasureBtn: a ten-second run.
    for list_y in 60 104; do
      xdotool mousemove --window "$window" 680 "$list_y" click 1
      sleep 0.5
      xdotool key Down Down Down Return
      sleep 0.5
    done
    xdotool mousemove --window "$window" 680 382 click 1
    sleep 13
    # "データ(&D)", then "ノイズ解析(&N)...".
    xdotool key --window "$window" alt+d
    sleep 0.5
    xdotool key n
    analysis="$(scripts/find-window.sh "ノイズ解析 - KORVADEX" 50)"
    xdotool windowmove "$analysis" 0 0
    sleep 2
    import -window "$analysis" "$KORVADEX_OUT"
    exit 0
  fi
  if [ "$KORVADEX_ZOOM" = 1 ]; then
    # Ten wheel notches towards the middle of the plot, then the mouse a
    # little to the right, where the readout follows it.
    xdotool mousemove --window "$window" 330 230
    for notch in 1 2 3 4 5 6 7 8 9 10; do xdotool click 4; sleep 0.1; done
    xdotool mousemove --window "$window" 345 230
    sleep 1
  fi
  if [ "$KORVADEX_OPEN_LIST" = 1 ]; then
    # ComboBox3, below the menu bar; its drop-down opens over the window.
    xdotool mousemove --window "$window" 680 156 click 1
    sleep 1
  fi
  xwininfo -id "$window" | grep -E "Width|Height|Absolute upper-left" >&2
  if [ "$KORVADEX_OPEN_LIST" = 1 ]; then
    # The open drop-down is a window of its own: take the screen where the window is.
    geometry="$(xwininfo -id "$window" | awk "/Absolute upper-left X/ {x=\$4} /Absolute upper-left Y/ {y=\$4} /Width/ {w=\$2} /Height/ {h=\$2} END {print w \"x\" h \"+\" x \"+\" y}")"
    import -window root -crop "$geometry" +repage "$KORVADEX_OUT"
  else
    import -window "$window" "$KORVADEX_OUT"
  fi
'
echo "screenshot: $out"
