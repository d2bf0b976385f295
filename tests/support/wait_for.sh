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
