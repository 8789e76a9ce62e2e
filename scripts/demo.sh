#!/usr/bin/env bash
# Sets up and builds everything, starts the FAT simulator on a pseudo-terminal and runs
# Quillmark's transfer commands against it: read the FAT's texts into a new project, add a
# text, send the project back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bin=build/bin
demo=$(mktemp -d /tmp/quillmark-demo.XXXXXX)

hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
# One text of a Bosch FAT as it travels: type 0x88, group, detector, 12 + 20 characters.
record() { printf '"88%s"' "$(hex "$1$2$(printf '%-12s%-20s' "$3" "$4")")"; }
cat >"$demo/store.json" <<JSON
{"hasTexts": true, "groupOffset": 0, "records": [
 $(record 0001 01 "Halle Nord" "Erdgeschoss"),
 $(record 0001 02 "Halle Sued" "Erdgeschoss"),
 $(record 0002 00 "Buero" "1. Obergeschoss")]}
JSON

"$bin/fatsim" --link "$demo/fat" --store "$demo/store.json" --log "$demo/bytes.log" \
    >"$demo/fatsim.out" 2>&1 &
fat=$!
trap 'kill $fat 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$demo/fat" ] && break; sleep 0.1; done
echo "FAT simulator on $(head -1 "$demo/fatsim.out"), linked as $demo/fat"

set -x
"$bin/quillmark-cli" read "$demo/halle.bmt" --port "$demo/fat"
"$bin/quillmark-cli" add "$demo/halle.bmt" --group 3 --detector 1 --text1 "Lager" --text2 "Keller"
"$bin/quillmark-cli" send "$demo/halle.bmt" --port "$demo/fat" --yes
"$bin/quillmark-cli" show "$demo/halle.bmt"
set +x
echo "Project: $demo/halle.bmt, the FAT's byte log: $demo/bytes.log"
