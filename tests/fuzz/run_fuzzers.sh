#!/usr/bin/env bash
# Runs every fuzz target with libFuzzer (clang, ASan, UBSan) for a bounded
# time each. New inputs stay in a scratch folder; a crash fails the run and
# is printed, to be kept in corpus/TARGET/ as a regression case.
#   tests/fuzz/run_fuzzers.sh [SECONDS_EACH]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SECONDS_EACH="${1:-20}"
CXX="${FUZZ_CXX:-clang++}"
command -v "$CXX" >/dev/null || { echo "run_fuzzers: $CXX is missing (apt-get install clang libclang-rt-14-dev)" >&2; exit 1; }
OUT="$(mktemp -d /tmp/delfiles-fuzz-XXXXXX)"
trap 'rm -rf "$OUT"' EXIT
FLAGS=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$ROOT")

declare -A sources=(
  [command_line]="tests/fuzz/FuzzCommandLine.cpp platform/winapi/CommandLine.cpp"
  [uri_list]="tests/fuzz/FuzzUriList.cpp platform/forms/UriList.cpp"
  [form_description]="tests/fuzz/FuzzFormDescription.cpp platform/forms/FormDescription.cpp"
  [trash_path]="tests/fuzz/FuzzTrashPath.cpp platform/trash/TrashEngine.cpp"
)
status=0
for target in command_line uri_list form_description trash_path; do
  files=()
  for f in ${sources[$target]}; do files+=("$ROOT/$f"); done
  "$CXX" "${FLAGS[@]}" "${files[@]}" -o "$OUT/$target"
  mkdir -p "$OUT/corpus-$target" "$OUT/crash-$target"
  cp -r "$ROOT/tests/fuzz/corpus/$target/." "$OUT/corpus-$target/"
  echo "== $target: $SECONDS_EACH s"
  if ! "$OUT/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$OUT/crash-$target/" "$OUT/corpus-$target" 2>"$OUT/$target.log"; then
    status=1
    tail -40 "$OUT/$target.log"
    for crash in "$OUT/crash-$target"/*; do
      [ -e "$crash" ] || continue
      echo "crash input for $target ($(basename "$crash")), as hex:"
      od -An -tx1 "$crash" | head -20
    done
  else
    grep -E "stat::number_of_executed_units|cov:" "$OUT/$target.log" | tail -2
  fi
done
exit $status
