#!/usr/bin/env bash
# The module's main job through the reference host: a net order with reduced-rate lines goes in, the user
# accepts, and the table that comes back is printed.
set -euo pipefail
BUILD=${1:?build directory}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

echo "== the order the host hands over (examples/sample_order.txt)"
"$BUILD/calchost" --cancel "$ROOT/examples/sample_order.txt" | sed -n '/order lines/,/ACTION\|no ACTION/p'
echo
echo "== the user accepts (F3); the table that comes back"
"$BUILD/calchost" --accept --screenshot "$OUT/window.png" --out "$OUT/area.bin" "$ROOT/examples/sample_order.txt"
