#!/usr/bin/env bash
# The layer check passes on the tree and fails on an include that points up
# the layers, planted one at a time in a copy of src/.
# Usage: check_layers_test.sh CHECK_LAYERS SRC_FOLDER
set -euo pipefail
check=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

if ! python3 "$check" "$src"; then
  echo "FAIL: the tree itself breaks the layers" >&2
  failures=$((failures + 1))
fi

# (file the include is planted in, the include, pass or fail)
cases=(
  "model/sheet.h         gui/x.h             fail"
  "model/sheet.cpp       document/document.h fail"
  "app/settings.cpp      view/view_controller.h fail"
  "app/settings.cpp      gui/main_frame.h    fail"
  "qt/qt_canvas.cpp      gui/main_frame.h    fail"
  "cli/main.cpp          gui/main_frame.h    fail"
  "gui/main.cpp          cli/cli_commands.h  fail"
  "view/view_controller.cpp qt/qt_text.h     fail"
  "platform/canvas.h     model/sheet.h       fail"
  "model/sheet.h         shared/x.h          fail"
  "symbols/symbol_file.cpp document/document.h pass"
  "gui/main.cpp          qt/qt_text.h        pass"
  "cli/main.cpp          view/keys.h         pass"
  "model/sheet.cpp       model/grid.h        pass"
)
cp -r "$src" "$tmp/src"
for c in "${cases[@]}"; do
  read -r file include expected <<<"$c"
  cp "$src/$file" "$tmp/src/$file"
  echo "#include \"$include\"" >>"$tmp/src/$file"
  if python3 "$check" "$tmp/src" 2>"$tmp/out"; then got=pass; else got=fail; fi
  if [ "$got" != "$expected" ]; then
    echo "FAIL: $include in $file: expected $expected, got $got" >&2
    cat "$tmp/out" >&2
    failures=$((failures + 1))
  elif [ "$got" = fail ] && ! grep -q "^$file:" "$tmp/out"; then
    echo "FAIL: $include in $file: the report does not name the file" >&2
    cat "$tmp/out" >&2
    failures=$((failures + 1))
  fi
  cp "$src/$file" "$tmp/src/$file"
done

# A source in a folder that is not a layer is reported too.
mkdir "$tmp/src/extra"
echo '#include "model/sheet.h"' >"$tmp/src/extra/x.cpp"
if python3 "$check" "$tmp/src" 2>/dev/null; then
  echo "FAIL: a source outside the layers passed" >&2
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "layer check: all cases as expected"
exit "$failures"
