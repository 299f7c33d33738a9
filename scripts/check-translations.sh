#!/usr/bin/env bash
# Fails when a text in the sources has no finished English translation:
# the catalogue is brought up to date in a scratch copy, and every message
# still unfinished there is named.
set -euo pipefail
cd "$(dirname "$0")/.."
ts=common/translations/korvadex_en.ts
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp "$ts" "$scratch/korvadex_en.ts"
bash scripts/update-translations.sh "$scratch/korvadex_en.ts"

missing="$(python3 - "$scratch/korvadex_en.ts" <<'PY'
import sys
import xml.etree.ElementTree as ET

def japanese(text):
    # Kana, kanji, and the full-width forms and punctuation ("：", "。").
    return any(0x3000 <= ord(c) <= 0x9FFF or 0xFF00 <= ord(c) <= 0xFFEF for c in text)

for context in ET.parse(sys.argv[1]).getroot().iter("context"):
    name = context.findtext("name")
    for message in context.iter("message"):
        translation = message.find("translation")
        source = message.findtext("source")
        text = "" if translation is None or translation.get("type") == "unfinished" else (translation.text or "")
        # A text with no Japanese in it ("CH") may stand as it is; any other
        # needs an English text with no Japanese left in it.
        if not text.strip() and japanese(source):
            print(f"{name}: {source!r}")
        elif japanese(text):
            print(f"{name}: {source!r} is translated as {text!r}")
PY
)"
if [ -n "$missing" ]; then
  echo "check-translations: these texts have no finished English translation:" >&2
  echo "$missing" >&2
  echo "check-translations: run scripts/update-translations.sh and translate them in $ts" >&2
  exit 1
fi
if ! cmp -s "$ts" "$scratch/korvadex_en.ts"; then
  echo "check-translations: $ts is not up to date with the sources (texts gone or moved):" >&2
  diff -u "$ts" "$scratch/korvadex_en.ts" >&2 || true
  echo "check-translations: run scripts/update-translations.sh and commit the result" >&2
  exit 1
fi
echo "check-translations: every text has its English translation"
