#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and UBSan (in
# build-fuzz/) and runs each for SECONDS (default 60) from its seeds in tests/fuzz-seeds/,
# with the protocol dictionary. The corpus grows in a scratch folder (or in --corpus DIR), so
# the tree stays clean.
#   scripts/fuzz.sh [--corpus DIR] [SECONDS] [TARGET...]
# TARGET names limit the run to those targets (default: all). --corpus DIR keeps each
# target's corpus in DIR/<target>/ (seeded on first use), so a long run can be done as
# several shorter ones that resume where the last stopped. That matters for fuzz_sim: in
# one process ASan's allocation bookkeeping slows it tenfold over an hour or so.
# Prints per target the runs, the coverage and what was found; anything found is kept in
# build-fuzz/findings/<target>/ and makes the script exit non-zero.
set -euo pipefail

all_targets=(records setting_file ini numbers reply sim operation)
usage() { echo "usage: scripts/fuzz.sh [--corpus DIR] [SECONDS] [TARGET...]  (targets: ${all_targets[*]})" >&2; exit 2; }

keep_corpus=
if [ "${1:-}" = --corpus ]; then
  [ $# -ge 2 ] && [ -n "$2" ] || usage
  keep_corpus=$(realpath -m -- "$2") # before the cd below, so a relative DIR means the caller's
  shift 2
fi
seconds=60
if [ $# -gt 0 ]; then
  seconds=$1
  shift
fi
case "$seconds" in
  ''|*[!0-9]*) usage ;;
esac
targets=("$@")
[ $# -gt 0 ] || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] || { echo "fuzz.sh: no target '$t'" >&2; usage; }
done
cd "$(dirname "$0")/.."

# clang and its libFuzzer runtime, for this script only.
"$PWD/scripts/install-deps.sh" clang libclang-rt-14-dev

dir=build-fuzz
cmake -S . -B "$dir" -G Ninja -DKAP_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build "$dir" --target fuzz

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

found_any=0
report=()
for t in "${targets[@]}"; do
  work="$scratch/$t"
  corpus="$work/corpus"
  [ -n "$keep_corpus" ] && corpus="$keep_corpus/$t"
  mkdir -p "$corpus" "$work/artifacts"
  [ -n "$(ls -A "$corpus")" ] || cp tests/fuzz-seeds/"$t"/* "$corpus/"
  echo "== fuzz_$t for ${seconds}s"
  status=0
  "$dir/bin/fuzz_$t" "$corpus" -dict=fuzz/protocol.dict -max_total_time="$seconds" \
    -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    >"$work/log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$work/log" | grep 'cov:' | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  artifacts=$(ls "$work/artifacts")
  if [ "$status" -ne 0 ] || [ -n "$artifacts" ]; then
    found_any=1
    keep="$dir/findings/$t"
    mkdir -p "$keep"
    cp "$work/log" "$keep/log"
    [ -n "$artifacts" ] && cp "$work/artifacts"/* "$keep/"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$work/log" | head -5 || true
    verdict="FOUND (exit $status): $keep"
  else
    verdict="nothing found"
  fi
  report+=("$(printf '%-18s runs %-10s cov %-6s ft %-6s %s' "fuzz_$t" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$verdict")")
done

echo
printf '%s\n' "${report[@]}"
exit $found_any
