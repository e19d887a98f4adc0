# Sourced by ./test; also run by hand: scripts/fuzz-run.sh SECONDS [TARGET...].
# The fuzz targets are built with clang, libFuzzer, ASan and UBSan into build-fuzz/.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# fuzz_build ROOT: configures build-fuzz/ once with clang, then builds the targets.
fuzz_build() {
    local root=$1 dir=$1/build-fuzz
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$root" -B "$dir" -G Ninja -DPROJECT_FUZZ=ON \
            -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >&2 || return 1
    fi
    cmake --build "$dir" --target fuzz_targets >&2
}

# fuzz_seeds SEEDS_FILE DIR: writes each input line of fuzz/seeds/<target>.txt (bytes in
# printf's escapes; "#" lines are comments) as one file of DIR.
fuzz_seeds() {
    local file=$1 out=$2 line n=0
    rm -rf "$out" && mkdir -p "$out"
    [ -f "$file" ] || return 0
    while IFS= read -r line || [ -n "$line" ]; do
        case "$line" in ''|'#'*) continue ;; esac
        n=$((n + 1))
        printf '%b' "$line" > "$out/seed-$n"
    done < "$file"
}

# fuzz_run ROOT SECONDS [TARGET...]: runs each target (all by default) for SECONDS from
# its seeds (fuzz/seeds/<target>.txt) plus what earlier runs found (build-fuzz/corpus/
# <target>, kept between runs). A crash leaves its input in build-fuzz/crashes/ and
# makes the status non-zero.
fuzz_run() {
    local root=$1 seconds=$2; shift 2
    local dir=$root/build-fuzz targets=("$@") failed=0 t
    if [ ${#targets[@]} -eq 0 ]; then
        mapfile -t targets < "$dir/fuzz/targets.txt"
    fi
    mkdir -p "$dir/crashes"
    for t in "${targets[@]}"; do
        mkdir -p "$dir/corpus/$t"
        fuzz_seeds "$root/fuzz/seeds/$t.txt" "$dir/seeds/$t"
        echo "fuzz: $t for ${seconds}s" >&2
        if ! ASAN_OPTIONS="detect_leaks=1:halt_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
            "$dir/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
                -print_final_stats=0 -artifact_prefix="$dir/crashes/$t-" \
                "$dir/corpus/$t" "$dir/seeds/$t" > "$dir/fuzz-$t.log" 2>&1; then
            echo "fuzz: $t FAILED; its log: $dir/fuzz-$t.log" >&2
            tail -n 40 "$dir/fuzz-$t.log" >&2
            failed=1
        fi
    done
    return $failed
}
