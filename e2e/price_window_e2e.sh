#!/usr/bin/env bash
# Drives the price chart window under Xvfb: `tavimo FILE` opens the file's
# window beside the main one; its picture has red and green candles (the
# Chinese convention: a rise red, a fall green); a click on the current leg
# of the zigzag puts its low and high into the main window, which computes
# that leg's levels: the main chart then equals tavimo-cli's for them.
# Usage: price_window_e2e.sh TAVIMO TAVIMO_CLI [ARTIFACT_DIR]
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool or ImageMagick).
set -uo pipefail

readonly SKIP=77
tavimo_bin=${1:?usage: price_window_e2e.sh TAVIMO TAVIMO_CLI [ARTIFACT_DIR]}
cli_bin=${2:?usage: price_window_e2e.sh TAVIMO TAVIMO_CLI [ARTIFACT_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool import convert python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit $SKIP; }
done

work=$(mktemp -d /tmp/tavimo-price-e2e.XXXXXX)
artifacts=${3:-$work/artifacts}
mkdir -p "$artifacts"
xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  if [[ "$artifacts" != "$work"/* ]]; then rm -rf "$work"; else rm -rf "$work/app"; fi
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

mkdir -p "$work/app"
cp "$tavimo_bin" "$work/app/tavimo"
ratios_default="0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2"

# 100 rising bars from 50 to 100, then 100 falling ones to 75: a low pivot,
# a high pivot at 100, and the current leg down from it to 75, open.
python3 - "$work/prices.csv" <<'PY'
import datetime, sys
rows = ["Date,Open,High,Low,Close,Adj Close,Volume"]
day = datetime.date(2021, 1, 4)
def add(o, h, l, c):
    global day
    while day.weekday() >= 5:
        day += datetime.timedelta(days=1)
    rows.append(f"{day},{o:.2f},{h:.2f},{l:.2f},{c:.2f},{c:.2f},1000")
    day += datetime.timedelta(days=1)
for i in range(100):
    o = 50 + i * 0.5
    add(o, o + 0.5 if i == 99 else o + 0.7, o - 0.2, o + 0.5)
# the high of the rise is 100.00, on its last bar
for i in range(100):
    o = 100 - i * 0.25
    add(o, o + 0.1 if i else o - 0.1, o - 0.35, o - 0.25)
open(sys.argv[1], "w").write("\n".join(rows) + "\n")
PY
"$cli_bin" swings --input "$work/prices.csv" >"$artifacts/swings.txt" || fail "tavimo-cli swings"
leg_low=$(awk -F'\t' 'END { print $3 }' "$artifacts/swings.txt")
leg_high=$(awk -F'\t' '{ p[NR] = $3 } END { print p[NR - 1] }' "$artifacts/swings.txt")
[[ $leg_high == 100 ]] || fail "the test file's current leg does not start at 100 (see $artifacts/swings.txt)"

Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

find_window() { timeout "${2:-10}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1; }
# grab WINDOW NAME: the window's client area as NAME.png and NAME.rgb; prints WxH+X+Y.
grab() {
  local geometry x y w h
  geometry=$(xdotool getwindowgeometry --shell "$1")
  x=$(sed -n 's/^X=//p' <<<"$geometry"); y=$(sed -n 's/^Y=//p' <<<"$geometry")
  w=$(sed -n 's/^WIDTH=//p' <<<"$geometry"); h=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$artifacts/$2.png" || fail "screenshot $2"
  convert "$artifacts/$2.png" -depth 8 "rgb:$artifacts/$2.rgb"
  echo "${w} ${h}"
}

step "tavimo FILE opens the price window"
(cd "$work" && exec "$work/app/tavimo" "$work/prices.csv") >"$work/tavimo.log" 2>&1 &
app_pid=$!
main_window=$(find_window '^Tavimo1\.3$' 15)
[[ -n "$main_window" ]] || fail "the main window did not appear"
price_window=$(find_window 'prices\.csv' 15)
[[ -n "$price_window" ]] || fail "the price window did not appear"
# Beside the main window, so neither hides the other.
xdotool windowsize --sync "$price_window" 1000 600 2>/dev/null || true
xdotool windowmove --sync "$price_window" 600 0 2>/dev/null || true
xdotool windowmove --sync "$main_window" 0 620 2>/dev/null || true
xdotool windowactivate --sync "$price_window" 2>/dev/null || xdotool windowfocus --sync "$price_window" 2>/dev/null || true
sleep 1

step "its candles are red and green, and the current leg is on the chart"
read -r width height < <(grab "$price_window" price-window)
# Rising candles red (E02020), falling green (10A040); the zigzag (2040C0):
# the middle of its pixels right of the high pivot lies on the current leg.
target=$(python3 - "$artifacts/price-window.rgb" "$width" "$height" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
w, h = int(sys.argv[2]), int(sys.argv[3])
def at(x, y):
    i = 3 * (y * w + x)
    return data[i] << 16 | data[i + 1] << 8 | data[i + 2]
red = green = 0
zigzag = []
for y in range(h):
    for x in range(w):
        p = at(x, y)
        red += p == 0xE02020
        green += p == 0x10A040
        if p == 0x2040C0:
            zigzag.append((x, y))
if red < 50 or green < 50:
    sys.exit(f"red {red} and green {green} candle pixels")
# The high pivot is the zigzag's topmost pixel; the leg runs right and down from it.
top = min(zigzag, key=lambda p: p[1])
leg = sorted(p for p in zigzag if p[0] > top[0] + 40)
if not leg:
    sys.exit("no zigzag right of the high pivot")
x, y = leg[len(leg) // 2]
print(x, y)
PY
) || fail "the price window's picture: $target (see $artifacts/price-window.png)"

step "a click on the current leg computes its levels in the main window"
read -r leg_x leg_y <<<"$target"
xdotool mousemove --window "$price_window" "$leg_x" "$leg_y" click 1
sleep 0.5
"$cli_bin" resistance --low "$leg_low" --high "$leg_high" --ratios "$ratios_default" --size 597x504 \
  --png "$artifacts/leg-cli.png" >/dev/null || fail "tavimo-cli resistance --png"
"$cli_bin" resistance --low "$leg_low" --high "$leg_high" --ratios "$ratios_default" --size 597x504 \
  --layout >"$artifacts/leg-layout.json" || fail "tavimo-cli resistance --layout"
convert "$artifacts/leg-cli.png" -depth 8 "rgb:$artifacts/leg-cli.rgb"
for attempt in $(seq 20); do
  read -r w h < <(grab "$main_window" main-window)
  [[ "$w" == 597 && "$h" == 504 ]] || fail "main window client is ${w}x${h}, not 597x504"
  if python3 "$here/check_chart.py" "$artifacts/main-window.rgb" "$artifacts/leg-cli.rgb" \
      "$artifacts/leg-layout.json" 597 504 1 2>"$artifacts/main-window.check"; then
    echo "PASS (screenshots in $artifacts)"
    exit 0
  fi
  sleep 0.25
done
cat "$artifacts/main-window.check" >&2
fail "the main window does not show the levels of low $leg_low and high $leg_high (see $artifacts)"
