# wait_for SECONDS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds; status 1 when SECONDS (a whole number) pass first. For tests
# that wait for a condition (a window, a line of output) instead of a fixed
# time.
wait_for() {
  local deadline=$((${EPOCHREALTIME/[.,]/} + $1 * 1000000))
  shift
  until "$@"; do
    [ "${EPOCHREALTIME/[.,]/}" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# wine_work NAME: a new temporary folder (WINE_WORK) holding the Wine prefix
# (WINEPREFIX, not made yet); at exit the prefix's server is stopped and the
# folder removed.
wine_work() {
  WINE_WORK=$(mktemp -d "/tmp/brantvell-$1.XXXXXX")
  export WINEPREFIX=$WINE_WORK/prefix WINEDEBUG=-all
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINE_WORK"' EXIT
}

# free_display: a display number no X server uses on this machine, for
# xvfb-run -n. xvfb-run -a looks only at the lock files in /tmp, but X
# servers also listen on abstract sockets, which every root of the machine
# shares: two test runs in two roots would both take :99 and answer each
# other's windows. The search starts at a random number and skips numbers
# with either.
free_display() {
  local n=$((100 + RANDOM % 800)) tries=0
  while [ "$tries" -lt 800 ]; do
    if [ ! -e "/tmp/.X$n-lock" ] && ! grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; then
      break
    fi
    n=$((n < 899 ? n + 1 : 100))
    tries=$((tries + 1))
  done
  echo "$n"
}
