#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, configures a Release build in
# build-package/ (prefix /usr) with Debian's hardening flags, builds only the packaged programs
# and their documents, runs cpack -G DEB and checks the result with scripts/check-package.sh.
#   scripts/package.sh [--dir DIR] [--no-check]
# --dir builds in DIR instead (the reproducibility check's second build); --no-check skips the
# check. SOURCE_DATE_EPOCH defaults to the time of the last commit, so two builds of one commit
# give the same bytes.
# As in scripts/build.sh, everything the tools say goes to stderr; the one line on stdout is
# the package file:  deb=$(scripts/package.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
exec 3>&1 1>&2

dir=build-package
check=1
while [ $# -gt 0 ]; do
  case "$1" in
    --dir) dir=$2; shift 2 ;;
    --no-check) check=0; shift ;;
    *) echo "usage: scripts/package.sh [--dir DIR] [--no-check]"; exit 2 ;;
  esac
done
out=$dir/deb

"$PWD/scripts/install-deps.sh" dpkg-dev file binutils desktop-file-utils appstream help2man lintian

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH

# Debian's flags: stack protector, _FORTIFY_SOURCE, full RELRO with -z now, PIE, and the
# source folder mapped to "." so no build path is left in the programs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The build folder is mapped to one name too: its path is in the debug information, which
# strip drops, but not before the linker has hashed it into the GNU build ID.
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cxxflags+=" -ffile-prefix-map=$PWD/$dir=build"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# CMAKE_SKIP_INSTALL_ALL_DEPENDENCY: cpack installs without building "all" (tests, benchmarks).
nice cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_STRIP="$PWD/packaging/strip-like-debian.sh" \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null

targets=(kap kap-cli kap-sim kap_changelog kap_man_pages)
# The translations have a target of their own; build it too, should kap stop depending on it.
if ninja -C "$dir" -t query kap_translations >/dev/null 2>&1; then
  targets+=(kap_translations)
fi
# rcc stamps the resources with SOURCE_DATE_EPOCH but runs again only when a resource file
# changes: after a new commit its output from the last package build would keep the old date.
stamp="$dir/source-date-epoch"
if [ "$(cat "$stamp" 2>/dev/null)" != "$SOURCE_DATE_EPOCH" ]; then
  find "$dir" -path '*/.rcc/qrc_*.cpp' -delete
fi
flock /tmp/kap-build.lock nice cmake --build "$dir" --target "${targets[@]}"
echo "$SOURCE_DATE_EPOCH" >"$stamp"

rm -rf "$out"
nice cpack -G DEB --config "$dir/CPackConfig.cmake" -B "$PWD/$out"

debs=("$out"/kap_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "cpack made no single kap_*.deb in $out" >&2
  exit 1
fi
if [ "$check" = 1 ]; then
  "$PWD/scripts/check-package.sh" "${debs[0]}"
fi
realpath "${debs[0]}" >&3
