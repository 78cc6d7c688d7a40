#!/usr/bin/env bash
# Checks the sources against .clang-format and .clang-tidy. CI (.ci/run) runs the layout check.
#   scripts/lint.sh                both checks
#   scripts/lint.sh --format-only  layout of src/, sim/, tests/, bench/, soak/, fuzz/ (clang-format)
#   scripts/lint.sh --tidy-only    clang-tidy over the .cpp files of src/ and sim/
#   scripts/lint.sh --verbose      also print every clang-format finding, not only the files
# Installs clang-format and clang-tidy when they are missing, configures its own build folder
# (build-lint/, for compile_commands.json) and exits non-zero when either check finds something.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

format=1
tidy=1
verbose=0
for arg in "$@"; do
  case "$arg" in
    --format-only) tidy=0 ;;
    --tidy-only) format=0 ;;
    --verbose) verbose=1 ;;
    -h|--help) sed -n '2,8s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "unknown option: $arg (see --help)" >&2; exit 2 ;;
  esac
done
if [ $format -eq 0 ] && [ $tidy -eq 0 ]; then
  echo "--format-only and --tidy-only exclude each other" >&2
  exit 2
fi

# The tools, with the build's own packages: nothing happens when they are there.
packages=(clang-format)
[ $tidy -eq 1 ] && packages+=(clang-tidy)
"$root/scripts/install-deps.sh" "${packages[@]}"

failed=0

if [ $format -eq 1 ]; then
  echo "== clang-format: src/ sim/ tests/ bench/ soak/ fuzz/"
  mapfile -t files < <(find src sim tests bench soak fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
  differing=0
  for f in "${files[@]}"; do
    if ! out=$(clang-format --dry-run --Werror "$f" 2>&1); then
      differing=$((differing + 1))
      if [ $verbose -eq 1 ]; then
        printf '%s\n' "$out"
      else
        lines=$(clang-format "$f" | diff "$f" - | grep -c '^<' || true)
        echo "$f: $lines line(s) differ"
      fi
    fi
  done
  if [ $differing -gt 0 ]; then
    echo "clang-format: $differing of ${#files[@]} files differ (see: clang-format FILE | diff FILE -)"
    failed=1
  else
    echo "clang-format: all ${#files[@]} files match"
  fi
fi

if [ $tidy -eq 1 ]; then
  echo "== clang-tidy: src/ sim/"
  "$root/scripts/install-deps.sh"
  dir=build-lint
  # The moc output is generated too, so every file the compiler sees is there.
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DCMAKE_GLOBAL_AUTOGEN_TARGET=ON >/dev/null
  if ! out=$(cmake --build "$dir" --target autogen 2>&1); then
    printf '%s\n' "$out" >&2
    exit 1
  fi

  # Every src/ and sim/ file the build compiles (a file outside the build has no flags).
  pattern=$(python3 -c 'import re, sys; print("^" + re.escape(sys.argv[1]) + "/(src|sim)/.*\\.cpp$")' "$root")
  mapfile -t units < <(python3 -c '
import json, re, sys
wanted = re.compile(sys.argv[2])
print("\n".join(sorted({e["file"] for e in json.load(open(sys.argv[1])) if wanted.match(e["file"])})))
' "$dir/compile_commands.json" "$pattern")
  if [ ${#units[@]} -eq 0 ]; then
    echo "no src/ or sim/ files in $dir/compile_commands.json" >&2
    exit 1
  fi
  echo "${#units[@]} files"
  jobs=${LINT_JOBS:-2}
  # Of clang-tidy's chatter only the file names and the findings are kept: the counts of
  # warnings it suppressed in Qt's headers go (keeping any colour reset in front of them).
  tidy_filter() {
    awk '/^clang-tidy(-[0-9]+)? / { print "-- " $NF; fflush(); next }
         match($0, /[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$/) {
           printf "%s", substr($0, 1, RSTART - 1); fflush(); next }
         { print; fflush() }'
  }
  tidy_rc=0
  if command -v run-clang-tidy >/dev/null; then
    # Checks and header filter come from .clang-tidy.
    run-clang-tidy -j "$jobs" -p "$dir" -quiet "$pattern" 2>&1 | tidy_filter \
      || tidy_rc=${PIPESTATUS[0]}
  else
    printf '%s\0' "${units[@]}" \
      | xargs -0 -n 1 -P "$jobs" clang-tidy -p "$dir" -quiet 2>&1 | tidy_filter \
      || tidy_rc=${PIPESTATUS[1]}
  fi
  if [ "${tidy_rc:-0}" -ne 0 ]; then
    echo "clang-tidy: findings or errors (see above)"
    failed=1
  else
    echo "clang-tidy: clean"
  fi
fi

exit $failed
