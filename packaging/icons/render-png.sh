#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's PNG sizes and the Windows icon from rw830kt.svg (needs rsvg-convert:
# apt-get install librsvg2-bin). They are kept in the repository, so building needs no
# renderer; run this after changing the SVG and commit the results.
set -e
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" rw830kt.svg -o "rw830kt-$size.png"
done
# The Windows icon holds the sizes Windows asks for, the large one kept as PNG (needs
# icotool: apt-get install icoutils).
icotool -c -o rw830kt.ico rw830kt-16.png rw830kt-24.png rw830kt-32.png rw830kt-48.png \
    rw830kt-64.png -r rw830kt-256.png
