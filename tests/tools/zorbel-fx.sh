#!/usr/bin/env bash
# zorbel-fx from the command line: every effect runs, pictures keep their orientation through
# the canvas's bottom-up buffer, the fitter prints its control points, and every refusal is one
# line on standard error with status 2 and no output file left behind.
# Usage: zorbel-fx.sh BUILD_DIR
set -u
fx="$1/tools/zorbel-fx"
if [ ! -x "$fx" ]; then
    echo "zorbel-fx is not built in $1"
    exit 1
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# svg NAME WIDTH HEIGHT BODY: renders a small test picture to $tmp/NAME.png.
svg() {
    printf '<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s">%s</svg>' \
        "$2" "$3" "$4" > "$tmp/$1.svg"
    rsvg-convert "$tmp/$1.svg" -o "$tmp/$1.png" || fail "rsvg-convert could not make $1.png"
}

is_png() {
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]
}

# refuses DESCRIPTION ARGS...: the run must fail with status 2 and one line on standard error,
# and leave the folder $out as it was: only kept.png, still holding "keep" (no output, no
# temporary file).
out="$tmp/out"
mkdir "$out"
refuses() {
    local what="$1"
    shift
    printf 'keep' > "$out/kept.png"
    "$fx" "$@" > "$tmp/stdout" 2> "$tmp/stderr" < /dev/null
    local status=$?
    [ "$status" -eq 2 ] || fail "$what: status $status, expected 2"
    [ "$(wc -l < "$tmp/stderr")" -eq 1 ] || fail "$what: stderr is not one line: $(cat "$tmp/stderr")"
    [ "$(ls -A "$out")" = "kept.png" ] || fail "$what: left files behind: $(ls -A "$out")"
    [ "$(cat "$out/kept.png")" = "keep" ] || fail "$what: replaced an existing output"
    rm -rf "${out:?}"/*
}

svg photo 40 30 '<rect width="40" height="30" fill="#3080c0"/><circle cx="14" cy="11" r="8" fill="#f0d020"/><rect x="22" y="16" width="14" height="10" fill="#c02040" fill-opacity="0.5"/>'
svg topred 40 30 '<rect width="40" height="15" fill="#ff0000"/><rect y="15" width="40" height="15" fill="#0000ff"/>'
svg rightred 40 30 '<rect width="20" height="30" fill="#0000ff"/><rect x="20" width="20" height="30" fill="#ff0000"/>'
svg red 40 30 '<rect width="40" height="30" fill="#ff0000"/>'
svg tiny 1 1 '<rect width="1" height="1" fill="#ff0000"/>'

# --help says it all.
"$fx" --help > "$tmp/help" || fail "--help exits with $?"
for word in bulge dent fisheye lighttunnel squeeze twirl --interpolate grayscale sepia mirror \
    --vertical brightness contrast fitcurve; do
    grep -q -- "$word" "$tmp/help" || fail "--help does not mention $word"
done

# Every effect writes a PNG.
run() {
    rm -f "$tmp/result.png"
    "$fx" "$@" 2> "$tmp/stderr" || fail "$* exits with $?: $(cat "$tmp/stderr")"
    is_png "$tmp/result.png" || fail "$*: no PNG written"
}
for effect in bulge dent fisheye lighttunnel squeeze grayscale sepia mirror; do
    run "$effect" "$tmp/photo.png" "$tmp/result.png"
done
run twirl 1.5 "$tmp/photo.png" "$tmp/result.png"
run twirl -2 --interpolate "$tmp/photo.png" "$tmp/result.png"
run mirror --vertical "$tmp/photo.png" "$tmp/result.png"
run brightness -255 "$tmp/photo.png" "$tmp/result.png"
run contrast 100 "$tmp/photo.png" "$tmp/result.png"

# Pictures go in and out upright: mirroring keeps the right half, and with --vertical the top
# half of the picture (the later rows of the bottom-up buffer); either way all red here.
"$fx" brightness 0 "$tmp/red.png" "$tmp/allred.png"
"$fx" mirror "$tmp/rightred.png" "$tmp/mirrored.png"
cmp -s "$tmp/mirrored.png" "$tmp/allred.png" || fail "mirror did not keep the right half"
"$fx" mirror --vertical "$tmp/topred.png" "$tmp/mirrored.png"
cmp -s "$tmp/mirrored.png" "$tmp/allred.png" || fail "mirror --vertical did not keep the top half"
# Identity settings give back the same pixels.
"$fx" contrast 0 "$tmp/photo.png" "$tmp/a.png"
"$fx" brightness 0 "$tmp/photo.png" "$tmp/b.png"
cmp -s "$tmp/a.png" "$tmp/b.png" || fail "contrast 0 and brightness 0 differ"

# The fitter: two points give the chord's thirds; a straight line gives one segment.
printf '0 0\n30 0\n' | "$fx" fitcurve 20 > "$tmp/curve" || fail "fitcurve exits with $?"
[ "$(cat "$tmp/curve")" = "$(printf '0 0\n10 0\n20 0\n30 0')" ] || fail "fitcurve two points: $(cat "$tmp/curve")"
printf '0 0\n\n3 4\n6 8\n 9   12 \n' | "$fx" fitcurve 20 > "$tmp/curve" || fail "fitcurve line exits with $?"
[ "$(wc -l < "$tmp/curve")" -eq 4 ] || fail "fitcurve straight line: $(cat "$tmp/curve")"
[ "$(head -1 "$tmp/curve")" = "0 0" ] && [ "$(tail -1 "$tmp/curve")" = "9 12" ] ||
    fail "fitcurve straight line ends: $(cat "$tmp/curve")"
printf '0.1 0.2\n1 1\n' | "$fx" fitcurve 20 | head -1 | grep -q '^0.10000000000000001 0.20000000000000001$' ||
    fail "fitcurve does not print 17 significant digits"

# Refusals.
refuses "no arguments"
refuses "unknown effect" blur "$tmp/photo.png" "$out/out.png"
refuses "missing output" bulge "$tmp/photo.png"
refuses "extra argument" sepia "$tmp/photo.png" "$out/out.png" "$tmp/other.png"
refuses "amount for an effect without one" bulge 3 "$tmp/photo.png" "$out/out.png"
refuses "twirl without amount" twirl "$tmp/photo.png" "$out/out.png"
refuses "twirl out of range" twirl 2.5 "$tmp/photo.png" "$out/out.png"
refuses "twirl not a number" twirl abc "$tmp/photo.png" "$out/out.png"
refuses "twirl nan" twirl nan "$tmp/photo.png" "$out/out.png"
refuses "brightness not an integer" brightness 1.5 "$tmp/photo.png" "$out/out.png"
refuses "brightness out of range" brightness 256 "$tmp/photo.png" "$out/out.png"
refuses "contrast out of range" contrast -101 "$tmp/photo.png" "$out/out.png"
refuses "option of another effect" mirror --interpolate "$tmp/photo.png" "$out/out.png"
refuses "missing input" grayscale "$tmp/nothing.png" "$out/out.png"
printf 'not a picture at all' > "$tmp/damaged.png"
refuses "damaged input" grayscale "$tmp/damaged.png" "$out/out.png"
head -c 200 "$tmp/photo.png" > "$tmp/truncated.png"
refuses "truncated input" sepia "$tmp/truncated.png" "$out/out.png"
refuses "picture below 2 x 2" bulge "$tmp/tiny.png" "$out/out.png"
refuses "output in a missing folder" bulge "$tmp/photo.png" "$out/no/such/folder/out.png"
refuses "output is a folder" bulge "$tmp/photo.png" "$out"
refuses "failure keeps an existing output" grayscale "$tmp/damaged.png" "$out/kept.png"
mkfifo "$tmp/fifo.png"
# A FIFO input once kept zorbel-fx waiting in open() for a writer.
status=0
timeout 20 "$fx" grayscale "$tmp/fifo.png" "$out/out.png" 2> "$tmp/stderr" < /dev/null || status=$?
[ "$status" -eq 2 ] || fail "FIFO input: status $status, expected 2"
grep -q "FIFO" "$tmp/stderr" || fail "FIFO input: the message does not say so: $(cat "$tmp/stderr")"
[ ! -e "$out/out.png" ] || fail "FIFO input: an output was written"
rm -rf "${out:?}"/*

# Only a regular file is ever replaced: a FIFO (or, as root, a device node) stays as it is.
"$fx" grayscale "$tmp/photo.png" "$tmp/fifo.png" 2> "$tmp/stderr" < /dev/null
[ $? -eq 2 ] || fail "FIFO output: not refused"
[ -p "$tmp/fifo.png" ] || fail "FIFO output: the FIFO was replaced"
if mknod "$tmp/null.png" c 1 3 2> /dev/null; then
    "$fx" grayscale "$tmp/photo.png" "$tmp/null.png" 2> "$tmp/stderr"
    [ $? -eq 2 ] || fail "device output: not refused"
    [ -c "$tmp/null.png" ] || fail "device output: the device node was replaced"
fi
[ -z "$(find "$tmp" -maxdepth 1 -name '.*.png.*')" ] || fail "a refused output left a temporary file"
# A link as output: the file it names gets the picture, the link stays.
mkdir "$tmp/real"
ln -s real/linked.png "$tmp/link.png"
"$fx" grayscale "$tmp/photo.png" "$tmp/link.png" 2> "$tmp/stderr" || fail "link output: $(cat "$tmp/stderr")"
[ -L "$tmp/link.png" ] || fail "link output: the link was replaced"
is_png "$tmp/real/linked.png" || fail "link output: no PNG in the file it names"

refuses_fit() {
    local what="$1" input="$2"
    shift 2
    printf "$input" | "$fx" fitcurve "$@" > "$tmp/stdout" 2> "$tmp/stderr"
    local status=$?
    [ "$status" -eq 2 ] || fail "$what: status $status, expected 2"
    [ "$(wc -l < "$tmp/stderr")" -eq 1 ] || fail "$what: stderr is not one line: $(cat "$tmp/stderr")"
    [ ! -s "$tmp/stdout" ] || fail "$what: printed control points anyway"
}
refuses_fit "fitcurve without tolerance" '0 0\n1 1\n'
refuses_fit "fitcurve negative tolerance" '0 0\n1 1\n' -1
refuses_fit "fitcurve bad line" '0 0\n1 x\n2 2\n' 20
refuses_fit "fitcurve three numbers" '0 0 0\n1 1\n' 20
refuses_fit "fitcurve one point" '5 5\n' 20
refuses_fit "fitcurve infinite" '0 0\ninf 1\n' 20
refuses_fit "fitcurve over 1000 points" "$(seq 0 1000 | sed 's/.*/& 1\\n/' | tr -d '\n')" 20

if [ "$failures" -ne 0 ]; then
    echo "$failures zorbel-fx check(s) failed"
    exit 1
fi
echo "all zorbel-fx checks passed"
