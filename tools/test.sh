#!/usr/bin/env bash
# Installs, builds and runs every test (the data-layer suites also against a throwaway
# PostgreSQL server on 127.0.0.1).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --with-test-tools
ctest --test-dir build --output-on-failure -j2 --timeout 900
