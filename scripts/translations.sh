#!/usr/bin/env bash
# Keeps the translations in src/i18n in step with the texts in the code.
#
#   scripts/translations.sh           rewrites src/i18n/*.ts from the C++ and QML sources:
#                                     new texts arrive unfinished, texts gone from the code
#                                     leave; then translate the new ones (Qt Linguist, or
#                                     edit the XML) and build.
#   scripts/translations.sh --check   changes nothing; fails when a text of the code is
#                                     missing from the .ts files, a German text is
#                                     unfinished, or an English plural form is missing.
#
# velto_de.ts translates every text; velto_en.ts only gives the English plural forms
# ("%n session(s)" → "1 session", "2 sessions"); its other entries stay empty.
# `cmake --build <dir> --target update_translations` runs the same lupdate.
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=${LUPDATE:-$(command -v lupdate6 || true)}
[ -n "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate
i18n=src/i18n
languages=(de en)

update() { # <directory holding the .ts files>
  local files=()
  for language in "${languages[@]}"; do files+=("$1/velto_$language.ts"); done
  "$lupdate" -silent -locations none -no-obsolete src -ts "${files[@]}"
}

# The source texts of the messages whose translation is unfinished; with "numerus",
# only those with plural forms.
unfinished() { # <file.ts> [numerus]
  awk -v only="${2:-}" '
    /<message/      { numerus = ($0 ~ /numerus="yes"/); source = "" }
    /<source>/      { source = $0; sub(/.*<source>/, "", source); sub(/<\/source>.*/, "", source) }
    /<translation/ && /type="unfinished"/ && (only == "" || numerus) { print "    " source }
  ' "$1"
}

if [ "${1:-}" != "--check" ]; then
  update "$i18n"
  for language in "${languages[@]}"; do
    echo "velto_$language.ts: $(grep -c '<message' "$i18n/velto_$language.ts") texts"
  done
  echo "Still to translate in German:"; unfinished "$i18n/velto_de.ts"
  echo "English plural forms still to give:"; unfinished "$i18n/velto_en.ts" numerus
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for language in "${languages[@]}"; do cp "$i18n/velto_$language.ts" "$work/"; done
update "$work"

failed=0
for language in "${languages[@]}"; do
  if ! diff -u "$i18n/velto_$language.ts" "$work/velto_$language.ts" >"$work/$language.diff"; then
    echo "translations: velto_$language.ts does not hold the texts of the code (+ new, - gone):"
    grep -E '^[-+] *<source>' "$work/$language.diff" || head -40 "$work/$language.diff"
    failed=1
  fi
done
missing_de=$(unfinished "$work/velto_de.ts")
if [ -n "$missing_de" ]; then
  echo "translations: German texts unfinished:"; echo "$missing_de"; failed=1
fi
missing_en=$(unfinished "$work/velto_en.ts" numerus)
if [ -n "$missing_en" ]; then
  echo "translations: English plural forms missing:"; echo "$missing_en"; failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "translations: run scripts/translations.sh, translate what is new, and commit src/i18n/*.ts"
  exit 1
fi
echo "translations: $(grep -c '<message' "$i18n/velto_de.ts") texts, all translated"
