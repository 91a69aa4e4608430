#!/usr/bin/env bash
# Screenshots of the real window under Xvfb (with openbox for the frames,
# when installed): the window with three paths, the trash confirmation
# over it, and the failure report of permanent mode.
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="${1:-$ROOT/build}/app/delfiles"
OUT="${2:-$ROOT/build/screenshots}"
mkdir -p "$OUT"
WORK="$(mktemp -d /tmp/delfiles-shots-XXXXXX)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$WORK"' EXIT

export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
sleep 1
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
unset QT_QPA_PLATFORM
export XDG_DATA_HOME="$WORK/data"

mkdir -p "$WORK/資料"
touch "$WORK/資料/見積書 2026年12月.xlsx" "$WORK/資料/report-final.pdf" "$WORK/資料/メモ.txt"
window() { for _ in $(seq 100); do w=$(xdotool search --name "$1" 2>/dev/null | head -1 || true); [ -n "$w" ] && { echo "$w"; return; }; sleep 0.1; done; }

"$BIN" "$WORK/資料/見積書 2026年12月.xlsx" "$WORK/資料/report-final.pdf" "$WORK/資料/メモ.txt" &
APP=$!
W=$(window 'ファイルの削除'); sleep 0.5
shot() { import -window root -crop 560x300+100+60 +repage "$OUT/$1"; }
shot window.png
xdotool mousemove --window "$W" 197 172 click 1   # OK
sleep 1
shot confirm.png
xdotool key Escape
wait "$APP"

"$BIN" "$WORK/資料/メモ.txt" "$WORK/資料/もう無いファイル.txt" "$WORK/資料" &
APP=$!
W=$(window 'ファイルの削除'); sleep 0.5
xdotool mousemove --window "$W" 20 168 click 1     # 完全消去
xdotool mousemove --window "$W" 197 172 click 1    # OK
sleep 1
shot report.png
xdotool key Return
wait "$APP"
echo "screenshots in $OUT"
