#!/bin/sh
# Stops the throwaway PostgreSQL server of pg-up.sh and removes its files: pg-down.sh DIR
D=$1
BIN=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
[ -d "$D/data" ] && runuser -u postgres -- "$BIN/pg_ctl" -D "$D/data" -m immediate -w stop >/dev/null 2>&1
rm -rf "$D"
echo "postgres down"
