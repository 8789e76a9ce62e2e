#!/usr/bin/env bash
# Sets up and builds everything and starts the FAT simulator on a pseudo-terminal with a few
# demo texts. With a display (X11 or Wayland) it then opens Quillmark on a demo project whose
# COM1 is the simulator, with settings of its own in the demo folder (the user's settings are
# never touched): "Daten auslesen" and "Daten senden" talk to the "FAT" at once. Without a
# display it runs Quillmark's transfer commands against the simulator instead: read the FAT's
# texts into a new project, add a text, send the project back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bin=$PWD/build/bin
demo=$(mktemp -d /tmp/quillmark-demo.XXXXXX)

hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
# One text of a Bosch FAT as it travels: type 0x88, group, detector, 12 + 20 characters.
record() { printf '"88%s"' "$(hex "$1$2$(printf '%-12.12s%-20.20s' "$3" "$4")")"; }
cat >"$demo/store.json" <<JSON
{"hasTexts": true, "groupOffset": 0, "records": [
 $(record 0001 01 "Halle Nord" "Erdgeschoss"),
 $(record 0001 02 "Halle Sued" "Erdgeschoss"),
 $(record 0002 00 "Buero" "1. Obergeschoss"),
 $(record 0003 01 "Lager" "Keller"),
 $(record 0004 01 "Werkstatt" "Anbau Ost")]}
JSON

"$bin/fatsim" --link "$demo/fat" --store "$demo/store.json" --log "$demo/bytes.log" \
    >"$demo/fatsim.out" 2>&1 &
fat=$!
trap 'kill $fat 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$demo/fat" ] && break; sleep 0.1; done
echo "FAT simulator on $(head -1 "$demo/fatsim.out"), linked as $demo/fat"

# The demo's own settings: COM1 is the simulator's device.
export XDG_CONFIG_HOME="$demo/config"
mkdir -p "$XDG_CONFIG_HOME/Korvalin GmbH"
cat >"$XDG_CONFIG_HOME/Korvalin GmbH/Quillmark.conf" <<INI
[Settings]
ComPort=1

[Ports]
COM1=$demo/fat
INI

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # The demo project: the simulator's texts, read once from the command line.
    "$bin/quillmark-cli" read "$demo/halle.bmt" --com 1
    echo "Quillmark on $demo/halle.bmt; COM1 is the FAT simulator (settings in $XDG_CONFIG_HOME)."
    "$bin/quillmark" "$demo/halle.bmt"
    echo "The FAT's byte log: $demo/bytes.log"
    exit 0
fi

echo "No display (DISPLAY or WAYLAND_DISPLAY): running the headless session instead."
set -x
"$bin/quillmark-cli" read "$demo/halle.bmt" --port "$demo/fat"
"$bin/quillmark-cli" add "$demo/halle.bmt" --group 3 --detector 2 --text1 "Lager" --text2 "Rampe"
"$bin/quillmark-cli" send "$demo/halle.bmt" --port "$demo/fat" --yes
"$bin/quillmark-cli" show "$demo/halle.bmt"
set +x
echo "Project: $demo/halle.bmt, the FAT's byte log: $demo/bytes.log"
