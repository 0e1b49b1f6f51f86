#!/usr/bin/env bash
# Checks text search against ground truth: for each word, the (file, line) pairs serquin-cli reports with
# automatic character-code detection on every tree of the corpus must equal what `grep -n -F` reports on
# the UTF-8 tree (all trees hold the same text with the same line numbers). Then, for the first word, the files
# that grep, ripgrep and serquin-cli find on the mixed tree, counted by the code each file is in.
# Run by hand, never in CI:  bench/compare_text.sh [word...]
# Differences listed in bench/compare_text.known (tree or "*"<TAB>relative path<TAB>reason) are reported as
# known; the exit status is 1 when any other difference remains.
set -euo pipefail
cd "$(dirname "$0")/.."
CORPUS=${CORPUS:-/tmp/jcorpus}
CLI=${CLI:-build/release/bin/serquin-cli}
KNOWN=bench/compare_text.known
TREES=(utf8 sjis eucjp iso2022jp utf16le mixed)
# Words whose characters code page 932 holds: rare and common, kana and kanji, one with a long vowel mark.
WORDS=("$@")
[ ${#WORDS[@]} -gt 0 ] || WORDS=(コンピュータ 人 検索 日本語 ファイル 漢字 東京 ー)

[ -x "$CLI" ] || make -s release >/dev/null
[ -d "$CORPUS/utf8" ] || OUT=$CORPUS bash ../shared/bench/make_corpus.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# pairs ROOT: reads `path:line:text` lines and prints `relative path<TAB>line`, sorted and unique.
pairs() {
  ROOT="$1/" perl -ne 'BEGIN { $r = $ENV{ROOT} } print "$1\t$2\n" if /^\Q$r\E(.*?):(\d+):/' | LC_ALL=C sort -u
}

unexplained=0
for word in "${WORDS[@]}"; do
  LC_ALL=C grep -rnaF -- "$word" "$CORPUS/utf8" | pairs "$CORPUS/utf8" >"$work/truth"
  echo "== '$word': grep -rnF on utf8 reports $(wc -l <"$work/truth") lines"
  for tree in "${TREES[@]}"; do
    "$CLI" -t -g -sb '-e*' -cw "-b$CORPUS/$tree" "-m$word" | pairs "$CORPUS/$tree" >"$work/got" || true
    LC_ALL=C comm -23 "$work/truth" "$work/got" | sed 's/^/missing\t/' >"$work/diff"
    LC_ALL=C comm -13 "$work/truth" "$work/got" | sed 's/^/extra\t/' >>"$work/diff"
    known=0 other=0
    while IFS=$'\t' read -r kind path line; do
      reason=$(awk -F'\t' -v t="$tree" -v p="$path" '($1 == t || $1 == "*") && $2 == p { print $3; exit }' "$KNOWN")
      if [ -n "$reason" ]; then
        known=$((known + 1))
        echo "   known   $tree $kind $path:$line ($reason)"
      else
        other=$((other + 1))
        echo "   DIFFERS $tree $kind $path:$line"
      fi
    done <"$work/diff"
    printf '  %-10s %7d lines  %d known differences, %d other\n' "$tree" "$(wc -l <"$work/got")" "$known" "$other"
    unexplained=$((unexplained + other))
  done
done
# What the peers find on the mixed tree, by the code of each file (first word only): they read every file in
# one code, so each misses the files in the others.
peer_row() {  # LABEL FILE-OF-PAIRS
  LC_ALL=C join -t $'\t' <(cut -f1 "$2" | LC_ALL=C sort -u) \
    <(tail -n +2 "$CORPUS/mixed_truth.tsv" | cut -f1,2 | LC_ALL=C sort -t $'\t' -k1,1) |
    awk -F'\t' -v l="$1" '{ n[$2]++ } END { printf "  %-28s", l; for (e in n) printf " %s:%d", e, n[e]; print "" }'
}
word=${WORDS[0]}
LC_ALL=C grep -rnaF -- "$word" "$CORPUS/utf8" | pairs "$CORPUS/utf8" >"$work/truth"
echo "== files holding '$word' found on the mixed tree, by the code of the file"
peer_row "truth (grep on utf8)" "$work/truth"
LC_ALL=C grep -rnaF -- "$word" "$CORPUS/mixed" | pairs "$CORPUS/mixed" >"$work/peer"
peer_row "grep -rnF" "$work/peer"
if command -v rg >/dev/null; then
  rg -nF -uuu --no-heading -- "$word" "$CORPUS/mixed" | pairs "$CORPUS/mixed" >"$work/peer" || true
  peer_row "rg -nF -uuu" "$work/peer"
  rg -nF -uuu --no-heading -E shift_jis -- "$word" "$CORPUS/mixed" | pairs "$CORPUS/mixed" >"$work/peer" || true
  peer_row "rg -nF -uuu -E shift_jis" "$work/peer"
fi
"$CLI" -t -g -sb '-e*' -cw "-b$CORPUS/mixed" "-m$word" | pairs "$CORPUS/mixed" >"$work/peer" || true
peer_row "serquin-cli -t" "$work/peer"

[ "$unexplained" -eq 0 ] || { echo "$unexplained unexplained differences"; exit 1; }
echo "no unexplained differences"
