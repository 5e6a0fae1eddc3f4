#!/usr/bin/env bash
# Runs the Windows program under wine as a player would, in wine's virtual desktop, where wine
# itself tells a click from other activations as Windows does. Keys and clicks come from xdotool;
# the program's windows, which are no X windows there, are found, measured, read and activated
# by window_probe.exe.
#
# The game folder holds the sample saves, whose oldest is 1066_england.eug, and typed.eug, a save
# with other characters, opened by typing its name. Then: Search and a header click and its flip;
# with "自動的に開く" and "開いたときに検索する" ticked, a click on the inactive window and the
# gender list opened and closed load nothing, another program activating the window loads the
# oldest save, and so does closing the about box, opened from the system menu's last entry;
# "終了" ends with status 0, and in a second run the close box ends with status 0 and no file
# dialog. Before each step that must not load, the table shows rows that a load would change.
# Usage: windows_end_to_end.sh WINE_RUN PELLARIN_EXE WINDOW_PROBE_EXE SAMPLE_DIR CAPTION
set -euo pipefail

wine_run=$(realpath "$1")
program=$(realpath "$2")
probe_exe=$(realpath "$3")
sample=$(realpath "$4")
caption=$5

fail() {
  echo "FAIL: $*" >&2
  [[ -n "${workdir:-}" ]] && command -v import >/dev/null && import -window root "$workdir/failed.png" 2>/dev/null &&
    cp "$workdir/failed.png" "${TMPDIR:-/tmp}/pellarin-windows-end-to-end-failed.png" &&
    echo "the screen at the failure: ${TMPDIR:-/tmp}/pellarin-windows-end-to-end-failed.png" >&2
  exit 1
}
[[ -n "${DISPLAY:-}" ]] || fail "no display"

# A Unix path as wine's drive Z: spells it.
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

workdir=$(mktemp -d)
# A desktop of this run's own; at the end, this run's program and probes go, and the desktop
# with them.
desktop=pellarin-end-to-end-$$
# Ends the processes whose command line holds the Unix path $1 as wine spells it.
end_processes() {
  local path
  path=$(winpath "$1")
  pkill -f -- "${path//\\/\\\\}" 2>/dev/null || true
}
cleanup() {
  end_processes "$program"
  end_processes "$workdir"
  rm -rf "$workdir"
}
trap cleanup EXIT

game=$workdir/game
mkdir -p "$game"
cp -r "$sample/scenarios" "$game/"
saves="$game/scenarios/save games"
# typed.eug: the characters of 1200_france.eug, whom the oldest save does not have.
cp "$saves/1200_france.eug" "$game/typed.eug"
cd "$game"

# Runs the probe in the desktop and prints its answer; fails when none comes.
probe() {
  local answer
  answer=$(mktemp -u "$workdir/probe-XXXXXX.txt")
  "$wine_run" explorer.exe "/desktop=$desktop,1024x768" "$(winpath "$probe_exe")" \
    "$(winpath "$answer")" "$@" >/dev/null 2>&1 || true
  for _ in $(seq 200); do
    [[ -f "$answer" ]] && { tr -d '\r' <"$answer"; return 0; }
    sleep 0.05
  done
  fail "window_probe $* gave no answer"
}

# Waits until `probe ARGS` answers something other than "none" (or, with !, until it does);
# prints the answer.
wait_for() {
  local negate=false
  [[ "$1" == "!" ]] && { negate=true; shift; }
  local answer
  for _ in $(seq 60); do
    answer=$(probe "$@")
    local found=false
    [[ "$answer" != none ]] && found=true
    if [[ $found != "$negate" ]]; then echo "$answer"; return 0; fi
    sleep 0.25
  done
  return 1
}

desktop_window() { xdotool search --name "^$desktop - Wine desktop\$" 2>/dev/null | head -n 1; }

keys() {
  xdotool windowfocus --sync "$(desktop_window)" 2>/dev/null || true
  xdotool key --clearmodifiers --delay 80 "$@"
  sleep 0.5
}

type_text() {
  xdotool windowfocus --sync "$(desktop_window)" 2>/dev/null || true
  xdotool type --delay 60 "$1"
  sleep 0.3
}

# Clicks at screen position X Y of the desktop (which stands at the display's top-left).
click_at() {
  xdotool mousemove --sync "$1" "$2" click 1
  sleep 0.7
}

# Clicks the middle of the main window's control ID.
click_control() {
  local x y w h
  read -r x y w h < <(probe rect "$caption" "$1")
  [[ -n "$h" ]] || fail "no control $1"
  click_at $((x + w / 2)) $((y + h / 2))
}

# The names in the table, in name order: which save it shows, whatever the sort.
names() { probe column "$caption" 0 | sort; }

# Starts the program in the desktop; its exit status lands in $status_file.
start_program() {
  status_file=$workdir/status-$1.txt
  "$wine_run" explorer.exe "/desktop=$desktop,1024x768" "$(winpath "$probe_exe")" \
    "$(winpath "$status_file")" run "$(winpath "$program")" >/dev/null 2>&1 &
  # The desktop first: a probe started before it would make the desktop itself and stay with it.
  for _ in $(seq 300); do [[ -n "$(desktop_window)" ]] && break; sleep 0.1; done
  [[ -n "$(desktop_window)" ]] || fail "wine's virtual desktop did not show"
  wait_for rect "$caption" >/dev/null || fail "no window captioned '$caption'"
  sleep 1
}

expect_exit_with_zero() {
  for _ in $(seq 100); do
    [[ -f "$status_file" ]] && break
    [[ "$(probe rect 'セーブファイルを指定してください')" == none ]] || fail "$1 opened the file dialog"
    sleep 0.1
  done
  [[ -f "$status_file" ]] || fail "the program did not end on $1"
  [[ "$(tr -d '\r\n' <"$status_file")" == "exit 0" ]] || fail "$1 ended the program with '$(cat "$status_file")'"
}

# The controls' identifiers.
IDOK=1 IDC_OPEN_FILE=2 IDC_SEARCH=3 IDC_GENDER_COMBO=1003 IDC_AUTO_OPEN_CHECK=1011
IDC_SEARCH_ON_OPEN_CHECK=1012 IDC_ROSTER_LIST=1004

start_program first
probe activate "$caption" >/dev/null

# Open, by typing the name of a save in the game folder.
click_control $IDC_OPEN_FILE
wait_for rect 'セーブファイルを指定してください' >/dev/null || fail "ファイルを開く showed no file dialog"
sleep 1
type_text '..\..\typed.eug'
keys Return
message=$(wait_for texts Pellarin) || fail "no message after the open"
[[ "$message" == *'ファイルの読み込みが完了しました。'* ]] || fail "the message said: $message"
keys Return
wait_for ! rect Pellarin >/dev/null || fail "the message did not close"
[[ -z "$(names)" ]] || fail "the open alone filled the table"

# Search with the default filters, then sort by age and flip it.
click_control $IDC_SEARCH
typed_names=$(names)
[[ -n "$typed_names" ]] || fail "Search listed nothing from typed.eug"
read -r x y w h < <(probe rect "$caption" $IDC_ROSTER_LIST)
# The header of 年齢, the fourth column, 200 + 50 + 50 + 25 pixels from the list's left.
click_at $((x + 325)) $((y + 10))
ascending=$(probe column "$caption" 3)
click_at $((x + 325)) $((y + 10))
descending=$(probe column "$caption" 3)
[[ "$ascending" == "$(sort -n <<<"$ascending")" ]] || fail "ages not ascending after a click: $ascending"
[[ "$descending" == "$(sort -rn <<<"$ascending")" ]] || fail "the second click did not flip the order"

click_control $IDC_SEARCH_ON_OPEN_CHECK
click_control $IDC_AUTO_OPEN_CHECK
[[ "$(names)" == "$typed_names" ]] || fail "ticking the boxes changed the table"

# Another program's window in front; a click on the inactive window loads nothing.
"$wine_run" explorer.exe "/desktop=$desktop,1024x768" "$(winpath "$probe_exe")" \
  "$(winpath "$workdir/decoy.txt")" decoy >/dev/null 2>&1 || true
wait_for rect decoy >/dev/null || fail "the decoy window did not show"
sleep 0.5
read -r x y w h < <(probe rect "$caption")
# The dialog's own background, between the check boxes and "終了".
read -r cx cy cw ch < <(probe rect "$caption" $IDC_SEARCH_ON_OPEN_CHECK)
click_at $((cx + cw + 20)) $((cy + ch / 2))
[[ "$(names)" == "$typed_names" ]] || fail "a click on the inactive window loaded a save"

# The gender list opened and closed with the mouse loads nothing either.
click_control $IDC_GENDER_COMBO
click_control $IDC_GENDER_COMBO
[[ "$(names)" == "$typed_names" ]] || fail "the window's own drop-down list loaded a save"

# Another program activates the window: the oldest save loads, and is searched.
probe activate decoy >/dev/null
sleep 0.5
probe activate "$caption" >/dev/null
sleep 1
oldest_names=$(names)
[[ -n "$oldest_names" && "$oldest_names" != "$typed_names" ]] ||
  fail "activation by another program did not load the oldest save"

# A new oldest save, with typed.eug's characters; the about box from the system menu's last entry,
# and its closing loads it.
cp "$game/typed.eug" "$saves/0001_oldest.eug"
touch -d '2000-01-01' "$saves/0001_oldest.eug"
keys alt+space
keys Up Return
wait_for rect 'Pellarinのﾊﾞｰｼﾞｮﾝ情報' >/dev/null || fail "the system menu's last entry did not open the about box"
[[ "$(names)" == "$oldest_names" ]] || fail "opening the about box loaded a save"
keys Return
wait_for ! rect 'Pellarinのﾊﾞｰｼﾞｮﾝ情報' >/dev/null || fail "the about box did not close"
sleep 1
[[ "$(names)" == "$typed_names" ]] ||
  fail "closing the about box did not load the new oldest save"

# "終了" ends the program with status 0.
click_control $IDOK
expect_exit_with_zero "終了"

# A second run: the close box ends it with status 0 and shows no file dialog.
start_program second
probe activate "$caption" >/dev/null
read -r bx by < <(probe close-box "$caption")
[[ -n "$by" ]] || fail "no close box"
click_at "$bx" "$by"
expect_exit_with_zero "the close box"
echo "PASS: typed open, Search, sort and flip; click, own list and own box closing as Windows reports them; about box from the system menu; 終了 and the close box end with 0"
