#!/usr/bin/env bash
# Lays every rendered picture out on one PNG page per group, each picture with
# its name under it, so the whole set can be reviewed at a glance.
#
#   tools/contact-sheet.sh BUILD_DIR [OUT_DIR]
#
# Groups follow the folders of resources/art/ (brushes, backgrounds,
# colorbrushes, overlays, icons, ui), plus "thumbnails" for the overlay
# thumbnails. Pictures are shown at their own size, scaled down only when they
# do not fit their cell, over a light checkerboard so that transparency shows.
# Pages go to OUT_DIR (default BUILD_DIR/contact-sheets) as contact-GROUP.png.
set -euo pipefail

build=${1:?usage: contact-sheet.sh BUILD_DIR [OUT_DIR]}
out=${2:-$build/contact-sheets}
here=$(cd "$(dirname "$0")/.." && pwd)
art=$here/resources/art
pngs=$build/resources
mkdir -p "$out"

# png_size FILE -> "W H", read from the IHDR chunk.
png_size() {
  local hex
  hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
  echo "$((16#${hex:0:8})) $((16#${hex:8:8}))"
}

# names_in GROUP: the PNG names a folder of art/ gives, in name order.
names_in() {
  local dir=$art/$1 svg base
  [[ -d $dir ]] || return 0
  for svg in "$dir"/*.svg; do
    [[ -e $svg ]] || continue
    base=$(basename "$svg" .svg)
    echo "$base.png"
  done
  # Extra sizes drawn from the sources, filed under this group.
  if [[ -f $art/renders.txt ]]; then
    grep -v '^[[:space:]]*#' "$art/renders.txt" | awk -v g="$1" 'NF == 5 && $5 == g {print $1}'
  fi
}

# page GROUP CELL_W CELL_H NAME...
page() {
  local group=$1 cw=$2 ch=$3
  shift 3
  local names=("$@") cols=$(( 1200 / cw )) n=${#names[@]}
  ((cols < 1)) && cols=1
  ((cols > n)) && cols=$n
  local rows=$(( (n + cols - 1) / cols ))
  local pw=$(( cols * cw + 20 )) ph=$(( rows * (ch + 22) + 60 ))
  local svg=$out/contact-$group.svg i=0 name file w h x y dw dh sx sy
  {
    printf '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="%d" height="%d">\n' "$pw" "$ph"
    printf '<defs><pattern id="checker" width="16" height="16" patternUnits="userSpaceOnUse">'
    printf '<rect width="16" height="16" fill="#ffffff"/><rect width="8" height="8" fill="#e4e6eb"/>'
    printf '<rect x="8" y="8" width="8" height="8" fill="#e4e6eb"/></pattern></defs>\n'
    printf '<rect width="%d" height="%d" fill="#f6f7f9"/>\n' "$pw" "$ph"
    printf '<text x="10" y="34" font-family="DejaVu Sans" font-size="22" font-weight="bold" fill="#333">%s (%d)</text>\n' "$group" "$n"
    for name in "${names[@]}"; do
      x=$(( 10 + (i % cols) * cw ))
      y=$(( 50 + (i / cols) * (ch + 22) ))
      printf '<rect x="%d" y="%d" width="%d" height="%d" fill="url(#checker)" stroke="#c9ccd3"/>\n' \
        $((x + 4)) $((y + 4)) $((cw - 8)) $((ch - 8))
      file=$pngs/$name
      if [[ -f $file ]]; then
        read -r w h < <(png_size "$file")
        dw=$w dh=$h
        # Scale down, never up, to fit the cell less its margin.
        if ((dw > cw - 16 || dh > ch - 16)); then
          if (( w * (ch - 16) > h * (cw - 16) )); then
            dw=$((cw - 16)); dh=$(( h * (cw - 16) / w ))
          else
            dh=$((ch - 16)); dw=$(( w * (ch - 16) / h ))
          fi
        fi
        ((dw < 1)) && dw=1
        ((dh < 1)) && dh=1
        sx=$(( x + (cw - dw) / 2 )); sy=$(( y + (ch - dh) / 2 ))
        printf '<image x="%d" y="%d" width="%d" height="%d" preserveAspectRatio="none" xlink:href="data:image/png;base64,' \
          "$sx" "$sy" "$dw" "$dh"
        base64 -w0 "$file"
        printf '"/>\n'
        printf '<text x="%d" y="%d" font-family="DejaVu Sans" font-size="9" fill="#333" text-anchor="middle">%s %dx%d</text>\n' \
          $((x + cw / 2)) $((y + ch + 12)) "$name" "$w" "$h"
      else
        printf '<text x="%d" y="%d" font-family="DejaVu Sans" font-size="11" fill="#c00" text-anchor="middle">MISSING %s</text>\n' \
          $((x + cw / 2)) $((y + ch / 2)) "$name"
      fi
      i=$((i + 1))
    done
    printf '</svg>\n'
  } > "$svg"
  rsvg-convert -f png -o "$out/contact-$group.png" "$svg"
  rm -f "$svg"
  echo "$out/contact-$group.png"
}

group_page() { # GROUP CELL_W CELL_H
  local group=$1
  local -a names
  mapfile -t names < <(names_in "$group")
  ((${#names[@]} > 0)) || return 0
  page "$group" "$2" "$3" "${names[@]}"
}

group_page brushes 150 90
group_page backgrounds 200 280
group_page colorbrushes 170 90
group_page overlays 230 200
group_page icons 150 80
group_page ui 160 120

mapfile -t thumbs < <(for svg in "$art"/overlays/*.svg; do
  [[ -e $svg ]] && echo "$(basename "$svg" .svg).thumb.png"
done)
if ((${#thumbs[@]} > 0)); then
  page thumbnails 220 80 "${thumbs[@]}"
fi
