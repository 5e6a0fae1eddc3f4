# Shell functions that drive a program's windows on the display with xdotool, for the scripts that
# run the real program as a player would. Source it; `window_pid`, when set, limits the search to
# that process's windows.

# The title of the program's file dialog.
file_dialog_title='セーブファイルを指定してください'

fail() { echo "FAIL: $*" >&2; exit 1; }

# The id of a visible window with exactly this name; nothing when there is none. (The exit status
# of xdotool's search does not tell whether it found anything.)
find_window() {
  local owner=()
  [[ -n "${window_pid:-}" ]] && owner=(--pid "$window_pid")
  xdotool search --all --onlyvisible "${owner[@]}" --name "^$1\$" 2>/dev/null | head -n 1 || true
}

# Waits up to `seconds` (default 10) until such a window shows; prints its id.
wait_for_window() {
  local seconds=${2:-10}
  for _ in $(seq $((seconds * 10))); do
    local id
    id=$(find_window "$1")
    if [[ -n "$id" ]]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# Waits up to ten seconds for process `pid` to end, failing should a window named `unwanted` show
# meanwhile; then expects exit status 0.
expect_exit_with_zero() {
  local pid=$1 unwanted=$2 status=
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      break
    fi
    [[ -z "$(find_window "$unwanted")" ]] || fail "the close request opened '$unwanted'"
    sleep 0.1
  done
  [[ -n "$status" ]] || fail "the program did not end on the close request"
  [[ "$status" -eq 0 ]] || fail "exit status $status after the close request"
}
