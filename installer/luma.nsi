; LUMA's installer: luma.exe and luma-cli.exe under Program Files, a Start-menu shortcut, an
; uninstaller and an entry in Add/Remove Programs. "/S" installs (and uninstalls) silently.
; The update check downloads this installer as update.exe and runs it.
;
;   makensis -DVERSION=1.2.3.4 -DLUMA_EXE=... -DLUMA_CLI_EXE=... -DICON=... -DOUTFILE=... luma.nsi
;
; With -DSIGN_SCRIPT=tools/authenticode-sign -DSIGN_PKCS12=... -DSIGN_TIMESTAMP=url-or-empty, the
; uninstaller is signed before it is packed, and the installer once it is written.

; A 64-bit installer for the 64-bit program: it runs where luma.exe runs, and Program Files and
; the registry are the native ones without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!ifdef SIGN_SCRIPT
    !uninstfinalize 'sh "${SIGN_SCRIPT}" "${SIGN_PKCS12}" "${SIGN_TIMESTAMP}" "%1"' = 0
    !finalize 'sh "${SIGN_SCRIPT}" "${SIGN_PKCS12}" "${SIGN_TIMESTAMP}" "%1"' = 0
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\LUMA"

Name "LUMA ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\LUMA"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductName" "LUMA"
VIAddVersionKey /LANG=1049 "FileDescription" "LUMA ${VERSION} setup"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "LUMA"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\luma.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

; A running luma.exe cannot be replaced, so every running copy is closed first, as the update
; question warns; work in progress is offered again at the next start.
!macro CloseRunningCopies
    nsExec::Exec 'taskkill /F /IM luma.exe'
    Pop $0
!macroend

Section "LUMA"
    !insertmacro CloseRunningCopies
    SetOutPath "$INSTDIR"
    File "/oname=luma.exe" "${LUMA_EXE}"
    File "/oname=luma-cli.exe" "${LUMA_CLI_EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\LUMA.lnk" "$INSTDIR\luma.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "LUMA"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "LUMA"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\luma.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The settings in HKEY_CURRENT_USER stay: they are the operator's, and a later install takes
; them up again.
Section "Uninstall"
    !insertmacro CloseRunningCopies
    Delete "$INSTDIR\luma.exe"
    Delete "$INSTDIR\luma-cli.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    SetShellVarContext all
    Delete "$SMPROGRAMS\LUMA.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
