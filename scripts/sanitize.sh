#!/usr/bin/env bash
# Builds Sonvera with sanitizers and runs the tests under them:
#   asan  every test, AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#   tsan  the threaded tests (engine, batch tool, reader), ThreadSanitizer (build-tsan/)
#   engine  the engine's tests under both, as CI runs them
# The first error ends a run. Usage: scripts/sanitize.sh [asan|tsan|engine|all]
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
root=$PWD
supp=$root/scripts/sanitizers
jobs=$(nproc)
scripts/deps.sh test
export QT_QPA_PLATFORM=offscreen

# Every time, so that the test list below sees test folders added since.
configure() { # DIR SANITIZERS
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSONVERA_WERROR=ON -DSONVERA_SANITIZE="$2" >/dev/null
}

run_asan() {
  configure build-asan address,undefined
  cmake --build build-asan --parallel "$jobs"
  local asan="halt_on_error=1:strict_string_checks=1:check_initialization_order=1"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp"
  export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
  # A settings write error thrown out of a dialog's OK slot unwinds through
  # Qt's event dispatch, which leaks the event it was delivering (see
  # docs/reliability.md). Those tests run without leak checks until the
  # dialogs handle the error inside the slot.
  local unwinding='AFailedWriteLeavesTheDialogOpen'
  (cd build-asan && ASAN_OPTIONS="$asan:detect_leaks=1" \
     ctest --output-on-failure --parallel "$jobs" --timeout 1200 -E "$unwinding")
  (cd build-asan && ASAN_OPTIONS="$asan:detect_leaks=0" \
     ctest --output-on-failure --parallel "$jobs" --timeout 1200 -R "$unwinding")
}

# Test programs of a test folder, as the build names them.
tests_in() { # BUILD_DIR FOLDER...
  local b=$1; shift
  for d in "$@"; do
    [ -f "$b/tests/$d/CTestTestfile.cmake" ] || continue
    grep -o '[A-Za-z0-9_]*\[1\]_include\.cmake' "$b/tests/$d/CTestTestfile.cmake" | sed 's/\[1\].*//'
  done | sort -u
}

# run_programs DIR SANITIZERS FOLDER...: builds the test programs of those test
# folders with the sanitizers and runs each one.
run_programs() {
  local dir=$1 san=$2; shift 2
  configure "$dir" "$san"
  local targets t exe
  targets=$(tests_in "$dir" "$@")
  # shellcheck disable=SC2086
  cmake --build "$dir" --parallel "$jobs" --target $targets
  tests/media/make_media.sh "$dir/test-media"
  for t in $targets; do
    exe=$(find "$dir/tests" -type f -name "$t" -perm -u+x | head -1)
    echo "== $san: $t"
    (cd "$(dirname "$exe")" && timeout 1200 "./$t" --gtest_brief=1)
  done
}

tsan_env() {
  # die_after_fork=0: tests start ffmpeg with QProcess, whose child only execs.
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$supp/tsan.supp"
}

run_tsan() {
  tsan_env
  # The window's tests are left out: every cross-thread step of the window
  # goes through Qt (queued and blocking calls, its thread pool), whose sync
  # TSan cannot see without a Qt built for it (docs/reliability.md).
  run_programs build-tsan thread engine components/reader
}

# The engine's tests under both kinds, small enough for every CI run.
run_engine() {
  ASAN_OPTIONS="halt_on_error=1:detect_leaks=1" \
  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp" \
  LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0" \
    run_programs build-asan address,undefined engine
  tsan_env
  run_programs build-tsan thread engine
}

case $what in
  asan) run_asan ;;
  tsan) run_tsan ;;
  engine) run_engine ;;
  all) run_asan; run_tsan ;;
  *) echo "usage: $0 [asan|tsan|engine|all]" >&2; exit 2 ;;
esac
