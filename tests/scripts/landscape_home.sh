# Sourced by the whole-app scripts that need a landscape document.
# make_landscape_home DIR: a home folder whose painting and original are a
# 480 x 320 picture (sky #99ccff over a green #66aa44 strip along the bottom
# edge, from y = 250) with document orientation 3.
make_landscape_home() {
  local home=$1
  mkdir -p "$home/Documents" "$home/config"
  cat > "$home/land.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="480" height="320">
<rect width="480" height="320" fill="#99ccff"/>
<rect x="0" y="250" width="480" height="70" fill="#66aa44"/>
</svg>
SVG
  rsvg-convert -o "$home/Documents/zorbel.png" "$home/land.svg"
  rm "$home/land.svg"
  cp "$home/Documents/zorbel.png" "$home/Documents/zorbelorgimage.png"
  echo '{"DocumentOrientation": 3}' > "$home/config/defaults.json"
}
