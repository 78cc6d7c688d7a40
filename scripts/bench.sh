#!/usr/bin/env bash
# Builds and runs the benchmarks; prints figures.
# Arguments go to kap-bench: --quick for shorter runs, and group names (link, exchange, drive,
# teach, cli, network) to run only those groups. The network group needs ser2net
# (scripts/install-deps.sh installs it) and says so when it is missing.
#
# QSerialPort takes a lock file in /var/lock (/run/lock) on every open and syncs it to disk.
# On a stock Debian /run is a tmpfs and that costs nothing; in containers where /run sits on
# disk each open and close pays a few milliseconds of fdatasync. When /run/lock is not a tmpfs
# and we are root, the figures are also taken in a private mount namespace with a tmpfs there,
# as on a stock system.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(scripts/build.sh)

fstype=$(stat -f -c %T /run/lock 2>/dev/null || echo unknown)
echo "== lock directory /run/lock is on: $fstype"
"$dir/bin/kap-bench" "$@"
if [ "$fstype" != "tmpfs" ] && [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
  echo "== again with /run/lock on a tmpfs (as on a stock Debian)"
  unshare -m sh -c "mount -t tmpfs tmpfs /run/lock && '$dir/bin/kap-bench' $*"
fi
