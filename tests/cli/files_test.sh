#!/usr/bin/env bash
# Saving and reading files through ridizav-cli: modes, links, long and
# non-UTF-8 names, size limits, inputs that are no regular file, messages.
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
# The names in a folder: a failed write leaves no temporary file.
count() { find "$1" -mindepth 1 -maxdepth 1 | wc -l; }

"$cli" new "$tmp/a.ETT" --sheets 2

# A private project stays private; a new file follows the umask.
cp "$tmp/a.ETT" "$tmp/private.ETT"
chmod 600 "$tmp/private.ETT"
"$cli" resave "$tmp/a.ETT" "$tmp/private.ETT"
[ "$(stat -c %a "$tmp/private.ETT")" = 600 ] || fail "a save changed the mode"
(umask 027 && "$cli" new "$tmp/umask.ETT")
[ "$(stat -c %a "$tmp/umask.ETT")" = 640 ] || fail "a new file ignored the umask"

# A save through a symbolic link updates the file it names; the link stays.
mkdir "$tmp/real"
"$cli" new "$tmp/real/p.ETT" --sheets 0
ln -s real/p.ETT "$tmp/link.ETT"
"$cli" resave "$tmp/a.ETT" "$tmp/link.ETT"
"$cli" resave "$tmp/a.ETT" "$tmp/b.ETT"
[ -L "$tmp/link.ETT" ] || fail "the link was replaced"
cmp -s "$tmp/b.ETT" "$tmp/real/p.ETT" || fail "the linked file was not updated"

# Names as long as the system allows.
long=$(printf 'n%.0s' $(seq 250)).ETT
"$cli" new "$tmp/$long" || fail "a 254-byte name could not be saved"

# A name that is not UTF-8 keeps its bytes, in and out.
"$cli" resave "$tmp/a.ETT" "$tmp/$(printf 'bad\xff').ETT"
[ -f "$tmp/$(printf 'bad\xff').ETT" ] || fail "the name with byte 0xFF changed"
"$cli" info "$tmp/$(printf 'bad\xff').ETT" > /dev/null || fail "the name with byte 0xFF was not found"
"$cli" render "$tmp/$(printf 'bad\xff').ETT" "$tmp/$(printf 'pic\xff').png" --width 20 --height 20
[ -f "$tmp/$(printf 'pic\xff').png" ] || fail "the picture name with byte 0xFF changed"

# Under a file-size limit a save fails with its reason; the old file and
# the folder stay as they were.
mkdir "$tmp/limit"
"$cli" new "$tmp/limit/p.ETT" --sheets 0
cp "$tmp/limit/p.ETT" "$tmp/old.ETT"
if (ulimit -f 8 && "$cli" resave "$tmp/a.ETT" "$tmp/limit/p.ETT" 2> "$tmp/err"); then
    fail "a save beyond the size limit succeeded"
fi
grep -q "File too large" "$tmp/err" || fail "size limit: $(cat "$tmp/err")"
cmp -s "$tmp/old.ETT" "$tmp/limit/p.ETT" || fail "a failed save changed the old file"
[ "$(count "$tmp/limit")" = 1 ] || fail "a failed save left a temporary file"

# The same for pictures: a failed render leaves the old picture.
for kind in png svg; do
    "$cli" render "$tmp/a.ETT" "$tmp/limit/p.$kind" --width 8 --height 8
    cp "$tmp/limit/p.$kind" "$tmp/old.$kind"
    if (ulimit -f 1 && "$cli" render "$tmp/a.ETT" "$tmp/limit/p.$kind" --width 2000 --height 2000 \
        2> "$tmp/err"); then
        fail "a $kind beyond the size limit succeeded"
    fi
    grep -q "File too large" "$tmp/err" || fail "render $kind: $(cat "$tmp/err")"
    cmp -s "$tmp/old.$kind" "$tmp/limit/p.$kind" || fail "a failed render changed the old $kind"
done
[ "$(count "$tmp/limit")" = 3 ] || fail "a failed render left a temporary file"
if "$cli" render "$tmp/a.ETT" "$tmp/none/p.png" 2> "$tmp/err"; then fail "render into nothing"; fi
grep -q "No such file or directory" "$tmp/err" || fail "render: $(cat "$tmp/err")"

# Inputs that are no regular file are refused with the reason, at once.
mkfifo "$tmp/pipe"
# (command, file, reason)
while IFS='|' read -r command file reason; do
    set +e
    timeout 20 "$cli" $command "$file" 2> "$tmp/err" > /dev/null
    code=$?
    set -e
    [ $code = 1 ] || fail "$command $file exited $code"
    grep -qF "Cannot open $file: $reason." "$tmp/err" || fail "$command $file: $(cat "$tmp/err")"
done <<LIST
info|/dev/zero|Not a regular file
info|$tmp/pipe|Not a regular file
info|$tmp/real|Is a directory
info|$tmp/weg.ETT|No such file or directory
import-old $tmp/imp.ETT|/dev/zero|Not a regular file
import-old $tmp/imp.ETT|$tmp/pipe|Not a regular file
import-old $tmp/imp.ETT|$tmp/weg.sch|No such file or directory
LIST
if "$cli" render "$tmp/weg.ETT" "$tmp/weg.png" 2> "$tmp/err"; then fail "render weg.ETT"; fi
grep -qF "Cannot open $tmp/weg.ETT: No such file or directory." "$tmp/err" \
    || fail "render: $(cat "$tmp/err")"
[ ! -e "$tmp/imp.ETT" ] || fail "an import that could not read its drawings saved"

# A library file that cannot be converted says why.
mkdir -p "$tmp/dos" "$tmp/sym/K.SYM"
printf '\x00\x08\x64\x00\x00\x00' > "$tmp/dos/K.BNK"
if "$cli" convert-lib "$tmp/dos" "$tmp/sym" > /dev/null 2> "$tmp/err"; then fail "convert-lib"; fi
grep -q "Cannot convert $tmp/dos/K.BNK: .*Is a directory" "$tmp/err" || fail "convert-lib: $(cat "$tmp/err")"

# The oldest layout has no version number: its first word is the working time.
python3 - "$tmp/oldest.ETT" <<'PY'
import struct, sys
text = b"".join(bytes([len(t)]) + t for t in [b"Groep", b"Naam", b"Beheer", b"Notities"])
open(sys.argv[1], "wb").write(struct.pack("<i", 5000) + text + struct.pack("<i", 0))
PY
python3 - "$("$cli" info "$tmp/oldest.ETT")" <<'PY' || fail "info on the oldest layout"
import json, sys
o = json.loads(sys.argv[1])
assert o["version"] is None and o["workingTime"] == 5000, o
PY

# Without a runtime folder a run leaves nothing behind and says nothing.
mkdir "$tmp/t"
env -u XDG_RUNTIME_DIR TMPDIR="$tmp/t" "$cli" info "$tmp/a.ETT" > /dev/null 2> "$tmp/err"
[ "$(count "$tmp/t")" = 0 ] || fail "a run left $(ls "$tmp/t")"
[ ! -s "$tmp/err" ] || fail "a run without a runtime folder said: $(cat "$tmp/err")"
