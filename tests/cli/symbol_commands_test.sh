#!/usr/bin/env bash
# convert-lib and import-old on real files; failures exit non-zero.
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# A DOS library tree: a ".BNK" in the root, an ".LMC" and a damaged ".bnk"
# (one whole record and three stray bytes) in a subfolder.
mkdir -p "$tmp/dos/Relais" "$tmp/dos/leeg"
printf '\x00\x08\x64\x00\x00\x00' > "$tmp/dos/Root.BNK"
printf '\x00\x00\x08\x00\x64\x00\x00\x00' > "$tmp/dos/Relais/K1.lmc"
printf '\x00\x08\x64\x00\x00\x00\x01\x02\x03' > "$tmp/dos/Relais/Half.bnk"

out=$("$cli" convert-lib "$tmp/dos" "$tmp/sym")
expected="$tmp/dos/Root.BNK -> $tmp/sym/Root.SYM
$tmp/dos/Relais/Half.bnk -> $tmp/sym/Relais/Half.SYM
$tmp/dos/Relais/K1.lmc -> $tmp/sym/Relais/K1.SYM"
[ "$out" = "$expected" ] || fail "convert-lib printed: $out"
# 100 old units are 19 symbol units (0x13).
[ "$(od -An -tx1 "$tmp/sym/Root.SYM" | tr -d ' \n')" = "0000080013000000" ] || fail "Root.SYM"
[ "$(stat -c %s "$tmp/sym/Relais/Half.SYM")" = 8 ] || fail "Half.SYM"
[ "$(stat -c %s "$tmp/sym/Relais/K1.SYM")" = 24 ] || fail "K1.SYM"

if "$cli" convert-lib "$tmp/weg" "$tmp/sym" 2>/dev/null; then fail "a missing folder converted"; fi

# A missing drawing fails the import with its reason, and nothing is saved.
printf '\x00\x00\x08\x00\x0a\x00\x00\x00\x00\x00\x09\x00\x14\x00\x00\x00' > "$tmp/KAST.SCH"
cp "$tmp/KAST.SCH" "$tmp/aarde.sch"
if "$cli" import-old "$tmp/p.ETT" "$tmp/KAST.SCH" "$tmp/weg.sch" 2> "$tmp/err"; then
    fail "an import with a missing drawing succeeded"
fi
grep -q "Cannot open $tmp/weg.sch: No such file or directory." "$tmp/err" \
    || fail "the missing drawing was not mentioned: $(cat "$tmp/err")"
[ ! -e "$tmp/p.ETT" ] || fail "a failed import saved"

# Three old drawings into a new project, in order.
"$cli" import-old "$tmp/p.ETT" "$tmp/KAST.SCH" "$tmp/KAST.SCH" "$tmp/aarde.sch"
"$cli" import-old "$tmp/p.ETT" "$tmp/KAST.SCH" -o "$tmp/q.ETT"

python3 - "$("$cli" info "$tmp/p.ETT")" "$("$cli" info "$tmp/q.ETT")" <<'PY' || fail "info"
import json, sys
p, q = json.loads(sys.argv[1]), json.loads(sys.argv[2])
assert [s["name"] for s in p["sheets"]] == ["KAST", "KAST", "aarde"], p["sheets"]
assert [s["recordCount"] for s in p["sheets"]] == [3, 3, 3]
assert p["sheets"][0]["title"] == "Geen opmerkingen"
assert p["sheets"][0]["extent"] == [0, 0, 1000, 0], p["sheets"][0]["extent"]
assert [s["name"] for s in q["sheets"]] == ["KAST", "KAST", "aarde", "KAST"]
PY
