; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer of RW830KT, made by scripts/package-windows.sh with Debian's NSIS:
;   makensis -DVERSION=1.0.7 -DSTAGE=<folder of the zip's files> -DICON=<rw830kt.ico>
;            -DFILES=<files.nsh> -DUNFILES=<unfiles.nsh> -DOUTFILE=<setup.exe> installer.nsi
; Installs for the user alone, without administrator rights, into
; %LOCALAPPDATA%\Programs\RW830KT: the window keeps its settings file, default.tbl, backups,
; traces and exports in its program folder, which must be writable. A Start menu entry
; starts it there; table files (.tbl) open in it. The uninstaller removes what was
; installed and keeps the user's files in that folder.
; A 64-bit installer for a 64-bit program (and one that a 64-bit Wine alone runs).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"

!define APP "RW830KT"
!define CLASS "RW830KT.Table"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\rw830kt.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Install"
    SetOutPath "$INSTDIR"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut starts the window in its own folder, its program directory.
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\rw830kt.exe" "" "$INSTDIR\rw830kt.exe" 0

    ; Table files open in the window, which then keeps to its own folder as well.
    WriteRegStr HKCU "Software\Classes\.tbl" "" "${CLASS}"
    WriteRegStr HKCU "Software\Classes\${CLASS}" "" "RW830KT settings table"
    WriteRegStr HKCU "Software\Classes\${CLASS}\DefaultIcon" "" '"$INSTDIR\rw830kt.exe",0'
    WriteRegStr HKCU "Software\Classes\${CLASS}\shell\open\command" "" \
        '"$INSTDIR\rw830kt.exe" --program-folder "$INSTDIR" "%1"'
    ; Explorer shows the new association at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\rw830kt.exe",0'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; Only what the installer put there: the settings file, default.tbl, backups, traces,
    ; exports and the user's tables stay, and so does the folder that holds them.
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${APP}.lnk"
    ; .tbl is left to whatever other program took it over since.
    ReadRegStr $0 HKCU "Software\Classes\.tbl" ""
    StrCmp $0 "${CLASS}" 0 +3
        DeleteRegValue HKCU "Software\Classes\.tbl" ""
        DeleteRegKey /ifempty HKCU "Software\Classes\.tbl"
    DeleteRegKey HKCU "Software\Classes\${CLASS}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
