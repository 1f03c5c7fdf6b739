# Sourced by the tools that run Windows programs under Wine. Every Wine call
# has a time limit, so a hung program or a stuck dialog fails its stage instead
# of hanging the run, and each prefix's server is stopped when the calling
# script ends, on failure too.
#   use_wine_prefix FOLDER   exports the prefix (created when missing) for the
#                            calls that follow
#   wine_run ARGS...         wine ARGS, stopped after $PIXMARL_WINE_TIMEOUT
#                            seconds (default 120)
#   windows_path PATH        the path as Wine's Z: drive shows it

wine_prefixes=()

stop_wine_servers() {
  local prefix
  for prefix in "${wine_prefixes[@]}"; do
    WINEPREFIX=$prefix timeout 30 wineserver -k 2>/dev/null || true
  done
}

use_wine_prefix() {  # folder
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ${#wine_prefixes[@]} -eq 0 ]; then
    trap stop_wine_servers EXIT
    trap 'exit 130' INT TERM
  fi
  wine_prefixes+=("$1")
  if [ ! -d "$WINEPREFIX" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    timeout 300 wineboot -i >/dev/null 2>&1
  fi
}

wine_run() {
  timeout --kill-after=10 "${PIXMARL_WINE_TIMEOUT:-120}" wine "$@"
}

windows_path() { echo "Z:${1//\//\\}"; }
