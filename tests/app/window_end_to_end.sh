#!/usr/bin/env bash
# Runs the real program on the display as a user would: finds its window by its caption, presses
# Esc and sees the file dialog, cancels it, sends the window a close request and expects the
# process to end at once with status 0, with no second file dialog.
# Usage: window_end_to_end.sh PELLARIN SEND_CLOSE_REQUEST CAPTION
set -euo pipefail

program=$(realpath "$1")
send_close_request=$(realpath "$2")
caption=$3

source "$(dirname "$0")/../support/window_driver.sh"
[[ -n "${DISPLAY:-}" ]] || fail "no display"

workdir=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$workdir"' EXIT
mkdir -p "$workdir/scenarios/save games"
cd "$workdir"

"$program" ignored-argument.eug &
pid=$!
window_pid=$pid

window=$(wait_for_window "$caption") || fail "no window captioned '$caption'"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers Escape
dialog=$(wait_for_window "$file_dialog_title") || fail "Esc did not open the file dialog"
# The file chooser may take a moment before it listens to keys: press Esc until it goes, and
# only while it is there, since Esc in the main window would open it again.
for _ in $(seq 20); do
  [[ -n "$(find_window "$file_dialog_title")" ]] || break
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  [[ -n "$(find_window "$file_dialog_title")" ]] || break
  xdotool key --clearmodifiers Escape
  for _ in $(seq 10); do
    [[ -z "$(find_window "$file_dialog_title")" ]] && break
    sleep 0.1
  done
done
[[ -z "$(find_window "$file_dialog_title")" ]] || fail "Esc in the file dialog did not cancel it"
kill -0 "$pid" 2>/dev/null || fail "the program ended on Esc"

"$send_close_request" "$window" || fail "could not send the close request"
expect_exit_with_zero "$pid" "$file_dialog_title"
echo "PASS: window found, Esc opened the file dialog, the close request ended the program with 0"
