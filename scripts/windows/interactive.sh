# Sourced by scripts/windows-test.sh: the checks that cannot be compared
# with a POSIX run: a real console, a held output folder and the dialogs.
# shellcheck shell=bash

# A real console instead of pipes: Wine makes one of a terminal, so the
# program writes with WriteConsoleW and reads the return key with
# ReadConsoleW. The terminal adds its own control sequences, so the text is
# checked line by line instead of against the POSIX run. The return key is
# typed once the program asks for it: typed before Wine has put the terminal
# into raw mode, it would arrive as a line feed, which is no return key.
check_real_console() {
  new_case real-console
  input_small "$e2e/$name/input" p.xml
  cp -a "$e2e/$name/input" "$e2e/$name/win"
  local status=0 terminal="$e2e/$name/terminal.txt"
  (cd "$e2e/$name/win" && { wait_for_text "$terminal" "Press return to exit"; printf '\r'; } |
     env -u DISPLAY TARNELTHC_OUTPUT=out timeout 60 script -qfec "$wine 'T:\\bin\\tarnelthc.exe' größe p.xml" /dev/null \
     >"$terminal" 2>&1) || status=$?
  perl -pe 's/\e\[[0-9;?]*[A-Za-z]//g; s/\r//g' "$terminal" >"$e2e/$name/win.console"
  local before=$failures
  [ "$status" = 0 ] || fail "$name: exit code $status, expected 0"
  expect_line "Analyzing file größe"
  expect_line "Creating HTML files at out\\"
  expect_line "Press return to exit"
  expect_files out 3
  [ "$failures" -eq "$before" ] && echo "ok   $name (exit code $status)"
  return 0
}

# wait_for_text FILE TEXT: waits up to a minute for FILE to hold TEXT.
wait_for_text() {
  local i
  for i in $(seq 1 600); do
    grep -q -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# One run at a time per output folder: a second run started while the first
# is still writing a large project is turned away and writes nothing.
check_held_folder() {
  new_case held-folder
  local in="$e2e/$name/input" status=0
  perl -e 'print "<doc title=\"Big\"><library name=\"L\">";
    print "<command name=\"C$_\"><description>d</description></command>" for 1 .. 2000;
    print "</library></doc>";' >"$in/big.xml"
  input_small "$in" p.xml
  mkdir -p "$in/out"
  printf '%s' 'tarnelthc.exe x big.xml' >"$e2e/$name/first.txt"
  printf '%s' 'tarnelthc.exe x p.xml' >"$e2e/$name/cmdline.txt"
  (cd "$in" && printf '\r\n' | env -u DISPLAY TARNELTHC_OUTPUT=out timeout 120 "$wine" 'T:\bin\launch.exe' \
     'T:\bin\tarnelthc.exe' "$(tpath "$e2e/$name/first.txt")" >"$e2e/$name/first.console" 2>&1) &
  local first=$!
  wait_for_text "$e2e/$name/first.console" "File ok" || true
  (cd "$in" && printf '\r\n' | env -u DISPLAY TARNELTHC_OUTPUT=out timeout 90 "$wine" 'T:\bin\launch.exe' \
     'T:\bin\tarnelthc.exe' "$(tpath "$e2e/$name/cmdline.txt")" >"$e2e/$name/win.console" 2>&1) || status=$?
  local before=$failures first_status=0
  wait "$first" || first_status=$?
  [ "$status" = 1 ] || fail "$name: second run's exit code $status, expected 1"
  expect_line "Output folder is in use by another run: out\\"
  [ "$first_status" = 0 ] || fail "$name: first run's exit code $first_status, expected 0"
  [ ! -e "$in/out/.tarnelthc.lock" ] || fail "$name: the lock file was left behind"
  expect_files_in "$in/out" 2000
  [ "$failures" -eq "$before" ] && echo "ok   $name (exit codes $first_status and $status)"
  return 0
}

# --- The dialogs, under Xvfb ----------------------------------------------------

xvfb_pid=""
stop_xvfb() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap stop_xvfb EXIT

start_xvfb() {
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdotool getmouselocation >/dev/null 2>&1 && return 0
      sleep 0.2
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  return 1
}

# Waits for a window with this exact title and gives it the keyboard.
window() {
  local id
  id="$(timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1)" || true
  if [ -z "$id" ]; then
    echo "dialogs: $name: no window \"$1\""
    return 1
  fi
  sleep 2  # the dialog fills in its controls after it is shown
  if ! xdotool windowfocus --sync "$id" 2>/dev/null; then
    echo "dialogs: $name: window \"$1\" takes no focus"
    return 1
  fi
}

# Starts the program in the background in the case folder, without the
# launcher: the background job is the timeout process and its child the
# program itself, so ending the job ends the program and its dialogs.
start_dialog_run() {
  printf '\r\n' >"$e2e/$name/stdin.txt"
  (cd "$e2e/$name/win" && exec env -u TARNELTHC_OUTPUT timeout 120 "$wine" 'T:\bin\tarnelthc.exe' "$@" \
      <"$e2e/$name/stdin.txt" >"$e2e/$name/win.console" 2>"$e2e/$name/win.stderr") &
  run_pid=$!
}

abort_dialog_run() {
  kill "$run_pid" 2>/dev/null || true
  wait "$run_pid" 2>/dev/null || true
}

finish_dialog_run() {
  local i status=0
  for i in $(seq 1 60); do
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 1
  done
  if kill -0 "$run_pid" 2>/dev/null; then
    abort_dialog_run
    return 1
  fi
  wait "$run_pid" || status=$?
  echo "$status" >"$e2e/$name/win.status"
}

dialog_new_case() {
  new_case "$1"
  input_demo "$e2e/$name/input"
  cp -a "$e2e/$name/input" "$e2e/$name/win"
}

not() { ! "$@"; }

# Runs the command; when it fails, says what was wrong.
dialog_check() {
  "${@:2}" && return 0
  echo "dialogs: $name: $1"
  return 1
}

console_has() { tr -d '\r' <"$e2e/$name/win.console" | grep -Fxq -- "$1"; }

# answer TITLE KEY [TEXT]: once the window shows, types TEXT into it and
# presses KEY; the run is given up when the window does not show.
answer() {
  window "$1" || { abort_dialog_run; return 1; }
  [ -z "${3:-}" ] || xdotool type --delay 40 "$3"
  xdotool key "$2" || true
}

# Waits for the run to end and checks its exit code.
dialog_ended_with() {
  finish_dialog_run || { echo "dialogs: $name: the program did not end"; return 1; }
  local status
  status="$(cat "$e2e/$name/win.status")"
  dialog_check "exit code $status, expected $1" [ "$status" = "$1" ]
}

# The file dialog, then the folder dialog that opens in the project folder.
dialog_full_run() {
  dialog_new_case dialog-full
  local project
  project="$(tpath "$e2e/$name/win/demo.xml")"
  start_dialog_run
  answer "Select document project file" Return "$project" || return 1
  answer "Browse for Folder" Return || return 1
  dialog_ended_with 0 || return 1
  dialog_check "no line \"Analyzing file \"" console_has "Analyzing file " || return 1
  dialog_check "output not in the project folder" console_has "Creating HTML files at $(tpath "$e2e/$name/win")\\" || return 1
  # The same files as the demo case's POSIX run, but for its help file: a
  # run through the dialogs takes no options, so it compiles none.
  local f
  for f in "$e2e"/demo/posix/out/*; do
    [[ "$f" == *.chm ]] && continue
    dialog_check "$(basename "$f") differs" cmp -s "$f" "$e2e/$name/win/$(basename "$f")" || return 1
  done
}

# One argument: it is only echoed and the file dialog still comes; cancelling
# it shows the message box and ends without "Press return to exit".
dialog_cancel_file() {
  dialog_new_case dialog-cancel-file
  start_dialog_run demo.xml
  answer "Select document project file" Escape || return 1
  answer "Abort" Return || return 1
  dialog_ended_with 1 || return 1
  dialog_check "no line \"Analyzing file demo.xml\"" console_has "Analyzing file demo.xml" || return 1
  dialog_check "\"Press return to exit\" after an abort" not console_has "Press return to exit" || return 1
  [ ! -e "$e2e/$name/win/index.html" ]
}

dialog_cancel_folder() {
  dialog_new_case dialog-cancel-folder
  start_dialog_run
  answer "Select document project file" Return "$(tpath "$e2e/$name/win/demo.xml")" || return 1
  answer "Browse for Folder" Escape || return 1
  answer "Abort" Return || return 1
  dialog_ended_with 1 || return 1
  dialog_check "\"Press return to exit\" after an abort" not console_has "Press return to exit" || return 1
  [ ! -e "$e2e/$name/win/index.html" ]
}

run_dialogs() {
  dialog_failures=0
  if ! start_xvfb; then
    echo "dialogs: no X server could be started"
    dialog_failures=1
    return
  fi
  # The cases before ran without a display, and Wine's desktop process of
  # that time would hold the first windows invisibly: wait until it ended.
  timeout 30 "$wineserver" -w || true
  local test attempt
  for test in dialog_cancel_file dialog_cancel_folder dialog_full_run; do
    local passed=0
    for attempt in 1 2 3; do
      fence_drives
      if "$test"; then
        passed=1
        break
      fi
      echo "dialogs: $test attempt $attempt failed"
    done
    if [ "$passed" -eq 1 ]; then
      echo "ok   $test (attempt $attempt)"
    else
      echo "FAIL $test"
      dialog_failures=$((dialog_failures + 1))
    fi
  done
  stop_xvfb
  xvfb_pid=""
}
