#!/usr/bin/env bash
# Times Vornilex's folder search against ripgrep on the same Shift_JIS corpus, for a
# phrase that is found often and one that is never found. Prints the medians, their
# ratio (target: at most 0.5), our peak memory, and checks that both find the same
# (file, line) pairs. Exits non-zero when the answers differ.
#
#   bench/search/run_folder_bench.sh            (REPS=5 by default)
#   REPS=9 bench/search/run_folder_bench.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vornilex-bench
corpus=$cache/corpus
build=${SEARCH_BENCH_BUILD:-$repo/build-bench-search}
reps=${REPS:-5}
make_corpus=${MAKE_CORPUS:-$repo/../shared/bench/make_corpus.py}
phrases=("東京都庁" "zzqqxxyy")

if ! command -v rg >/dev/null; then
    if [ "$(id -u)" = 0 ]; then
        apt-get install -y ripgrep >/dev/null
    else
        echo "ripgrep is missing: sudo apt-get install -y ripgrep" >&2
        exit 2
    fi
fi

# The corpus is written once, into a scratch folder outside the repository; a run that
# is interrupted leaves no half-written corpus behind.
if [ ! -d "$corpus" ]; then
    mkdir -p "$cache"
    rm -rf "$corpus.partial"
    echo "writing the corpus to $corpus (200 files, 200 MiB; takes a few minutes)" >&2
    python3 "$make_corpus" "$corpus.partial" --files 200 --mib 200 >&2
    mv "$corpus.partial" "$corpus"
fi

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target search_bench >/dev/null
bench=$build/bench/search/search_bench

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

now() { date +%s.%N; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cd "$corpus/.."
status=0
printf '%-10s %10s %10s %7s %12s %6s\n' phrase ours_s rg_s ratio ours_peak_KiB same
for phrase in "${phrases[@]}"; do
    # One run of each first, so that both read from the page cache.
    "$bench" folder corpus "$phrase" >"$scratch/ours" 2>"$scratch/ours.err"
    rg -j1 -n -E shift_jis "$phrase" corpus >"$scratch/rg" || true

    : >"$scratch/ours.times"
    : >"$scratch/rg.times"
    for _ in $(seq "$reps"); do
        t0=$(now); "$bench" folder corpus "$phrase" >/dev/null 2>"$scratch/ours.err"; t1=$(now)
        awk -v a="$t1" -v b="$t0" 'BEGIN { print a - b }' >>"$scratch/ours.times"
        t0=$(now); rg -j1 -n -E shift_jis "$phrase" corpus >/dev/null || true; t1=$(now)
        awk -v a="$t1" -v b="$t0" 'BEGIN { print a - b }' >>"$scratch/rg.times"
    done
    ours=$(median <"$scratch/ours.times")
    theirs=$(median <"$scratch/rg.times")
    ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { print a / b }')
    peak=$(sed -n 's/.*peak_rss_kib: \([0-9]*\).*/\1/p' "$scratch/ours.err")

    # rg prints "corpus/NAME:LINE:text"; ours prints "NAME:LINE".
    cut -d: -f1,2 "$scratch/rg" | sed 's|^corpus/||' | sort >"$scratch/rg.pairs"
    sort "$scratch/ours" >"$scratch/ours.pairs"
    if cmp -s "$scratch/rg.pairs" "$scratch/ours.pairs"; then same=yes; else same=NO; status=1; fi

    printf '%-10s %10.3f %10.3f %7.3f %12s %6s   (%s hits)\n' "$phrase" "$ours" "$theirs" "$ratio" "$peak" "$same" \
        "$(wc -l <"$scratch/ours.pairs")"
    if awk -v r="$ratio" 'BEGIN { exit !(r > 0.5) }'; then
        echo "  ratio above the 0.5 target" >&2
    fi
done
exit $status
