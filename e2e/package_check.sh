#!/usr/bin/env bash
# Installs the Debian package as a user would and takes it away again: builds
# the .deb from the release build with CPack, installs it with apt-get, checks
# tavimo-cli on the PATH, the manual pages, the bash completion and the window
# with its per-user settings file, then purges the package and checks that
# none of its files remain. A trap purges the package whatever happens, so the
# machine is left as it was (apart from the caches that dpkg's triggers
# rebuild, such as the manual page index).
# Usage: package_check.sh BUILD_DIR
# Exit status: 0 passed, 1 failed, 77 skipped (not root, a tool missing, a
# tavimo package already installed, or dependencies that apt would download).
set -uo pipefail

readonly SKIP=77
build=${1:?usage: package_check.sh BUILD_DIR}
build=$(cd "$build" && pwd)
skip() { echo "SKIP: $*"; exit $SKIP; }
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- [${SECONDS}s] $*"; }

[[ $(id -u) -eq 0 ]] || skip "installing a package needs root (CI runs as root)"
for tool in apt-get dpkg-deb dpkg-shlibdeps file cpack Xvfb xdotool man pkg-config setpriv; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh e2e package)"
done
completions=$(pkg-config --variable=completionsdir bash-completion 2>/dev/null)
[[ -n "$completions" ]] || skip "bash-completion is not installed (scripts/deps.sh package)"
[[ -f "$build/CPackConfig.cmake" ]] || skip "$build has no package configuration"
package_status() { dpkg-query -W -f='${db:Status-Status}' tavimo 2>/dev/null; }
status=$(package_status)
if [[ -n "$status" && "$status" != not-installed ]]; then
  skip "a tavimo package is on this machine already ($status); the check would replace and purge it"
fi

work=$(mktemp -d /tmp/tavimo-package.XXXXXX)
# apt reads the .deb as its own unprivileged user.
chmod 755 "$work"
xvfb_pid=""
app_pid=""
installed=false
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  if $installed || [[ -n "$(package_status)" && "$(package_status)" != not-installed ]]; then
    echo "-- cleanup: purging tavimo"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q tavimo >"$work/cleanup-purge.log" 2>&1 ||
      cat "$work/cleanup-purge.log" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT
export DEBIAN_FRONTEND=noninteractive

# --- the package -------------------------------------------------------------------
step "build the package"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/package/tavimo_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || fail "CPack made no single tavimo .deb"
deb=${debs[0]}
echo "$(basename "$deb")"
if command -v lintian >/dev/null; then
  step "lintian"
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1
  lint_status=$?
  grep -v 'running with root privileges' "$work/lintian.log"
  [[ $lint_status -eq 0 ]] || fail "lintian reports errors"
fi
# The files the package brings, as absolute paths (directories end in /).
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$' >"$work/files"
[[ -s "$work/files" ]] || fail "the package holds no files"

# apt must install the package alone: anything more would be downloaded and stay behind.
plan=$(apt-get install -s -q --no-install-recommends "$deb" 2>&1) || { echo "$plan" >&2; fail "apt-get install -s"; }
others=$(awk '/^Inst / && $2 != "tavimo" { print $2 }' <<<"$plan" | tr '\n' ' ')
[[ -z "$others" ]] || skip "installing the package would also install: $others(scripts/deps.sh gui installs them)"

# --- install ---------------------------------------------------------------------
step "apt-get install $(basename "$deb")"
installed=true
apt-get install -y -q --no-install-recommends "$deb" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "apt-get install"; }
[[ "$(package_status)" == installed ]] || fail "dpkg does not list tavimo as installed"

step "tavimo-cli from PATH"
cli=$(PATH=/usr/bin:/bin command -v tavimo-cli)
[[ "$cli" == /usr/bin/tavimo-cli ]] || fail "tavimo-cli on the PATH is '$cli', not /usr/bin/tavimo-cli"
ratios_default="0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2"
mkdir -p "$work/cli-config"
# An empty per-user configuration: the installed program reads the default list.
XDG_CONFIG_HOME="$work/cli-config" HOME="$work" PATH=/usr/bin:/bin tavimo-cli resistance --low 10 --high 20 \
  >"$work/levels" || fail "tavimo-cli resistance --low 10 --high 20"
"$build/src/cli/tavimo-cli" resistance --low 10 --high 20 --ratios "$ratios_default" >"$work/levels-build" ||
  fail "the build's tavimo-cli"
[[ $(wc -l <"$work/levels") -eq 16 ]] || { cat "$work/levels" >&2; fail "tavimo-cli printed no 16 levels"; }
cmp -s "$work/levels" "$work/levels-build" || fail "the installed tavimo-cli's levels differ from the build's"
[[ "$(head -1 "$work/levels")" == $'0.191\t11.91' && "$(tail -1 "$work/levels")" == $'2\t30' ]] ||
  fail "unexpected levels: $(tr '\n' ' ' <"$work/levels")"

step "manual pages"
man_files=$(grep '^/usr/share/man/' "$work/files" | tr '\n' ' ')
[[ "$man_files" == *"/man1/tavimo.1.gz"* && "$man_files" == *"/man1/tavimo-cli.1.gz"* ]] ||
  fail "the package lacks a manual page: $man_files"
if [[ ! -e /usr/share/man/man1/tavimo.1.gz ]] &&
    grep -qsE '^[[:space:]]*path-exclude[[:space:]=]+/usr/share/man' /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/*; then
  echo "NOTE: dpkg on this machine leaves out /usr/share/man (path-exclude in /etc/dpkg/dpkg.cfg.d/):" \
       "the pages are in the package but man cannot be checked here"
else
  pages=$(man -w tavimo tavimo-cli 2>&1) || fail "man -w tavimo tavimo-cli: $pages"
  [[ "$pages" == $'/usr/share/man/man1/tavimo.1.gz\n/usr/share/man/man1/tavimo-cli.1.gz' ]] ||
    fail "man -w found: $pages"
  for page in tavimo tavimo-cli; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings "$page" >"$work/$page.txt" 2>"$work/$page.warnings" ||
      fail "man $page"
    [[ ! -s "$work/$page.warnings" ]] || { cat "$work/$page.warnings" >&2; fail "man $page warns"; }
  done
  grep -q 'resistance' "$work/tavimo-cli.txt" || fail "man tavimo-cli does not describe the modes"
fi

step "bash completion in $completions"
[[ -f "$completions/tavimo-cli" ]] || fail "no $completions/tavimo-cli"
# bash-completion loads the file by the command's name, as an interactive shell would.
mkdir -p "$work/completion/charts"
completed=$(cd "$work/completion" && touch chart.png notes.txt && bash --norc --noprofile -c '
  source /usr/share/bash-completion/bash_completion
  __load_completion tavimo-cli || exit 1
  complete_words() {
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _tavimo_cli tavimo-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    echo "${COMPREPLY[*]}"
  }
  complete_words tavimo-cli re
  complete_words tavimo-cli resistance --fo
  complete_words tavimo-cli resistance --format ""
  complete_words tavimo-cli resistance --png ""
  complete_words tavimo-cli ra
  complete_words tavimo-cli ratios --
  complete_words tavimo-cli pro
  complete_words tavimo-cli resistance --round ""
  complete_words tavimo-cli resistance --scale-levels ""
  complete_words tavimo-cli batch rise,de
  complete_words tavimo-cli batch rise --input ""
  complete_words tavimo-cli confluence --wave 10:20 --mo
' 2>&1)
[[ "$completed" == $'resistance\n--format\ntext csv json\nchart.png charts\nratios\n--set --reset --help\n'\
$'projection-up projection-down\nnearest up down\nlinear log\nrise,decline\nnotes.txt charts\n--modes' ]] ||
  fail "completion of tavimo-cli gave: $(tr '\n' '|' <<<"$completed")"

# --- the window --------------------------------------------------------------------
step "/usr/bin/tavimo under Xvfb"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
home=$work/home
mkdir -p "$home"
chmod 777 "$home"
# An ordinary user, as a desktop session runs the program.
env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home" PATH=/usr/bin:/bin \
  setpriv --reuid=nobody --regid=nogroup --clear-groups tavimo >"$work/tavimo.log" 2>&1 &
app_pid=$!
main_window=$(timeout 15 xdotool search --sync --onlyvisible --name '^Tavimo1\.3$' 2>/dev/null | head -1)
[[ -n "$main_window" ]] || { cat "$work/tavimo.log" >&2; fail "the window did not appear"; }
xdotool windowfocus --sync "$main_window" 2>/dev/null || true
xdotool mousemove --window "$main_window" 321 32 click 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^设置黄金分割点$' 2>/dev/null | head -1)
[[ -n "$dialog" ]] || fail "the settings dialog did not appear"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+a BackSpace
xdotool type --delay 20 "0.5,1/3"
xdotool key Return
settings=$home/.config/tavimo/data.ini
for _ in $(seq 50); do [[ -e "$settings" ]] && break; sleep 0.1; done
grep -q '^num=0.5,1/3' "$settings" 2>/dev/null || fail "no ~/.config/tavimo/data.ini with the new list"
xdotool mousemove --window "$main_window" 540 475 click 1
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after 退出"
wait "$app_pid"
app_status=$?
app_pid=""
[[ $app_status -eq 0 ]] || fail "the program ended with status $app_status"

# --- purge -------------------------------------------------------------------------
step "apt-get purge tavimo"
apt-get purge -y -q tavimo >"$work/purge.log" 2>&1 || { cat "$work/purge.log" >&2; fail "apt-get purge"; }
installed=false
status=$(package_status)
[[ -z "$status" || "$status" == not-installed ]] || fail "dpkg still lists tavimo ($status)"
left=()
while read -r file; do
  [[ -e "$file" || -L "$file" ]] && left+=("$file")
done <"$work/files"
[[ -e /usr/share/doc/tavimo ]] && left+=(/usr/share/doc/tavimo)
[[ ${#left[@]} -eq 0 ]] || fail "left behind after purge: ${left[*]}"
echo "PASS: installed, used and purged $(basename "$deb") ($(wc -l <"$work/files") files)"
