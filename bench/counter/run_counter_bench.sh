#!/usr/bin/env bash
# Quellatto's engine against the command-line tools a user would otherwise reach for:
#   measure_text, each of the nine modes, on a 10,000,000-character text  vs  wc -m (UTF-8)
#   compare_texts on two such texts differing in every 1,000th character   vs  cmp -l (UTF-16)
# Builds counter_bench in release mode in its own folder, writes the corpus and the texts
# into a scratch folder outside the repository when they are missing, runs each pair side
# by side (alternating, several repetitions, medians), checks that both sides give the same
# answer, and prints one table. Exits non-zero when an answer differs, never for a time.
#
#   bench/counter/run_counter_bench.sh [REPETITIONS]
# Environment: QUELLATTO_BENCH_DIR (scratch folder), MAKE_CORPUS (path of make_corpus.py),
#              CHOSEN (the chosen string of modes 3, 4, 6 and 7; default 、).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SCRATCH=${QUELLATTO_BENCH_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quellatto-bench}
MAKE_CORPUS=${MAKE_CORPUS:-$ROOT/../shared/bench/make_corpus.py}
REPETITIONS=${1:-7}
CHOSEN=${CHOSEN:-、}
BUILD=$SCRATCH/build
mkdir -p "$SCRATCH"

cmake -S "$ROOT/bench/counter" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" >/dev/null

if [ ! -f "$SCRATCH/corpus/doc00019.txt" ]; then
    echo "Writing the corpus into $SCRATCH/corpus ..." >&2
    python3 "$MAKE_CORPUS" "$SCRATCH/corpus" --files 20 --mib 40 >/dev/null
fi

exec python3 - "$BUILD/counter_bench" "$SCRATCH" "$REPETITIONS" "$CHOSEN" <<'PY'
import glob, os, statistics, subprocess, sys, time

bench, scratch, repetitions, chosen = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
CHARACTERS = 10_000_000
text_utf8 = os.path.join(scratch, "text.utf8")
first_utf16 = os.path.join(scratch, "first.utf16")
second_utf16 = os.path.join(scratch, "second.utf16")

# The text: the corpus decoded from code page 932 (a bad byte becomes U+FFFD), its CR LF
# kept, cut at 10,000,000 characters. The second text of the comparison changes every
# 1,000th character.
if not all(os.path.exists(p) for p in (text_utf8, first_utf16, second_utf16)):
    raw = b"".join(open(p, "rb").read()
                   for p in sorted(glob.glob(os.path.join(scratch, "corpus", "doc*.txt"))))
    text = raw.decode("cp932", errors="replace")[:CHARACTERS]
    assert len(text) == CHARACTERS, "the corpus is too small"
    with open(text_utf8, "wb") as f:
        f.write(text.encode("utf-8"))
    with open(first_utf16, "wb") as f:
        f.write(text.encode("utf-16-le"))
    second = list(text)
    for i in range(999, len(second), 1000):
        second[i] = "y" if second[i] == "x" else "x"
    with open(second_utf16, "wb") as f:
        f.write("".join(second).encode("utf-16-le"))
    del raw, text, second

text = open(text_utf8, encoding="utf-8", newline="").read()


def units(s):
    return len(s.encode("utf-16-le")) // 2


def run(command, env=None):
    """Runs a whole process; gives its wall and cpu seconds, standard output and error."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    out, err = child.stdout.read(), child.stderr.read()
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    cpu = usage.ru_utime + usage.ru_stime
    return (wall, cpu), out.decode(), err.decode(), child.returncode


def timed(command, env=None):
    """Runs a whole process for its time alone, its output thrown away as it is written:
    wall and cpu seconds."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             env=env)
    _, _, usage = os.wait4(child.pid, 0)
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime


def side_by_side(ours, reference, reference_env=None):
    """Runs both in turn, one warm-up each, then `repetitions` pairs: the medians of wall
    and of cpu seconds, ours then the reference."""
    timed(ours), timed(reference, reference_env)
    a, b = [], []
    for _ in range(repetitions):
        a.append(timed(ours))
        b.append(timed(reference, reference_env))
    median = lambda runs, k: statistics.median(r[k] for r in runs)
    return (median(a, 0), median(a, 1)), (median(b, 0), median(b, 1))


def peak_mib(stderr):
    for line in stderr.splitlines():
        if line.startswith("peak_kib "):
            return int(line.split()[1]) / 1024
    return float("nan")


utf8_env = dict(os.environ, LC_ALL="C.UTF-8")
n = units(text)
breaks = text.count("\r\n")
blanks = text.count(" ") + text.count("\u3000")
k = text.count(chosen)  # left to right, without overlap
m = units(chosen)
expected = {
    0: n - 2 * breaks,
    1: units(text.strip(" ")) - 2 * breaks,
    2: n - blanks - 2 * breaks,
    3: n - k * m - 2 * breaks,
    4: k,
    5: n - blanks - 2 * breaks,
    6: n - k * m - 2 * breaks,
    7: k,
    8: 2 * n - 2 * breaks,
}
del text  # the timed processes are started from a small parent
names = ["mnuspace", "mnutrim", "mnunospace", "mnumojid", "mnumojic", "mnusdel", "mnudel",
         "mnuedel", "mnubite"]

failures = []
rows = []

# wc -m counts code points, line ends included: the text's length n when it has no
# surrogate pair, which the engine's own count of code points confirms.
_, out, _, _ = run([bench, "info", text_utf8])
info_units, info_code_points, info_breaks = map(int, out.split())
_, wc_out, _, _ = run(["wc", "-m", text_utf8], utf8_env)
wc_count = int(wc_out.split()[0])
if (info_units, info_breaks) != (n, breaks) or wc_count != info_code_points:
    failures.append(f"length: wc -m {wc_count}, ours {info_code_points} code points, "
                    f"{info_units} units, {info_breaks} line breaks")

for mode in range(9):
    ours = [bench, "measure", str(mode), text_utf8, chosen]
    whole, reference = side_by_side(ours, ["wc", "-m", text_utf8], utf8_env)
    _, out, err, status = run(ours)
    result = int(out.strip() or "0") if status == 0 else None
    _, alone_out, _, _ = run([bench, "time-measure", str(mode), text_utf8, chosen,
                              str(repetitions)])
    alone, alone_result = alone_out.split()
    ok = result == expected[mode] == int(alone_result)
    if not ok:
        failures.append(f"mode {mode}: ours {result}, expected {expected[mode]}")
    rows.append((f"measure_text {mode} {names[mode]}", whole, float(alone), reference,
                 0.5, peak_mib(err), ok))

ours = [bench, "compare", first_utf16, second_utf16]
whole, reference = side_by_side(ours, ["cmp", "-l", first_utf16, second_utf16])
_, out, err, _ = run(ours)
entries = int(out.strip() or "-1")
_, cmp_out, _, _ = run(["cmp", "-l", first_utf16, second_utf16])
# cmp -l lists differing bytes, 1-based; a character is two bytes.
differing = len({(int(line.split()[0]) - 1) // 2 for line in cmp_out.splitlines() if line})
_, alone_out, _, _ = run([bench, "time-compare", first_utf16, second_utf16, str(repetitions)])
alone, alone_entries = alone_out.split()
ok = entries == differing == int(alone_entries) == len(range(999, CHARACTERS, 1000))
if not ok:
    failures.append(f"compare: ours {entries} entries, cmp -l {differing} characters")
rows.append(("compare_texts", whole, float(alone), reference, 1.0,
             peak_mib(err), ok))

print(f"{n:,} characters, {breaks:,} line breaks, chosen string {chosen!r} "
      f"({k:,} occurrences); medians of {repetitions} runs")
print("process: our whole process (start, read the file, run) against the reference's, by")
print("wall and by cpu time; alone: the operation alone on the text in memory, against the")
print("reference's whole process. Wall times, medians, in ms; peak: our whole process.")
print(f"{'operation':34} {'ours':>7} {'alone':>6} {'ref':>6} {'wall':>5} {'cpu':>5} "
      f"{'alone':>5} {'target':>6} {'met process/alone':>17} {'peak MiB':>8} answer")
for name, whole, alone, reference, target, peak, ok in rows:
    ratio_wall, ratio_cpu = whole[0] / reference[0], whole[1] / reference[1]
    ratio_alone = alone / reference[0]
    met = lambda r: "yes" if r <= target else "no"
    print(f"{name:34} {whole[0] * 1e3:7.1f} {alone * 1e3:6.1f} {reference[0] * 1e3:6.1f} "
          f"{ratio_wall:5.2f} {ratio_cpu:5.2f} {ratio_alone:5.2f} {target:6.1f} "
          f"{met(ratio_wall) + ' / ' + met(ratio_alone):>17} {peak:8.1f} "
          f"{'same' if ok else 'DIFFERS'}")
for failure in failures:
    print("ANSWER DIFFERS:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
PY
