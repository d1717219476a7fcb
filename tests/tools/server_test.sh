#!/usr/bin/env bash
# tools/server.sh on a loopback port in a scratch folder: the line it prints logs in, a login
# without the password does not, a second run keeps the book and starts a stopped server, and
# --from-book moves a file book in. Everything it made is removed at the end.
#   server_test.sh SERVER_SH PROGRAM PORT
set -euo pipefail
SERVER_SH=$1; PROGRAM=$2; PORT=$3
[ "$(id -u)" -eq 0 ] || { echo "needs root: skipped"; exit 77; }
BIN=/usr/lib/postgresql/15/bin
SCRATCH=$(mktemp -d /tmp/marvoda-server-test.XXXXXX)
chmod 755 "$SCRATCH"
stop() { [ -f "$1/data/postmaster.pid" ] && runuser -u postgres -- "$BIN/pg_ctl" -D "$1/data" -m immediate -w stop >/dev/null 2>&1 || true; }
cleanup() { stop "$SCRATCH/one"; stop "$SCRATCH/two"; rm -rf "$SCRATCH"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export MARVODA_PROGRAM=$PROGRAM

run_server() { timeout 120 bash "$SERVER_SH" --listen 127.0.0.1 --no-boot "$@" 2>"$SCRATCH/err" | tail -n 1; }
query() {   # query LINE SQL: runs SQL with the printed line's credentials
  local line=$1 sql=$2
  local pw=${line##*password=}
  PGPASSWORD=$pw PGCONNECT_TIMEOUT=5 psql -X -w -tA "host=127.0.0.1 port=$PORT dbname=marvoda user=marvoda" -c "$sql"
}

LINE=$(run_server --port "$PORT" --dir "$SCRATCH/one") || { cat "$SCRATCH/err" >&2; fail "first run"; }
[[ "$LINE" =~ ^host=127\.0\.0\.1\ port=$PORT\ dbname=marvoda\ user=marvoda\ password=[A-Za-z0-9]{24}$ ]] ||
  fail "last line: $LINE"
[ "$(stat -c %a "$SCRATCH/one/password")" = 600 ] || fail "password file readable by others"
[ "$(query "$LINE" "SELECT yhmc FROM yhsz")" = 系统管理员 ] || fail "no book behind the line"
grep -q trust "$SCRATCH/one/data/pg_hba.conf" && fail "a trust login is allowed"
PGPASSWORD= psql -X -w -tA "host=127.0.0.1 port=$PORT dbname=marvoda user=marvoda" -c "SELECT 1" >/dev/null 2>&1 &&
  fail "login without a password"
PGPASSWORD=wrong psql -X -w -tA "host=127.0.0.1 port=$PORT dbname=marvoda user=marvoda" -c "SELECT 1" >/dev/null 2>&1 &&
  fail "login with a wrong password"
PGPASSWORD= psql -X -w -tA "host=127.0.0.1 port=$PORT dbname=marvoda user=postgres" -c "SELECT 1" >/dev/null 2>&1 &&
  fail "the administrator logs in over the network"

# A second run keeps the book and the password; after a stop it starts the server again.
query "$LINE" "UPDATE danwei SET mczc = '建材一店'" >/dev/null
[ "$(run_server --port "$PORT" --dir "$SCRATCH/one")" = "$LINE" ] || fail "second run printed another line"
runuser -u postgres -- "$BIN/pg_ctl" -D "$SCRATCH/one/data" -m fast -w stop >/dev/null
[ "$(run_server --port "$PORT" --dir "$SCRATCH/one")" = "$LINE" ] || fail "run after a stop"
[ "$(query "$LINE" "SELECT mczc FROM danwei")" = 建材一店 ] || fail "the book was not kept"
stop "$SCRATCH/one"

# --from-book: a file book with a password and a goods row moves in whole.
"$PROGRAM" --create-database --data-dir "$SCRATCH/book" --admin-password 8888 >/dev/null
if command -v sqlite3 >/dev/null; then
  sqlite3 "$SCRATCH/book/KLVData1.db" "INSERT INTO sp (ck, lb, ppgg, txm, dw, kcsl) VALUES ('主仓库', '瓷砖', '瓷砖800', 'cz800', '片', 120000)"
fi
LINE=$(run_server --port "$PORT" --dir "$SCRATCH/two" --from-book "$SCRATCH/book/KLVData1.db") ||
  { cat "$SCRATCH/err" >&2; fail "run with --from-book"; }
HASH=$(query "$LINE" "SELECT yhmm FROM yhsz WHERE yhmc = '系统管理员'")
[[ "$HASH" == '$argon2id$'* ]] || fail "the operator's password did not move in: $HASH"
[ "$(query "$LINE" "SELECT cz FROM czrz WHERE cz = '转入账套'")" = 转入账套 ] || fail "no log row of the move"
if command -v sqlite3 >/dev/null; then
  [ "$(query "$LINE" "SELECT txm || ' ' || kcsl FROM sp")" = "cz800 120000" ] || fail "the goods row did not move in"
  [ "$HASH" = "$(sqlite3 "$SCRATCH/book/KLVData1.db" "SELECT yhmm FROM yhsz WHERE yhmc = '系统管理员'")" ] ||
    fail "another password hash"
fi
# Run again with the same file, the book already there: refused, nothing changed.
run_server --port "$PORT" --dir "$SCRATCH/two" --from-book "$SCRATCH/book/KLVData1.db" >/dev/null &&
  fail "moved a book in over an existing one"
grep -q 已有账套 "$SCRATCH/err" || fail "no reason given: $(cat "$SCRATCH/err")"
echo "server script: ok"
