# apt_update: `apt-get update` tried three times, a minute apart, before it counts as failed.
# A package mirror in the middle of a sync answers "File has unexpected size ... Mirror sync in
# progress?" for a while; apt-get may then still exit 0 and only print "E: Some index files
# failed to download", so an error line counts as a failure too. Sourced by .ci/run,
# scripts/demo.sh and scripts/setup-windows.sh; APT_UPDATE_TRIES and APT_UPDATE_PAUSE (seconds)
# change the defaults.
# shellcheck shell=bash

apt_update() {
  local tries=${APT_UPDATE_TRIES:-3} pause=${APT_UPDATE_PAUSE:-60} try log status
  log=$(mktemp)
  for ((try = 1; try <= tries; try++)); do
    status=0
    apt-get update 2>&1 | tee "$log" || status=$?
    if [ "$status" = 0 ] && ! grep -q '^E: ' "$log"; then
      rm -f "$log"
      return 0
    fi
    if [ "$try" -lt "$tries" ]; then
      echo "apt-get update failed (try $try of $tries); again in ${pause}s" >&2
      sleep "$pause"
    fi
  done
  rm -f "$log"
  echo "apt-get update failed $tries times: the package mirror, not the project" >&2
  return 1
}
