#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's desktop entry as GLib/GIO loads it, made from the packaging template with
# the menu's launcher in a folder of the test's own, and the MIME cache made as a package
# installation makes it (the packages' check runs the same check on the installed entry).
# Skipped (77) without python3-gi or update-desktop-database.
# Usage: desktop-entry.sh DESKTOP_TEMPLATE CHECK_SCRIPT
TEMPLATE=$1
CHECK=$2
if ! /usr/bin/python3 -c 'from gi.repository import Gio' >/dev/null 2>&1 ||
    ! command -v update-desktop-database >/dev/null 2>&1; then
    echo "Skipped: no GLib for Python or no update-desktop-database here." \
        "Install them with: scripts/install-deps.sh x11"
    exit 77
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/libexec" "$WORK/share/applications"
printf '#!/bin/sh\nexit 0\n' >"$WORK/libexec/start-from-menu"
chmod +x "$WORK/libexec/start-from-menu"
sed "s|@RW830KT_MENU_LAUNCHER@|$WORK/libexec/start-from-menu|g" "$TEMPLATE" \
    >"$WORK/share/applications/io.github.rw830kt.rw830kt.desktop"
update-desktop-database "$WORK/share/applications" || exit 1
/usr/bin/python3 "$CHECK" "$WORK/share"
