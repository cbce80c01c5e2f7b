#!/usr/bin/env bash
# The module's main job through the reference host: a net order with reduced-rate lines goes in, the user
# accepts, and the table that comes back is printed.
set -euo pipefail
BUILD=${1:?build directory}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# A host installation: Kelmar beside the library, run once with INSTALL; the host then finds the
# library through the two profile files alone.
HOST="$OUT/host"
mkdir -p "$HOST"
cp "$BUILD/Kelmar" "$BUILD/Vorlux.so" "$HOST/"
echo "== registration: Kelmar INSTALL in $HOST"
"$HOST/Kelmar" INSTALL
for ini in USERCALCMODULE.INI VorluxUSERCALC.INI; do
    echo "-- $ini"
    tr -d '\r' <"$HOST/$ini"
done
echo

echo "== the order the host hands over (examples/sample_order.txt)"
"$BUILD/calchost" --registry "$HOST" --cancel "$ROOT/examples/sample_order.txt" | sed -n '/order lines/,/ACTION\|no ACTION/p'
echo
echo "== the user accepts (F3); the table that comes back"
"$BUILD/calchost" --registry "$HOST" --accept --screenshot "$OUT/window.png" --out "$OUT/area.bin" "$ROOT/examples/sample_order.txt"
