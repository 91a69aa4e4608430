#!/usr/bin/env bash
# Trash engine benchmark: our engine against `gio trash` and `rm -f` on
# identical fresh sets of files, interleaved round by round; then system
# calls per file, and one shared name against distinct names.
#   bench/trash_bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/bench/common.sh"
BUILD="${1:-$ROOT/build}"
ROUNDS="${2:-5}"
OURS="$BUILD/bench/trash_files"
COUNT=10000
SAME=3000
[ -x "$OURS" ] || { echo "build first: $OURS is missing" >&2; exit 1; }
command -v gio >/dev/null || { echo "gio is missing (apt-get install libglib2.0-bin)" >&2; exit 1; }

WORK="$(mktemp -d /tmp/delfiles-bench-XXXXXX)"
trap 'rm -rf "$WORK"' EXIT

now_ns() { date +%s%N; }

# make_flat DIR: COUNT small files in one folder, listed NUL-separated in DIR.list
make_flat() {
  mkdir -p "$1/files"
  (cd "$1/files" && seq -f "file-%05g.txt" 1 "$COUNT" | xargs touch)
  find "$1/files" -type f -print0 > "$1.list"
}

# make_spread DIR same|distinct: SAME folders with one file each
make_spread() {
  local i
  mkdir -p "$1"
  for ((i = 0; i < SAME; i++)); do
    mkdir "$1/d$i"
    if [ "$2" = same ]; then : > "$1/d$i/same-name.txt"; else : > "$1/d$i/name-$i.txt"; fi
  done
  find "$1" -type f -print0 > "$1.list"
}

# run_tool TOOL LIST DATA_HOME -> prints elapsed ms
run_tool() {
  local start end
  start=$(now_ns)
  case "$1" in
    ours) XDG_DATA_HOME="$3" "$OURS" < "$2" ;;
    gio) XDG_DATA_HOME="$3" xargs -0 gio trash < "$2" ;;
    rm) xargs -0 rm -f < "$2" ;;
  esac
  end=$(now_ns)
  echo $(( (end - start) / 1000000 ))
}


declare -A times
for ((r = 1; r <= ROUNDS; r++)); do
  for tool in ours gio rm; do
    set_dir="$WORK/r$r-$tool"
    make_flat "$set_dir"
    # Let the file system finish the last round's deletions (journal,
    # discards) before the clock starts, so that no tool pays for another.
    sync
    sleep 2
    times[$tool]+="$(run_tool $tool "$set_dir.list" "$WORK/data-$r-$tool") "
    left=$(find "$set_dir/files" -type f | wc -l)
    [ "$left" -eq 0 ] || { echo "$tool left $left files behind" >&2; exit 1; }
    rm -rf "$set_dir" "$WORK/data-$r-$tool"
  done
done

m_ours=$(echo ${times[ours]} | tr ' ' '\n' | median)
m_gio=$(echo ${times[gio]} | tr ' ' '\n' | median)
m_rm=$(echo ${times[rm]} | tr ' ' '\n' | median)
echo "trash $COUNT files, median of $ROUNDS interleaved rounds:"
echo "  ours      ${m_ours} ms"
echo "  gio trash ${m_gio} ms"
echo "  rm -f     ${m_rm} ms"
awk -v o="$m_ours" -v g="$m_gio" -v r="$m_rm" \
  'BEGIN {printf "  ratio ours/gio = %.3f (goal <= 0.5)   ours/rm = %.2f\n", o/g, o/r}'

if command -v strace >/dev/null; then
  make_flat "$WORK/strace"
  XDG_DATA_HOME="$WORK/data-strace" strace -f -c -o "$WORK/strace.txt" "$OURS" < "$WORK/strace.list"
  calls=$(awk '$NF != "total" && /^ *[0-9.]+ +[0-9.]+ +[0-9]+ +[0-9]+/ {n += $4} END {print n}' "$WORK/strace.txt")
  awk -v c="$calls" -v n="$COUNT" \
    'BEGIN {printf "system calls: %d for %d files = %.2f per file, start-up included (goal <= 7)\n", c, n, c/n}'
  rm -rf "$WORK/strace" "$WORK/data-strace"
else
  echo "system calls: strace is missing (apt-get install strace)"
fi

same_t=""
distinct_t=""
for ((r = 1; r <= ROUNDS; r++)); do
  for kind in same distinct; do
    make_spread "$WORK/$kind-$r" "$kind"
    sync
    sleep 2
    t=$(run_tool ours "$WORK/$kind-$r.list" "$WORK/data-$kind-$r")
    if [ "$kind" = same ]; then same_t+="$t "; else distinct_t+="$t "; fi
    rm -rf "$WORK/$kind-$r" "$WORK/data-$kind-$r"
  done
done
m_same=$(echo $same_t | tr ' ' '\n' | median)
m_distinct=$(echo $distinct_t | tr ' ' '\n' | median)
echo "$SAME files from $SAME folders, median of $ROUNDS rounds:"
echo "  one shared name  ${m_same} ms"
echo "  distinct names   ${m_distinct} ms"
awk -v s="$m_same" -v d="$m_distinct" 'BEGIN {printf "  ratio same/distinct = %.3f (goal <= 2)\n", s/d}'
