# Shared by the X11 session scripts: sourced after WORK (a fresh folder) is
# set. Every started process goes into PIDS and is ended on exit.
PIDS=()
# To stderr as well: a step whose output is discarded still says why.
fail() {
  echo "FAIL: $*" >&2
  for f in "$WORK"/*.err; do echo "--- $f"; tail -20 "$f"; done >&2
  exit 1
}
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# Waits up to $1 tenths of a second for the command in "$@" to succeed.
until_ok() {
  local n=$1; shift
  for _ in $(seq "$n"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
