#!/usr/bin/env bash
# Renders the application icon's PNG sizes into resources/icons/hicolor from its two
# drawings: packaging/vexa-small.svg for 16 and 24 pixels, the scalable icon for the rest.
# Not part of the build (the PNGs are kept in the tree); run it after changing a drawing.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
theme="$root/resources/icons/hicolor"
for size in 16 24 32 48 64 128 256; do
  source="$theme/scalable/apps/vexa.svg"
  [ "$size" -le 24 ] && source="$root/packaging/vexa-small.svg"
  mkdir -p "$theme/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$source" -o "$theme/${size}x${size}/apps/vexa.png"
done
