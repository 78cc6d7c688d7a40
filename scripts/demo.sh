#!/usr/bin/env bash
# Builds the tool and starts it connected to the built-in controller simulator.
#   scripts/demo.sh                 point-input controller
#   scripts/demo.sh --family pulse  pulse-train controller (any kap-sim option works)
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the tool and the simulator: the first build is minutes, not the whole suite's.
dir=$(scripts/build.sh kap kap-sim)

link="${XDG_RUNTIME_DIR:-/tmp}/kap-sim-$$"
"$dir/bin/kap-sim" --link "$link" "$@" > "$link.out" 2> "$link.log" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -f "$link.out"' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || { echo "the simulator did not start (see $link.log)"; exit 1; }

echo "Controller simulator on $link (log: $link.log)"
# Whatever port TALOR.ini names, it reaches the simulator.
for n in 1 2 3 4 5 6 7 8; do export "KAP_COM$n=$link"; done
"$dir/bin/kap"
