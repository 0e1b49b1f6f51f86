#!/usr/bin/env bash
# Literal text search with many hits, side by side with ripgrep: serquin-cli and `rg -nF -uuu -j2` run
# alternately on the UTF-8 tree for a common, a medium and a rare word; the medians of wall and CPU time
# (user + system of the process alone) and the ratios are printed, then serquin-cli on every other tree
# against its own UTF-8 figure, with its peak resident memory.
# Run by hand, never in CI:  bench/hits_speed.sh [word...]
# RUNS (default 7), CORPUS (default /tmp/jcorpus), CLI (default build/rel/bin/serquin-cli),
# OUT=devnull to let each program write to /dev/null itself instead of into a pipe, BASE=another serquin-cli
# (an older build) to time it alternately with the two and print its ratios too.
set -euo pipefail
cd "$(dirname "$0")/.."
CORPUS=${CORPUS:-/tmp/jcorpus}
CLI=${CLI:-build/rel/bin/serquin-cli}
RUNS=${RUNS:-7}
[ -x "$CLI" ] || { echo "no $CLI: build serquin-cli (Release) first" >&2; exit 2; }
command -v rg >/dev/null || { echo "ripgrep (rg) is needed" >&2; exit 2; }
[ -d "$CORPUS/utf8" ] || { echo "no corpus: OUT=$CORPUS bash ../shared/bench/make_corpus.sh" >&2; exit 2; }
[ $# -gt 0 ] || set -- 人 ファイル 檸檬
echo "load: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores; median of $RUNS, output ${OUT:-piped}"

RUNS=$RUNS OUT=${OUT:-pipe} CLI=$CLI BASE=${BASE:-} CORPUS=$CORPUS python3 - "$@" <<'EOF'
import os, statistics, subprocess, sys, time

runs, corpus, cli, base = int(os.environ['RUNS']), os.environ['CORPUS'], os.environ['CLI'], os.environ['BASE']
piped = os.environ['OUT'] != 'devnull'
trees = [t for t in ('sjis', 'eucjp', 'iso2022jp', 'utf16le', 'mixed') if os.path.isdir(f'{corpus}/{t}')]

def once(cmd):
    """Wall ms, CPU ms (user + system of the process) and peak KiB of one run; the output is read whole."""
    start = time.perf_counter()
    out = subprocess.PIPE if piped else subprocess.DEVNULL
    p = subprocess.Popen(cmd, stdout=out, stderr=subprocess.DEVNULL)
    lines = 0
    if piped:
        for chunk in iter(lambda: p.stdout.read(1 << 16), b''):
            lines += chunk.count(b'\n')
    _, _, ru = os.wait4(p.pid, 0)
    wall = (time.perf_counter() - start) * 1000
    return wall, (ru.ru_utime + ru.ru_stime) * 1000, ru.ru_maxrss, lines

def cli_cmd(tree, word, program=None):
    return [program or cli, '-t', '-sb', '-e*', f'-b{corpus}/{tree}/', f'-m{word}']

def rg_cmd(word):
    return ['rg', '-nF', '-uuu', '-j2', word, f'{corpus}/utf8/']

def medians(results):
    return [statistics.median(r[i] for r in results) for i in range(3)] + [results[0][3]]

for word in sys.argv[1:]:
    cmds = {'cli': cli_cmd('utf8', word), 'rg': rg_cmd(word)}
    if base:
        cmds['base'] = cli_cmd('utf8', word, base)
    for c in cmds.values():
        once(c)  # warm the cache
    res = {k: [] for k in cmds}
    for _ in range(runs):
        for k, c in cmds.items():  # alternating, so that a change of load touches both alike
            res[k].append(once(c))
    cw, cc, cm, cl = medians(res['cli'])
    rw, rc, rm, rl = medians(res['rg'])
    print(f"'{word}': serquin-cli {cl} lines, rg {rl} lines")
    print(f"  serquin-cli utf8   wall {cw:7.1f} ms  cpu {cc:7.1f} ms  peak {cm:7d} KiB")
    print(f"  rg -nF -uuu -j2    wall {rw:7.1f} ms  cpu {rc:7.1f} ms  peak {rm:7d} KiB")
    print(f"  ratio              wall {cw / rw:7.2f}x    cpu {cc / rc:7.2f}x")
    if base:
        bw, bc, bm, bl = medians(res['base'])
        print(f"  base serquin-cli   wall {bw:7.1f} ms  cpu {bc:7.1f} ms  peak {bm:7d} KiB  ({bl} lines)")
        print(f"  base ratio to rg   wall {bw / rw:7.2f}x    cpu {bc / rc:7.2f}x")
    for tree in trees:
        once(cli_cmd(tree, word))
        tw, tc, tm, tl = medians([once(cli_cmd(tree, word)) for _ in range(runs)])
        print(f"  serquin-cli {tree:9s} wall {tw:7.1f} ms  cpu {tc:7.1f} ms  peak {tm:7d} KiB"
              f"  {tw / cw:5.2f}x wall of utf8  ({tl} lines)")
EOF
