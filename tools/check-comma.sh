#!/usr/bin/env bash
# Compiles every source of a configured build tree once more with clang, syntax only, and
# fails on a comma operator (-Wcomma): "a = 1, b = 2;" hides a statement in an expression.
# Usage: tools/check-comma.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
db=${1:?usage: $0 BUILD_DIR}/compile_commands.json
[ -f "$db" ] || { echo "$db is missing: configure the build first"; exit 1; }
command -v clang++ >/dev/null || { echo "comma check skipped: clang++ is not installed"; exit 0; }
python3 - "$db" <<'PY' | xargs -0 -P "$(nproc)" -n 1 sh -c 'eval "$0"'
import json, shlex, sys
for entry in json.load(open(sys.argv[1])):
    if not entry["file"].endswith(".cpp"):
        continue
    args = shlex.split(entry["command"])[1:]
    drop = {"-o", "-c"}
    kept, skip = [], False
    for a in args:
        if skip:
            skip = False
        elif a in drop:
            skip = a == "-o"
        elif a != entry["file"]:
            kept.append(a)
    cmd = ["clang++", "-fsyntax-only", "-ferror-limit=0", "-Wcomma", "-Werror", *kept, entry["file"]]
    sys.stdout.write("cd " + shlex.quote(entry["directory"]) + " && " + shlex.join(cmd) + "\0")
PY
echo "No comma operator in the build's sources."
