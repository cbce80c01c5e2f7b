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
# The footer the user keeps beside the module; it replaces the order's footer on acceptance.
cp "$ROOT/examples/Vorlux.RTF" "$HOST/"
echo "== registration: Kelmar INSTALL in $HOST"
"$HOST/Kelmar" INSTALL
for ini in USERCALCMODULE.INI VorluxUSERCALC.INI; do
    echo "-- $ini"
    tr -d '\r' <"$HOST/$ini"
done
echo

echo "== the order the host hands over (examples/sample_order.txt)"
"$BUILD/calchost" --registry "$HOST" --cancel "$ROOT/examples/sample_order.txt" |
    sed -n -e '/RTFFOOT/,/^    /p' -e '/^  | "[^@]*",/p'
echo
echo "== the user accepts (F3); the table that comes back"
"$BUILD/calchost" --registry "$HOST" --accept --out "$OUT/area.bin" "$ROOT/examples/sample_order.txt" |
    grep -v '^  | "[^",]*"$'
echo
echo "Every article line now carries the full rate 19 and its recomputed sum; the footer (RTFFOOT) is the"
echo "text of Vorlux.RTF beside the module."
