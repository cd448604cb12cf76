#!/usr/bin/env bash
# Renders the window's and the menu's 64 px icon from the drawing. Run it after changing
# korvane-settei.svg (needs rsvg-convert, from Debian's librsvg2-bin); the PNG is kept in the
# repository so that building needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
rsvg-convert -w 64 -h 64 korvane-settei.svg -o korvane-settei.png
