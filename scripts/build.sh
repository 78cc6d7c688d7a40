#!/usr/bin/env bash
# Configures and builds into build/ (or build-asan/ with --sanitize): everything, or only the
# targets named (scripts/build.sh kap kap-sim).
# Everything the tools say (package installation, CMake, the compiler) goes to stderr, so it
# reaches the terminal even when a caller captures the output; the one line on stdout is the
# build folder:  dir=$(scripts/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
exec 3>&1 1>&2

dir=build
extra=()
case "${1:-}" in
  --sanitize)
    dir=build-asan
    extra=(-DKAP_SANITIZE=ON)
    shift ;;
  -*)
    echo "usage: scripts/build.sh [--sanitize] [TARGET...]"
    exit 2 ;;
esac
targets=()
[ $# -gt 0 ] && targets=(--target "$@")

"$PWD/scripts/install-deps.sh"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${extra[@]}" >/dev/null
cmake --build "$dir" "${targets[@]}"
echo "$dir" >&3
