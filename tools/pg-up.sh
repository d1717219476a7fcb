#!/bin/sh
# Starts a throwaway PostgreSQL server on 127.0.0.1 for the data-layer tests: pg-up.sh DIR PORT
set -e
D=$1; P=$2
BIN=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
if [ -f "$D/data/postmaster.pid" ]; then
  runuser -u postgres -- "$BIN/pg_ctl" -D "$D/data" -m immediate -w stop >/dev/null 2>&1 || true
fi
rm -rf "$D"; mkdir -p "$D"; chmod 755 "$D"; chown postgres:postgres "$D"
runuser -u postgres -- "$BIN/initdb" -D "$D/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 --no-sync >/dev/null
runuser -u postgres -- "$BIN/pg_ctl" -D "$D/data" -l "$D/server.log" -w -t 30 \
  -o "-k $D -h 127.0.0.1 -p $P -c fsync=off -c synchronous_commit=off -c full_page_writes=off" start >/dev/null
echo "postgres up on 127.0.0.1:$P"
