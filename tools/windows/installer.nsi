; NMaker's Windows installer. tools/windows/check builds it with
;   makensis -DVERSION=x.y.z -DSTAGEDIR=<laid-out program> -DOUTFILE=<setup.exe> installer.nsi
; STAGEDIR holds NMaker.exe, its manual, the Qt and mingw DLLs and the Qt plugins.
; The second component puts the install folder on the system PATH, so that nmaker-cli works in
; cmd and PowerShell; off unless chosen, or /ADDTOPATH on a silent install's command line.
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
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "StrFunc.nsh"
!include "WinMessages.nsh"
${StrStr}
${UnStrRep}

!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

!insertmacro MUI_PAGE_COMPONENTS
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


Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "NMaker" SectionProgram
  SectionIn RO
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

; The PATH as NSIS reads it is at most NSIS_MAX_STRLEN characters: a longer one is never
; written back, or the user's PATH would come back cut short.
Section /o "コマンドライン (nmaker-cli) を PATH に追加" SectionPath
  ClearErrors
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  StrLen $1 $0
  StrLen $2 "$INSTDIR"
  IntOp $1 $1 + $2
  ${If} ${Errors}
  ${OrIf} $1 > 1000
    MessageBox MB_OK|MB_ICONEXCLAMATION "PATH を読めないか長すぎるため、PATH には追加しませんでした。" /SD IDOK
    Return
  ${EndIf}
  ${StrStr} $3 ";$0;" ";$INSTDIR;"
  ${If} $3 == ""
    ${If} $0 == ""
      StrCpy $0 "$INSTDIR"
    ${Else}
      StrCpy $0 "$0;$INSTDIR"
    ${EndIf}
    WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "AddedToPath" 1
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
  ${EndIf}
SectionEnd

Function .onInit
  ; A 64-bit program: its registry view and Program Files are the 64-bit ones.
  SetRegView 64
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ADDTOPATH" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionPath}
  ${EndIf}
FunctionEnd

LangString DescProgram ${LANG_JAPANESE} "NMaker 本体、マニュアル、コマンドライン版 nmaker-cli.exe"
LangString DescPath ${LANG_JAPANESE} "コマンド プロンプトや PowerShell から nmaker-cli を名前だけで実行できるようにします"
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} $(DescProgram)
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionPath} $(DescPath)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  ; Only what the installer added, and only where the PATH was read whole.
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToPath"
  ${If} $0 == 1
    ClearErrors
    ReadRegStr $1 HKLM "${ENVIRONMENT_KEY}" "Path"
    StrLen $2 $1
    ${IfNot} ${Errors}
    ${AndIf} $2 < 1020
      ${UnStrRep} $1 ";$1;" ";$INSTDIR;" ";"
      StrCpy $1 $1 "" 1
      StrCpy $1 $1 -1
      WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$1"
      SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
    ${EndIf}
  ${EndIf}
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
