#!/usr/bin/env bash
# Refreshes translations/lm740_pl.ts from the sources (keeps existing translations).
set -euo pipefail
cd "$(dirname "$0")/.."
/usr/lib/qt6/bin/lupdate -locations relative -no-obsolete app editor widgets style device show \
    -ts translations/lm740_pl.ts
