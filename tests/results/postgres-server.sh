#!/usr/bin/env bash
# The PostgreSQL server of a test run: ctest runs "start DIR" before the
# first test that needs it and "stop DIR" after the last. Debian's
# PostgreSQL 15, initialised afresh in a temporary folder, listening on
# 127.0.0.1 alone on a free port (in DIR/port), with empty databases
# results_1, results_2, ... for the tests to take, its superuser "korvadex"
# trusted without a password, writing without fsync (POSTGRES_FSYNC=on for
# a benchmark): the tests' data need not outlive the machine. PostgreSQL
# refuses to run as root, so as root it runs as the unprivileged user
# "nobody", which owns its folder. Stopped by its process id.
#
#   bash tests/results/postgres-server.sh start|stop DIR
set -euo pipefail
what="$1"
dir="$2"
bin=/usr/lib/postgresql/15/bin
databases=24

as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- "$@"
  else
    "$@"
  fi
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start() {
  mkdir -p "$dir"
  local data port
  data="$(mktemp -d /tmp/korvadex-postgres.XXXXXX)"
  echo "$data" >"$dir/data"
  [ "$(id -u)" -ne 0 ] || chown nobody "$data"
  as_server "$bin/initdb" -D "$data/cluster" -U korvadex --auth=trust --encoding=UTF8 --no-locale >"$dir/initdb.log" 2>&1
  port="$(free_port)"
  # pg_ctl waits until the server takes connections; the server's output
  # goes to a file, so that ctest, which waits for the ends of a test's
  # pipes, does not wait for it.
  if ! as_server "$bin/pg_ctl" -D "$data/cluster" -l "$data/server.log" -w -t 60 \
         -o "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories=$data -c fsync=${POSTGRES_FSYNC:-off}" start \
         </dev/null >"$dir/pg_ctl.log" 2>&1; then
    echo "postgres-server: PostgreSQL did not start on $port:" >&2
    cat "$data/server.log" >&2 || true
    return 1
  fi
  head -n 1 "$data/cluster/postmaster.pid" >"$dir/pid"
  # Empty databases for the tests to take, one each (TestDatabases), made
  # here because a test under Wine cannot run Linux's createdb.
  for i in $(seq "$databases"); do
    "$bin/createdb" -h 127.0.0.1 -p "$port" -U korvadex "results_$i"
  done
  rm -f "$dir"/taken-*
  echo "$port" >"$dir/port"
}

stop() {
  if [ -e "$dir/pid" ]; then
    local pid
    pid="$(cat "$dir/pid")"
    # Fast shutdown: the sessions are ended, nothing of a test is kept.
    kill -INT "$pid" 2>/dev/null || true
    tail --pid="$pid" -f /dev/null
    rm -f "$dir/pid" "$dir/port"
  fi
  if [ -e "$dir/data" ]; then
    rm -rf "$(cat "$dir/data")"
    rm -f "$dir/data"
  fi
}

case "$what" in
  start)
    stop
    start
    ;;
  stop)
    stop
    ;;
esac
