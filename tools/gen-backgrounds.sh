#!/usr/bin/env bash
# Writes the eleven background sheets (resources/art/backgrounds/*.svg): plain
# white, yellow and black sheets, yellow graph paper and index cards, each in
# portrait (320 x 480) and landscape (480 x 320). Every sheet is fully opaque.
# Run it again after changing a colour or a spacing here; the SVGs are sources.
set -euo pipefail
out="$(dirname "$0")/../resources/art/backgrounds"
mkdir -p "$out"

white="#ffffff"
yellow="#fff4b3"
black="#111111"
liteyellow="#fffbe0"
gridline="#b9dcd6"
gridmajor="#8ec9c0"
ruled="#9cc3e8"
margin="#ee6f7a"

# sheet NAME WIDTH HEIGHT BODY
sheet() {
  printf '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n%s</svg>\n' \
    "$2" "$3" "$2" "$3" "$4" > "$out/$1.svg"
}

plain() { # COLOUR W H
  printf '  <rect width="%d" height="%d" fill="%s"/>\n' "$2" "$3" "$1"
}

grid() { # W H: graph paper, a thin line every 16 pixels and a stronger one every 80
  local w=$1 h=$2 body x y
  body=$(plain "$liteyellow" "$w" "$h")
  body+=$'\n  <g shape-rendering="crispEdges">\n'
  for ((x = 16; x < w; x += 16)); do
    if ((x % 80 == 0)); then c=$gridmajor; else c=$gridline; fi
    body+="    <rect x=\"$x\" y=\"0\" width=\"1\" height=\"$h\" fill=\"$c\"/>"$'\n'
  done
  for ((y = 16; y < h; y += 16)); do
    if ((y % 80 == 0)); then c=$gridmajor; else c=$gridline; fi
    body+="    <rect x=\"0\" y=\"$y\" width=\"$w\" height=\"1\" fill=\"$c\"/>"$'\n'
  done
  body+=$'  </g>\n'
  printf '%s' "$body"
}

card() { # PAPER W H: an index card, a red heading line and blue rules below it
  local paper=$1 w=$2 h=$3 body y top=56
  body=$(plain "$paper" "$w" "$h")
  body+=$'\n  <g shape-rendering="crispEdges">\n'
  body+="    <rect x=\"0\" y=\"$top\" width=\"$w\" height=\"2\" fill=\"$margin\"/>"$'\n'
  for ((y = top + 26; y < h - 8; y += 26)); do
    body+="    <rect x=\"0\" y=\"$y\" width=\"$w\" height=\"1\" fill=\"$ruled\"/>"$'\n'
  done
  body+=$'  </g>\n'
  printf '%s' "$body"
}

sheet whitevert480 320 480 "$(plain $white 320 480)"$'\n'
sheet yellowvert480 320 480 "$(plain $yellow 320 480)"$'\n'
sheet blackvert480 320 480 "$(plain $black 320 480)"$'\n'
sheet liteyellowgridvert480 320 480 "$(grid 320 480)"
sheet whiteindexcardvert480 320 480 "$(card $white 320 480)"
sheet yellowindexcardvert480 320 480 "$(card $yellow 320 480)"
sheet whitehorz480 480 320 "$(plain $white 480 320)"$'\n'
sheet yellowhorz480 480 320 "$(plain $yellow 480 320)"$'\n'
sheet blackhorz480 480 320 "$(plain $black 480 320)"$'\n'
sheet liteyellowgridhorz480 480 320 "$(grid 480 320)"
sheet indexcardhorz480 480 320 "$(card $white 480 320)"
