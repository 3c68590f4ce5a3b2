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
# Qt writes its messages (QtTest's too) to the debugger when no console window is there,
# as under Wine: they belong on standard output and error.
export QT_FORCE_STDERR_LOGGING="${QT_FORCE_STDERR_LOGGING:-1}"
# The offscreen platform of Qt for Windows lays text out with the fonts of one folder, not
# the system's: the same DejaVu fonts as the Linux tests.
export QT_QPA_FONTDIR="${QT_QPA_FONTDIR:-Z:/usr/share/fonts/truetype/dejavu}"
# Wine keeps the Linux side's QT_ variables from Windows programs (they are meant for Linux
# Qt), and hands on WINEQT_X as QT_X: so QT_QPA_PLATFORM=offscreen reaches the program.
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$name=\"\$$name\""
done
exec wine "$@"
