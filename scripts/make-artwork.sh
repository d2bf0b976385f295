#!/usr/bin/env bash
# Draws the choice dialog's pictures and the program icon into resources/,
# and a PNG preview of the dialog background into docs/.
#
# Run by hand after changing the artwork; the outputs are committed, so the
# build does not need ImageMagick. Needs ImageMagick 6 (`convert`) and the
# DejaVu fonts of fonts-dejavu-core.
#
# Layout of the 500 x 422 background at 1x (pixels, top-left origin):
#   logo (mark + name)      x 49..189, y 48..97
#   heading line            from x 120, y 130..146
#   choice labels 301 x 42  x 146, row tops 175 (SK), 233 (CZ+SK), 292 (CZ)
#   grey frame              3 px inside the edges
#   pale blue band          lower right, y 406..416
# The choice_off_<variant>.bmp pictures repeat one label in light grey; the
# dialog lays them over the label to show that choice as unavailable, so they
# are drawn by the same code at the same offsets.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/resources
docs=$root/docs
fonts=/usr/share/fonts/truetype/dejavu
regular=$fonts/DejaVuSans.ttf
bold=$fonts/DejaVuSans-Bold.ttf
for f in "$regular" "$bold"; do
  if [ ! -f "$f" ]; then
    echo "make-artwork: $f is missing (apt-get install fonts-dejavu-core)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Colours.
ink='#1a1a1a'          # label text
ink_off='#c8c8c8'      # label text of an unavailable choice
brand='#1d5f74'        # mark ground and name
accent='#e3a72f'       # the mark's spark
heading='#1d5f74'
frame='#b4b4b4'
band='#d3e4f4'

# The mark: a rounded square with a white "B" and a small spark in its upper
# right corner. Drawn at 256 px and scaled down, so the 50 px logo and the
# 32 px icon come from one drawing.
convert -size 256x256 xc:none \
  -fill "$brand" -draw 'roundrectangle 8,8 247,247 48,48' \
  -fill white -font "$bold" -pointsize 190 -gravity center -annotate -14+10 'B' \
  -fill "$accent" -draw 'polygon 200,34 212,62 240,74 212,86 200,114 188,86 160,74 188,62' \
  "$work/mark.png"

# Every picture is drawn at 1x, 1.5x and 2x (96, 144 and 192 DPI), each from
# the drawing, never by resizing another: text stays sharp at every scale.
# A length is scaled and rounded half up, as the window rounds its layout;
# the labels' size comes from their scaled edges, so each greyed picture
# covers its label in the scaled background exactly.
scale_num=2  # the scale in halves: 2, 3 or 4
px() { echo $((($1 * scale_num + 1) / 2)); }
pt() { awk -v v="$1" -v n="$scale_num" 'BEGIN { printf "%g", v * n / 2 }'; }

# Label of one choice: first line large, second line (English) small, at
# fixed baselines so every label and its greyed copy line up. Labels are
# 301 x 42 at 1x.
label() {  # colour first second output
  convert -size "$(($(px 447) - $(px 146)))x$(($(px 217) - $(px 175)))" xc:white \
    -fill "$1" -font "$bold" -pointsize "$(pt 13)" -annotate "+$(px 2)+$(px 17)" "$2" \
    -fill "$1" -font "$regular" -pointsize "$(pt 11)" -annotate "+$(px 2)+$(px 35)" "$3" \
    -alpha off -type TrueColor "$4"
}

sk_1='Slovenská republika'
sk_2='Slovak republic'
czsk_1='Česká republika i Slovenská republika'
czsk_2='Czech republic and Slovak republic'
cz_1='Česká republika'
cz_2='Czech republic'

# The pictures at one scale; SUFFIX is "" at 1x, "_150" or "_200".
draw() {  # draw SCALE_IN_HALVES SUFFIX
  scale_num=$1
  local suffix=$2
  label "$ink" "$sk_1" "$sk_2" "$work/label_2.png"
  label "$ink" "$czsk_1" "$czsk_2" "$work/label_3.png"
  label "$ink" "$cz_1" "$cz_2" "$work/label_1.png"

  # Greyed copies; the file number is the choice's variant (1 CZ, 2 SK,
  # 3 CZ and SK).
  label "$ink_off" "$cz_1" "$cz_2" "BMP3:$out/choice_off_1$suffix.bmp"
  label "$ink_off" "$sk_1" "$sk_2" "BMP3:$out/choice_off_2$suffix.bmp"
  label "$ink_off" "$czsk_1" "$czsk_2" "BMP3:$out/choice_off_3$suffix.bmp"

  convert -size "$(px 500)x$(px 422)" xc:white \
    -fill none -stroke "$frame" -strokewidth "$(pt 1)" \
    -draw "rectangle $(px 3),$(px 3) $(px 496),$(px 418)" -stroke none \
    -fill "$band" -draw "rectangle $(px 300),$(px 406) $(px 493),$(px 416)" \
    \( "$work/mark.png" -resize "$(px 50)x$(px 50)" \) -geometry "+$(px 49)+$(px 48)" -composite \
    -fill "$brand" -font "$bold" -pointsize "$(pt 17)" -annotate "+$(px 104)+$(px 79)" 'Brantvell' \
    -fill "$heading" -font "$bold" -pointsize "$(pt 11)" \
    -annotate "+$(px 120)+$(px 142)" 'Instalace Brantvell / Inštalácia Brantvell / Setup Brantvell' \
    "$work/label_2.png" -geometry "+$(px 146)+$(px 175)" -composite \
    "$work/label_3.png" -geometry "+$(px 146)+$(px 233)" -composite \
    "$work/label_1.png" -geometry "+$(px 146)+$(px 292)" -composite \
    -alpha off -type TrueColor "BMP3:$out/background$suffix.bmp"
}

draw 2 ""
draw 3 _150
draw 4 _200

# The icon: the mark at 16, 32 and 48 px, and at 256 px, which the ICO
# format holds as PNG. Each size is scaled from the drawing; no date or
# time chunk goes into the PNG, so the file is the same on every run.
for size in 16 32 48 256; do
  convert "$work/mark.png" -resize "${size}x${size}" -strip "PNG32:$work/icon_$size.png"
done
convert "$work/icon_16.png" "$work/icon_32.png" "$work/icon_48.png" "$work/icon_256.png" \
  -define png:exclude-chunks=date,time +set date:create +set date:modify \
  "$out/brantvell.ico"

convert "$out/background.bmp" -define png:exclude-chunks=date,time +set date:create +set date:modify \
  "$docs/dialog-background.png"

echo "make-artwork: wrote background{,_150,_200}.bmp, choice_off_{1,2,3}{,_150,_200}.bmp," \
  "brantvell.ico, dialog-background.png"
