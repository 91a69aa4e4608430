#!/usr/bin/env bash
# Start-up benchmark: time until the window is on the screen, for our
# program with 3 and with 10,000 paths, against a bare Qt Widgets window,
# interleaved in one run under Xvfb.
#   bench/startup_bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/bench/common.sh"
BUILD="${1:-$ROOT/build}"
ROUNDS="${2:-15}"
PROBE="$BUILD/bench/startup_probe"
BARE="$BUILD/bench/bare_window"
OURS="$BUILD/app/delfiles"
for f in "$PROBE" "$BARE" "$OURS"; do [ -x "$f" ] || { echo "build first: $f is missing" >&2; exit 1; }; done

WORK="$(mktemp -d /tmp/delfiles-startup-XXXXXX)"
XPID=""
trap '[ -n "$XPID" ] && kill $XPID 2>/dev/null; rm -rf "$WORK"' EXIT
start_xvfb "$WORK"
unset QT_QPA_PLATFORM
export XDG_DATA_HOME="$WORK/data"

mapfile -t many < <(seq -f "$WORK/files/document-%05g.txt" 1 10000)
three=("$WORK/a.txt" "$WORK/b.txt" "$WORK/c.txt")

declare -A samples
for ((r = 1; r <= ROUNDS; r++)); do
  samples[bare]+="$("$PROBE" 1 "$BARE") "
  samples[label]+="$("$PROBE" 1 "$BARE" --label) "
  samples[three]+="$("$PROBE" 1 "$OURS" "${three[@]}") "
  samples[many]+="$("$PROBE" 1 "$OURS" "${many[@]}") "
done

bare=$(echo "${samples[bare]}" | median)
label=$(echo "${samples[label]}" | median)
three=$(echo "${samples[three]}" | median)
many=$(echo "${samples[many]}" | median)
echo "time to window shown, median of $ROUNDS interleaved rounds:"
echo "  bare Qt window           ${bare} ms"
echo "  bare window, one label   ${label} ms   (the toolkit's font system starts with the first text)"
echo "  delfiles, 3 paths        ${three} ms"
echo "  delfiles, 10,000 paths   ${many} ms"
awk -v b="$bare" -v l="$label" -v t="$three" -v m="$many" \
  'BEGIN {printf "  ratio to the bare window: 3 paths = %.2f (goal <= 1.3)   10,000 paths = %.2f (goal <= 2)\n", t/b, m/b;
          printf "  ratio to the window with a label: 3 paths = %.2f   10,000 paths = %.2f\n", t/l, m/l}'
