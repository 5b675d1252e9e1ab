#!/usr/bin/env bash
# Drives the real tavimo window under Xvfb: types prices, presses the compute
# buttons, compares the chart on screen with tavimo-cli's image and layout,
# drives it from the keyboard (Enter computes, Ctrl+C copies what tavimo-cli
# prints, F1 and Escape), opens the chart's menu and resets a pan with it,
# uses the settings dialog and raises an error box, opens the English window;
# then once more on a screen of pixel ratio 2 (QT_SCALE_FACTOR=2), where the
# chart on screen must be tavimo-cli's --scale 2 picture.
# Usage: run_e2e.sh [--screenshot FILE] TAVIMO TAVIMO_CLI [ARTIFACT_DIR]
#   --screenshot FILE  also keep the window with the resistance levels of 10
#                      and 20 as FILE (PNG, without time stamps), once the
#                      window is checked to show tavimo-cli's chart
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool, xclip or ImageMagick).
set -uo pipefail

readonly SKIP=77
readonly USAGE="usage: run_e2e.sh [--screenshot FILE] TAVIMO TAVIMO_CLI [ARTIFACT_DIR]"
screenshot_file=""
if [[ "${1:-}" == --screenshot ]]; then
  screenshot_file=${2:?$USAGE}
  shift 2
fi
tavimo_bin=${1:?$USAGE}
cli_bin=${2:?$USAGE}
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool xclip import convert python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit $SKIP; }
done

work=$(mktemp -d /tmp/tavimo-e2e.XXXXXX)
artifacts=${3:-$work/artifacts}
mkdir -p "$artifacts"
xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  # Artifacts asked for elsewhere leave nothing of this run behind here.
  if [[ "$artifacts" != "$work"/* ]]; then rm -rf "$work"; else rm -rf "$work/app"; fi
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

# A private copy of the program, so the data.ini beside it is this run's own.
mkdir -p "$work/app"
cp "$tavimo_bin" "$work/app/tavimo"
ratios_default="0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2"

# --- display -------------------------------------------------------------------
# Room for the window at twice its size.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

# --- helpers ---------------------------------------------------------------------
# find_window REGEX [SECONDS]: the id of the visible window whose name matches.
find_window() {
  timeout "${2:-10}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1
}
# wait_gone REGEX [SECONDS]
wait_gone() {
  local deadline=$((SECONDS + ${2:-10}))
  while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}
# app_windows: how many windows of the program are on screen (a menu is one).
app_windows() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l; }
# wait_windows N [SECONDS]: until the program shows N windows.
wait_windows() {
  local deadline=$((SECONDS + ${2:-10}))
  until [[ $(app_windows) -eq $1 ]]; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}
# The screen's pixel ratio (QT_SCALE_FACTOR of the running window): control
# positions below are logical, the screen's are that many times larger.
ratio=1
# click X Y: a left click at window-client coordinates of the main window.
click() {
  xdotool mousemove --window "$main_window" $(($1 * ratio)) $(($2 * ratio)) click 1
  sleep 0.15
}
# set_box X Y TEXT: replaces the text of the edit box at X,Y.
set_box() {
  click "$1" "$2"
  xdotool key --clearmodifiers ctrl+a BackSpace
  [[ -n "$3" ]] && xdotool type --delay 20 "$3"
  sleep 0.1
}
# Centres of the controls, in client coordinates (the group box is at 8,0).
readonly EDIT1="83 30" EDIT2="195 30" SETTINGS="321 32"
readonly BUTTON_RISE="41 475" BUTTON_DECLINE="141 475" BUTTON_RESISTANCE="241 475" BUTTON_SUPPORT="340 475"
readonly BUTTON_EXIT="540 475"

# screenshot NAME: the main window's client area as NAME.png and NAME.rgb.
screenshot() {
  local geometry x y w h
  geometry=$(xdotool getwindowgeometry --shell "$main_window")
  x=$(sed -n 's/^X=//p' <<<"$geometry"); y=$(sed -n 's/^Y=//p' <<<"$geometry")
  w=$(sed -n 's/^WIDTH=//p' <<<"$geometry"); h=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$artifacts/$1.png" || fail "screenshot $1"
  convert "$artifacts/$1.png" -depth 8 "rgb:$artifacts/$1.rgb"
  echo "${w}x${h}" >"$artifacts/$1.size"
}

# expect_chart NAME CLI_ARGS...: the window's chart equals tavimo-cli's for the
# same command at the screen's ratio; retried for a few seconds while the window repaints.
expect_chart() {
  local name=$1; shift
  local size expected="$((597 * ratio))x$((504 * ratio))"
  "$cli_bin" "$@" --size 597x504 --scale "$ratio" --png "$artifacts/$name-cli.png" >/dev/null || fail "tavimo-cli $* --png"
  "$cli_bin" "$@" --size 597x504 --scale "$ratio" --layout >"$artifacts/$name-layout.json" || fail "tavimo-cli $* --layout"
  convert "$artifacts/$name-cli.png" -depth 8 "rgb:$artifacts/$name-cli.rgb"
  for attempt in $(seq 20); do
    screenshot "$name"
    size=$(cat "$artifacts/$name.size")
    [[ "$size" == "$expected" ]] || fail "main window client is $size, not $expected"
    if python3 "$here/check_chart.py" "$artifacts/$name.rgb" "$artifacts/$name-cli.rgb" \
        "$artifacts/$name-layout.json" $((597 * ratio)) $((504 * ratio)) "$ratio" 2>"$artifacts/$name.check"; then
      return 0
    fi
    sleep 0.25
  done
  cat "$artifacts/$name.check" >&2
  fail "chart after '$*' differs from tavimo-cli's"
}

# --- start-up ------------------------------------------------------------------
step "start"
(cd "$work" && exec "$work/app/tavimo") >"$work/tavimo.log" 2>&1 &
app_pid=$!
main_window=$(find_window '^Tavimo1\.3$' 15)
[[ -n "$main_window" ]] || fail "the main window did not appear"
xdotool windowfocus --sync "$main_window" 2>/dev/null || true
expect_chart start --ratios "$ratios_default"

# --- the keyboard -----------------------------------------------------------------
# The low box has the focus at start; Enter in the high box runs the compute
# command used last, rebound resistance before any.
step "keyboard: 10, Tab, 20, Return"
xdotool type --delay 20 10
xdotool key Tab
xdotool type --delay 20 20
xdotool key Return
expect_chart keyboard resistance --low 10 --high 20 --ratios "$ratios_default"

step "Ctrl+C copies what tavimo-cli prints"
xdotool key ctrl+c
sleep 0.3
"$cli_bin" resistance --low 10 --high 20 --ratios "$ratios_default" >"$artifacts/levels-cli.txt" ||
  fail "tavimo-cli resistance"
xclip -o -selection clipboard >"$artifacts/levels-clipboard.txt" 2>/dev/null || fail "nothing on the clipboard"
[[ $(wc -l <"$artifacts/levels-clipboard.txt") -eq 16 ]] || fail "the clipboard does not hold 16 lines"
cmp -s "$artifacts/levels-clipboard.txt" "$artifacts/levels-cli.txt" ||
  fail "the clipboard differs from tavimo-cli's lines (see $artifacts/levels-*.txt)"
xclip -o -selection clipboard -t text/html 2>/dev/null | grep -q '<table>' || fail "no HTML table on the clipboard"

step "F1 opens Help, Escape closes it"
xdotool key F1
help_window=$(find_window '^帮助$' 10)
[[ -n "$help_window" ]] || fail "F1 did not open Help"
xdotool windowfocus --sync "$help_window" 2>/dev/null || true
xdotool key Escape
wait_gone '^帮助$' 10 || fail "Escape did not close Help"
xdotool windowfocus --sync "$main_window" 2>/dev/null || true

step "a right click opens the chart's menu"
wait_windows 1 5 || fail "windows other than the main window are open"
xdotool mousemove --window "$main_window" 300 250 click 3
wait_windows 2 5 || fail "a right click did not open the menu"
xdotool key Escape
wait_windows 1 5 || fail "Escape did not close the menu"

step "a right drag pans; reset view gives the start-up axes back"
xdotool mousemove --window "$main_window" 300 250 mousedown 3
for dx in 10 20 30 40; do xdotool mousemove --window "$main_window" $((300 + dx)) $((250 + dx / 2)); sleep 0.05; done
xdotool mouseup 3
sleep 0.3
wait_windows 1 5 || fail "a right drag opened the menu"
screenshot panned
convert "$artifacts/keyboard.png" "$artifacts/panned.png" -metric AE -compare -format '%[distortion]' info: \
  2>/dev/null | grep -qx 0 && fail "the right drag did not pan"
xdotool mousemove --window "$main_window" 300 250 click 3
wait_windows 2 5 || fail "the menu did not open after the pan"
xdotool key r
wait_windows 1 5 || fail "the menu's reset view did not close it"
expect_chart reset-view resistance --low 10 --high 20 --ratios "$ratios_default"

# --- the confluence window ------------------------------------------------------
step "the chart's menu opens the confluence window; two waves give zones"
xdotool mousemove --window "$main_window" 300 250 click 3
wait_windows 2 5 || fail "the menu did not open for the confluence window"
xdotool key w
confluence_window=$(find_window '^多波段汇合$' 10)
[[ -n "$confluence_window" ]] || fail "the confluence window did not appear"
xdotool windowfocus --sync "$confluence_window" 2>/dev/null || true
# The waves table has the focus; Tab moves from cell to cell.
xdotool type --delay 20 10; xdotool key Tab; xdotool type --delay 20 20; xdotool key Tab Tab Tab
xdotool type --delay 20 12; xdotool key Tab; xdotool type --delay 20 18; xdotool key Return
# Copied until the zones arrive: a busy machine may still be handling the keys.
copied=
for _ in $(seq 20); do
  xdotool key ctrl+c
  sleep 0.25
  xclip -o -selection clipboard >"$artifacts/confluence-clipboard.txt" 2>/dev/null
  if grep -qP '^15–15\t2\t4$' "$artifacts/confluence-clipboard.txt"; then copied=1; break; fi
done
[[ -n "$copied" ]] || fail "the zones on the clipboard lack 15 of both waves (see $artifacts/confluence-clipboard.txt)"
import -window "$confluence_window" "$artifacts/confluence.png" 2>/dev/null || true
xdotool key Escape
wait_gone '^多波段汇合$' 10 || fail "Escape did not close the confluence window"
xdotool windowfocus --sync "$main_window" 2>/dev/null || true

# --- the four compute commands with 10 and 20 ------------------------------------
step "type 10 and 20"
set_box $EDIT1 10
set_box $EDIT2 20
for pair in "rise:$BUTTON_RISE" "decline:$BUTTON_DECLINE" "support:$BUTTON_SUPPORT" \
            "resistance:$BUTTON_RESISTANCE"; do
  mode=${pair%%:*}
  step "$mode"
  click ${pair#*:}
  expect_chart "$mode" "$mode" --low 10 --high 20 --ratios "$ratios_default"
done
if [[ -n "$screenshot_file" ]]; then
  convert "$artifacts/resistance.png" -strip "PNG24:$screenshot_file" || fail "could not write $screenshot_file"
  step "screenshot of the resistance levels written to $screenshot_file"
fi

# --- the settings dialog ---------------------------------------------------------
step "settings: cancel"
click $SETTINGS
dialog=$(find_window '^设置黄金分割点$' 10)
[[ -n "$dialog" ]] || fail "the settings dialog did not appear"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key Escape
wait_gone '^设置黄金分割点$' 10 || fail "Escape did not close the settings dialog"
[[ ! -e "$work/app/data.ini" ]] || fail "cancel wrote data.ini"
expect_chart after-cancel resistance --low 10 --high 20 --ratios "$ratios_default"

step "settings: apply 0.5,1/3"
click $SETTINGS
dialog=$(find_window '^设置黄金分割点$' 10)
[[ -n "$dialog" ]] || fail "the settings dialog did not appear again"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+a BackSpace
xdotool type --delay 20 "0.5,1/3"
xdotool key Return
wait_gone '^设置黄金分割点$' 10 || fail "Return did not close the settings dialog"
for _ in $(seq 50); do [[ -e "$work/app/data.ini" ]] && break; sleep 0.1; done
grep -q '^num=0.5,1/3' "$work/app/data.ini" 2>/dev/null || fail "data.ini does not hold the new list"
# The new bars start at 0, as the chart at start-up with that list.
expect_chart new-list --ratios "0.5,1/3"
click $BUTTON_RESISTANCE
expect_chart new-list-resistance resistance --low 10 --high 20 --ratios "0.5,1/3"

# --- an error box --------------------------------------------------------------
step "error box for a bad price"
set_box $EDIT1 abc
click $BUTTON_RESISTANCE
box=$(find_window '^Tavimo$' 10)
[[ -n "$box" ]] || fail "no error box captioned Tavimo appeared"
screenshot_box() { import -window "$box" "$artifacts/error-box.png" 2>/dev/null || true; }
screenshot_box
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_gone '^Tavimo$' 10 || fail "the error box did not close"
# The bars keep their levels.
expect_chart after-error resistance --low 10 --high 20 --ratios "0.5,1/3"

# --- exit ------------------------------------------------------------------------
step "exit"
click $BUTTON_EXIT
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "the program did not end after 退出"; fi
wait "$app_pid"; status=$?
app_pid=""
[[ $status -eq 0 ]] || fail "exit status $status"

# --- English ---------------------------------------------------------------------
step "English when the interface language is English"
(cd "$work" && exec env -u LC_ALL -u LANGUAGE LANG=en_US.UTF-8 "$work/app/tavimo") >"$work/tavimo-en.log" 2>&1 &
app_pid=$!
main_window=$(find_window '^Tavimo1\.3$' 15)
[[ -n "$main_window" ]] || fail "the English main window did not appear"
xdotool windowfocus --sync "$main_window" 2>/dev/null || true
sleep 0.5
screenshot english
xdotool key F1
[[ -n $(find_window '^Help$' 10) ]] || fail "F1 did not open a Help window captioned in English"
xdotool windowfocus --sync "$main_window" 2>/dev/null || true
click $BUTTON_EXIT
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "the English program did not end after Exit"; fi
wait "$app_pid"
app_pid=""
# --- on a screen of pixel ratio 2 ------------------------------------------------
# The chart is drawn for the ratio: pixel for pixel tavimo-cli's --scale 2.
step "pixel ratio 2: start"
rm -f "$work/app/data.ini"
ratio=2
(cd "$work" && QT_SCALE_FACTOR=$ratio exec "$work/app/tavimo") >"$work/tavimo-2x.log" 2>&1 &
app_pid=$!
main_window=$(find_window '^Tavimo1\.3$' 15)
[[ -n "$main_window" ]] || fail "the main window did not appear at ratio 2"
xdotool windowfocus --sync "$main_window" 2>/dev/null || true
expect_chart start-2x --ratios "$ratios_default"
step "pixel ratio 2: resistance of 10 and 20"
set_box $EDIT1 10
set_box $EDIT2 20
click $BUTTON_RESISTANCE
expect_chart resistance-2x resistance --low 10 --high 20 --ratios "$ratios_default"
click $BUTTON_EXIT
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "the program did not end after 退出 at ratio 2"; fi
wait "$app_pid"; status=$?
app_pid=""
[[ $status -eq 0 ]] || fail "exit status $status at ratio 2"
echo "PASS (screenshots in $artifacts)"
