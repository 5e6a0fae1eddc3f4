#!/usr/bin/env bash
# Starts the Windows program under wine on the display as a player would: finds its window by its
# caption, presses "ファイルを開く" from the keyboard and sees the file dialog, closes it, presses
# Esc and sees the file dialog stay open, closes it, then closes the window with Alt+F4 and
# expects the process to end with status 0.
# Usage: windows_smoke.sh WINE_RUN PELLARIN_EXE SAMPLE_DIR CAPTION
set -euo pipefail

wine_run=$(realpath "$1")
program=$(realpath "$2")
sample=$(realpath "$3")
caption=$4

source "$(dirname "$0")/../support/window_driver.sh"
[[ -n "${DISPLAY:-}" ]] || fail "no display"

# Closes the file dialog, which cancels it. Wine's file dialog takes no Esc while its window has
# the focus but none of its controls; Alt+F4 closes it like its close box.
cancel_file_dialog() {
  local dialog
  dialog=$(find_window "$file_dialog_title")
  [[ -n "$dialog" ]] || return 1
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key --clearmodifiers alt+F4
  for _ in $(seq 50); do
    [[ -z "$(find_window "$file_dialog_title")" ]] && return 0
    sleep 0.1
  done
  return 1
}

workdir=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$workdir"' EXIT
cp -r "$sample/scenarios" "$workdir/"
cd "$workdir"

"$wine_run" "$program" &
pid=$!

# A new wine prefix takes a while to start.
window=$(wait_for_window "$caption" 120) || fail "no window captioned '$caption'"
xdotool windowfocus --sync "$window"
sleep 0.5
# The focus starts on "終了"; the next tab stop is "ファイルを開く".
xdotool key --clearmodifiers Tab space
wait_for_window "$file_dialog_title" 30 >/dev/null || fail "ファイルを開く did not open the file dialog"
cancel_file_dialog || fail "the file dialog did not close"
kill -0 "$pid" 2>/dev/null || fail "the program ended when the file dialog was cancelled"

xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key --clearmodifiers Escape
wait_for_window "$file_dialog_title" 30 >/dev/null || fail "Esc did not open the file dialog"
sleep 3
[[ -n "$(find_window "$file_dialog_title")" ]] || fail "the file dialog that Esc opened closed by itself"
cancel_file_dialog || fail "the file dialog did not close"

xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key --clearmodifiers alt+F4
expect_exit_with_zero "$pid" "$file_dialog_title"
echo "PASS: window found, Open and Esc showed the file dialog, Alt+F4 ended the program with 0"
