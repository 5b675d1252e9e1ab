#!/usr/bin/env bash
# Renders the 64x64, 256-colour program icon from tavimo.svg.
set -euo pipefail
cd "$(dirname "$0")"
convert -background none tavimo.svg -resize 64x64 PNG8:tavimo.png
