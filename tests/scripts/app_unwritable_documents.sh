#!/usr/bin/env bash
# When the painting cannot be written as the app ends, the run says so: exit
# status 3 and a log line, and what stood in the way is left as it was. The
# same script with a writable home ends with 0 (a buffer given up under
# memory pressure is not a failure).
# Usage: app_unwritable_documents.sh ZORBEL SCRIPT
set -uo pipefail
zorbel=$1
script=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"

fail() { echo "app_unwritable_documents: $*" >&2; exit 1; }

# 1. A writable home: everything is saved, status 0.
"$zorbel" --headless --home ok --script "$script" 2>log0.txt
status=$?
[ "$status" -eq 0 ] || { cat log0.txt >&2; fail "a writable home ended with status $status"; }
[ -s ok/Documents/zorbel.png ] || fail "the painting was not saved"

# 2. Documents is a file, so nothing can be written into it, not even by root.
mkdir -p file/
printf 'keep me' > file/Documents
"$zorbel" --headless --home file --script "$script" 2>log1.txt
status=$?
[ "$status" -eq 3 ] || { cat log1.txt >&2; fail "Documents as a file ended with status $status, not 3"; }
grep -q "Not saved at termination: the document pictures" log1.txt || fail "no log line says what was not saved"
[ "$(cat file/Documents)" = "keep me" ] || fail "the file in Documents' place was changed"
[ -s file/config/defaults.json ] || fail "the settings were not saved beside the failure"

# 3. A read-only Documents folder keeps the last painting (permissions do not bind root).
if [ "$(id -u)" -ne 0 ]; then
    mkdir -p ro/Documents
    cp ok/Documents/zorbel.png ro/Documents/zorbel.png
    chmod 555 ro/Documents
    "$zorbel" --headless --home ro --script "$script" 2>log2.txt
    status=$?
    [ "$status" -eq 3 ] || { cat log2.txt >&2; fail "a read-only Documents ended with status $status, not 3"; }
    cmp -s ok/Documents/zorbel.png ro/Documents/zorbel.png || fail "the earlier painting was changed"
fi
echo "app_unwritable_documents: ok"
