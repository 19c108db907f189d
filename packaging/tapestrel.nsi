; Tapestrel's setup: a per-user install that needs no administrator, with a Start-menu
; shortcut, an entry in Apps and Features and an uninstaller that takes away what it put
; there. Built by scripts/package with makensis:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder of the files> -DOUTFILE=<setup.exe> tapestrel.nsi
; Silent: "setup.exe /S"; a folder of one's own: "setup.exe /D=C:\Some Folder" (last).
; The uninstaller, silent, keeps the settings unless given /REMOVESETTINGS.

Unicode true
!ifndef VERSION | STAGE | OUTFILE
  !error "VERSION, STAGE and OUTFILE must be given"
!endif

!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define APP "Tapestrel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapestrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Tapestrel"
; The program holds this mutex while it runs.
!define RUNNING_MUTEX "Tapestrel.SingleInstance"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${APP}"
SetCompressor /SOLID lzma
Icon "..\resources\tapestrel.ico"
UninstallIcon "..\resources\tapestrel.ico"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "FileDescription" "${APP} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${APP}"
VIAddVersionKey "LegalCopyright" "${APP}'s authors"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Files are never half replaced: while the program runs, the user is asked to end it, and
; Cancel (the answer in silent mode) stops before anything is written.
!macro WAIT_UNTIL_CLOSED UN
Function ${UN}WaitUntilClosed
  check:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0'
    StrCmp $0 "0" closed
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${APP} is running. End it (Exit on its File menu or its notification-area menu), then choose Retry." \
      /SD IDCANCEL IDRETRY check
    SetErrorLevel 3
    Quit
  closed:
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_CLOSED ""
!insertmacro WAIT_UNTIL_CLOSED "un."

Function .onInit
  Call WaitUntilClosed
FunctionEnd

Section "Tapestrel"
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tapestrel.exe"
  File "${STAGE}\Jpg2Bmp.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\licenses"
  File "${STAGE}\licenses\*.txt"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\Tapestrel.exe" "" "$INSTDIR\Tapestrel.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${APP}'s authors"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\Tapestrel.exe",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
  Call un.WaitUntilClosed
FunctionEnd

Section "Uninstall"
  ; What setup put here, and what the program itself writes beside it; a folder the
  ; user filled with files of their own stays, with those files.
  Delete "$INSTDIR\Tapestrel.exe"
  Delete "$INSTDIR\Jpg2Bmp.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\licenses\*.txt"
  RMDir "$INSTDIR\licenses"
  Delete "$INSTDIR\Tapestrel.bat"
  Delete "$INSTDIR\Random File Use.log"
  Delete "$INSTDIR\Events Timer.log"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The per-user programs folder goes too when setup made it and nothing else is in it.
  RMDir "$LOCALAPPDATA\Programs"

  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The start-up entry, in the user's Run key and, where this user may, the machine's.
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegValue HKLM "${RUN_KEY}" "${APP}"

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Remove ${APP}'s settings as well (folders, options, history)?" IDNO +2
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
SectionEnd
