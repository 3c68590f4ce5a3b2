# SPDX-License-Identifier: GPL-3.0-or-later
# CMake toolchain for 64-bit Windows programs built on Debian with MinGW-w64 (posix
# threads). RW_QT_MINGW_PREFIX (environment or -D) is where the Qt for MinGW lies.
if(NOT RW_QT_MINGW_PREFIX)
    set(RW_QT_MINGW_PREFIX "$ENV{RW_QT_MINGW_PREFIX}")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${RW_QT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
