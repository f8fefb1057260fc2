#!/usr/bin/env bash
# copy and paste of the clipboard's selection stream through files: the
# bytes of a copy, a paste into another project, and damaged streams.
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" new "$tmp/a.ETT"
"$cli" copy "$tmp/a.ETT" "$tmp/frame.bin" --window -1,-1,401,271 > "$tmp/copy.json"

# The new sheet's frame: five records of block 1, layer 1, pen 0 then 1,
# styleWord before blockWord.
python3 - "$tmp/frame.bin" <<'PY' || fail "copy bytes"
import struct, sys
data = open(sys.argv[1], "rb").read()
points = [(0, 0), (400000, 0), (400000, 270000), (0, 270000), (0, 0)]
want = struct.pack("<i", 5)
for i, (x, y) in enumerate(points):
    want += struct.pack("<HHii", 8 if i == 0 else 9, 1, x, y)
want += struct.pack("<i", 0)
assert data == want, data.hex()
PY

# A window that holds nothing: n = m = 0; pasting it changes nothing.
"$cli" copy "$tmp/a.ETT" "$tmp/empty.bin" --window 10,10,20,20 > /dev/null
hex=$(od -An -tx1 "$tmp/empty.bin" | tr -d ' \n')
[ "$hex" = "0000000000000000" ] || fail "empty copy: $hex"

"$cli" new "$tmp/b.ETT" --sheets 2
cp "$tmp/b.ETT" "$tmp/b0.ETT"
"$cli" paste "$tmp/b.ETT" "$tmp/frame.bin" -o "$tmp/c.ETT" --sheet 2 > /dev/null
cmp -s "$tmp/b.ETT" "$tmp/b0.ETT" || fail "paste with -o changed its input"
"$cli" paste "$tmp/c.ETT" "$tmp/frame.bin" --sheet 2 > /dev/null
python3 - "$("$cli" dump "$tmp/c.ETT" --sheet 2)" <<'PY' || fail "pasted records"
import json, sys
s = json.loads(sys.argv[1])["sheets"][1]
blocks = [r[0] for r in s["records"]]
assert blocks == [1] * 5 + [2] * 5 + [3] * 5, blocks
assert s["records"][6][2:] == [400000, 0], s["records"][6]
PY

cp "$tmp/c.ETT" "$tmp/c0.ETT"
"$cli" paste "$tmp/c.ETT" "$tmp/empty.bin" > /dev/null
python3 - "$("$cli" info "$tmp/c.ETT")" <<'PY' || fail "empty paste"
import json, sys
assert json.loads(sys.argv[1])["sheets"][0]["recordCount"] == 6
PY

# A stream cut short pastes nothing and says so.
head -c 30 "$tmp/frame.bin" > "$tmp/cut.bin"
cp "$tmp/c.ETT" "$tmp/c1.ETT"
if "$cli" paste "$tmp/c.ETT" "$tmp/cut.bin" 2> "$tmp/err"; then fail "a cut stream pasted"; fi
grep -q "Failed to get Clipboard data!" "$tmp/err" || fail "message: $(cat "$tmp/err")"
cmp -s "$tmp/c.ETT" "$tmp/c1.ETT" || fail "a failed paste changed the project"
if "$cli" copy "$tmp/a.ETT" "$tmp/x.bin" --window 1,2,3 2> /dev/null; then fail "a bad window"; fi
if "$cli" paste "$tmp/c.ETT" "$tmp/none.bin" 2> /dev/null; then fail "a missing stream"; fi
echo "cli clipboard: 1 passed, 0 failed"
