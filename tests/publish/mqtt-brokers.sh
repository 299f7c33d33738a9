#!/usr/bin/env bash
# The MQTT brokers of a test run under Wine, where a test cannot start a
# Linux program: ctest runs "start DIR" before the first publishing test and
# "stop DIR" after the last. Two of Debian's mosquitto on 127.0.0.1 and free
# ports: one for anonymous clients (its port in DIR/port), one that wants
# user "lab" with password "right" (DIR/secure-port). Stopped by their
# process ids.
#
#   bash tests/publish/mqtt-brokers.sh start|stop DIR
set -euo pipefail
what="$1"
dir="$2"

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start_one() {
  local name="$1" port
  port="$(free_port)"
  {
    echo "listener $port 127.0.0.1"
    echo "persistence false"
    if [ "$name" = secure-port ]; then
      echo "allow_anonymous false"
      echo "password_file $dir/users"
    else
      echo "allow_anonymous true"
    fi
  } >"$dir/$name.conf"
  # In the background with its output in a file, so that ctest, which
  # waits for the ends of a test's pipes, does not wait for it.
  /usr/sbin/mosquitto -c "$dir/$name.conf" >"$dir/$name.log" 2>&1 </dev/null &
  echo $! >"$dir/$name.pid"
  for _ in $(seq 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port" >"$dir/$name"
      return 0
    fi
    sleep 0.05
  done
  echo "mqtt-brokers: mosquitto did not listen on $port" >&2
  return 1
}

case "$what" in
  start)
    "$0" stop "$dir" || true
    mkdir -p "$dir"
    chmod 755 "$dir"
    mosquitto_passwd -b -c "$dir/users" lab right
    chmod 644 "$dir/users"
    start_one port
    start_one secure-port
    ;;
  stop)
    for pid in "$dir"/*.pid; do
      [ -e "$pid" ] || continue
      kill "$(cat "$pid")" 2>/dev/null || true
      rm -f "$pid"
    done
    rm -f "$dir/port" "$dir/secure-port"
    ;;
esac
