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
echo "cli dxf import: 1 passed, 0 failed"
