#!/usr/bin/env bash
# Refreshes translations/kap_ja.ts from the texts in src/ (lupdate): new texts come in
# unfinished, texts no longer used go. The command-line tool and the simulator speak English
# only, so src/cli is left out. Run after changing a user-visible text, then translate what is
# unfinished (Qt Linguist, or by hand) and commit the .ts.
set -euo pipefail
cd "$(dirname "$0")/.."
"$PWD/scripts/install-deps.sh"
lupdate=$(command -v lupdate6 || echo /usr/lib/qt6/bin/lupdate)
dirs=$(find src -mindepth 1 -maxdepth 1 -type d ! -name cli | sort)
# shellcheck disable=SC2086
"$lupdate" -silent -no-obsolete -locations none -source-language en -target-language ja $dirs \
  -ts translations/kap_ja.ts
grep -c 'type="unfinished"' translations/kap_ja.ts | sed 's/^/unfinished: /' || true
