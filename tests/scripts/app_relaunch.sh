#!/usr/bin/env bash
# Across launches: a normal end keeps the painting and the settings for the
# next launch; a killed run loses its own changes and leaves the files of the
# last normal end whole.
# Usage: app_relaunch.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home=$work/home
cd "$work"

fail() { echo "app_relaunch: $*" >&2; exit 1; }

# 1. A session that ends normally.
"$zorbel" --headless --home "$home" --script "$script" 2>log1.txt || { cat log1.txt >&2; fail "first run failed"; }
mv shot.png first.png
docs=$home/Documents
for f in zorbel.png zorbelorgimage.png tempundo.png; do
  [ -s "$docs/$f" ] || fail "termination did not write $f"
done
settings=$home/config/defaults.json
[ -s "$settings" ] || fail "termination did not write the settings"
python3 - "$settings" <<'PY' || fail "settings file is not as expected"
import json, sys
d = json.load(open(sys.argv[1]))
assert len(d) == 56, f"{len(d)} keys written"
assert "BrushSize" not in d
assert d["BrushIndex"] == 5 and d["ColorBrushIndex"] == 1 and d["ToolID"] == 1
assert d["ShakeCheck"] is True and d["SmartFlag"] is False
assert abs(d["Red4"] - 0.333333313) < 1e-9
PY
cp "$settings" settings-after-first.json
cp "$docs/zorbel.png" painting-after-first.png

# 2. The next launch shows the same picture.
cat > second.zscript <<'Z'
wait 3
screenshot shot.png
quit
Z
"$zorbel" --headless --home "$home" --script second.zscript 2>log2.txt || { cat log2.txt >&2; fail "second run failed"; }
cmp -s first.png shot.png || fail "the painting was not restored"

# 3. A run that is killed keeps nothing of its own.
cat > killed.zscript <<'Z'
wait 1
drag 20 400 300 60 20
wait 0.5
shake
wait 0.2
press Yes
wait 2
kill
Z
"$zorbel" --headless --home "$home" --script killed.zscript 2>log3.txt || { cat log3.txt >&2; fail "killed run failed"; }
cmp -s "$settings" settings-after-first.json || fail "a killed run changed the settings"
cmp -s "$docs/zorbel.png" painting-after-first.png || fail "a killed run changed the painting"
ls -A "$docs" | grep -q '^\.' && fail "a killed run left a temporary file"

"$zorbel" --headless --home "$home" --script second.zscript 2>log4.txt || { cat log4.txt >&2; fail "fourth run failed"; }
cmp -s first.png shot.png || fail "the painting after a killed run is not the last one saved"
# 4. A run whose standard error is a pipe nobody reads any more (its log
#    lines fail) still saves at its end.
rm -rf "$home"
python3 - "$zorbel" "$home" second.zscript <<'PY' || fail "a run with a closed standard error did not end normally"
import os, subprocess, sys
r, w = os.pipe()
os.close(r)
status = subprocess.run([sys.argv[1], "--headless", "--home", sys.argv[2], "--script", sys.argv[3]],
                        stderr=w, stdout=subprocess.DEVNULL).returncode
sys.exit(0 if status == 0 else 1)
PY
for f in zorbel.png zorbelorgimage.png tempundo.png; do
  [ -s "$docs/$f" ] || fail "with a closed standard error, termination did not write $f"
done
echo "app_relaunch: ok"
