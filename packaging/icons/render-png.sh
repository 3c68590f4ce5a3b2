#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's PNG sizes from rw830kt.svg (needs rsvg-convert: apt-get install
# librsvg2-bin). The PNGs are kept in the repository, so building needs no renderer;
# run this after changing the SVG and commit the results.
set -e
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" rw830kt.svg -o "rw830kt-$size.png"
done
