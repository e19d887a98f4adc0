# Sourced by ./test (and by hand: `. scripts/sanitize.sh` before running ctest in
# build-asan/): the runtime options of the AddressSanitizer + UBSan build.
# Qt's own libraries are not instrumented; what they keep for the life of the process
# (font caches, plugin tables) would read as leaks, so those are suppressed by name in
# scripts/sanitize.supp. Every finding stops the program with a non-zero status.
_sanitize_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:detect_odr_violation=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$_sanitize_dir/sanitize.supp:print_suppressions=0"
unset _sanitize_dir
