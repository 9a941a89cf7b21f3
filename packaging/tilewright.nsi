; Tilewright set-up: a per-user installer that needs no administrator rights.
;
; It installs Tilewright.exe into %LOCALAPPDATA%\Programs\Tilewright, adds a Start-menu
; shortcut and the uninstall record that Windows' "Installed apps" list shows (and in
; which the program looks up its installed copy through "InstallLocation").
;
; Command line:
;   /S         silent: no pages, no questions; a copy that was running is started again.
;   /SILENT    silent, as run by the program's update check: the new version is always
;              started afterwards, so that an update never leaves the user without it.
;   /D=folder  install somewhere else (must be the last argument, as always with NSIS).
; Exit code 0 on success, 2 when the installation failed (the installed copy is then
; left as it was).
;
; Built by CMake (target "installer"), which passes the defines below:
;   makensis -DVERSION=1.2.3 -DEXE=Tilewright.exe -DICON=tilewright.ico
;            -DWIZARD_BITMAP=wizard.bmp -DOUTFILE=Setup.exe [-DLICENSE_FILE=LICENSE] tilewright.nsi

!ifndef VERSION | EXE | ICON | WIZARD_BITMAP | OUTFILE
  !error "VERSION, EXE, ICON, WIZARD_BITMAP and OUTFILE must be defined (see the top of this file)"
!endif

; The program is a 64-bit program, and so is its installer.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
; Files keep the time of installation, not the build machine's time: the same sources
; always give the same installer.
SetDateSave off

!define PRODUCT "Tilewright"
!define PUBLISHER "Corvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\{3C5F1B72-9E04-4A6D-B8E1-5D27C0A94F13}_is1"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MAIN_CLASS "TilewrightMain"
!define INSTANCE_MUTEX "Tilewright-SingleInstance"
; The program's hand-over message: its main window closes and the process ends.
!define MSG_EXIT 0x8009

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

; The set-up carries the program's version in its version resource, both in the fixed
; part (which the update check compares with the version it was offered) and in the
; texts; names as in the program's own version resource.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

; A signed release signs the uninstaller before it is packed (and the set-up itself
; once it is written): SIGN_TOOL is a command that signs the file it is given in place.
!ifdef SIGN_TOOL
  !uninstfinalize '"${SIGN_TOOL}" "%1"' = 0
  !finalize '"${SIGN_TOOL}" "%1"' = 0
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "nsDialogs.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_ABORTWARNING

!ifdef LICENSE_FILE
  !insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!endif
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "&Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.ConfirmShow un.ConfirmLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var UpdateRun        ; 1: started with /SILENT by the update check
Var WasRunning       ; 1: a running copy was asked to exit
Var WasHidden        ; 1: that copy's main window was hidden (it lived in the tray)
Var SettingsDir      ; the program's settings folder, %APPDATA%\Tilewright
Var RemoveSettings   ; 1: the user ticked "also delete my settings"
Var SettingsCheckbox

; Asks every running copy to exit (the same message a newer copy of the program sends)
; and waits until the last one has ended: no main window is left and no process holds
; the single-instance mutex. A copy that is still starting has the mutex but no window
; yet: it is asked as soon as its window appears. Sets the error flag when a copy is
; still running after about thirty seconds. Shared by the installer and the uninstaller.
!macro DEFINE_CLOSE_RUNNING_COPY un
Function ${un}CloseRunningCopy
  StrCpy $WasRunning 0
  StrCpy $WasHidden 0
  ClearErrors
  StrCpy $2 0  ; polls, 100 ms apart
  StrCpy $4 0  ; the window last asked to exit
  ${Do}
    FindWindow $0 "${MAIN_CLASS}"
    ; SYNCHRONIZE access is enough to see whether the mutex still exists.
    System::Call "kernel32::OpenMutexW(i 0x00100000, i 0, w '${INSTANCE_MUTEX}') p .r1"
    ${If} $1 P<> 0
      System::Call "kernel32::CloseHandle(p r1)"
    ${EndIf}
    ${If} $0 = 0
    ${AndIf} $1 P= 0
      Return
    ${EndIf}
    ${If} $2 = 0
      StrCpy $WasRunning 1
      ${If} $0 <> 0
        System::Call "user32::IsWindowVisible(p r0) i .r3"
        ${If} $3 = 0
          StrCpy $WasHidden 1
        ${EndIf}
      ${EndIf}
    ${EndIf}
    ${If} $0 <> 0
      ; Asked again now and then, in case a message was lost.
      IntOp $3 $2 % 10
      ${If} $0 <> $4
      ${OrIf} $3 = 0
        System::Call "user32::PostMessageW(p r0, i ${MSG_EXIT}, p 0, p 0)"
        StrCpy $4 $0
      ${EndIf}
    ${EndIf}
    ${If} $2 >= 300
      SetErrors
      Return
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_COPY ""
!insertmacro DEFINE_CLOSE_RUNNING_COPY "un."

Function .onInit
  SetShellVarContext current
  StrCpy $UpdateRun 0
  ; "/SILENT" is not NSIS's own switch; it is recognised here only as a whole word.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SILENT" $R1
  ${IfNot} ${Errors}
  ${AndIf} $R1 == ""
    StrCpy $UpdateRun 1
    SetSilent silent
  ${EndIf}
FunctionEnd

; Starts the installed program: in the tray when the copy it replaced lived there.
Function StartProgram
  ${If} $WasHidden = 1
    Exec '"$INSTDIR\Tilewright.exe" --tray'
  ${Else}
    Exec '"$INSTDIR\Tilewright.exe"'
  ${EndIf}
FunctionEnd

; A silent run starts the program again when it closed a running copy, and always after
; an update: the update dialog closes the program before set-up runs.
Function .onInstSuccess
  ${If} ${Silent}
    ${If} $UpdateRun = 1
    ${OrIf} $WasRunning = 1
      Call StartProgram
    ${EndIf}
  ${EndIf}
FunctionEnd

; A failed silent update still leaves the user with the program: the copy that was
; there before is started again.
Function .onInstFailed
  ${If} ${Silent}
    ${If} $UpdateRun = 1
    ${OrIf} $WasRunning = 1
      ${If} ${FileExists} "$INSTDIR\Tilewright.exe"
        Call StartProgram
      ${EndIf}
    ${EndIf}
  ${EndIf}
FunctionEnd

; The size in bytes of the file named on the stack (0 when it cannot be read), on the stack.
Function FileSize
  Exch $0
  Push $1
  ClearErrors
  FileOpen $1 $0 r
  ${If} ${Errors}
    StrCpy $0 0
  ${Else}
    FileSeek $1 0 END $0
    FileClose $1
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"

  retry_close:
  Call CloseRunningCopy
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is still running and cannot be replaced.$\n$\nExit it from its tray icon, then click Retry." \
      /SD IDCANCEL IDRETRY retry_close
    Abort "${PRODUCT} is still running."
  ${EndIf}

  ; The new program is written beside the old one and then moved over it in one step:
  ; when writing fails (a full disk, a locked folder) the installed copy stays intact.
  ClearErrors
  File "/oname=Tilewright.exe.new" "${EXE}"
  ${If} ${Errors}
    Delete "$INSTDIR\Tilewright.exe.new"
    MessageBox MB_OK|MB_ICONSTOP "Could not write to $INSTDIR." /SD IDOK
    Abort "Could not write to $INSTDIR."
  ${EndIf}
  ; MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. The paths go in registers: written
  ; into the call's text, a folder name with an apostrophe would end the string early.
  StrCpy $R8 "$INSTDIR\Tilewright.exe.new"
  StrCpy $R9 "$INSTDIR\Tilewright.exe"
  System::Call "kernel32::MoveFileExW(w R8, w R9, i 9) i .r0"
  ${If} $0 = 0
    Delete "$INSTDIR\Tilewright.exe.new"
    MessageBox MB_OK|MB_ICONSTOP "Could not replace $INSTDIR\Tilewright.exe." /SD IDOK
    Abort "Could not replace $INSTDIR\Tilewright.exe."
  ${EndIf}

  ClearErrors
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Could not write $INSTDIR\Uninstall.exe." /SD IDOK
    Abort "Could not write $INSTDIR\Uninstall.exe."
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tilewright.exe" "" "$INSTDIR\Tilewright.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tilewright.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size of what set-up wrote, in KiB: the folder may hold other files of the user's.
  Push "$INSTDIR\Tilewright.exe"
  Call FileSize
  Pop $0
  Push "$INSTDIR\Uninstall.exe"
  Call FileSize
  Pop $1
  IntOp $0 $0 + $1
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; --- Uninstaller ---------------------------------------------------------------------

Function un.onInit
  SetShellVarContext current
  ; The folder the program itself uses: the APPDATA variable, as the program reads it.
  ReadEnvStr $SettingsDir APPDATA
  ${If} $SettingsDir == ""
    StrCpy $SettingsDir "$APPDATA"
  ${EndIf}
  StrCpy $SettingsDir "$SettingsDir\${PRODUCT}"
  StrCpy $RemoveSettings 0
FunctionEnd

Function un.ConfirmShow
  !insertmacro MUI_HEADER_TEXT "Uninstall ${PRODUCT}" "Remove ${PRODUCT} from your computer."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 20u "${PRODUCT} will be removed from the following folder. Click Uninstall to continue."
  Pop $0
  ${NSD_CreateText} 0 24u 100% 12u "$INSTDIR"
  Pop $0
  SendMessage $0 ${EM_SETREADONLY} 1 0
  ${NSD_CreateLabel} 0 52u 100% 20u "Your layouts and settings are kept, so that they are there again if you reinstall ${PRODUCT}."
  Pop $0
  ${NSD_CreateCheckbox} 0 76u 100% 12u "&Also delete my layouts and settings"
  Pop $SettingsCheckbox
  ${NSD_CreateText} 12u 90u -12u 12u "$SettingsDir"
  Pop $0
  SendMessage $0 ${EM_SETREADONLY} 1 0
  ${IfNot} ${FileExists} "$SettingsDir\*.*"
    EnableWindow $SettingsCheckbox 0
  ${EndIf}
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd

Function un.ConfirmLeave
  ${NSD_GetState} $SettingsCheckbox $RemoveSettings
FunctionEnd

; The program the Start-menu shortcut starts, on the stack ("" when there is no shortcut
; or it cannot be read).
!define CLSID_ShellLink {00021401-0000-0000-C000-000000000046}
!define IID_IShellLinkW {000214F9-0000-0000-C000-000000000046}
!define IID_IPersistFile {0000010b-0000-0000-C000-000000000046}
Function un.ShortcutTarget
  Push $R6
  Push $R7
  Push $0
  Push $1
  Push $2
  StrCpy $R7 "$SMPROGRAMS\${PRODUCT}.lnk"
  StrCpy $R6 ""
  ${If} ${FileExists} $R7
    System::Call "ole32::CoCreateInstance(g '${CLSID_ShellLink}', p 0, i 1, g '${IID_IShellLinkW}', *p .r1) i .r0"
    ${If} $0 = 0
      ; IUnknown::QueryInterface, IPersistFile::Load, IShellLinkW::GetPath, Release.
      System::Call "$1->0(g '${IID_IPersistFile}', *p .r2) i .r0"
      ${If} $0 = 0
        System::Call "$2->5(w R7, i 0) i .r0"
        ${If} $0 = 0
          System::Call "$1->3(w .R6, i ${NSIS_MAX_STRLEN}, p 0, i 0) i .r0"
          ${If} $0 <> 0
            StrCpy $R6 ""
          ${EndIf}
        ${EndIf}
        System::Call "$2->2()"
      ${EndIf}
      System::Call "$1->2()"
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
  Pop $R7
  Exch $R6
FunctionEnd

Section "Uninstall"
  retry_close:
  Call un.CloseRunningCopy
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is still running.$\n$\nExit it from its tray icon, then click Retry." \
      /SD IDCANCEL IDRETRY retry_close
    Abort "${PRODUCT} is still running."
  ${EndIf}

  ; The program removes its own "Start with Windows" entry.
  ${If} ${FileExists} "$INSTDIR\Tilewright.exe"
    ExecWait '"$INSTDIR\Tilewright.exe" --uninstall-cleanup'
  ${EndIf}
  ; When it could not run, an entry that starts this copy is removed here.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Tilewright"
  ${If} $0 == '"$INSTDIR\Tilewright.exe" --tray'
    DeleteRegValue HKCU "${RUN_KEY}" "Tilewright"
  ${EndIf}

  Delete "$INSTDIR\Tilewright.exe"
  Delete "$INSTDIR\Tilewright.exe.new"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The shortcut and the uninstall record have one name for every copy: another copy
  ; installed elsewhere since keeps them.
  Call un.ShortcutTarget
  Pop $0
  ${If} $0 == "$INSTDIR\Tilewright.exe"
  ${OrIf} $0 == ""
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ${EndIf}
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == "$INSTDIR"
  ${OrIf} $0 == ""
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}

  ; Layouts and settings go only when the user asked for it on the page above, which a
  ; silent uninstall never shows.
  ${If} $RemoveSettings = ${BST_CHECKED}
  ${AndIfNot} ${Silent}
    RMDir /r "$SettingsDir"
  ${EndIf}
SectionEnd
