; The per-user installer: no administrator rights, the user's own programs folder
; (writable, so the log beside the exe works), a Start menu shortcut and, when
; chosen, a start at every sign-in through the user's Run key.
; packaging/CMakeLists.txt passes the defines; /S installs silently with the defaults.
; A running Kestrevane is closed first, by the uninstaller too.

!ifndef VERSION | VERSION_DOTTED | ARCH | EXE | README | LICENSE | ICON | HOMEPAGE | OUTFILE
  !error "VERSION, VERSION_DOTTED, ARCH, EXE, README, LICENSE, ICON, HOMEPAGE and OUTFILE must be defined"
!endif

Unicode true
!if "${ARCH}" == "win64"
  Target amd64-unicode
!else if "${ARCH}" == "win32"
  Target x86-unicode
!else
  !error "ARCH must be win64 or win32"
!endif
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define APP "Kestrevane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Task Manager's (Windows 8 and later) switch for each Run value: a value of the same
; name, disabled or enabled; none counts as enabled. XP and 7 have no such key.
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
; The program's main window, which ends the program on WM_CLOSE.
!define WINDOW_CLASS "KestrevaneMain"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define LOG "kestrevane.kvn"
; The exit code of an install or uninstall stopped by a Kestrevane that will not close;
; the winget manifest names it (packaging/make_winget.py).
!define EXIT_IN_USE 3

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
ManifestDPIAware true
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A file that cannot be replaced fails the install instead of being skipped, also when
; silent: a running program is closed first (CloseRunning).
AllowSkipFiles off
; The files' times would be the build's: without them the installer is reproducible
; (installed files take the time of the install).
SetDateSave off
; Signed builds (tools/package.sh given a certificate): the uninstaller is signed before
; it goes in, so the installed uninstall.exe is signed too; then the installer itself.
!ifdef SIGN_SCRIPT
  !uninstfinalize 'bash "${SIGN_SCRIPT}" "%1" "%1"' = 0
  !finalize 'bash "${SIGN_SCRIPT}" "%1" "%1"' = 0
!endif

VIProductVersion "${VERSION_DOTTED}"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "CompanyName" "The Kestrevane developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 The Kestrevane developers"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

BrandingText "${APP} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "Kestrevane keeps its startup log beside its exe, so it must be installed in a folder you can write to. The folder below is your own and needs no administrator rights."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Closes every running Kestrevane: it holds nothing unsaved, and its exe cannot be
; replaced or removed while it runs. Then waits, about 5 s at most, until no window of
; it is left and the exe in $INSTDIR can be written. $R0: 1 when so, 0 when not.
!macro CLOSE_RUNNING un
Function ${un}CloseRunning
  Push $R1 ; a window
  Push $R2 ; the window the search goes on after
  Push $R3 ; milliseconds left, counted from above
  StrCpy $R3 5000
  round:
    StrCpy $R2 0
  nextWindow:
    FindWindow $R1 "${WINDOW_CLASS}" "" 0 $R2
    IntCmp $R1 0 allAsked
    ; A hung program does not answer; its window stays and is passed over.
    SendMessage $R1 ${WM_CLOSE} 0 0 /TIMEOUT=1000
    IsWindow $R1 0 nextWindow
    StrCpy $R2 $R1
    IntOp $R3 $R3 - 1000
    Goto nextWindow
  allAsked:
    StrCpy $R0 0
    FindWindow $R1 "${WINDOW_CLASS}"
    IntCmp $R1 0 0 wait wait
    ; The window goes before its process does, and only then is the exe free.
    IfFileExists "$INSTDIR\${APP}.exe" 0 closed
    ClearErrors
    FileOpen $R1 "$INSTDIR\${APP}.exe" a
    IfErrors wait
    FileClose $R1
  closed:
    StrCpy $R0 1
    Goto done
  wait:
    IntCmp $R3 0 done done
    Sleep 250
    IntOp $R3 $R3 - 250
    Goto round
  done:
  Pop $R3
  Pop $R2
  Pop $R1
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

; The dialog's text for a Kestrevane that did not close; IDRETRY goes to the label given.
!macro STILL_RUNNING what retry
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
    "Kestrevane is running and did not close, so ${what}.$\r$\n$\r$\nClose Kestrevane and choose Retry, or Cancel to stop here; nothing has been changed." \
    /SD IDCANCEL IDRETRY ${retry}
  SetErrorLevel ${EXIT_IN_USE}
  Abort
!macroend

Section "${APP}" SecProgram
  SectionIn RO
  retry:
    Call CloseRunning
    ${If} $R0 != 1
      !insertmacro STILL_RUNNING "Setup cannot replace it" retry
    ${EndIf}
  SetOutPath "$INSTDIR"
  File "/oname=${APP}.exe" "${EXE}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${APP}.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kestrevane developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP}.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; 1: a silent install over an installed copy (.onInit).
Var KeepStartup

Section "Start Kestrevane when Windows starts" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\${APP}.exe"'
  ; Chosen, the option undoes a "Disabled" in Task Manager, which would otherwise keep
  ; the Run value from starting anything; without its value the entry is enabled. A
  ; silent upgrade leaves the user's choice there alone.
  ${If} $KeepStartup != 1
    DeleteRegValue HKCU "${APPROVED_KEY}" "${APP}"
  ${EndIf}
SectionEnd

; Installing again without the start at sign-in takes back an earlier one.
Section "-Autostart off"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
    DeleteRegValue HKCU "${APPROVED_KEY}" "${APP}"
  ${EndIf}
SectionEnd

; Over an installed copy the option starts as the user left it: on only with its Run
; value there. A silent install over it (winget's upgrade) keeps the start at sign-in as
; it is, Task Manager's switch included.
Function .onInit
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    ReadRegStr $1 HKCU "${RUN_KEY}" "${APP}"
    ${If} $1 == ""
      !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
    ${If} ${Silent}
      StrCpy $KeepStartup 1
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; A program that runs on holds its exe: stop before anything is gone.
  retry:
    Call un.CloseRunning
    ${If} $R0 != 1
      !insertmacro STILL_RUNNING "it cannot be removed" retry
    ${EndIf}
  ClearErrors
  Delete "$INSTDIR\${APP}.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\${APP}.exe could not be removed. Close Kestrevane and uninstall again." /SD IDOK
    SetErrorLevel ${EXIT_IN_USE}
    Abort
  ${EndIf}
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegValue HKCU "${APPROVED_KEY}" "${APP}"

  ; The log is the user's record of the day; a silent uninstall keeps it.
  ${If} ${FileExists} "$INSTDIR\${LOG}"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Delete the startup log too?$\r$\n$\r$\n$INSTDIR\${LOG}$\r$\n$\r$\nNo keeps it in its folder." /SD IDNO IDNO keepLog
    Delete "$INSTDIR\${LOG}"
    keepLog:
  ${EndIf}

  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
