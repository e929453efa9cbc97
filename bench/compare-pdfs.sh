#!/usr/bin/env bash
# Compares two folders of PDFs of the same names, as a reader sees them: the same
# page count, the same text (pdftotext -layout) and the same pixels (pdftoppm at
# 100 dpi, once with anti-aliasing and once without; ImageMagick counts the pixels
# that differ). Prints one line per file that differs and a summary; exits 1 when
# any text or page count differs, or any pixel without anti-aliasing.
#     bench/compare-pdfs.sh BEFORE_FOLDER AFTER_FOLDER
set -uo pipefail
before=$1
after=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=0 textDiffs=0 pixelDiffs=0 aaDiffs=0 aaPixels=0
while IFS= read -r -d '' path; do
  name=${path#"$before"/}
  files=$((files + 1))
  other="$after/$name"
  if [ ! -f "$other" ]; then echo "missing: $name"; textDiffs=$((textDiffs + 1)); continue; fi
  if ! cmp -s <(pdftotext -layout "$path" -) <(pdftotext -layout "$other" -); then
    echo "text differs: $name"; textDiffs=$((textDiffs + 1))
  fi
  for mode in plain aa; do
    flags=(-r 100 -gray)
    [ "$mode" = plain ] && flags+=(-aa no -aaVector no)
    rm -f "$work"/a-* "$work"/b-*
    pdftoppm "${flags[@]}" "$path" "$work/a"
    pdftoppm "${flags[@]}" "$other" "$work/b"
    if [ "$(ls "$work"/a-* | wc -l)" != "$(ls "$work"/b-* | wc -l)" ]; then
      echo "page count differs: $name"; textDiffs=$((textDiffs + 1)); break
    fi
    for page in "$work"/a-*; do
      count=$(compare -metric AE "$page" "$work/b-${page#"$work"/a-}" null: 2>&1 | cut -d' ' -f1)
      if [ "$count" != 0 ]; then
        if [ "$mode" = plain ]; then
          echo "pixels differ ($count): $name ${page##*-}"; pixelDiffs=$((pixelDiffs + 1))
        else
          aaDiffs=$((aaDiffs + 1)); aaPixels=$((aaPixels + count))
        fi
      fi
    done
  done
done < <(find "$before" -name '*.pdf' -print0 | sort -z)
echo "$files files: $textDiffs with other text or pages, $pixelDiffs pages with other pixels;" \
     "anti-aliased: $aaDiffs pages with $aaPixels pixels of other shade"
[ "$textDiffs" = 0 ] && [ "$pixelDiffs" = 0 ]
