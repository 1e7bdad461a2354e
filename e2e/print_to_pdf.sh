#!/usr/bin/env bash
# Prints the clipboard from the real program's tools menu onto the PDF printer of a print server
# of our own, then checks the pages: how many, their text, and that every word lies within the
# margins (the long line was wrapped). Leaves a picture of the first page beside the build.
# ctest runs it from the Windows build under scripts/test, which has brought Wine up; alone:
#   bash e2e/print_to_pdf.sh build/win            (V5_SCREENSHOTS=1 also updates docs/screenshots/)
set -uo pipefail
build=$(cd "${1:-build/win}" && pwd)
cd "$(dirname "$0")/.."
. scripts/wine-env
. scripts/cups-env
if [ -z "${WINEPREFIX:-}" ]; then v5_wine_start || exit 1; fi
v5_cups_start || exit 1
V5_WINE=${V5_WINE:-wine}

fail() { echo "print_to_pdf: $*"; exit 1; }

V5_PRINT_OUT=$V5_CUPS_OUT "$V5_WINE" "$build/e2e_tests.exe" --gtest_filter='PrintJob.*' || fail "the scenario failed"

# The server turns the job into a PDF after the program is done with it.
pdf=
deadline=$((SECONDS + 120))
until [ -n "$pdf" ] && [ -z "$(lpstat -o 2>/dev/null)" ] && pdfinfo "$pdf" >/dev/null 2>&1; do
  [ $SECONDS -lt $deadline ] || fail "no finished PDF in $V5_CUPS_OUT"
  sleep 0.5
  pdf=$(ls "$V5_CUPS_OUT"/*.pdf 2>/dev/null | head -n1)
done

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 3 ] || fail "expected 3 pages, got $pages"
pdftotext -layout -f 1 -l 1 "$pdf" "$build/printed-page-1.txt"
pdftotext -layout -f 3 -l 3 "$pdf" "$build/printed-page-3.txt"
grep -q 'Vostrel 5 prints the clipboard\.' "$build/printed-page-1.txt" || fail "first line missing"
pdftotext -layout "$pdf" - | grep -q 'Numbered line 01' || fail "numbered lines missing"
grep -q 'Numbered line 60' "$build/printed-page-3.txt" || fail "the last line is not on page 3"
wrapped=$(grep -c 'word after word' "$build/printed-page-1.txt")
[ "$wrapped" -ge 6 ] || fail "the long line was not wrapped ($wrapped lines)"
# The unbroken word comes out whole, over many lines.
word="https://example.org/$(printf 'x%.0s' $(seq 3000))/end"
pdftotext "$pdf" - | tr -d '\n\f' | grep -qF "$word" || fail "the unbroken word is not printed whole"
broken=$(pdftotext "$pdf" - | grep -c '^x*$')
[ "$broken" -ge 20 ] || fail "the unbroken word was not broken over lines ($broken)"
# 20 mm margins left and right: no word may stand outside them (points; A4 is 595 wide).
pdftotext -bbox "$pdf" "$build/printed-words.html"
outside=$(awk -v w="$(pdfinfo "$pdf" | awk '/^Page size:/ {print $3}')" '
  /<word / { match($0, /xMin="[0-9.]+"/); x0 = substr($0, RSTART + 6, RLENGTH - 7) + 0
             match($0, /xMax="[0-9.]+"/); x1 = substr($0, RSTART + 6, RLENGTH - 7) + 0
             if (x0 < 56.69 - 1 || x1 > w - 56.69 + 1) n++ }
  END { print n + 0 }' "$build/printed-words.html")
[ "$outside" = 0 ] || fail "$outside words outside the margins"

pdftoppm -r 60 -f 1 -l 1 -png -singlefile "$pdf" "$build/printed-page" || fail "no picture of the page"
if [ -n "${V5_SCREENSHOTS:-}" ]; then cp "$build/printed-page.png" docs/screenshots/printed-page.png; fi
echo "print_to_pdf: $pages pages, $wrapped wrapped lines, a word broken over $broken more, every word within the margins"
