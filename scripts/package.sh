#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, configures a Release build in
# build-package/ (prefix /usr), builds only the packaged programs, runs cpack -G DEB and
# checks the result with scripts/check-package.sh.
# As in scripts/build.sh, everything the tools say goes to stderr; the one line on stdout is
# the package file:  deb=$(scripts/package.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
exec 3>&1 1>&2

dir=build-package
out=$dir/deb

"$PWD/scripts/install-deps.sh" dpkg-dev file binutils desktop-file-utils appstream

# CMAKE_SKIP_INSTALL_ALL_DEPENDENCY: cpack installs without building "all" (tests, benchmarks).
nice cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null

targets=(kap kap-cli kap-sim)
# The translations have a target of their own; build it too, should kap stop depending on it.
if ninja -C "$dir" -t query kap_translations >/dev/null 2>&1; then
  targets+=(kap_translations)
fi
flock /tmp/kap-build.lock nice cmake --build "$dir" --target "${targets[@]}"

rm -rf "$out"
nice cpack -G DEB --config "$dir/CPackConfig.cmake" -B "$PWD/$out"

debs=("$out"/kap_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "cpack made no single kap_*.deb in $out" >&2
  exit 1
fi
"$PWD/scripts/check-package.sh" "${debs[0]}"
realpath "${debs[0]}" >&3
