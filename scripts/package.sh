#!/usr/bin/env bash
# Builds the Debian package build/package/tavimo_<version>_<arch>.deb with
# CPack from the release build (build/release, reused as configured) and
# checks it with lintian, which must report no error.
# Install it with: apt install ./build/package/tavimo_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build gui package
scripts/release-build.sh
out=build/package
rm -rf "$out"
cpack --config build/release/CPackConfig.cmake -B "$out"
debs=("$out"/tavimo_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || { echo "package.sh: CPack made no single .deb in $out" >&2; exit 1; }
rm -rf "$out/_CPack_Packages"
echo "== lintian ${debs[0]}"
lintian --fail-on error "${debs[0]}"
echo "package.sh: ${debs[0]}"
