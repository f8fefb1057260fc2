#!/usr/bin/env bash
# print-pdf on a real project: pages, paper and options; bad options fail
# without leaving a file. Failures exit non-zero.
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# No configuration of the machine's own may decide the defaults.
export RIDIZAV_HOME=$tmp/home
mkdir -p "$RIDIZAV_HOME"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Page sizes in points from the PDF's page objects, in page order.
pages() {
    /usr/bin/python3 - "$1" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
for w, h in re.findall(rb"/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\]", data):
    print(round(float(w)), round(float(h)))
PY
}

# Two sheets with a 400 x 270 mm frame: landscape A3 at true size.
"$cli" new "$tmp/p.ETT" --sheets 2
out=$("$cli" print-pdf "$tmp/p.ETT" "$tmp/a3.pdf" --scale 1.0 --paper A3)
/usr/bin/python3 - "$out" <<'PY' || fail "report of the A3 print"
import json, sys
o = json.loads(sys.argv[1])
assert o["scale"] == 1 and not o["fitToPaper"] and not o["blackAndWhite"], o
assert [(p["sheet"], p["orientation"]) for p in o["pages"]] == [(1, "landscape"), (2, "landscape")], o
PY
[ "$(pages "$tmp/a3.pdf")" = $'1191 842\n1191 842' ] || fail "A3 landscape pages: $(pages "$tmp/a3.pdf")"

out=$("$cli" print-pdf "$tmp/p.ETT" "$tmp/one.pdf" --sheet 2 --fit --bw)
/usr/bin/python3 - "$out" <<'PY' || fail "report of the fitted print"
import json, sys
o = json.loads(sys.argv[1])
assert o["fitToPaper"] and o["blackAndWhite"] and [p["sheet"] for p in o["pages"]] == [2], o
PY
[ "$(pages "$tmp/one.pdf")" = "842 595" ] || fail "one A4 landscape page: $(pages "$tmp/one.pdf")"

for bad in "--fit --scale 1" "--scale 0" "--scale x" "--paper B5" "--sheet 3" "--sheet Onbekend"; do
    # shellcheck disable=SC2086
    if "$cli" print-pdf "$tmp/p.ETT" "$tmp/bad.pdf" $bad 2>/dev/null; then fail "accepted $bad"; fi
    [ ! -e "$tmp/bad.pdf" ] || fail "$bad left a file"
done
if "$cli" print-pdf "$tmp/none.ETT" "$tmp/bad.pdf" 2>/dev/null; then fail "printed a missing project"; fi
echo OK
