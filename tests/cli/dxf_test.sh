#!/usr/bin/env bash
# export-dxf on a real project; the files are read back by ezdxf in its
# strict mode. Failures exit non-zero.
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Two sheets, both named "Nieuw", each with a 400 x 270 mm frame.
"$cli" new "$tmp/p.ETT" --sheets 2
out=$("$cli" export-dxf "$tmp/p.ETT" "$tmp/uit/dxf")
/usr/bin/python3 - "$out" "$tmp/uit/dxf" <<'PY' || fail "export of every sheet"
import json, os, sys
import ezdxf
jobs = json.loads(sys.argv[1])
folder = sys.argv[2]
assert [j["file"] for j in jobs] == ["Nieuw.DXF", "Nieuw (2).DXF"], jobs
assert all(j["written"] for j in jobs) and [j["sheet"] for j in jobs] == [1, 2], jobs
assert sorted(os.listdir(folder)) == ["Nieuw (2).DXF", "Nieuw.DXF"], os.listdir(folder)
for j in jobs:
    doc = ezdxf.readfile(os.path.join(folder, j["file"]))
    lines = [e for e in doc.modelspace() if e.dxftype() == "POLYLINE"]
    assert len(lines) == 1 and lines[0].dxf.layer == "1", lines
    points = [(v.dxf.location.x, v.dxf.location.y) for v in lines[0].vertices]
    assert points == [(0, 2701), (4000, 2701), (4000, 1), (0, 1), (0, 2701)], points
PY

# A named sheet (case aside); the name is matched whole.
rm -r "$tmp/uit"
"$cli" export-dxf "$tmp/p.ETT" "$tmp/uit" --sheet nieuw > /dev/null
[ -f "$tmp/uit/Nieuw.DXF" ] && [ -f "$tmp/uit/Nieuw (2).DXF" ] || fail "--sheet nieuw"
if "$cli" export-dxf "$tmp/p.ETT" "$tmp/uit" --sheet Nieu 2> "$tmp/err"; then fail "a prefix was taken"; fi
grep -q "No such sheet: Nieu" "$tmp/err" || fail "message: $(cat "$tmp/err")"

# An output folder that cannot be made, and a missing project.
touch "$tmp/file"
if "$cli" export-dxf "$tmp/p.ETT" "$tmp/file/sub" 2> "$tmp/err"; then fail "no folder"; fi
grep -q "Cannot create the folder" "$tmp/err" || fail "message: $(cat "$tmp/err")"
if "$cli" export-dxf "$tmp/none.ETT" "$tmp/uit" 2>/dev/null; then fail "a missing project"; fi
if "$cli" export-dxf "$tmp/p.ETT" 2>/dev/null; then fail "no folder given"; fi
echo "cli dxf export: passed"
