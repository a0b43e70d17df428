; NMaker's Windows installer. tools/windows/check builds it with
;   makensis -DVERSION=x.y.z -DSTAGEDIR=<laid-out program> -DOUTFILE=<setup.exe> installer.nsi
; STAGEDIR holds NMaker.exe, its manual, the Qt and mingw DLLs and the Qt plugins.
; A 64-bit installer for a 64-bit program: it also runs where Windows has no 32-bit layer
; (Wine here has none).
Target amd64-unicode

!ifndef VERSION
  !error "VERSION not given"
!endif
!ifndef STAGEDIR
  !error "STAGEDIR not given"
!endif
!ifndef OUTFILE
  !define OUTFILE "NMaker-${VERSION}-setup.exe"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\NMaker"

Name "NMaker ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\NMaker"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Program Files and the all-users Start menu need an administrator.
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "NMaker"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "NMaker セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "© NMaker の開発者"

Function .onInit
  ; A 64-bit program: its registry view and Program Files are the 64-bit ones.
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "NMaker"
  SetOutPath "$INSTDIR"
  File /r "${STAGEDIR}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\NMaker"
  CreateShortcut "$SMPROGRAMS\NMaker\NMaker.lnk" "$INSTDIR\NMaker.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "NMaker"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\NMaker.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\NMaker\NMaker.lnk"
  RMDir "$SMPROGRAMS\NMaker"
  ; What the installer laid down, and what the program may have put beside itself (its settings
  ; file, when the folder was writable for it): nothing of NMaker's is left behind.
  Delete "$INSTDIR\NMaker.exe"
  Delete "$INSTDIR\nmaker-cli.exe"
  Delete "$INSTDIR\SetNMaker.cf"
  RMDir /r "$INSTDIR\translations"
  Delete "$INSTDIR\NMAKER_INDEX.htm"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
