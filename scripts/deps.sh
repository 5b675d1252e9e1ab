#!/usr/bin/env bash
# Installs the Debian packages a job needs; quick when they are all present.
# Usage: scripts/deps.sh GROUP...   (groups: build gui test e2e bench ttr fuzz package)
set -euo pipefail

declare -A group_packages=(
  [build]="cmake ninja-build g++ pkg-config libpcre2-dev"
  # qt6-tools-dev and qt6-l10n-tools build the English catalog (Qt6LinguistTools,
  # lupdate, lrelease); qt6-translations-l10n holds Qt's own dialog texts.
  [gui]="qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-liberation fonts-arphic-uming fonts-wqy-zenhei fontconfig"
  [test]="libgtest-dev libgmock-dev python3-dask python3-distributed"
  [e2e]="xvfb xdotool xclip x11-apps imagemagick desktop-file-utils appstream python3"
  # Qt Charts' CMake package also needs Qt's OpenGL development files, which
  # qt6-base-dev only recommends.
  # pandas and R's TTR are the baselines of the batch, price-file and swing comparisons.
  [bench]="libbenchmark-dev qt6-charts-dev libqt6opengl6-dev time python3-pandas"
  # R's zigzag routine, the swings benchmark's baseline; never needed by the suite.
  [ttr]="r-cran-ttr"
  [fuzz]="clang libclang-rt-14-dev"
  # file and dpkg-dev: CPack's dependency scan (dpkg-shlibdeps); the rest checks the package.
  [package]="file dpkg-dev lintian appstream desktop-file-utils man-db bash-completion"
)

wanted=()
for group in "$@"; do
  [[ -n "${group_packages[$group]+x}" ]] || { echo "deps.sh: unknown group '$group'" >&2; exit 2; }
  for package in ${group_packages[$group]}; do wanted+=("$package"); done
done

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "deps.sh: run as root or install sudo (missing: ${missing[*]})" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
