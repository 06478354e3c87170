# Sourced by the script checkers: takes ZORBEL and SCRIPT from the checker's
# arguments, moves into a scratch folder removed at exit, and gives `fail`
# (named after the checker) and `pixels` (png_pixels.py).
zorbel=$1
script=$2
here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export PYTHONPATH="$here"
checker=$(basename "${BASH_SOURCE[1]}" .sh)
fail() { echo "$checker: $*" >&2; exit 1; }
pixels() { python3 "$here/png_pixels.py" "$@"; }
