#!/usr/bin/env bash
# new, resave, info and dump on real files; failures exit non-zero.
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" new "$tmp/a.ETT" --sheets 2
"$cli" resave "$tmp/a.ETT" "$tmp/b.ETT"
"$cli" resave "$tmp/b.ETT" "$tmp/c.ETT"
cmp -s "$tmp/b.ETT" "$tmp/c.ETT" || fail "a re-saved project changed"

info=$("$cli" info "$tmp/b.ETT")
python3 - "$info" <<'PY' || fail "info"
import json, sys
o = json.loads(sys.argv[1])
assert o["version"] == 900, o["version"]
assert o["projectName"] == "Nieuw project"
assert len(o["sheets"]) == 2
s = o["sheets"][1]
assert s["name"] == "Nieuw" and s["recordCount"] == 6 and s["arrayLength"] == 1006, s
assert s["extent"] == [0, 0, 400000, 270000], s["extent"]
assert len(s["layers"]) == 16 and s["layers"][3]["name"] == "Laag 3"
assert "records" not in s
PY

dump=$("$cli" dump "$tmp/b.ETT" --sheet 2)
python3 - "$dump" <<'PY' || fail "dump"
import json, sys
o = json.loads(sys.argv[1])
assert "records" not in o["sheets"][0]
r = o["sheets"][1]["records"]
assert r[1] == [1, 9, 400000, 0], r[1]
assert o["sheets"][1]["textList"] == [] and o["sheets"][1]["pictureList"] == []
PY

head -c 100 "$tmp/b.ETT" > "$tmp/cut.ETT"
if "$cli" info "$tmp/cut.ETT" 2> "$tmp/err"; then fail "a cut file was read"; fi
grep -q "past its end" "$tmp/err" || fail "message: $(cat "$tmp/err")"
if "$cli" info "$tmp/none.ETT" 2>/dev/null; then fail "a missing file was read"; fi
echo "cli project commands: 1 passed, 0 failed"
