# Sourced by .ci/run before the tests: starts a private PostgreSQL server on 127.0.0.1 under a
# temporary folder, creates the test role and database, registers the ODBC drivers in a
# private odbcinst.ini (no driver log files), and exports what the data tests read:
#   VARNOLIS_TEST_PG_ODBC      ODBC connection string of the test database
#   VARNOLIS_TEST_PG_BAD_ODBC  the same with a wrong password
#   ODBCSYSINI, ODBCINI        the private driver registration
# The server is stopped and the folder removed when the shell exits (chained to any EXIT
# trap already set, and to the vn_ci_on_exit list when .ci/run keeps one).

vn_pg_port="${VARNOLIS_TEST_PG_PORT:-54329}"
vn_pg_bin=""
for vn_pg_candidate in /usr/lib/postgresql/*/bin /usr/local/bin /usr/bin; do
  if [ -x "$vn_pg_candidate/initdb" ] && [ -x "$vn_pg_candidate/pg_ctl" ]; then
    vn_pg_bin="$vn_pg_candidate"
    break
  fi
done
vn_pg_psql="$vn_pg_bin/psql"
[ -x "$vn_pg_psql" ] || vn_pg_psql="$(command -v psql || true)"

vn_pg_driver_dir=""
for vn_pg_candidate in /usr/lib/x86_64-linux-gnu/odbc /usr/lib/aarch64-linux-gnu/odbc /usr/lib/odbc /usr/local/lib/odbc; do
  if [ -e "$vn_pg_candidate/psqlodbcw.so" ]; then
    vn_pg_driver_dir="$vn_pg_candidate"
    break
  fi
done

vn_pg_stop() {
  if [ -n "${vn_pg_dir:-}" ] && [ -d "$vn_pg_dir" ]; then
    if [ -f "$vn_pg_dir/data/postmaster.pid" ]; then
      vn_pg_as_owner "$vn_pg_bin/pg_ctl" -D "$vn_pg_dir/data" -m fast -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$vn_pg_dir"
  fi
  vn_pg_dir=""
}

# Runs a command as the folder's owner: the server refuses to run as root.
vn_pg_as_owner() {
  if [ "$(id -u)" = 0 ]; then
    runuser -u "$vn_pg_user" -- "$@"
  else
    "$@"
  fi
}

vn_pg_start() {
  if [ -z "$vn_pg_bin" ] || [ -z "$vn_pg_psql" ] || [ -z "$vn_pg_driver_dir" ]; then
    echo "postgres.sh: PostgreSQL server, psql or its ODBC driver not found; ODBC tests will be skipped" >&2
    return 0
  fi
  vn_pg_dir="$(mktemp -d "${TMPDIR:-/tmp}/vn-pg.XXXXXX")" || return 1
  vn_pg_user="$(id -un)"
  if [ "$(id -u)" = 0 ]; then
    vn_pg_user=postgres
    id postgres >/dev/null 2>&1 || vn_pg_user=nobody
    chown "$vn_pg_user" "$vn_pg_dir"
  fi
  chmod 700 "$vn_pg_dir"
  printf '%s\n' "vn-admin-pw" > "$vn_pg_dir/admin.pw"
  chown "$vn_pg_user" "$vn_pg_dir/admin.pw" 2>/dev/null || true
  if ! vn_pg_as_owner "$vn_pg_bin/initdb" -D "$vn_pg_dir/data" -U vn_admin --pwfile="$vn_pg_dir/admin.pw" \
      -E UTF8 --no-locale --auth-local=trust --auth-host=scram-sha-256 >"$vn_pg_dir/initdb.log" 2>&1; then
    cat "$vn_pg_dir/initdb.log" >&2
    vn_pg_stop
    return 1
  fi
  if ! vn_pg_as_owner "$vn_pg_bin/pg_ctl" -D "$vn_pg_dir/data" -l "$vn_pg_dir/server.log" -w -t 30 \
      -o "-c listen_addresses=127.0.0.1 -p $vn_pg_port -k $vn_pg_dir -c fsync=off" start >/dev/null; then
    cat "$vn_pg_dir/server.log" >&2
    vn_pg_stop
    return 1
  fi
  vn_pg_as_owner "$vn_pg_psql" -q -h "$vn_pg_dir" -p "$vn_pg_port" -U vn_admin -d postgres -v ON_ERROR_STOP=1 \
    -c "CREATE ROLE vn_test LOGIN PASSWORD 'vn-test-pw'" \
    -c "CREATE DATABASE vn_test OWNER vn_test ENCODING 'UTF8' TEMPLATE template0" >/dev/null || {
    vn_pg_stop
    return 1
  }

  mkdir -p "$vn_pg_dir/odbc"
  cat > "$vn_pg_dir/odbc/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$vn_pg_driver_dir/psqlodbcw.so
Setup=$vn_pg_driver_dir/libodbcpsqlS.so
CommLog=0
Debug=0
UsageCount=1

[SQLite3]
Description=SQLite3 ODBC driver
Driver=$vn_pg_driver_dir/libsqlite3odbc.so
UsageCount=1
INI
  : > "$vn_pg_dir/odbc/odbc.ini"
  chmod 755 "$vn_pg_dir"
  export ODBCSYSINI="$vn_pg_dir/odbc"
  export ODBCINI="$vn_pg_dir/odbc/odbc.ini"
  export VARNOLIS_TEST_PG_ODBC="Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$vn_pg_port;Database=vn_test;UID=vn_test;PWD=vn-test-pw"
  export VARNOLIS_TEST_PG_BAD_ODBC="Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$vn_pg_port;Database=vn_test;UID=vn_test;PWD=wrong"
  echo "postgres.sh: PostgreSQL running on 127.0.0.1:$vn_pg_port (folder $vn_pg_dir)" >&2
}

vn_pg_start || echo "postgres.sh: could not start PostgreSQL; ODBC tests will be skipped" >&2

# Cleanup at exit, composed with whatever else the calling shell does at exit.
if declare -p vn_ci_on_exit >/dev/null 2>&1; then
  vn_ci_on_exit+=(vn_pg_stop)
else
  vn_pg_previous_trap="$(trap -p EXIT)"
  if [ -n "$vn_pg_previous_trap" ]; then
    eval "vn_pg_previous_trap_args=($vn_pg_previous_trap)"
    vn_pg_previous_command="${vn_pg_previous_trap_args[2]}"
    trap "vn_pg_stop; $vn_pg_previous_command" EXIT
  else
    trap vn_pg_stop EXIT
  fi
fi
