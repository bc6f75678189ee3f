#!/usr/bin/env bash
# Draws every picture of Pelmora's main window from ImageMagick drawing primitives.
#
#   ./make-pictures.sh      # rewrites everything under pictures/
#
# The outputs are kept in the repository; the build only reads them, so run this
# script again (and commit the results) whenever a drawing below changes.
#
# Coordinates in the drawings are in the picture's own pixels, with whole numbers on
# pixel edges: "x.5" is the middle of a pixel, so a 1-pixel outline at 3.5 covers
# column 3. Each picture is drawn four times larger and then reduced, which gives
# smooth curves while straight outlines stay sharp.
#
# ImageMagick keeps a gradient fill active until the graphic context ends, so every
# shape filled with a gradient sits in its own push/pop graphic-context.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

OUT=pictures
mkdir -p "$OUT/buttons" "$OUT/small"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# ---------------------------------------------------------------------------
# Palette
# ---------------------------------------------------------------------------
INK='#27313d'          # outlines
PAPER='#ffffff'
PAPER_SHADE='#dde4ec'
LIST='#8797ab'         # text lines on paper
BLUE='#2a62c4'
BLUE_LIGHT='#7db3f3'
BLUE_DARK='#1b4690'
GREEN='#279a3f'
GREEN_LIGHT='#7fd987'
YELLOW='#f4b915'
YELLOW_LIGHT='#ffe98a'
ORANGE='#e08a12'
RED='#c92f25'
RED_LIGHT='#f5897b'
RED_DARK='#8f1f18'
SILVER='#d3d9e0'
SILVER_DARK='#8e99a6'

SCALE=4                          # drawing is done at this multiple of the final size
AFFINE="affine $SCALE,0,0,$SCALE,-0.375,-0.375"

# PNG files without time stamps, so that running the script twice gives the same bytes.
PNG_OPTS=(-strip -define "png:exclude-chunks=date,time")
JPG_OPTS=(-strip -sampling-factor 1x1 -quality 92)

# ---------------------------------------------------------------------------
# Helpers
# ---------------------------------------------------------------------------

# calc EXPR — a number worked out by awk (bash has integers only).
calc() { awk "BEGIN { printf \"%g\", $1 }"; }

# icon FILE SIZE MVG — a square transparent picture drawn from MVG (in final pixels).
icon() {
    local file=$1 size=$2 mvg=$3
    local big=$((size * SCALE))
    convert -size "${big}x${big}" xc:none -draw "$AFFINE
$mvg" -filter box -resize "${size}x${size}" "${PNG_OPTS[@]}" "PNG32:$file"
}

# picture FILE WIDTH HEIGHT MVG — a picture on white, drawn from MVG (in final pixels); a
# JPEG or a PNG by the name of FILE.
picture() {
    local file=$1 w=$2 h=$3 mvg=$4 opts=("${JPG_OPTS[@]}")
    [[ $file == *.png ]] && opts=("${PNG_OPTS[@]}")
    convert -size "$((w * SCALE))x$((h * SCALE))" xc:white -draw "$AFFINE
$mvg" -filter box -resize "${w}x${h}!" "${opts[@]}" "$file"
}

# linear ID DX DY COLOR1 COLOR2 — a gradient running DX,DY final pixels from the
# top-left corner of the shape that uses it. Past its end it starts over, so it must
# be at least as long as the shape.
linear() {
    printf "push defs\npush gradient '%s' linear 0,0 %s,%s\nstop-color '%s' 0\nstop-color '%s' 1\npop gradient\npop defs\n" \
        "$1" "$2" "$3" "$4" "$5"
}

# pt CX CY R DEG — the point on a circle at DEG degrees (0 = right, clockwise).
pt() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v d="$4" 'BEGIN {
        a = d * atan2(0, -1) / 180; printf "%.2f,%.2f", cx + r * cos(a), cy + r * sin(a) }'
}

# star CX CY OUTER INNER [POINTS] — polygon of a star, first point straight up.
star() {
    awk -v cx="$1" -v cy="$2" -v ro="$3" -v ri="$4" -v n="${5:-5}" 'BEGIN {
        pi = atan2(0, -1); out = "polygon"
        for (i = 0; i < 2 * n; i++) {
            r = (i % 2 == 0) ? ro : ri
            a = -pi / 2 + i * pi / n
            out = out sprintf(" %.2f,%.2f", cx + r * cos(a), cy + r * sin(a))
        }
        print out
    }'
}

# ring CX CY R_OUT R_IN — path of a ring (use with fill-rule evenodd).
ring() {
    awk -v cx="$1" -v cy="$2" -v ro="$3" -v ri="$4" 'BEGIN {
        printf "path \"M %g,%g a %g,%g 0 1,0 %g,0 a %g,%g 0 1,0 %g,0 Z ", cx - ro, cy, ro, ro, 2 * ro, ro, ro, -2 * ro
        printf "M %g,%g a %g,%g 0 1,0 %g,0 a %g,%g 0 1,0 %g,0 Z\"\n", cx - ri, cy, ri, ri, 2 * ri, ri, ri, -2 * ri
    }'
}

# wedge CX CY R1 R2 DEG1 DEG2 — a slice of a ring, between two radii and two angles.
wedge() {
    echo "polygon $(pt "$1" "$2" "$3" "$5") $(pt "$1" "$2" "$4" "$5") $(pt "$1" "$2" "$4" "$6") $(pt "$1" "$2" "$3" "$6")"
}

# sheet X0 Y0 X1 Y1 FOLD — a sheet of paper with its top-right corner folded.
sheet() {
    local x0=$1 y0=$2 x1=$3 y1=$4 f=$5
    local fx fy
    fx=$(calc "$x1 - $f")
    fy=$(calc "$y0 + $f")
    cat <<MVG
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round
fill '$PAPER'
polygon $x0,$y0 $fx,$y0 $x1,$fy $x1,$y1 $x0,$y1
fill '$PAPER_SHADE'
polygon $fx,$y0 $fx,$fy $x1,$fy
pop graphic-context
MVG
}

# disc_small CX CY R — a silver disc with a hole and a few coloured reflections,
# simple enough to stay readable on a button.
disc_small() {
    local cx=$1 cy=$2 r=$3
    local hub hole
    hub=$(calc "$r * 0.42")
    hole=$(calc "$r * 0.17")
    cat <<MVG
push graphic-context
fill-rule evenodd stroke none
fill '#dde3ea'
$(ring "$cx" "$cy" "$r" "$hole")
fill '#a9dcf5'
$(wedge "$cx" "$cy" "$hub" "$r" 150 195)
fill '#ffffff'
$(wedge "$cx" "$cy" "$hub" "$r" 200 238)
fill '#f3bfe2'
$(wedge "$cx" "$cy" "$hub" "$r" 280 315)
fill '#fbe89a'
$(wedge "$cx" "$cy" "$hub" "$r" 315 350)
fill '#f5f7fa' stroke '$SILVER_DARK' stroke-width 0.8
$(ring "$cx" "$cy" "$hub" "$hole")
fill none stroke '$INK' stroke-width 1
circle $cx,$cy $(calc "$cx + $r"),$cy
circle $cx,$cy $(calc "$cx + $hole"),$cy
pop graphic-context
MVG
}

# badge ID COLOR_LIGHT COLOR RIM — a round coloured badge filling a 32 x 32 button.
badge() {
    cat <<MVG
$(linear "$1" 0 28 "$2" "$3")
push graphic-context
fill 'url(#$1)' stroke '$4' stroke-width 1
circle 16,16 29.5,16
pop graphic-context
push graphic-context
fill none stroke '#ffffff' stroke-opacity 0.45 stroke-width 1.2 stroke-linecap round
path 'M 6.5,13.5 A 10,10 0 0,1 13.5,6.5'
pop graphic-context
MVG
}

# ---------------------------------------------------------------------------
# Main window: the computer at the top of the preview
# The about window's product picture: the name over a lavender band, with a disc.
draw_about() {
    local font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
    [ -f "$font" ] || font=DejaVu-Sans-Bold
    convert -size 400x160 gradient:'#ccccff'-'#ffffff' \
        -fill '#ffffff' -stroke "$INK" -strokewidth 2 -draw "circle 320,80 320,18" \
        -fill '#e6e9f5' -stroke '#9aa3c0' -strokewidth 1 -draw "circle 320,80 320,34" \
        -fill '#ffffff' -stroke "$INK" -strokewidth 2 -draw "circle 320,80 320,66" \
        -fill none -stroke '#f08a8a' -strokewidth 3 -draw "arc 262,22 378,138 200,250" \
        -stroke '#8ad08a' -draw "arc 270,30 370,130 205,245" \
        -stroke '#8ab0f0' -draw "arc 278,38 362,122 210,240" \
        -stroke none -fill "$INK" -font "$font" -pointsize 44 -annotate +24+92 'Pelmora' \
        -fill '#5a6378' -pointsize 13 -annotate +27+122 'menu startowe płyt CD i DVD' \
        "${JPG_OPTS[@]}" "$OUT/about.jpg"
}

# A person's head and shoulders: the author's profile page.
draw_small_profil() {
    convert -size 64x64 xc:none -fill "$BLUE" -stroke "$INK" -strokewidth 3 \
        -draw "circle 32,22 32,8" -draw "ellipse 32,62 24,20 180,360" \
        -resize 16x16 "${PNG_OPTS[@]}" "$OUT/small/profil.png"
}

# A gold coin: the donation page.
draw_small_wsparcie() {
    convert -size 64x64 xc:none -fill "$YELLOW" -stroke "$INK" -strokewidth 4 \
        -draw "circle 32,32 32,6" -fill none -stroke "$ORANGE" -strokewidth 4 -draw "circle 32,32 32,16" \
        -resize 16x16 "${PNG_OPTS[@]}" "$OUT/small/wsparcie.png"
}

# The tips window's background: a lavender card with rounded corners and a light bulb.
draw_porady() {
    local font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
    [ -f "$font" ] || font=DejaVu-Sans-Bold
    convert -size 538x270 xc:'#ccccff' \
        -fill '#f4f4ff' -stroke "$INK" -strokewidth 2 -draw "roundrectangle 1,1 535,268 10,10" \
        -fill '#ffffff' -stroke '#9aa3c0' -strokewidth 1 -draw "roundrectangle 108,90 396,192 8,8" \
        -fill "$YELLOW" -stroke "$INK" -strokewidth 2 -draw "circle 58,92 58,58" \
        -fill '#9aa3c0' -draw "rectangle 44,124 72,146" \
        -stroke "$ORANGE" -strokewidth 3 -draw "line 58,46 58,34" -draw "line 22,92 10,92" -draw "line 94,92 106,92" \
        -draw "line 32,66 24,58" -draw "line 84,66 92,58" \
        -stroke none -fill "$INK" -font "$font" -pointsize 30 -annotate +120+60 'Porady' \
        -fill '#5a6378' -pointsize 12 -annotate +122+80 'Pelmora podpowiada:' \
        "${JPG_OPTS[@]}" "$OUT/porady.jpg"
}

# Buttons of the tips window: the next tip and the maker's web site.
draw_btn_dalej() {
    convert -size 128x128 xc:none -fill "$GREEN" -stroke "$INK" -strokewidth 8 \
        -draw "polygon 20,44 72,44 72,16 116,64 72,112 72,84 20,84" \
        -resize 32x32 "${PNG_OPTS[@]}" "$OUT/buttons/dalej.png"
}

draw_btn_witryna() {
    convert -size 128x128 xc:none -fill "$BLUE_LIGHT" -stroke "$INK" -strokewidth 7 -draw "circle 64,64 64,10" \
        -fill none -stroke "$BLUE_DARK" -strokewidth 5 -draw "ellipse 64,64 24,54 0,360" \
        -draw "line 10,64 118,64" -draw "line 20,36 108,36" -draw "line 20,92 108,92" \
        -resize 32x32 "${PNG_OPTS[@]}" "$OUT/buttons/witryna.png"
}

draw_small_zamknij() {
    convert -size 64x64 xc:none -fill "$RED" -stroke "$INK" -strokewidth 4 -draw "roundrectangle 4,4 60,60 10,10" \
        -stroke '#ffffff' -strokewidth 8 -draw "line 20,20 44,44" -draw "line 44,20 20,44" \
        -resize 16x16 "${PNG_OPTS[@]}" "$OUT/small/zamknij.png"
}

# ---------------------------------------------------------------------------

draw_mycomputer() {
    local w=155 h=132
    picture "$OUT/mycomputer.png" "$w" "$h" "
$(linear title 0 8 '#f6f8fb' '#e4e9f0')
push graphic-context
fill 'url(#title)' stroke none
rectangle 0,0 $w,7
pop graphic-context
push graphic-context
stroke none
fill '#d5dce5'
rectangle 0,7 $w,8
fill '#dde2e9'
rectangle 0,0 $w,1
fill '#ccd4de'
rectangle 136,2.5 140,5
rectangle 142,2.5 146,5
rectangle 148,2.5 152,5
pop graphic-context

push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round fill '#aeb7c2'
polygon 42.5,55.5 53.5,55.5 55.5,61.5 40.5,61.5
pop graphic-context

$(linear caseg 0 18 '#f4f5f7' '#c2c9d2')
push graphic-context
stroke '$INK' stroke-width 1 fill 'url(#caseg)'
roundrectangle 20.5,60.5 75.5,77.5 2,2
pop graphic-context

$(linear bezel 0 44 '#f6f7f9' '#c4cbd4')
push graphic-context
stroke '$INK' stroke-width 1 fill 'url(#bezel)'
roundrectangle 24.5,12.5 71.5,55.5 3,3
pop graphic-context

$(linear screen 34 34 '#94c9f6' '#1f57b8')
push graphic-context
stroke '#33465c' stroke-width 1 fill 'url(#screen)'
rectangle 28.5,16.5 67.5,49.5
pop graphic-context

push graphic-context
stroke none
fill '#ffffff' fill-opacity 0.25
polygon 29,17 50,17 34,49 29,49
fill-opacity 0.14
polygon 54,17 58,17 42,49 38,49
fill-opacity 1
fill '$GREEN'
circle 66,52.5 67,52.5
fill '#4a5563'
rectangle 25,64 47,66
rectangle 25,69 47,71
fill '#f0f2f5'
rectangle 25,66 47,67
rectangle 25,71 47,72
fill '$GREEN'
circle 61,69.5 62,69.5
fill '#e3e7ec' stroke '#5b6674' stroke-width 0.8
circle 68.5,69.5 71,69.5
pop graphic-context"
}

# ---------------------------------------------------------------------------
# Main window: the drive with a disc
# ---------------------------------------------------------------------------

draw_drive() {
    local w=80 h=81
    local cx=38 cy=29 r=24 hub=8 hole=3      # the disc, in final pixels
    local d=$((2 * r * SCALE)) c=$((r * SCALE))

    # The face of the disc: soft colours running round a silver base, bent into a
    # circle, then a few bright reflections and the clear ring around the hole.
    convert xc:'#d3d9e0' xc:'#bfe2f5' xc:'#e4cdf0' xc:'#f7dcc0' xc:'#e0f0c6' xc:'#d3d9e0' \
            xc:'#f2f5f8' xc:'#c9d0d8' xc:'#bde4f2' xc:'#efcbe0' xc:'#f6e9bf' xc:'#d3d9e0' \
            +append -filter triangle -resize 720x1! -scale "720x${c}!" \
            -virtual-pixel HorizontalTile +distort Polar "$c" +repage \
            -gravity center -crop "${d}x${d}+0+0" +repage "$WORK/disc.png"
    convert "$WORK/disc.png" -draw "
stroke none fill white fill-opacity 0.55
$(wedge $c $c $((hub * SCALE)) $d 200 226)
$(wedge $c $c $((hub * SCALE)) $d 20 46)
fill-opacity 0.3
$(wedge $c $c $((hub * SCALE)) $d 300 310)
fill-opacity 0.85 fill '#eef1f4'
circle $c,$c $((c + hub * SCALE)),$c
" \( -size "${d}x${d}" xc:black -fill white -draw "circle $c,$c $((c + c)),$c" \
         -fill black -draw "circle $c,$c $((c + hole * SCALE)),$c" \) \
        -alpha off -compose copy_opacity -composite "PNG32:$WORK/disc-face.png"

    # The drive: top, right side and front, with the tray slot, a light and a button.
    local box
    box=$(cat <<MVG
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round
fill '#eef1f4'
polygon 5.5,50.5 68.5,50.5 75.5,43.5 12.5,43.5
fill '#9ba5b1'
polygon 68.5,50.5 75.5,43.5 75.5,65.5 68.5,72.5
pop graphic-context
$(linear front 0 23 '#e6eaee' '#a7b0bb')
push graphic-context
stroke '$INK' stroke-width 1 fill 'url(#front)'
rectangle 5.5,50.5 68.5,72.5
pop graphic-context
push graphic-context
stroke none
fill '#3b4450'
rectangle 10,55 58,58
fill '#7b8694'
rectangle 10,58 58,59.5
fill '$GREEN'
rectangle 10,64 13,66
fill '#c8ced6' stroke '#5b6674' stroke-width 0.8
rectangle 57.5,63.5 64.5,66.5
pop graphic-context
MVG
)
    # The disc stands in front of the drive, coming out of its tray.
    convert -size "$((w * SCALE))x$((h * SCALE))" xc:white -draw "$AFFINE
$box" "$WORK/disc-face.png" -geometry "+$(((cx - r) * SCALE))+$(((cy - r) * SCALE))" -composite \
        -draw "$AFFINE
push graphic-context
fill none stroke '$SILVER_DARK' stroke-width 0.8
circle $cx,$cy $((cx + hub)),$cy
stroke '$INK' stroke-width 1
circle $cx,$cy $((cx + r)),$cy
circle $cx,$cy $((cx + hole)),$cy
pop graphic-context" \
        -filter box -resize "${w}x${h}!" "${PNG_OPTS[@]}" "$OUT/drive.png"
}

# ---------------------------------------------------------------------------
# Tool-bar buttons, 32 x 32
# ---------------------------------------------------------------------------

# New or open: a sheet with a small list on it.
draw_btn_nowe() {
    icon "$OUT/buttons/nowe.png" 32 "
$(sheet 6.5 2.5 25.5 29.5 6)
push graphic-context
stroke none fill '$BLUE'
rectangle 9,11 11,13
rectangle 9,15 11,17
rectangle 9,19 11,21
rectangle 9,23 11,25
fill '$LIST'
rectangle 13,11.5 23,12.5
rectangle 13,15.5 21,16.5
rectangle 13,19.5 23,20.5
rectangle 13,23.5 19,24.5
pop graphic-context"
}

# Start-up program: a disc with a green play sign.
draw_btn_autorun() {
    icon "$OUT/buttons/autorun.png" 32 "
$(disc_small 14 14 12.5)
$(linear play 0 17 "$GREEN_LIGHT" "$GREEN")
push graphic-context
fill 'url(#play)' stroke '$INK' stroke-width 1 stroke-linejoin round
polygon 16.5,14.5 30.5,22.5 16.5,30.5
pop graphic-context"
}

# Create: a sheet with a yellow star.
draw_btn_utworz() {
    icon "$OUT/buttons/utworz.png" 32 "
$(sheet 4.5 6.5 22.5 29.5 5)
push graphic-context
stroke none fill '$LIST'
rectangle 8,14.5 16,15.5
rectangle 8,18.5 19,19.5
rectangle 8,22.5 15,23.5
pop graphic-context
$(linear starg 0 19 "$YELLOW_LIGHT" "$YELLOW")
push graphic-context
fill 'url(#starg)' stroke '$INK' stroke-width 1 stroke-linejoin round
$(star 22.5 10 9.5 4)
pop graphic-context"
}

# Save: a diskette with a green arrow going into it.
draw_btn_zapisz() {
    icon "$OUT/buttons/zapisz.png" 32 "
$(linear body 0 22 "$BLUE_LIGHT" "$BLUE")
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round fill 'url(#body)'
polygon 2.5,8.5 21.5,8.5 25.5,12.5 25.5,29.5 2.5,29.5
pop graphic-context
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round
fill '$SILVER'
rectangle 7.5,8.5 19.5,15.5
fill '$PAPER'
rectangle 6.5,19.5 21.5,29.5
stroke none fill '#56606c'
rectangle 10,10 13,14
fill '$LIST'
rectangle 9,22.5 19,23.5
rectangle 9,25.5 17,26.5
pop graphic-context
$(linear arrow 0 18 "$GREEN_LIGHT" "$GREEN")
push graphic-context
fill 'url(#arrow)' stroke '$INK' stroke-width 1 stroke-linejoin round
polygon 21.5,1.5 27.5,1.5 27.5,10.5 31.5,10.5 24.5,18.5 17.5,10.5 21.5,10.5
pop graphic-context"
}

# Tips: a lit yellow bulb.
draw_btn_porady() {
    icon "$OUT/buttons/porady.png" 32 "
push graphic-context
stroke '$ORANGE' stroke-width 1.4 stroke-linecap round
line 3.5,4.5 5.5,6
line 28.5,4.5 26.5,6
line 1.8,13 4.2,13
line 30.2,13 27.8,13
pop graphic-context
$(linear glass 0 20 "$YELLOW_LIGHT" "$YELLOW")
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round fill 'url(#glass)'
path 'M 11.5,21.5 C 11.5,17.5 6.5,16 6.5,11.5 A 9.5,9.5 0 1,1 25.5,11.5 C 25.5,16 20.5,17.5 20.5,21.5 Z'
pop graphic-context
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round
fill '$SILVER'
rectangle 11.5,21.5 20.5,26.5
fill '#56606c'
polygon 13.5,26.5 18.5,26.5 17.5,29.5 14.5,29.5
stroke '$SILVER_DARK' stroke-width 0.9
line 12,23.5 20,23.5
line 12,25 20,25
fill none stroke '$ORANGE' stroke-width 1 stroke-linecap round
polyline 13.5,21 13.5,14.5 14.8,12.8 16,14.5 17.2,12.8 18.5,14.5 18.5,21
stroke none fill '#ffffff' fill-opacity 0.8
ellipse 11,9.5 1.6,2.8 0,360
pop graphic-context"
}

# Help: a blue badge with a question mark.
draw_btn_pomoc() {
    icon "$OUT/buttons/pomoc.png" 32 "
$(badge help "$BLUE_LIGHT" "$BLUE" "$BLUE_DARK")
push graphic-context
fill none stroke '#ffffff' stroke-width 3.3 stroke-linecap round stroke-linejoin round
path 'M 11.5,12.5 C 11.5,6.8 20.5,6.8 20.5,12 C 20.5,15.8 16,15.6 16,19.5'
pop graphic-context
push graphic-context
fill '#ffffff' stroke none
circle 16,24.2 18.1,24.2
pop graphic-context"
}

# About: a blue badge with an i.
draw_btn_informacje() {
    icon "$OUT/buttons/informacje.png" 32 "
$(badge info "$BLUE_LIGHT" "$BLUE" "$BLUE_DARK")
push graphic-context
fill '#ffffff' stroke none
circle 16.2,8.8 18.4,8.8
polygon 12.5,12.5 18,12.5 18,22 19.5,22 19.5,25 12.5,25 12.5,22 14,22 14,15.5 12.5,15.5
pop graphic-context"
}

# Close: a red badge with an X.
draw_btn_zamknij() {
    icon "$OUT/buttons/zamknij.png" 32 "
$(badge close "$RED_LIGHT" "$RED" "$RED_DARK")
push graphic-context
fill none stroke '#ffffff' stroke-width 3.4 stroke-linecap round
line 11,11 21,21
line 21,11 11,21
pop graphic-context"
}

# ---------------------------------------------------------------------------
# Small pictures: drop-down arrow and menu entries
# ---------------------------------------------------------------------------

# The arrow of the drop-down button, set pixel by pixel: rows of 7, 5, 3 and 1.
draw_arrow_down() {
    convert -size 7x4 xc:none +antialias -fill black \
        -draw "rectangle 0,0 6,0 rectangle 1,1 5,1 rectangle 2,2 4,2 point 3,3" \
        "${PNG_OPTS[@]}" "PNG32:$OUT/small/arrow-down.png"
}

# Menu entry "new": a sheet with a folded corner.
draw_small_nowe() {
    icon "$OUT/small/nowe.png" 16 "
$(sheet 2.5 0.5 13.5 15.5 4)
push graphic-context
stroke none fill '$LIST'
rectangle 5,7 11,8
rectangle 5,9 11,10
rectangle 5,11 9,12
pop graphic-context"
}

# Menu entry "open": an open yellow folder.
draw_small_otworz() {
    icon "$OUT/small/otworz.png" 16 "
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round
fill '#e3a526'
polygon 0.5,2.5 5.5,2.5 6.5,3.5 13.5,3.5 13.5,13.5 0.5,13.5
fill '$PAPER'
polygon 3.5,5.5 11.5,5.5 11.5,9.5 3.5,9.5
pop graphic-context
$(linear front 0 7 "$YELLOW_LIGHT" "$YELLOW")
push graphic-context
stroke '$INK' stroke-width 1 stroke-linejoin round fill 'url(#front)'
polygon 0.5,13.5 3.5,7.5 15.5,7.5 13.5,13.5
pop graphic-context"
}

# Menu entry "recent": a clock.
draw_small_ostatnie() {
    icon "$OUT/small/ostatnie.png" 16 "
$(linear face 0 15 '#ffffff' '#dce8f6')
push graphic-context
fill 'url(#face)' stroke '$INK' stroke-width 1
circle 7.5,8.5 14.5,8.5
pop graphic-context
push graphic-context
stroke none fill '$BLUE'
rectangle 7,2.5 8,3.5
rectangle 7,13.5 8,14.5
rectangle 1.5,8 2.5,9
rectangle 12.5,8 13.5,9
fill '$INK'
rectangle 7,4 8,9
rectangle 7,8 11,9
fill '$RED'
rectangle 7,8 8,9
pop graphic-context"
}

# ---------------------------------------------------------------------------
# The program's own icon for the desktop: a disc with a green play sign on a blue tile,
# drawn once in 256 units as SVG (the scalable icon) and once as MVG for the PNG sizes.
# ---------------------------------------------------------------------------

APP_ICON_SIZES=(16 32 48 64 128 256)

draw_app_icon() {
    local dir=../assets/linux/icons
    mkdir -p "$dir"
    cat > "$dir/pelmora.svg" <<SVG
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="$BLUE_LIGHT"/>
      <stop offset="1" stop-color="$BLUE"/>
    </linearGradient>
    <linearGradient id="play" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="$GREEN_LIGHT"/>
      <stop offset="1" stop-color="$GREEN"/>
    </linearGradient>
  </defs>
  <rect x="12" y="12" width="232" height="232" rx="40" fill="url(#tile)" stroke="$BLUE_DARK" stroke-width="8"/>
  <circle cx="112" cy="112" r="80" fill="#dde3ea" stroke="$INK" stroke-width="8"/>
  <path d="M 112,112 L 42,77 A 78,78 0 0,1 77,42 Z" fill="#ffffff"/>
  <path d="M 112,112 L 182,147 A 78,78 0 0,1 147,182 Z" fill="#f3bfe2"/>
  <circle cx="112" cy="112" r="32" fill="#f5f7fa" stroke="$SILVER_DARK" stroke-width="4"/>
  <circle cx="112" cy="112" r="12" fill="$BLUE" stroke="$INK" stroke-width="6"/>
  <polygon points="140,132 228,184 140,236" fill="url(#play)" stroke="$INK" stroke-width="8" stroke-linejoin="round"/>
</svg>
SVG
    local mvg
    mvg=$(cat <<MVG
affine 4,0,0,4,0,0
$(linear tile 0 232 "$BLUE_LIGHT" "$BLUE")
push graphic-context
fill 'url(#tile)' stroke '$BLUE_DARK' stroke-width 8
roundrectangle 12,12 244,244 40,40
pop graphic-context
push graphic-context
fill '#dde3ea' stroke '$INK' stroke-width 8
circle 112,112 192,112
stroke none fill '#ffffff'
path 'M 112,112 L 42,77 A 78,78 0 0,1 77,42 Z'
fill '#f3bfe2'
path 'M 112,112 L 182,147 A 78,78 0 0,1 147,182 Z'
fill '#f5f7fa' stroke '$SILVER_DARK' stroke-width 4
circle 112,112 144,112
fill '$BLUE' stroke '$INK' stroke-width 6
circle 112,112 124,112
pop graphic-context
$(linear play 0 104 "$GREEN_LIGHT" "$GREEN")
push graphic-context
fill 'url(#play)' stroke '$INK' stroke-width 8 stroke-linejoin round
polygon 140,132 228,184 140,236
pop graphic-context
MVG
)
    convert -size 1024x1024 xc:none -draw "$mvg" "PNG32:$WORK/app-icon.png"
    local size
    for size in "${APP_ICON_SIZES[@]}"; do
        convert "$WORK/app-icon.png" -filter box -resize "${size}x${size}" "${PNG_OPTS[@]}" \
            "PNG32:$dir/pelmora-$size.png"
    done
}

# ---------------------------------------------------------------------------

draw_mycomputer
draw_drive
draw_btn_nowe
draw_btn_autorun
draw_btn_utworz
draw_btn_zapisz
draw_btn_porady
draw_btn_pomoc
draw_btn_informacje
draw_btn_zamknij
draw_arrow_down
draw_small_nowe
draw_small_otworz
draw_small_ostatnie
draw_about
draw_small_profil
draw_small_wsparcie
draw_porady
draw_btn_dalej
draw_btn_witryna
draw_small_zamknij
draw_app_icon

# The main window's own pictures are also kept as their pixels (PAM), which the program takes
# without decoding: it starts sooner. The PNGs stay the files to look at; a test checks that
# both hold the same pixels.
for name in mycomputer drive buttons/nowe buttons/autorun buttons/utworz buttons/zapisz \
            buttons/porady buttons/pomoc buttons/informacje buttons/zamknij small/arrow-down; do
    convert "$OUT/$name.png" -depth 8 "PAM:$OUT/$name.pam"
done

echo "Pictures written to $OUT/"
