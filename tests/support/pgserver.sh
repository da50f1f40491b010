#!/usr/bin/env bash
# A throwaway PostgreSQL server for one test run, in a folder of its own.
#   pgserver.sh start DIR PORT    make the cluster in DIR and start it on 127.0.0.1:PORT
#   pgserver.sh restart DIR       stop it as an administrator would (ending every connection)
#                                 and start it again with the same settings
#   pgserver.sh stop DIR          stop it at once and remove DIR
# As root, the server runs as nobody (PostgreSQL refuses to run as root).
set -euo pipefail

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] || { echo "pgserver.sh: no PostgreSQL server installed" >&2; exit 1; }

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

case "${1:-}" in
start)
    dir=$2 port=$3
    if [ -d "$dir" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
        rm -rf "$dir"
    fi
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir"
    chmod 700 "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -U vantrel --auth=trust -E UTF8 --locale=C.UTF-8 \
        --no-sync >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w \
        -o "-k $dir -p $port -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" \
        start >/dev/null || { cat "$dir/log" >&2; exit 1; }
    ;;
restart)
    dir=$2
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w -m fast restart >/dev/null ||
        { cat "$dir/log" >&2; exit 1; }
    ;;
stop)
    dir=$2
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 start DIR PORT | restart DIR | stop DIR" >&2
    exit 2
    ;;
esac
