# SPDX-License-Identifier: GPL-3.0-or-later
# The tests of a Windows build, run under Wine (scripts/check-windows.sh): every test of the
# core, the window (offscreen) and the command line that needs no Linux facility. The
# simulator runs on the Linux side, where its pseudo-terminal reaches the programs as a COM
# port; tests/support/simulator_windows.cpp asks scripts/windows/simulator-broker for one.

# A path of the build, as a program under Wine names it (its drive Z: is the Linux root).
set(RW830KT_WINE_CLI "Z:$<TARGET_FILE:rw830kt-cli>")
# support/windows/simulator.h stands in for support/simulator.h.
include_directories(BEFORE ${CMAKE_CURRENT_SOURCE_DIR}/support/windows)
# The tests that run the simulator, which the broker gives them as a COM port.
macro(rw830kt_simulator_test kind name)
    cmake_language(CALL rw830kt_${kind} ${name} ${ARGN})
    target_compile_definitions(${name} PRIVATE RW830KT_CLI="${RW830KT_WINE_CLI}")
    add_dependencies(${name} rw830kt-cli)
endmacro()

rw830kt_test(test_settingstable model/test_settingstable.cpp)
rw830kt_test(test_messagerecord messages/test_messagerecord.cpp)
rw830kt_test(test_editrules model/test_editrules.cpp)
rw830kt_test(test_profilefile base/test_profilefile.cpp)
rw830kt_test(test_synthregisters synth/test_synthregisters.cpp)
rw830kt_test(test_frequency synth/test_frequency.cpp)
rw830kt_test(test_synthsettings synth/test_synthsettings.cpp)
rw830kt_test(test_synthtable synth/test_synthtable.cpp)
rw830kt_test(test_tabledocument report/test_tabledocument.cpp)
rw830kt_test(test_settingdifferences report/test_settingdifferences.cpp)
rw830kt_test(test_windowchoices base/test_windowchoices.cpp)
rw830kt_test(test_framecodec link/protocol/test_framecodec.cpp)
rw830kt_test(test_portlist link/ports/test_portlist.cpp)
rw830kt_test(test_telnetcodec link/line/test_telnetcodec.cpp)

rw830kt_window_test(test_mainwindow app/test_mainwindow.cpp)
rw830kt_window_test(test_general_editors app/test_general_editors.cpp)
rw830kt_window_test(test_alert_editors app/test_alert_editors.cpp)
rw830kt_window_test(test_message_editor app/test_message_editor.cpp)
rw830kt_window_test(test_frequency_entry app/test_frequency_entry.cpp)
rw830kt_window_test(test_hidden_pages app/test_hidden_pages.cpp)
rw830kt_window_test(test_open_from_outside app/test_open_from_outside.cpp)
rw830kt_window_test(test_screen_reader app/test_screen_reader.cpp)
rw830kt_window_test(test_setting_catalogue app/test_setting_catalogue.cpp)
target_compile_definitions(test_setting_catalogue PRIVATE RW830KT_CLI="${RW830KT_WINE_CLI}")
add_dependencies(test_setting_catalogue rw830kt-cli)

rw830kt_simulator_test(test test_portjobs link/run/test_portjobs.cpp)
rw830kt_simulator_test(test test_cli_backup cli/test_cli_backup.cpp)
rw830kt_simulator_test(window_test test_link_window app/test_link_window.cpp)
rw830kt_simulator_test(window_test test_compare_backup app/test_compare_backup.cpp)
rw830kt_simulator_test(window_test test_unsaved_edits app/test_unsaved_edits.cpp)
rw830kt_test(test_messageimport messages/test_messageimport.cpp)
rw830kt_test(test_tablehistory model/test_tablehistory.cpp)
rw830kt_test(test_transferthread link/run/test_transferthread.cpp)
rw830kt_window_test(test_window_heard app/test_window_heard.cpp)
# Not here: test_window_seen (its measure of text at 16 pt takes the system's fonts, which
# the offscreen platform of Qt for Windows does not use), and test_desk and test_cli_sheet
# (they read the sheet's PDF with pdftotext, a Linux program): scripts/check-windows.sh
# reads a sheet that rw830kt-cli.exe draws under Wine instead.
rw830kt_test(test_safefile_windows base/test_safefile_windows.cpp)
