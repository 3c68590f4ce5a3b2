#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a tracked source, script or packaging file does not say its licence in its
# first line (in its second after a "#!" or "<?xml" line). Lists every such file.
# Exempt: binary files (images, table files), Markdown text, the licence text itself and
# the Debian files whose formats allow no comment.
cd "$(dirname "$0")/.."
TAG='SPDX-License-Identifier: GPL-3.0-or-later'
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    list_files() { git ls-files --cached -- "$@"; }
else
    list_files() { find "$@" -type f 2>/dev/null | sed 's|^\./||'; }
fi
missing=0
checked=0
for f in $(list_files CMakeLists.txt .ci debian packaging scripts src tests tools); do
    [ -f "$f" ] || continue
    case "$f" in
    *.md | debian/changelog | debian/copyright | debian/source/format) continue ;;
    esac
    # Text files only: grep -I takes a file with a NUL byte for binary.
    grep -Iq . "$f" || continue
    checked=$((checked + 1))
    first=$(sed -n 1p "$f")
    case "$first" in
    '#!'* | '<?xml'*) line=$(sed -n 2p "$f") ;;
    *) line=$first ;;
    esac
    case "$line" in
    *"$TAG"*) ;;
    *)
        echo "check-licence.sh: $f: no '$TAG' at its top" >&2
        missing=$((missing + 1))
        ;;
    esac
done
if [ "$missing" -gt 0 ]; then
    echo "check-licence.sh: $missing of $checked files lack the licence line." >&2
    exit 1
fi
echo "check-licence.sh: all $checked source, script and packaging files carry the licence line."
