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
# The output goes through a pipe: GNU grep writing straight to /dev/null stops at each file's first match.
median_ms() {
  local times=()
  "$@" 2>/dev/null | cat >/dev/null || true  # warm the cache
  for _ in $(seq "$RUNS"); do
    local start end
    start=$(date +%s%N)
    "$@" 2>/dev/null | cat >/dev/null || true
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

# peak_kb CMD...: the peak resident memory of one run, in KiB.
peak_kb() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1; }

# text_row TREE WORD BASE_MS: serquin-cli's literal text search of WORD over TREE, one table row.
text_row() {
  local ms
  ms=$(median_ms "$CLI" -t -g -sb '-e*' "-b$1" "-m$2")
  row "serquin-cli -t $(basename "$1") '$2'" "$3" "$ms"
  echo "$ms"
}

bench_text() {
  local utf8=$CORPUS/utf8 rare=${RARE:-コンピュータ} common=${COMMON:-人}
  echo "== literal text search over $utf8 (median of $RUNS; ratios to grep -rnF of the same word)"
  local word grep_ms rg2_ms rg1_ms cli_ms rare_ms common_ms
  for word in "$rare" "$common"; do
    grep_ms=$(median_ms grep -rnF "$word" "$utf8")
    rg2_ms=$(median_ms rg -nF -uuu -j2 "$word" "$utf8")
    rg1_ms=$(median_ms rg -nF -uuu -j1 "$word" "$utf8")
    cli_ms=$(median_ms "$CLI" -t -g -sb '-e*' "-b$utf8" "-m$word")
    row "grep -rnF '$word' (base)" "$grep_ms" "$grep_ms"
    row "rg -nF -uuu -j2" "$grep_ms" "$rg2_ms"
    row "rg -nF -uuu -j1" "$grep_ms" "$rg1_ms"
    row "serquin-cli -t -g -sb -e*" "$grep_ms" "$cli_ms"
    row "  serquin-cli vs rg -j2" "$rg2_ms" "$cli_ms"
    echo "  lines: grep $(count grep -rnF "$word" "$utf8"), rg $(count rg -nF -uuu "$word" "$utf8")," \
         "serquin-cli $(count "$CLI" -t -g -sb '-e*' "-b$utf8" "-m$word")"
    [ "$word" = "$rare" ] && rare_ms=$cli_ms || common_ms=$cli_ms
  done
  row "common word vs rare word (serquin-cli)" "$rare_ms" "$common_ms"
  echo "== every tree with automatic detection, '$rare' (ratio to the UTF-8 tree)"
  local tree ms
  for tree in utf8 sjis eucjp iso2022jp utf16le mixed; do
    [ -d "$CORPUS/$tree" ] || continue
    ms=$(median_ms "$CLI" -t -g -sb '-e*' "-b$CORPUS/$tree" "-m$rare")
    row "serquin-cli -t $tree ($(count "$CLI" -t -g -sb '-e*' "-b$CORPUS/$tree" "-m$rare") lines)" "$rare_ms" "$ms"
  done
  local largest
  largest=$(find "$CORPUS" -type f -printf '%s\n' | sort -n | tail -1)
  echo "== peak memory: serquin-cli $(peak_kb "$CLI" -t -g -sb '-e*' "-b$CORPUS" "-m$common") KiB" \
       "over the whole corpus (largest file $((largest / 1024)) KiB; bound 65536 KiB + largest file)"
}

case "$WHAT" in
  names) bench_names ;;
  text) bench_text ;;
  regex) bash bench/regex_bench.sh ;;
  all) bench_names; bench_text; [ -f bench/regex_bench.sh ] && bash bench/regex_bench.sh ;;
  *) echo "usage: bench/run.sh [names|text|regex|all]" >&2; exit 2 ;;
esac
