#!/usr/bin/env bash
# The results database's benchmark (results_bench): a board's run stored in
# an SQLite file and in a PostgreSQL server of its own on 127.0.0.1
# (tests/results/postgres-server.sh, with fsync on as a real server has it,
# stopped after), and results --cpk's query and figures over 100000 stored
# measurements.
#
#   bash bench/results/results_bench.sh [preset]
set -euo pipefail
cd "$(dirname "$0")/../.."
preset="${1:-default}"
build="build/$preset"
cmake --build "$build" -j1 --target results_bench korvadex-cli >/dev/null

work="$(mktemp -d)"
trap 'bash tests/results/postgres-server.sh stop "$work/postgres"; rm -rf "$work"' EXIT
POSTGRES_FSYNC=on bash tests/results/postgres-server.sh start "$work/postgres"
port="$(cat "$work/postgres/port")"
/usr/lib/postgresql/15/bin/createdb -h 127.0.0.1 -p "$port" -U korvadex bench
KORVADEX_BENCH_POSTGRES="postgresql://korvadex@127.0.0.1:$port/bench" "$build/bench/results/results_bench"
