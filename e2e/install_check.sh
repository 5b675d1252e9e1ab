#!/usr/bin/env bash
# Installs the program into a fresh prefix, makes the prefix read-only and
# checks the desktop files and that the installed program keeps its settings
# in the per-user data.ini: it applies a ratio list through the settings
# dialog under Xvfb and looks for the file under $XDG_CONFIG_HOME/tavimo.
# Usage: install_check.sh BUILD_DIR
# Exit status: 0 passed, 1 failed, 77 skipped (display or validation tools missing).
set -uo pipefail

readonly SKIP=77
build=${1:?usage: install_check.sh BUILD_DIR}
for tool in Xvfb xdotool desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit $SKIP; }
done

work=$(mktemp -d /tmp/tavimo-install.XXXXXX)
chmod 755 "$work"
xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
id=org.example.tavimo
for f in bin/tavimo bin/tavimo-cli share/applications/$id.desktop share/icons/hicolor/64x64/apps/$id.png \
         share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml \
         share/man/man1/tavimo.1.gz share/man/man1/tavimo-cli.1.gz \
         share/bash-completion/completions/tavimo-cli share/doc/tavimo/copyright share/doc/tavimo/changelog.gz; do
  [[ -e "$prefix/$f" ]] || fail "$f was not installed"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
# The entry's icon is one of the installed ones.
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "the desktop entry names another icon"
chmod -R a-w "$prefix"

# root may write anywhere; the program runs as an ordinary user, as installed programs do.
run_as=()
if [[ $(id -u) -eq 0 ]]; then
  command -v setpriv >/dev/null || { echo "SKIP: running as root without setpriv"; exit $SKIP; }
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
config=$work/config
mkdir -p "$config"
chmod 777 "$config"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

env HOME="$work" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$config" "${run_as[@]}" "$prefix/bin/tavimo" \
  >"$work/tavimo.log" 2>&1 &
app_pid=$!
main_window=$(timeout 15 xdotool search --sync --onlyvisible --name '^Tavimo1\.3$' 2>/dev/null | head -1)
[[ -n "$main_window" ]] || { cat "$work/tavimo.log" >&2; fail "the installed program's window did not appear"; }
xdotool windowfocus --sync "$main_window" 2>/dev/null || true
xdotool mousemove --window "$main_window" 321 32 click 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^设置黄金分割点$' 2>/dev/null | head -1)
[[ -n "$dialog" ]] || fail "the settings dialog did not appear"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+a BackSpace
xdotool type --delay 20 "0.5,1/3"
xdotool key Return
settings=$config/tavimo/data.ini
for _ in $(seq 50); do [[ -e "$settings" ]] && break; sleep 0.1; done
grep -q '^num=0.5,1/3' "$settings" 2>/dev/null || fail "no per-user $settings with the new list"
[[ ! -e "$prefix/bin/data.ini" ]] || fail "the read-only prefix got a data.ini"
# No error box: the store succeeded.
if timeout 2 xdotool search --sync --onlyvisible --name '^Tavimo$' >/dev/null 2>&1; then
  fail "an error box appeared"
fi
echo "PASS: installed files valid; settings stored in the per-user data.ini"
