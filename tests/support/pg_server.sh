#!/usr/bin/env bash
# A private PostgreSQL server for the tests, on 127.0.0.1 only.
#   pg_server.sh start DIR PORT [SQL...]
#                                 fresh cluster in DIR/data, the role and database
#                                 below, then each SQL file run as that role
#   pg_server.sh stop  DIR PORT   stops it and removes DIR
# As root the server runs as the `postgres` user (PostgreSQL refuses to run as
# root); otherwise as the calling user. Unix sockets stay inside DIR.
#
# Roles: tallowick (password "tallowick-pw") owns the database "tallowick".
set -euo pipefail

command=${1:?start or stop}
dir=${2:?folder}
port=${3:?port}
shift 3 || true

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ]; then
  echo "pg_server.sh: no PostgreSQL server installed (package postgresql)" >&2
  exit 1
fi

as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop_server() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_server_user "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  fi
}

case "$command" in
  start)
    stop_server
    rm -rf "$dir"
    mkdir -p "$dir"
    if [ "$(id -u)" -eq 0 ]; then
      chown postgres: "$dir"
    fi
    as_server_user "$bindir/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C \
      --auth-local=trust --auth-host=scram-sha-256 >"$dir/initdb.log" 2>&1 || {
      cat "$dir/initdb.log" >&2
      exit 1
    }
    as_server_user "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$dir -c fsync=off" \
      start >/dev/null || {
      cat "$dir/server.log" >&2
      exit 1
    }
    as_server_user "$bindir/psql" -X -q -h "$dir" -p "$port" -U postgres -d postgres \
      -v ON_ERROR_STOP=1 <<'SQL'
CREATE ROLE tallowick LOGIN PASSWORD 'tallowick-pw';
CREATE DATABASE tallowick OWNER tallowick;
SQL
    for script in "$@"; do
      as_server_user "$bindir/psql" -X -q -h "$dir" -p "$port" -U tallowick -d tallowick \
        -v ON_ERROR_STOP=1 -f - <"$script" >/dev/null
    done
    echo "PostgreSQL listening on 127.0.0.1:$port (data in $dir/data)"
    ;;
  stop)
    stop_server
    rm -rf "$dir"
    ;;
  *)
    echo "usage: pg_server.sh start|stop DIR PORT" >&2
    exit 2
    ;;
esac
