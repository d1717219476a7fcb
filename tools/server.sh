#!/usr/bin/env bash
# The shop's server for several counters, set up with one command (as root, on Debian 12):
#
#   bash tools/server.sh [--port PORT] [--dir DIR] [--from-book FILE.db]
#
# Installs Debian's PostgreSQL and makes in DIR a server of the shop's own (never the
# distribution's default cluster), with one database "marvoda" owned by the user "marvoda",
# reachable from the shop's network by password only. The book's tables are made there, or an
# existing single-computer book (KLVData1.db) is moved in. The server starts now and at boot
# where systemd runs. The last line printed is what a counter's "连接设置" takes:
#
#   host=<address> port=<port> dbname=marvoda user=marvoda password=<password>
#
# Run again, it keeps the book, starts the server if it is stopped and prints the line again.
# For tests: --listen ADDR (default every address) and --no-boot (no unit file).
set -euo pipefail

PORT=5432
DIR=/var/lib/marvoda-server
FROM_BOOK=""
LISTEN="*"
BOOT=1
usage() { echo "用法：bash tools/server.sh [--port 端口] [--dir 文件夹] [--from-book 账套文件.db]" >&2; exit 2; }
while [ $# -gt 0 ]; do
  case "$1" in
    --port) [ $# -ge 2 ] || usage; PORT=$2; shift 2 ;;
    --dir) [ $# -ge 2 ] || usage; DIR=$2; shift 2 ;;
    --from-book) [ $# -ge 2 ] || usage; FROM_BOOK=$2; shift 2 ;;
    --listen) [ $# -ge 2 ] || usage; LISTEN=$2; shift 2 ;;
    --no-boot) BOOT=0; shift ;;
    *) usage ;;
  esac
done
die() { echo "server.sh: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || die "请以 root 身份运行（sudo bash tools/server.sh）"
case "$PORT" in ''|*[!0-9]*) die "端口必须是数字：$PORT" ;; esac
[ "$PORT" -ge 1 ] && [ "$PORT" -le 65535 ] || die "端口超出范围：$PORT"
if [ -n "$FROM_BOOK" ]; then
  [ -f "$FROM_BOOK" ] || die "账套文件不存在：$FROM_BOOK"
  FROM_BOOK=$(realpath "$FROM_BOOK")
fi
mkdir -p "$DIR"
DIR=$(realpath "$DIR")

# The program that makes the book's tables: the one built beside this script, or the installed one.
HERE=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${MARVODA_PROGRAM:-}" ]; then PROGRAM=$MARVODA_PROGRAM
elif [ -x "$HERE/build/marvoda" ]; then PROGRAM=$HERE/build/marvoda
elif command -v marvoda >/dev/null 2>&1; then PROGRAM=$(command -v marvoda)
else die "找不到程序 marvoda：请先构建（bash tools/setup.sh）或安装软件包"
fi

# Debian's PostgreSQL 15. On a machine without it, the package would make and start its own
# default cluster on 5432; the shop's server takes that place instead.
if ! [ -x /usr/lib/postgresql/15/bin/initdb ]; then
  if ! dpkg-query -W -f='${Status}' postgresql-common 2>/dev/null | grep -q 'install ok installed'; then
    mkdir -p /etc/postgresql-common/createcluster.d
    echo "create_main_cluster = false" > /etc/postgresql-common/createcluster.d/marvoda.conf
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends postgresql-15 >/dev/null
fi
BIN=/usr/lib/postgresql/15/bin
as_pg() { runuser -u postgres -- "$@"; }

DATA=$DIR/data
RUN=$DIR/run
LOG=$DIR/server.log
SECRET=$DIR/password

# DIR itself stays root's; postgres owns the data, the socket folder and the log.
chown root:root "$DIR"
chmod 755 "$DIR"
mkdir -p "$RUN"
chown postgres:postgres "$RUN"
chmod 700 "$RUN"
touch "$LOG"
chown postgres:postgres "$LOG"
chmod 640 "$LOG"

running() { as_pg "$BIN/pg_ctl" -D "$DATA" status >/dev/null 2>&1; }

if ! [ -f "$DATA/PG_VERSION" ]; then
  if ss -ltnH "( sport = :$PORT )" 2>/dev/null | grep -q .; then
    die "端口 $PORT 已被其他程序占用（可能是系统自带的 PostgreSQL）：请用 --port 指定其他端口"
  fi
  umask 077
  # Letters and digits only: the line a counter pastes needs no quoting.
  PASSWORD=$(head -c 48 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | head -c 24)
  [ ${#PASSWORD} -eq 24 ] || die "无法生成密码"
  printf '%s\n' "$PASSWORD" > "$SECRET"
  chmod 600 "$SECRET"
  umask 022
  rm -rf "$DATA"
  mkdir -p "$DATA"
  chown postgres:postgres "$DATA"
  chmod 700 "$DATA"
  as_pg "$BIN/initdb" -D "$DATA" -U postgres -E UTF8 --locale=C.UTF-8 \
    --auth-local=peer --auth-host=scram-sha-256 >/dev/null
  cat > "$DATA/pg_hba.conf" <<EOF
# The shop's server: the administrator only through this computer's socket, the counters by
# password over the network. No login goes without one.
local   all      postgres                 peer
host    marvoda  marvoda   0.0.0.0/0      scram-sha-256
host    marvoda  marvoda   ::/0           scram-sha-256
EOF
  chown postgres:postgres "$DATA/pg_hba.conf"
  chmod 600 "$DATA/pg_hba.conf"
fi
[ -f "$SECRET" ] || die "缺少密码文件：$SECRET"
PASSWORD=$(head -n 1 "$SECRET")

# The settings are written on every run, so a changed port or address takes effect.
OLD_SETTINGS=$(cat "$DATA/marvoda.conf" 2>/dev/null || true)
cat > "$DATA/marvoda.conf" <<EOF
listen_addresses = '$LISTEN'
port = $PORT
unix_socket_directories = '$RUN'
password_encryption = 'scram-sha-256'
EOF
chown postgres:postgres "$DATA/marvoda.conf"
grep -q "^include_if_exists = 'marvoda.conf'" "$DATA/postgresql.conf" ||
  echo "include_if_exists = 'marvoda.conf'" >> "$DATA/postgresql.conf"

# Start at boot: a unit of its own, where systemd runs the machine.
# One unit per server folder, so a changed port keeps the same unit.
UNIT=marvoda-server.service
[ "$DIR" = /var/lib/marvoda-server ] || UNIT=marvoda-server-$(printf '%s' "$DIR" | md5sum | cut -c1-8).service
use_systemd=0
if [ "$BOOT" -eq 1 ] && [ "$(cat /proc/1/comm 2>/dev/null)" = systemd ]; then
  use_systemd=1
  cat > "/etc/systemd/system/$UNIT" <<EOF
[Unit]
Description=QuorinMarvoda shop server (PostgreSQL in $DIR)
After=network-online.target
Wants=network-online.target

[Service]
Type=forking
User=postgres
ExecStart=$BIN/pg_ctl -D "$DATA" -l "$LOG" -w -t 120 start
ExecStop=$BIN/pg_ctl -D "$DATA" -m fast -w stop
ExecReload=$BIN/pg_ctl -D "$DATA" reload
PIDFile=$DATA/postmaster.pid
TimeoutSec=180

[Install]
WantedBy=multi-user.target
EOF
  systemctl daemon-reload
  systemctl enable "$UNIT" >/dev/null 2>&1
fi

if running; then
  if [ "$OLD_SETTINGS" = "$(cat "$DATA/marvoda.conf")" ]; then
    as_pg "$BIN/pg_ctl" -D "$DATA" reload >/dev/null
  elif [ "$use_systemd" -eq 1 ] && systemctl is-active --quiet "$UNIT"; then
    systemctl restart "$UNIT" || die "服务器未能重新启动，详见 $LOG"
  else
    # Another port or address is taken only by a restart.
    as_pg "$BIN/pg_ctl" -D "$DATA" -l "$LOG" -m fast -w -t 120 restart >/dev/null || die "服务器未能重新启动，详见 $LOG"
  fi
elif [ "$use_systemd" -eq 1 ]; then
  systemctl start "$UNIT" || die "服务器未能启动，详见 $LOG"
else
  [ "$BOOT" -eq 1 ] && echo "server.sh: 本机未运行 systemd，未设置开机启动；重启后请再次运行本脚本" >&2
  as_pg "$BIN/pg_ctl" -D "$DATA" -l "$LOG" -w -t 120 start >/dev/null || die "服务器未能启动，详见 $LOG"
fi

PSQL_BIN=/usr/bin/psql
[ -x "$BIN/psql" ] && PSQL_BIN=$BIN/psql
sql() { as_pg "$PSQL_BIN" -X -q -v ON_ERROR_STOP=1 -h "$RUN" -p "$PORT" -U postgres -d "${2:-postgres}" -tAc "$1"; }

# The role's password follows the file on every run, so the printed line always works.
if [ "$(sql "SELECT 1 FROM pg_roles WHERE rolname = 'marvoda'")" != 1 ]; then
  sql "CREATE ROLE marvoda LOGIN PASSWORD '$PASSWORD'"
else
  sql "ALTER ROLE marvoda LOGIN PASSWORD '$PASSWORD'"
fi
make_database() { sql "CREATE DATABASE marvoda OWNER marvoda ENCODING 'UTF8' TEMPLATE template0"; }
[ "$(sql "SELECT 1 FROM pg_database WHERE datname = 'marvoda'")" = 1 ] || make_database

CONNECT=127.0.0.1
case "$LISTEN" in '*'|0.0.0.0|'') ;; *) CONNECT=${LISTEN%%,*} ;; esac
HAS_BOOK=$(sql "SELECT 1 FROM information_schema.tables WHERE table_name = 'schema_version'" marvoda)
if [ "$HAS_BOOK" = 1 ]; then
  [ -z "$FROM_BOOK" ] || die "服务器上已有账套，未转入 $FROM_BOOK（原有数据保持不变）"
else
  args=(--create-database --postgres "host=$CONNECT port=$PORT dbname=marvoda user=marvoda password=$PASSWORD")
  [ -n "$FROM_BOOK" ] && args+=(--from-book "$FROM_BOOK")
  if ! QT_QPA_PLATFORM=offscreen "$PROGRAM" "${args[@]}" >&2; then
    # Nothing half-made stays behind: the next run starts over.
    sql "DROP DATABASE marvoda"
    make_database
    die "账套未能建立，服务器上的数据库已复原为空"
  fi
fi

ADDRESS=$CONNECT
if [ "$CONNECT" = 127.0.0.1 ] && [ "$LISTEN" != 127.0.0.1 ]; then
  ADDRESS=$(ip -4 route get 1.1.1.1 2>/dev/null | sed -n 's/.* src \([0-9.]*\).*/\1/p' | head -n 1)
  [ -n "$ADDRESS" ] || ADDRESS=$(hostname -I 2>/dev/null | awk '{print $1}')
  [ -n "$ADDRESS" ] || ADDRESS=127.0.0.1
fi
echo "host=$ADDRESS port=$PORT dbname=marvoda user=marvoda password=$PASSWORD"
