#!/usr/bin/env bash
# Regular-expression text search: serquin-cli -r1 against grep -rnP over the UTF-8 tree of the Japanese
# corpus. Run by hand from the repository root after `make -s release`. Prints the median of 5 runs of
# each, their ratio, and compares the hit sets (file:line).
#   CORPUS=/tmp/jcorpus  REGEX='日本.*東京'  RUNS=5  bench/regex_bench.sh
set -euo pipefail

CORPUS=${CORPUS:-/tmp/jcorpus}
REGEX=${REGEX:-日本.*東京}
RUNS=${RUNS:-5}
CLI=${CLI:-build/release/bin/serquin-cli}
TREE=$CORPUS/utf8

if [ ! -d "$TREE" ]; then
  OUT=$CORPUS bash "$(dirname "$0")/../../shared/bench/make_corpus.sh"
fi
[ -x "$CLI" ] || { echo "no $CLI: run make -s release first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median wall time in seconds of RUNS runs of the command; its output goes to $work/out.
median() {
  local times=()
  for _ in $(seq "$RUNS"); do
    local start end
    start=$(date +%s.%N)
    "$@" >"$work/out" 2>/dev/null || true
    end=$(date +%s.%N)
    times+=("$(echo "$end - $start" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((RUNS + 1) / 2))p"
}

grep -rc x "$TREE" >/dev/null 2>&1 || true  # warm the page cache for both
sq=$(median "$CLI" -t -r1 -g -sb "-e*" "-b$TREE" "-m$REGEX")
cut -d: -f1,2 "$work/out" | sort -u >"$work/sq"
gr=$(median grep -rnP "$REGEX" "$TREE")
cut -d: -f1,2 "$work/out" | sort -u >"$work/gr"

printf 'regex %s over %s (%s files)\n' "$REGEX" "$TREE" "$(find "$TREE" -type f | wc -l)"
printf 'serquin-cli -r1  %8.3f s  %6d hits\n' "$sq" "$(wc -l <"$work/sq")"
printf 'grep -rnP        %8.3f s  %6d hits\n' "$gr" "$(wc -l <"$work/gr")"
printf 'ratio            %8.2f (target <= 2)\n' "$(echo "$sq / $gr" | bc -l)"
only_sq=$(comm -23 "$work/sq" "$work/gr" | wc -l)
only_gr=$(comm -13 "$work/sq" "$work/gr" | wc -l)
echo "hits only serquin-cli: $only_sq, only grep: $only_gr"
if [ "$only_gr" -gt 0 ]; then
  # Files that automatic detection reads in another code than UTF-8 are searched in that code.
  echo "files with hits only grep found:"
  comm -13 "$work/sq" "$work/gr" | cut -d: -f1 | sort | uniq -c
fi
