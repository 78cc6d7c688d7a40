#!/usr/bin/env bash
# Checks a built Debian package: its files against the table below, the programs' modes, the
# dependencies, the desktop entry and the AppStream data, and that nothing from the build
# (test programs, build-tree paths, run paths) got in, and lintian --pedantic: an error or a
# warning is a miss (info tags are fixed or overridden with a reason). With --reproducible it
# builds the package a second time (scripts/package.sh --dir build-package-repro, same
# SOURCE_DATE_EPOCH) and requires the same bytes. Prints every miss and exits 1 when there
# was one, 2 on bad arguments.  Usage: scripts/check-package.sh [--reproducible] FILE.deb
set -euo pipefail

# ---- What the package must hold: every regular file, nothing more. ----------------------
#   kind  path (in the installed system)
expected_files='
exec  /usr/bin/kap
exec  /usr/bin/kap-cli
exec  /usr/bin/kap-sim
file  /usr/share/applications/kap.desktop
file  /usr/share/mime/packages/kap.xml
file  /usr/share/icons/hicolor/scalable/apps/kap.svg
file  /usr/share/metainfo/io.github.kap_support.kap.metainfo.xml
file  /usr/share/kap/translations/kap_ja.qm
file  /usr/share/doc/kap/copyright
file  /usr/share/doc/kap/changelog.gz
file  /usr/share/lintian/overrides/kap
file  /usr/share/man/man1/kap.1.gz
file  /usr/share/man/man1/kap-cli.1.gz
file  /usr/share/man/man1/kap-sim.1.gz
'
# ---- Packages the Depends field must name (dpkg-shlibdeps and the explicit plugin). ------
expected_depends='libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6
                  qt6-qpa-plugins libqt6svg6'
expected_recommends='qt6-translations-l10n fonts-noto-cjk'
# ---- Programs of the build that must never be packaged (shell patterns on the name). ------
not_packaged='*_tests dialog_shots kap-bench kap-soak fuzz_*'
# ------------------------------------------------------------------------------------------

reproducible=0
if [ "${1:-}" = --reproducible ]; then
  reproducible=1
  shift
fi
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: scripts/check-package.sh [--reproducible] FILE.deb" >&2
  exit 2
fi
deb=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/..")

misses=0
section_misses=0
miss() { echo "MISSING/WRONG: $*" >&2; misses=$((misses + 1)); }
# "ok: TEXT" when the section since the last call found nothing.
ok() { [ "$misses" -eq "$section_misses" ] && echo "ok: $*"; section_misses=$misses; }

for tool in dpkg-deb desktop-file-validate lintian; do
  command -v "$tool" >/dev/null || { echo "$tool not found (scripts/install-deps.sh dpkg-dev desktop-file-utils lintian)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"

# -- File list. dpkg-deb -c: mode owner/group size date time ./path [-> target]
listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { p = $6; sub(/^\./, "", p); print p }' <<<"$listing" | sort)
wanted=$(awk 'NF == 2 { print $2 }' <<<"$expected_files" | sort)
while read -r path; do
  [ -n "$path" ] && miss "expected file not in the package: $path"
done < <(comm -13 <(echo "$actual") <(echo "$wanted"))
while read -r path; do
  [ -n "$path" ] && miss "file in the package that is not in the expected list: $path"
done < <(comm -23 <(echo "$actual") <(echo "$wanted"))
ok "file list ($(wc -l <<<"$actual") files)"

# -- Modes and owners: programs rwxr-xr-x and ELF, data rw-r--r--, everything root/root.
while read -r kind path; do
  [ -z "$kind" ] && continue
  line=$(awk -v p=".$path" '$6 == p' <<<"$listing")
  [ -z "$line" ] && continue  # reported above
  mode=${line%% *}
  owner=$(awk '{ print $2 }' <<<"$line")
  [ "$owner" = root/root ] || miss "$path is owned by $owner, not root/root"
  if [ "$kind" = exec ]; then
    [ "$mode" = -rwxr-xr-x ] || miss "$path has mode $mode, not -rwxr-xr-x"
    file -b "$work/root$path" | grep -q '^ELF' || miss "$path is not an ELF program"
  else
    [ "$mode" = -rw-r--r-- ] || miss "$path has mode $mode, not -rw-r--r--"
  fi
done <<<"$expected_files"
ok "modes and owners checked"

# -- Nothing from the build: no test or helper programs, no build-tree paths, no run paths.
for pattern in $not_packaged; do
  while read -r path; do
    # shellcheck disable=SC2254  # the patterns are meant to match
    case "${path##*/}" in $pattern) miss "build-only program packaged: $path" ;; esac
  done <<<"$actual"
done
if leaked=$(grep -rlF -e "$source_dir" "$work/root" 2>/dev/null); then
  miss "files naming the build tree ($source_dir): ${leaked//$work\/root/}"
fi
while read -r kind path; do
  if [ "$kind" != exec ] || [ ! -f "$work/root$path" ]; then continue; fi
  if readelf -d "$work/root$path" | grep -qE '\((RPATH|RUNPATH)\)'; then
    miss "$path keeps a run path: $(readelf -d "$work/root$path" | grep -E 'R(UN)?PATH')"
  fi
  if file -b "$work/root$path" | grep -q 'not stripped'; then
    miss "$path is not stripped"
  fi
done <<<"$expected_files"
ok "no test programs, build-tree paths or run paths; programs stripped"

# -- Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kap ] || miss "Package is '$(field Package)', not kap"
[ -n "$(field Version)" ] || miss "no Version"
[[ "$(basename "$deb")" == "kap_$(field Version)_$(field Architecture).deb" ]] ||
  miss "file name $(basename "$deb") is not kap_$(field Version)_$(field Architecture).deb"
depends=$(field Depends)
depends_names=" $(tr ',|' '\n' <<<"$depends" | awk '{ print $1 }' | tr '\n' ' ') "
for p in $expected_depends; do
  [[ "$depends_names" == *" $p "* ]] || miss "Depends does not name $p (Depends: $depends)"
done
recommends=$(field Recommends)
for p in $expected_recommends; do
  [[ " $(tr ',' ' ' <<<"$recommends") " == *" $p "* ]] || miss "Recommends does not name $p (Recommends: $recommends)"
done
for f in Maintainer Section Description; do
  [ -n "$(field $f)" ] || miss "the $f field is empty"
done
ok "control fields; Depends: $depends; Recommends: $recommends"

# -- Desktop entry: valid, starts a packaged program, names the packaged icon.
desktop=$work/root/usr/share/applications/kap.desktop
if [ -f "$desktop" ]; then
  if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
    miss "desktop-file-validate: ${out//$work\/root/}"
  fi
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$work/root/usr/bin/$exec_program" ] || miss "the desktop entry's Exec=$exec_program is no packaged program"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$work/root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    miss "the desktop entry's Icon=$icon has no packaged icon"
  ok "desktop entry (desktop-file-validate, Exec, Icon)"
fi

# -- AppStream data (infos and pedantic notes pass, warnings and errors do not).
if command -v appstreamcli >/dev/null; then
  for metainfo in "$work"/root/usr/share/metainfo/*.xml; do
    [ -f "$metainfo" ] || continue
    if ! out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
      miss "appstreamcli validate: ${out//$work\/root/}"
    fi
    ok "appstreamcli validate ${metainfo##*/}"
  done
else
  echo "note: appstreamcli not found, AppStream data not validated (package appstream)" >&2
fi

# -- lintian as a distribution would run it. Info tags are printed; errors and warnings fail.
lintian_out=$(lintian --pedantic --display-info --tag-display-limit 0 "$deb" 2>&1 || true)
[ -n "$lintian_out" ] && echo "$lintian_out" | sed 's/^/lintian: /'
if grep -qE '^[EW]: ' <<<"$lintian_out"; then
  miss "lintian reports errors or warnings (above)"
fi
ok "lintian --pedantic: no error or warning"

# -- Reproducible: a second build of the same sources gives the same bytes.
if [ "$reproducible" = 1 ]; then
  # The time the first build stamped on its files is its SOURCE_DATE_EPOCH.
  epoch=$(stat -c %Y "$work/root/usr/bin/kap")
  second=$(SOURCE_DATE_EPOCH=$epoch "$source_dir/scripts/package.sh" --dir build-package-repro --no-check)
  if ! cmp -s "$deb" "$second"; then
    dpkg-deb -x "$second" "$work/second"
    differing=$(diff -rq "$work/root" "$work/second" 2>&1 | sed "s|$work/||g" || true)
    miss "a second build differs from $(basename "$deb"): ${differing:-the file contents agree; the archive itself differs}"
  fi
  ok "reproducible: a second build in build-package-repro/ gives the same bytes"
fi

if [ "$misses" -gt 0 ]; then
  echo "$(basename "$deb"): $misses problem(s), see above" >&2
  exit 1
fi
echo "$(basename "$deb"): all checks passed"
