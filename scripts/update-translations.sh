#!/usr/bin/env bash
# Brings common/translations/korvadex_en.ts up to date with the sources:
# new Japanese texts join it unfinished, texts gone from the sources leave it.
# Translate the unfinished ones (Qt Linguist, or by hand in the file), then
# scripts/check-translations.sh passes again.
#
#   scripts/update-translations.sh [file.ts]
set -euo pipefail
cd "$(dirname "$0")/.."
ts="${1:-common/translations/korvadex_en.ts}"
lupdate="$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)"

# Every folder with a text the window or the companion shows an operator.
"$lupdate" -silent -locations none -no-obsolete -source-language ja_JP -target-language en_US \
  -extensions cpp,h app data report common cli -ts "$ts"
