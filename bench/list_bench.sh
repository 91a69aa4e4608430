#!/usr/bin/env bash
# Large lists: the header sort of 100,000 entries against GNU sort -f on
# the same paths in the same locale; memory with 100,000 entries against
# the bare window; start-up with 30,000 command-line paths against the bare
# window; and the list's own steps at 100,000 entries.
#   bench/list_bench.sh [BUILD_DIR] [ROUNDS] [LOCALE]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/bench/common.sh"
BUILD="${1:-$ROOT/build}"
ROUNDS="${2:-7}"
LOC="${3:-C.UTF-8}"
for f in bench/sort_only bench/list_bench bench/startup_probe bench/bare_window app/delfiles; do
  [ -x "$BUILD/$f" ] || { echo "build first: $BUILD/$f is missing" >&2; exit 1; }
done

WORK="$(mktemp -d /tmp/delfiles-list-XXXXXX)"
XPID=""
trap '[ -n "$XPID" ] && kill $XPID 2>/dev/null; rm -rf "$WORK"' EXIT
start_xvfb "$WORK"
export XDG_DATA_HOME="$WORK/data"

# Paths with mixed case, Japanese folder and file names, shared prefixes.
awk 'BEGIN { srand(7);
  split("Documents Projekt 資料 Photos Music archive Work", d, " ");
  split("Report report 報告書 IMG_ Notes draft Final", n, " ");
  for (i = 1; i <= 100000; i++)
    printf "/home/user/%s/%s %d/%s%05d.%s\n", d[int(rand()*7)+1], (rand() < .5 ? "Sub" : "sub"),
           int(rand()*50), n[int(rand()*7)+1], int(rand()*99999), (rand() < .5 ? "TXT" : "pdf") }' > "$WORK/paths.txt"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

ours="" gnu=""
for ((r = 1; r <= ROUNDS; r++)); do
  ours+="$(LC_ALL="$LOC" QT_QPA_PLATFORM=offscreen "$BUILD/bench/sort_only" "$WORK/paths.txt" 2>/dev/null) "
  start=$(now_ms); LC_ALL="$LOC" sort -f "$WORK/paths.txt" > /dev/null; gnu+="$(( $(now_ms) - start )) "
done
m_ours=$(echo "$ours" | median)
m_gnu=$(echo "$gnu" | median)
echo "header sort of 100,000 entries in $LOC, median of $ROUNDS rounds:"
echo "  delfiles header click   ${m_ours} ms"
echo "  sort -f                 ${m_gnu} ms"
awk -v o="$m_ours" -v g="$m_gnu" 'BEGIN {printf "  ratio = %.2f (goal <= 2)\n", o/g}'

# Resident memory, half a second after the window appeared. 100,000 paths
# need more argument space than the default stack limit allows.
ulimit -s 65536
mapfile -t many < "$WORK/paths.txt"
mapfile -t some < <(head -30000 "$WORK/paths.txt")
bare_rss=$("$BUILD/bench/startup_probe" --rss 500 3 "$BUILD/bench/bare_window" | median)
many_rss=$("$BUILD/bench/startup_probe" --rss 500 3 "$BUILD/app/delfiles" "${many[@]}" | median)
echo "resident memory 0.5 s after the window appeared:"
echo "  bare Qt window            $((bare_rss / 1024)) MB"
echo "  delfiles, 100,000 paths   $((many_rss / 1024)) MB"
awk -v b="$bare_rss" -v m="$many_rss" 'BEGIN {printf "  above the bare window: %.1f MB (goal <= 40)\n", (m-b)/1024}'

bare=$("$BUILD/bench/startup_probe" "$ROUNDS" "$BUILD/bench/bare_window" | median)
label=$("$BUILD/bench/startup_probe" "$ROUNDS" "$BUILD/bench/bare_window" --label | median)
some_t=$("$BUILD/bench/startup_probe" "$ROUNDS" "$BUILD/app/delfiles" "${some[@]}" | median)
echo "time to window shown with 30,000 command-line paths, median of $ROUNDS:"
echo "  bare Qt window            ${bare} ms"
echo "  bare window, one label    ${label} ms"
echo "  delfiles, 30,000 paths    ${some_t} ms"
awk -v b="$bare" -v l="$label" -v s="$some_t" \
  'BEGIN {printf "  ratio to the bare window = %.2f, to the window with a label = %.2f\n", s/b, s/l}'

echo "steps at 100,000 entries (then 200,000 after the drop), in ms:"
LC_ALL="$LOC" "$BUILD/bench/list_bench" "$WORK/paths.txt" 2>/dev/null | sed 's/^/  /'
