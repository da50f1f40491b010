#!/usr/bin/env bash
# A throwaway PostgreSQL server for one test run, in a folder of its own.
#   pgserver.sh start DIR PORT    make the cluster in DIR and start it on 127.0.0.1:PORT
#   pgserver.sh start-secure DIR PORT
#                                 the same, but offering TLS with a self-signed certificate made
#                                 now (DIR/server.crt, which also serves as its CA file; DIR/other.crt
#                                 is a certificate of nobody's), and asking every user but
#                                 vantrel for a password
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

# A certificate valid for 127.0.0.1 and localhost, signed by its own key.
make_certificate() { # name
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
        -subj "/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1,DNS:localhost" \
        -keyout "$dir/$1.key" -out "$dir/$1.crt" >/dev/null 2>&1
}

case "${1:-}" in
start | start-secure)
    mode=$1 dir=$2 port=$3
    if [ -d "$dir" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
        rm -rf "$dir"
    fi
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir"
    chmod 700 "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -U vantrel --auth=trust -E UTF8 --locale=C.UTF-8 \
        --no-sync >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    options="-k $dir -p $port -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200"
    if [ "$mode" = start-secure ]; then
        make_certificate server && make_certificate other ||
            { echo "pgserver.sh: openssl could not make the certificates" >&2; exit 1; }
        chmod 600 "$dir/server.key"
        [ "$(id -u)" -eq 0 ] && chown nobody "$dir/server.key"
        printf '%s\n' "local all all trust" "host all vantrel 127.0.0.1/32 trust" \
            "host all all 127.0.0.1/32 scram-sha-256" >"$dir/hba.conf"
        options="$options -c ssl=on -c ssl_cert_file=$dir/server.crt"
        options="$options -c ssl_key_file=$dir/server.key -c hba_file=$dir/hba.conf"
    fi
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w -o "$options" \
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
    echo "usage: $0 start DIR PORT | start-secure DIR PORT | restart DIR | stop DIR" >&2
    exit 2
    ;;
esac
