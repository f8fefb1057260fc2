#!/usr/bin/env bash
# A DXF written by ezdxf imported through the command-line tool into a new sheet.
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

/usr/bin/python3 - "$tmp/in.dxf" <<'PY'
import sys, ezdxf
doc = ezdxf.new("R2000")
msp = doc.modelspace()
msp.add_line((0, 0), (100, 0))
msp.add_circle((50, 50), 20)
msp.add_lwpolyline([(0, 0), (10, 0), (10, 10)], close=True)
msp.add_text("Kast", dxfattribs={"height": 5}).set_placement((20, 20))
doc.saveas(sys.argv[1])
PY

"$cli" new "$tmp/p.ETT"
"$cli" import-dxf "$tmp/p.ETT" "$tmp/in.dxf" --symbols "$tmp/sym" -o "$tmp/out.ETT"
info=$("$cli" info "$tmp/out.ETT")
python3 - "$info" <<'PY' || fail "info"
import json, sys
o = json.loads(sys.argv[1])
assert len(o["sheets"]) == 2, len(o["sheets"])
s = o["sheets"][1]
assert s["name"] == "DXF-Import:2", s["name"]
assert s["recordCount"] > 40, s["recordCount"]
assert o["activeSheet"] == 1
PY
if "$cli" import-dxf "$tmp/p.ETT" "$tmp/none.dxf" 2> "$tmp/err"; then fail "a missing file was imported"; fi
grep -q "Import is niet voltooid!" "$tmp/err" || fail "message: $(cat "$tmp/err")"
grep -q "Cannot open $tmp/none.dxf: No such file or directory." "$tmp/err" || fail "reason: $(cat "$tmp/err")"

# What is no DXF file is refused and nothing is written; a device or a pipe
# is not read at all.
: > "$tmp/empty.dxf"
printf 'Beste Jan,\ntot morgen.\n' > "$tmp/letter.dxf"
mkdir "$tmp/folder.dxf"
mkfifo "$tmp/pipe.dxf"
for f in "$tmp/empty.dxf" "$tmp/letter.dxf" "$tmp/folder.dxf" /dev/zero "$tmp/pipe.dxf"; do
    rc=0
    timeout 20 "$cli" import-dxf "$tmp/p.ETT" "$f" -o "$tmp/refused.ETT" 2> "$tmp/err" || rc=$?
    [ "$rc" = 1 ] || fail "$f: exit $rc"
    grep -qF "$f" "$tmp/err" || fail "$f not named: $(cat "$tmp/err")"
    [ ! -e "$tmp/refused.ETT" ] || fail "$f: a project was written"
done
grep -qx "$tmp/letter.dxf is geen DXF-bestand." <("$cli" import-dxf "$tmp/p.ETT" "$tmp/letter.dxf" 2>&1) \
    || fail "not a DXF file"

# A file cut short inside its entities: what was read is saved, and the run fails.
head -c $(( $(wc -c < "$tmp/in.dxf") * 3 / 4 )) "$tmp/in.dxf" > "$tmp/cut.dxf"
rc=0
"$cli" import-dxf "$tmp/p.ETT" "$tmp/cut.dxf" -o "$tmp/cut.ETT" 2> "$tmp/err" || rc=$?
[ "$rc" = 1 ] || fail "a file cut short: exit $rc"
grep -q "eindigt midden in een sectie" "$tmp/err" || fail "cut short: $(cat "$tmp/err")"
"$cli" info "$tmp/cut.ETT" > /dev/null || fail "what was read is not saved"
echo "cli dxf import: 4 passed, 0 failed"
