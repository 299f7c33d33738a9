#!/usr/bin/env bash
# Takes a picture of the Windows program's window: korvadex.exe under Wine
# with Qt's windows platform, in a virtual X server (Xvfb), on the virtual
# board's drop-in FTD2XX.DLL, after pressing "測定開始" and waiting for the
# default run (1000 samples at 100 sps) to end.
#
#   scripts/windows-screenshot.sh [output.png] [windows build] [ja|en] [LOG]
#
# With LOG (a long-term log, written anywhere) the program is started with
# it, and the picture is of the log window showing it instead.
#
# ja (the default) pictures the Japanese window; en starts it on an English
# desktop (Wine's locale from LANG=en_US.UTF-8), where it speaks English.
#
# Default output build/windows/screenshot.png. Needs the cross-build, Xvfb,
# xwininfo, ImageMagick's import and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$(realpath -m "${1:-build/windows/screenshot.png}")"
build="$(realpath "${2:-build/windows}")"
language="${3:-ja}"
log="${4:-}"
if [ "$language" = en ]; then
  export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
  unset KORVADEX_LANG
else
  export KORVADEX_LANG=ja
fi

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="Z:$root/build/windows-sdk/prefix/bin;Z:$build/sim/d2xx"
bash scripts/wine-prefix.sh "$WINEPREFIX"
export KORVADEX_EXE="$build/app/korvadex.exe" KORVADEX_OUT="$out" KORVADEX_LOG="$log"

# The first run with the windows platform in a new prefix may never end:
# every start is bounded, and the prefix's processes are ended after it.
attempt() {
  timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    if [ -n "$KORVADEX_LOG" ]; then
      wine "$KORVADEX_EXE" "$(winepath -w "$KORVADEX_LOG")" &
      trap "wineserver -k 2>/dev/null || true" EXIT
      view="$(scripts/find-window.sh "ログ - $(basename "$KORVADEX_LOG")" 300)"
      sleep 3
      import -window "$view" "$KORVADEX_OUT"
      exit 0
    fi
    wine "$KORVADEX_EXE" &
    trap "wineserver -k 2>/dev/null || true" EXIT
    window="$(scripts/find-window.sh "KORVADEX / v2.00" 300)"
    sleep 2  # the first idle pass draws the empty plot
    # MeasureBtn, below the menu bar; the run takes 10 s at 100 sps.
    xdotool mousemove --window "$window" 680 382 click 1
    sleep 13
    xwininfo -id "$window" | grep -E "Width|Height" >&2
    import -window "$window" "$KORVADEX_OUT"
  '
}
attempt || { wineserver -k 2>/dev/null || true; attempt; }
wineserver -k 2>/dev/null || true
echo "windows-screenshot: $out"
