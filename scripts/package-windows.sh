#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the Windows build (scripts/build-windows.sh, run first) into build-windows/dist/:
#   rw830kt-VERSION-win64.zip        the two programs, the DLLs and Qt plugins they load
#                                    and nothing else, the licence and a short read-me
#   rw830kt-VERSION-win64-setup.exe  an installer made with Debian's NSIS: per user, a Start
#                                    menu entry, table files opened by the window, and an
#                                    uninstaller that keeps the user's files
# Its last two lines are the two paths.
set -e
cd "$(dirname "$0")/.."
scripts/build-windows.sh >&2
SDK=$(scripts/windows/qt-sdk.sh)
VERSION=$(sed -n 's/^project(rw830kt VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
NAME=rw830kt-$VERSION-win64
DIST=$PWD/build-windows/dist
STAGE=$DIST/$NAME
rm -rf "$DIST"
mkdir -p "$STAGE"

cp build-windows/src/rw830kt.exe build-windows/src/rw830kt-cli.exe "$STAGE/"
# The plugins the window loads: the Windows platform, offscreen for a run without a
# display, and the style Windows draws with.
for plugin in platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll; do
    mkdir -p "$STAGE/$(dirname "$plugin")"
    cp "$SDK/plugins/$plugin" "$STAGE/$plugin"
done
# Every DLL of the SDK that a program or plugin of the package imports, and what those
# import in turn; the system's own DLLs are Windows'.
imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}
pending=$(find "$STAGE" -name '*.exe' -o -name '*.dll')
while [ -n "$pending" ]; do
    next=
    for file in $pending; do
        for dll in $(imports "$file"); do
            [ -f "$SDK/bin/$dll" ] && [ ! -f "$STAGE/$dll" ] || continue
            cp "$SDK/bin/$dll" "$STAGE/$dll"
            next="$next $STAGE/$dll"
        done
    done
    pending=$next
done
x86_64-w64-mingw32-strip --strip-unneeded "$STAGE"/*.exe
# Text for Windows' editors: CRLF line ends.
sed 's/$/\r/' LICENSE >"$STAGE/LICENSE.txt"
sed -e 1d -e "s/@VERSION@/$VERSION/" -e 's/$/\r/' packaging/windows/README.txt >"$STAGE/README.txt"

(cd "$DIST" && rm -f "$NAME.zip" && zip -q -r -X "$NAME.zip" "$NAME")

# The installer installs the zip's files and, when uninstalling, removes those and no more.
# (printf, not echo: a name such as \rw830kt.exe must not become a carriage return.)
windows_name() { printf '%s' "${1#./}" | tr / '\\'; }
(cd "$STAGE" && find . -mindepth 1 -type d | sort) | while read -r d; do
    printf 'CreateDirectory "$INSTDIR\\%s"\n' "$(windows_name "$d")"
done >"$DIST/files.nsh"
(cd "$STAGE" && find . -type f | sort) | while read -r f; do
    printf 'File "/oname=%s" "%s/%s"\n' "$(windows_name "$f")" "$STAGE" "${f#./}" >>"$DIST/files.nsh"
    printf 'Delete "$INSTDIR\\%s"\n' "$(windows_name "$f")"
done >"$DIST/unfiles.nsh"
(cd "$STAGE" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(windows_name "$d")"
done >>"$DIST/unfiles.nsh"
makensis -V2 -DVERSION="$VERSION" -DSTAGE="$STAGE" -DICON="$PWD/packaging/icons/rw830kt.ico" \
    -DFILES="$DIST/files.nsh" -DUNFILES="$DIST/unfiles.nsh" -DOUTFILE="$DIST/$NAME-setup.exe" \
    packaging/windows/installer.nsi >&2
echo "$DIST/$NAME.zip"
echo "$DIST/$NAME-setup.exe"
