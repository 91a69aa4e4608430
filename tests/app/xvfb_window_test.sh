#!/usr/bin/env bash
# End to end under a real X server: the real binary opens its stay-on-top
# window titled "ファイルの削除" with the files listed, and Cancel closes it
# without deleting anything.
#   xvfb_window_test.sh DELFILES_BINARY
set -euo pipefail
BIN="$1"
for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

WORK="$(mktemp -d /tmp/delfiles-e2e-XXXXXX)"
XPID=""
APID=""
cleanup() {
  [ -n "$APID" ] && kill "$APID" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XPID=$!
for _ in $(seq 300); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "FAIL: Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
export DISPLAY=":$(head -1 "$WORK/display")"

touch "$WORK/one.txt" "$WORK/報告書.txt" "$WORK/-style"
unset QT_QPA_PLATFORM
# In a sanitizer build, a leak at exit makes the exit status non-zero.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../lsan.supp:print_suppressions=0"
XDG_DATA_HOME="$WORK/data" "$BIN" "$WORK/one.txt" "$WORK/報告書.txt" "$WORK/-style" </dev/null >"$WORK/out.log" 2>&1 &
APID=$!

WIN=""
for _ in $(seq 300); do
  WIN="$(xdotool search --name 'ファイルの削除' 2>/dev/null | head -1 || true)"
  [ -n "$WIN" ] && break
  sleep 0.1
done
[ -n "$WIN" ] || { echo "FAIL: no window titled ファイルの削除"; cat "$WORK/out.log"; exit 1; }
echo "window $WIN: $(xprop -id "$WIN" _NET_WM_NAME)"

STATE="$(xprop -id "$WIN" _NET_WM_STATE)"
echo "$STATE"
case "$STATE" in
  *_NET_WM_STATE_ABOVE*) ;;
  *) echo "FAIL: the window is not stay-on-top"; exit 1 ;;
esac

xprop -id "$WIN" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || { echo "FAIL: the window has no 32 x 32 icon"; exit 1; }

# Cancel sits at 248,160 (75 x 25) in the client area. A click that comes
# before the window takes input is lost, so click again, a few times.
for attempt in 1 2 3 4 5; do
  sleep 0.3
  xdotool mousemove --window "$WIN" 285 172 click 1
  for _ in $(seq 40); do kill -0 "$APID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APID" 2>/dev/null || break
done
if kill -0 "$APID" 2>/dev/null; then echo "FAIL: the window did not close on Cancel"; exit 1; fi
status=0
wait "$APID" || status=$?
APID=""
if [ "$status" -ne 0 ]; then echo "FAIL: exit status $status"; cat "$WORK/out.log"; exit 1; fi

for f in one.txt 報告書.txt -style; do
  [ -e "$WORK/$f" ] || { echo "FAIL: $f was deleted by Cancel"; exit 1; }
done
[ ! -e "$WORK/data/Trash/files" ] || [ -z "$(ls -A "$WORK/data/Trash/files")" ] || { echo "FAIL: something went to the trash"; exit 1; }
echo "PASS"
