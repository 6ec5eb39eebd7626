; The Windows installer: the tree `cmake --install` stages for Windows, put in Program Files, with
; a Start menu entry, an uninstaller and an entry in the installed programs. Built by
; tools/windows/package.py, which passes VERSION, STAGE (the staged tree), OUTFILE, SIZE_KB (the
; staged tree's size) and the two lists it writes of what to install and what to remove again:
; INSTALL_FILES and UNINSTALL_FILES, and ICON, the game's icon. /S installs and uninstalls
; silently.

Unicode true
; Debian's makensis builds 32-bit installers by default, which wine64 alone cannot run; the game
; is a 64-bit program anyway.
Target amd64-unicode
SetCompressor /SOLID lzma
; The installed files get the time they are installed at, and the installer keeps no file times:
; the same tree gives the same installer, byte for byte, whenever it is built.
SetDateSave off
RequestExecutionLevel admin
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Chronocell"
!define PUBLISHER "The Chronocell developers"

Name "Chronocell ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Chronocell"
; An update goes where the last version went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
LicenseData "${STAGE}/LICENSE.txt"
Icon "${ICON}"
UninstallIcon "${ICON}"
UninstallText "Chronocell will be removed from $INSTDIR. Your settings in %APPDATA%\Chronocell \
    and the recordings you saved stay; delete them too to remove every trace of the game."

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Chronocell"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Chronocell ${VERSION} installer"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
    ; The Start menu entry is every user's, as the entry in the installed programs is.
    SetShellVarContext all
    !include "${INSTALL_FILES}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ; A shortcut starts in the folder SetOutPath last named: the game finds its content there.
    SetOutPath "$INSTDIR"
    CreateShortcut "$SMPROGRAMS\Chronocell.lnk" "$INSTDIR\chronocell.exe" "" \
        "$INSTDIR\chronocell.exe" 0 SW_SHOWNORMAL "" "Collect three clocks within 90 seconds"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Chronocell"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\chronocell.exe,0"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section Uninstall
    SetShellVarContext all
    Delete "$SMPROGRAMS\Chronocell.lnk"
    ; Each file the installer put there by name, and each folder only once it is empty, so that
    ; nothing a player keeps in the game's folder goes with it.
    !include "${UNINSTALL_FILES}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
