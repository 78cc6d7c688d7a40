#!/usr/bin/env bash
# Writes the Debian changelog of the package, from CHANGELOG.md, to stdout, or compressed
# (gzip -9n: no name or time inside) to OUT.gz:
#   packaging/changelog-from-markdown.sh CHANGELOG.md PACKAGE "NAME <EMAIL>" [OUT.gz]
# Each "## VERSION (YYYY-MM-DD)" is an entry dated that day (so the output depends on the file
# alone); each "- " line a change, wrapped at 78 columns.
set -euo pipefail
[ $# -eq 3 ] || [ $# -eq 4 ] || { echo "usage: $0 CHANGELOG.md PACKAGE MAINTAINER [OUT.gz]" >&2; exit 2; }
file=$1 package=$2 maintainer=$3
if [ $# -eq 4 ]; then
  "$0" "$file" "$package" "$maintainer" | gzip -9n >"$4.tmp"
  mv "$4.tmp" "$4"
  exit 0
fi

version='' day=''
close_entry() {
  [ -n "$version" ] || return 0
  printf '\n -- %s  %s\n\n' "$maintainer" "$(LC_ALL=C date -u -R -d "$day 00:00:00")"
}
while IFS= read -r line; do
  if [[ "$line" =~ ^##\ ([^ ]+)\ \(([0-9]{4}-[0-9]{2}-[0-9]{2})\)$ ]]; then
    close_entry
    version=${BASH_REMATCH[1]} day=${BASH_REMATCH[2]}
    printf '%s (%s) stable; urgency=medium\n\n' "$package" "$version"
  elif [ -n "$version" ] && [[ "$line" == "- "* ]]; then
    fold -s -w 74 <<<"${line#- }" | sed -e 's/ *$//' -e '1s/^/  * /' -e '2,$s/^/    /'
  fi
done <"$file"
close_entry
