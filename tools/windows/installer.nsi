; NMaker's Windows installer. tools/windows/check builds it with
;   makensis -DVERSION=x.y.z -DSTAGEDIR=<laid-out program> -DOUTFILE=<setup.exe> installer.nsi
; STAGEDIR holds NMaker.exe, its manual, the Qt and mingw DLLs and the Qt plugins, LICENSE.txt,
; THIRD-PARTY-NOTICES.txt and licenses\.
; For every user (Program Files, the machine's Start menu, administrators only) or for the
; user alone (%LOCALAPPDATA%\Programs, no administrator needed): the user chooses, /AllUsers or
; /CurrentUser choose on the command line, and a silent /S install by an administrator is for
; every user.
; The second component puts the install folder on the PATH (the system's or the user's), so
; that nmaker-cli works in cmd and PowerShell; off unless chosen, or /ADDTOPATH on a silent
; install's command line.
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
!define PUBLISHER "The NMaker developers"

Name "NMaker ${VERSION}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "NMaker"
; An earlier install's folder and mode are where it said; the uninstaller finds its mode so too.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION onInstallMode
!define MULTIUSER_INSTALLMODE_UNFUNCTION un.onInstallMode

!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "StrFunc.nsh"
!include "WinMessages.nsh"
${UnStrRep}

; The PATH the second component extends: the machine's or the user's, by the install's mode.
Var EnvironmentKey
Var SettingsNote

!macro SET_MODE_VARIABLES
  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $EnvironmentKey "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
  ${Else}
    StrCpy $EnvironmentKey "Environment"
  ${EndIf}
!macroend
Function onInstallMode
  !insertmacro SET_MODE_VARIABLES
FunctionEnd
Function un.onInstallMode
  !insertmacro SET_MODE_VARIABLES
FunctionEnd

; The settings file's place, said where the user sees it at the end: beside the program when
; its folder can be written (the user's own install), otherwise in the user's local folder.
Function settingsNote
  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $SettingsNote "設定ファイル SetNMaker.cf は、ユーザーごとに %LOCALAPPDATA%\NMaker に保存されます ($INSTDIR にはユーザーが書き込めないため)。"
  ${Else}
    StrCpy $SettingsNote "設定ファイル SetNMaker.cf は、プログラムと同じフォルダー ($INSTDIR) に保存されます。"
  ${EndIf}
FunctionEnd

!insertmacro MUI_PAGE_LICENSE "${STAGEDIR}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE settingsNote
!define MUI_FINISHPAGE_TEXT "$(^NameDA) をインストールしました。$\r$\n$\r$\n$SettingsNote"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "NMaker"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "NMaker セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "© ${PUBLISHER} (MIT License)"

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "NMaker" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGEDIR}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\NMaker"
  CreateShortcut "$SMPROGRAMS\NMaker\NMaker.lnk" "$INSTDIR\NMaker.exe"

  ; Apps & features: HKLM for every user's install, HKCU for the user's own.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "NMaker"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "https://nmaker.github.io/"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\NMaker.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The PATH as NSIS reads it is at most NSIS_MAX_STRLEN characters: a longer one is never
; written back, or the user's PATH would come back cut short.
Section /o "コマンドライン (nmaker-cli) を PATH に追加" SectionPath
  ClearErrors
  ReadRegStr $0 SHCTX "$EnvironmentKey" "Path"
  ${If} ${Errors}
  ${AndIf} $MultiUser.InstallMode != "AllUsers"
    ; A user without a PATH of their own yet.
    ClearErrors
    StrCpy $0 ""
  ${EndIf}
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
    WriteRegExpandStr SHCTX "$EnvironmentKey" "Path" "$0"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "AddedToPath" 1
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
  ${EndIf}
SectionEnd

Function .onInit
  ; A 64-bit program: its registry view and Program Files are the 64-bit ones.
  SetRegView 64
  ; The install mode sets the folder; one given with /D= stays.
  StrCpy $R9 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $R9 != ""
    StrCpy $INSTDIR $R9
  ${EndIf}
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
  ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "AddedToPath"
  ${If} $0 == 1
    ClearErrors
    ReadRegStr $1 SHCTX "$EnvironmentKey" "Path"
    StrLen $2 $1
    ${IfNot} ${Errors}
    ${AndIf} $2 < 1020
      ${UnStrRep} $1 ";$1;" ";$INSTDIR;" ";"
      StrCpy $1 $1 "" 1
      StrCpy $1 $1 -1
      WriteRegExpandStr SHCTX "$EnvironmentKey" "Path" "$1"
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
  RMDir /r "$INSTDIR\licenses"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\NMAKER_INDEX.htm"
  Delete "$INSTDIR\NMAKER_INDEX_en.htm"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
