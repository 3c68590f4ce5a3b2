#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program of the build under Wine, with the DLLs and plugins of the Qt for
# MinGW in QT_SDK beside it (ctest runs the Windows tests through this):
#   wine-run.sh QT_SDK PROGRAM.exe [ARGUMENTS...]
# WINEPREFIX is the caller's (scripts/check-windows.sh makes a fresh one); Wine's own
# messages are left out unless WINEDEBUG asks for them.
set -e
SDK=$1
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPATH="Z:$SDK/bin"
export QT_PLUGIN_PATH="Z:$SDK/plugins"
exec wine "$@"
