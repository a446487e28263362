#!/usr/bin/env bash
# Refreshes translations/lm740_pl.ts from the sources (keeps existing translations). No source
# locations: they change with every edit and would make each branch touch every line of the file.
set -euo pipefail
cd "$(dirname "$0")/.."
/usr/lib/qt6/bin/lupdate -locations none -no-obsolete app document editor widgets style device show \
    -ts translations/lm740_pl.ts
