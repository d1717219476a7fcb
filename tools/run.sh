#!/usr/bin/env bash
# Installs and builds the program, creates its book on first use, and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
[ -f build/KLVData1.db ] || build/marvoda --create-database --data-dir build
exec build/marvoda --data-dir build "$@"
