#!/usr/bin/env bash
# Times serquin-cli side by side with find, fd, du, GNU grep and ripgrep on the same trees, as ratios.
# Run by hand, never in CI:  bench/run.sh [names|text|regex|all]
# Release build, warm cache, median of 5 runs. The corpus comes from ../shared/bench/make_corpus.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
WHAT=${1:-all}
RUNS=${RUNS:-5}
CORPUS=${CORPUS:-/tmp/jcorpus}
CLI=build/release/bin/serquin-cli

need() { command -v "$1" >/dev/null 2>&1 || { apt-get install -y -q "$2" >/dev/null; }; }
need fdfind fd-find
need rg ripgrep
make -s release >/dev/null
[ -d "$CORPUS/utf8" ] || OUT=$CORPUS bash ../shared/bench/make_corpus.sh

# median_ms CMD...: runs the command RUNS times (output discarded) and prints the median wall time in ms.
median_ms() {
  local times=()
  "$@" >/dev/null 2>&1 || true  # warm the cache
  for _ in $(seq "$RUNS"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (RUNS + 1) / 2 ))p"
}

# row LABEL BASE_MS MS: one line of the table with the ratio to the base.
row() { awk -v l="$1" -v b="$2" -v t="$3" 'BEGIN { printf "  %-44s %7d ms  %5.2fx\n", l, t, (b > 0 ? t / b : 0) }'; }

count() { "$@" 2>/dev/null | wc -l; }

bench_names() {
  local word=${WORD:-conf} dirs=(/usr "$CORPUS")
  echo "== file-name search for '$word' over ${dirs[*]} (median of $RUNS)"
  local find_ms fd_ms cli_ms walk_ms
  find_ms=$(median_ms find "${dirs[@]}" -xtype f -iname "*$word*")
  walk_ms=$(median_ms find "${dirs[@]}" -printf '')
  fd_ms=$(median_ms fdfind -u -i -j2 -t f "$word" "${dirs[@]}")
  cli_ms=$(median_ms "$CLI" -f -g -sb "-b/usr;$CORPUS" "-m$word")
  row "find -xtype f -iname (base)" "$find_ms" "$find_ms"
  row "find -printf '' (bare walk)" "$find_ms" "$walk_ms"
  row "fd -u -i -j2" "$find_ms" "$fd_ms"
  row "serquin-cli -f -g -sb" "$find_ms" "$cli_ms"
  echo "  hits: find $(count find "${dirs[@]}" -xtype f -iname "*$word*")," \
       "serquin-cli $(count "$CLI" -f -g -sb "-b/usr;$CORPUS" "-m$word")"
  echo "== folder search with folder detail over /usr"
  local du_ms fold_ms
  du_ms=$(median_ms du -s /usr)
  fold_ms=$(median_ms "$CLI" -d -g -sb -b/usr/ "-m$word")
  row "du -s (base)" "$du_ms" "$du_ms"
  row "serquin-cli -d -g -sb (folder detail)" "$du_ms" "$fold_ms"
}

case "$WHAT" in
  names) bench_names ;;
  all) bench_names ;;
  *) echo "usage: bench/run.sh [names|text|regex|all]" >&2; exit 2 ;;
esac
