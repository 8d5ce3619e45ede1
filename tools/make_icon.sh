#!/usr/bin/env bash
# Draws the program icon, src/gui/resources/ondalyx.png (256x256): a boost gauge with its needle
# near the red line, over a boost curve that lags, overshoots a little and settles.
# Needs ImageMagick's convert.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/src/gui/resources/ondalyx.png"
convert_bin="${CONVERT:-/usr/bin/convert}"
[[ -x "$convert_bin" ]] || convert_bin="$(command -v convert)"

# Points along a circle arc, as "x,y x,y ...": centre cx cy, radius r, from angle a0 to a1 in
# degrees, clockwise on screen. (ImageMagick's own arc primitives also stroke the closing chord,
# so the arcs are drawn as polylines.)
arc() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v a0="$4" -v a1="$5" 'BEGIN {
        n = int((a1 - a0) / 3) + 1
        for (i = 0; i <= n; i++) {
            a = (a0 + (a1 - a0) * i / n) * 3.14159265358979 / 180
            printf "%.1f,%.1f ", cx + r * cos(a), cy + r * sin(a)
        }
    }'
}
point() { arc "$1" "$2" "$3" "$4" "$4" | cut -d' ' -f1; }

dial="$(arc 128 120 80 150 342)"
redline="$(arc 128 120 80 352 390)"
ticks=""
for a in 150 198 246 294 342; do
    ticks+="line $(point 128 120 58 "$a") $(point 128 120 66 "$a") "
done
needle="$(point 128 120 66 318)"

# The drawing, in ImageMagick's vector language.
drawing="
push graphic-context
  fill '#18222d' stroke '#0d141b' stroke-width 4
  roundrectangle 6,6 249,249 44,44
pop graphic-context
push graphic-context
  fill none stroke '#263544' stroke-width 2
  line 28,224 228,224
  line 28,198 228,198
  line 28,172 228,172
pop graphic-context
push graphic-context
  fill none stroke '#2fb7e0' stroke-width 8 stroke-linecap round stroke-linejoin round
  path 'M 28,222 C 70,222 84,220 100,206 C 116,192 126,172 148,166
        C 166,161 172,178 190,178 C 204,178 214,176 228,176'
pop graphic-context
push graphic-context
  fill none stroke '#e9eef2' stroke-width 10 stroke-linecap round stroke-linejoin round
  polyline $dial
pop graphic-context
push graphic-context
  fill none stroke '#e5483b' stroke-width 10 stroke-linecap round stroke-linejoin round
  polyline $redline
pop graphic-context
push graphic-context
  fill none stroke '#8a99a8' stroke-width 4 stroke-linecap round
  $ticks
pop graphic-context
push graphic-context
  fill none stroke '#ff9a1f' stroke-width 8 stroke-linecap round
  line 128,120 $needle
pop graphic-context
push graphic-context
  fill '#ff9a1f' stroke none
  circle 128,120 128,134
  fill '#18222d'
  circle 128,120 128,126
pop graphic-context
"

"$convert_bin" -size 256x256 xc:none -draw "$drawing" -strip "PNG32:$out"
echo "$out"
