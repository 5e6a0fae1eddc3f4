#!/usr/bin/env bash
# A wine prefix of the caller's, outside the project's cache, survives .ci/wine-run: made when it
# does not exist, and later, lacking the project's mark, in use by a wine program and holding the
# caller's own files and settings, it is neither deleted nor stopped nor waited for, gets no file
# beside it, keeps the caller's settings and gets the project's where they are missing.
# Usage: foreign_wine_prefix.sh WINE_RUN
set -euo pipefail

wine_run=$(realpath "$1")
wine=/usr/lib/wine/wine64
[[ -x "$wine" ]] || wine=$(command -v wine64 || command -v wine)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

root=$(mktemp -d /tmp/pellarin-foreign-prefix-XXXXXX)
export WINEPREFIX=$root/prefix
cleanup() {
  exec 8>&- || true
  # The prefix is this test's own: its server and programs go with it.
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$root"
}
trap cleanup EXIT

"$wine_run" cmd.exe /c exit 0 >/dev/null 2>&1 ||
  fail "wine-run failed on a prefix that did not exist"
[[ -d "$WINEPREFIX/drive_c/windows" ]] || fail "wine-run did not make the prefix"

# The caller's: its own file, its own font for one of the names that the project maps, one of the
# project's settings missing, no mark of the project's, and a program of its own running.
replacements='HKCU\Software\Wine\Fonts\Replacements'
echo kept >"$WINEPREFIX/drive_c/callers-file.txt"
"$wine" reg.exe add "$replacements" /v 'MS Gothic' /d 'Callers Gothic' /f >/dev/null 2>&1
"$wine" reg.exe delete "$replacements" /v 'MS PGothic' /f >/dev/null 2>&1
rm "$WINEPREFIX/.pellarin-ready"
mkfifo "$root/input"
"$wine" cmd.exe /c "set /p line=" <"$root/input" >/dev/null 2>&1 &
program=$!
exec 8>"$root/input"

# A wait for the caller's session would never end: a bound turns it into a failure.
status=0
timeout 300 "$wine_run" cmd.exe /c exit 0 >/dev/null 2>&1 || status=$?
[[ $status -ne 124 ]] || fail "wine-run waited for the caller's wine session"
[[ $status -eq 0 ]] || fail "wine-run failed on the caller's prefix with status $status"

[[ "$(cat "$WINEPREFIX/drive_c/callers-file.txt" 2>/dev/null)" == kept ]] ||
  fail "the caller's prefix lost its files"
state=$(ps -o stat= -p "$program" || true)
[[ -n "$state" && "$state" != Z* ]] || fail "the caller's wine program was stopped"
[[ "$(ls -A "$root")" == $'input\nprefix' ]] ||
  fail "wine-run left beside the caller's prefix: $(ls -A "$root" | tr '\n' ' ')"
"$wine" reg.exe query "$replacements" /v 'MS Gothic' 2>/dev/null | grep -q 'Callers Gothic' ||
  fail "the caller's own font replacement was overwritten"
"$wine" reg.exe query "$replacements" /v 'MS PGothic' 2>/dev/null | grep -q IPAPGothic ||
  fail "the caller's prefix did not get the project's missing font replacement"
echo "PASS: a caller's prefix made, then kept with its files, its running program and its settings"
