#!/usr/bin/env bash
# The fault soak: builds kap-soak and kap-sim (in build/, or in $KAP_BUILD_DIR) and runs the
# drive panel headless against the simulated controller with its random faults on, for
# MINUTES (default 10). Further arguments go to kap-soak:
#   scripts/soak.sh [MINUTES] [--chaos PERCENT] [--seed N] [--time-scale S] [--motion MS]
# It passes when nothing crashed or hung, every fault left the tool usable (a further command
# worked), the drive panel's invariants I1-I5 held throughout and the resident size stayed
# flat (judged on runs of 2 minutes or more). The exit
# status is kap-soak's: 1 a criterion failed, 2 usage, 3 a hang.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-10}
case "$minutes" in
  ''|*[!0-9.]*|.|*.*.*) echo "usage: scripts/soak.sh [MINUTES] [kap-soak options]" >&2; exit 2 ;;
esac
[ $# -gt 0 ] && shift

dir=${KAP_BUILD_DIR:-build}
"$PWD/scripts/install-deps.sh" >&2
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$dir" --target kap-soak kap-sim >&2

export QT_QPA_PLATFORM=offscreen
exec "$dir/bin/kap-soak" "$minutes" "$@"
