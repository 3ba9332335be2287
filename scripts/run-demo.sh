#!/usr/bin/env bash
# Writes the drawing sheets to out/ and says where they are.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p out
build/release/gdi-sheet --out out/gdi-sheet.png
echo "demo: wrote out/gdi-sheet.png"
