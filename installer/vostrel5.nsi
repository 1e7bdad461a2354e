; The setup program of Vostrel 5. Build it with installer/build-setup, which stages the files and
; writes the install and uninstall lists this script includes (STAGE_FILES).
;
; Installs the program, its script engine, help and tips into the install folder, the driver
; package into its Drivers folder, and, as a component the user may leave out, the GnuPG tray
; program with GnuPG itself into its GnuPG folder. Writes the driver folder to WIN.INI, the tray
; program to "Vostrel5.INI" and the distribution text to "DistInfo.Dat", and starts Vostrel 5 with
; Windows through a shortcut in the user's Startup folder.
;
; A running copy is asked to end through "Installer.Flg" before any file is touched.
; Silent: Vostrel5-Setup.exe /S [/D=folder]; Uninstall.exe /S [/RemoveSettings].

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef STAGE_FILES
  !error "build the setup with installer/build-setup"
!endif
!ifndef OUTFILE
  !error "build the setup with installer/build-setup"
!endif
!include "${STAGE_FILES}"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Vostrel 5"
!define VERSION "5.1.1.27"
!define REG_KEY "Software\Vostrel5"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vostrel5"
!define PROGRAM "Vostrel5.EXE"
; The running program holds a mutex named after its executable.
!define PROGRAM_MUTEX "Vostrel5.EXE"
!define INSTALLER_FLAG "Installer.Flg"
!define TRAY_WINDOW_CLASS "PGPtray_Hidden_Window"
!define TRAY_PROGRAM "GnuPG\PGPTray.Exe"
!define SETTINGS_FILE "Vostrel5.INI"
; The GnuPG tray program's own settings, beside it.
!define TRAY_SETTINGS "GnuPG\PGPTray.ini"
; How long a running copy may take to end: its timer looks for the flag every 6 seconds.
!define END_WAIT_MS 45000
!define POLL_MS 250
!define STILL_RUNNING_TEXT "${PRODUCT} is still running and did not end when asked.$\r$\n$\r$\nEnd it yourself (open its properties window from the tray icon and press $\"Unload$\"), then choose Retry; or choose Cancel to stop without changing anything."
!define TRAY_STILL_RUNNING_TEXT "The GnuPG tray program is still running and did not end when asked.$\r$\n$\r$\nEnd it from its tray icon, then choose Retry; or choose Cancel to stop without changing anything."
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${REG_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
!define MUI_ICON "../resources/main.ico"
!define MUI_UNICON "../resources/main.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Vostrel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) Vostrel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "Vostrel5-Setup.exe"

Var PreviousDir   ; where an earlier install lives, if anywhere

;--------------------------------------------------------------------------------------------------
; Ending what runs from the install folder. Shared by the installer and the uninstaller.

; Waits, within the time limit, until the program file $R6 (if there) can be opened for writing:
; a program that has given up its mutex or window may still be ending, and Windows neither
; replaces nor removes the file of a program that runs. Sets $R6 to "" when the file is free.
!macro WaitUntilFree un
Function ${un}WaitUntilFree
  Push $1
  Push $2
  StrCpy $2 0
  ${Do}
    ${IfNot} ${FileExists} $R6
      StrCpy $R6 ""
      ${Break}
    ${EndIf}
    ClearErrors
    FileOpen $1 $R6 a
    ${IfNot} ${Errors}
      FileClose $1
      StrCpy $R6 ""
      ${Break}
    ${EndIf}
    Sleep ${POLL_MS}
    IntOp $2 $2 + ${POLL_MS}
  ${LoopUntil} $2 >= ${END_WAIT_MS}
  Pop $2
  Pop $1
FunctionEnd
!macroend
!insertmacro WaitUntilFree ""
!insertmacro WaitUntilFree "un."

; Asks a running copy of Vostrel 5 to end by putting "Installer.Flg" in the folder it runs from
; (the install folder, and an earlier install's folder when that differs), and waits for its
; mutex to go. Aborts with a message when it does not end in time and the user gives up.
!macro EndRunningProgram un
Function ${un}EndRunningProgram
  retry:
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${PROGRAM_MUTEX}") p .r0'
  ${If} $0 P= 0
    Return
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r0)'
  DetailPrint "Asking the running ${PRODUCT} to end..."
  CreateDirectory "$INSTDIR"
  FileOpen $1 "$INSTDIR\${INSTALLER_FLAG}" w
  FileClose $1
  ${If} $PreviousDir != ""
  ${AndIf} $PreviousDir != $INSTDIR
    FileOpen $1 "$PreviousDir\${INSTALLER_FLAG}" w
    FileClose $1
  ${EndIf}
  StrCpy $2 0
  ${Do}
    Sleep ${POLL_MS}
    IntOp $2 $2 + ${POLL_MS}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${PROGRAM_MUTEX}") p .r0'
    ${If} $0 P= 0
      ; It is ending; a flag it did not see would only be deleted at its next start.
      Delete "$INSTDIR\${INSTALLER_FLAG}"
      ${If} $PreviousDir != ""
        Delete "$PreviousDir\${INSTALLER_FLAG}"
      ${EndIf}
      StrCpy $R6 "$INSTDIR\${PROGRAM}"
      Call ${un}WaitUntilFree
      ${If} $R6 == ""
        DetailPrint "${PRODUCT} has ended."
        Return
      ${EndIf}
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
  ${LoopUntil} $2 >= ${END_WAIT_MS}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${STILL_RUNNING_TEXT}" /SD IDCANCEL IDRETRY retry
  ; Left behind, a flag would end the program whenever it came to see it.
  Delete "$INSTDIR\${INSTALLER_FLAG}"
  ${If} $PreviousDir != ""
    Delete "$PreviousDir\${INSTALLER_FLAG}"
  ${EndIf}
  DetailPrint "${PRODUCT} is still running; nothing was changed."
  SetErrorLevel 3
  Abort "${PRODUCT} is still running; nothing was changed."
FunctionEnd
!macroend
!insertmacro EndRunningProgram ""
!insertmacro EndRunningProgram "un."

; Ends the GnuPG tray program (a close request to its hidden window) and GnuPG's agent, whose
; files Windows would otherwise neither replace nor remove.
!macro EndGnuPG un
Function ${un}EndGnuPG
  retry:
  FindWindow $0 "${TRAY_WINDOW_CLASS}"
  ${If} $0 <> 0
    DetailPrint "Asking the GnuPG tray program to end..."
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $2 0
    ${Do}
      FindWindow $0 "${TRAY_WINDOW_CLASS}"
      ${If} $0 = 0
        ${Break}
      ${EndIf}
      Sleep ${POLL_MS}
      IntOp $2 $2 + ${POLL_MS}
    ${LoopUntil} $2 >= ${END_WAIT_MS}
    ${If} $0 = 0
      StrCpy $R6 "$INSTDIR\${TRAY_PROGRAM}"
      Call ${un}WaitUntilFree
      StrCpy $0 $R6
    ${EndIf}
    ${If} $0 != ""
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${TRAY_STILL_RUNNING_TEXT}" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 3
      Abort "The GnuPG tray program is still running; nothing was changed."
    ${EndIf}
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\GnuPG\gpgconf.exe"
    nsExec::Exec '"$INSTDIR\GnuPG\gpgconf.exe" --kill all'
    Pop $0
  ${EndIf}
FunctionEnd
!macroend
!ifdef WITH_GNUPG
  !insertmacro EndGnuPG ""
!endif
!insertmacro EndGnuPG "un."

;--------------------------------------------------------------------------------------------------
;  "Vostrel5.INI" lives in the Windows folder, and the GnuPG tray program keeps "PGPTray.ini"
; beside itself, both places only administrators may write. Windows gives a program that runs
; without elevation and without a requested execution level a private per-user copy of such a file
; at its first write, and from then on that copy hides the real file. So a value the setup writes
; goes to the real file and to every user's existing copy (see docs/installer.md).

; Calls the function whose address is in $R9 with the path of each existing per-user copy of the
; file $R7 (a full path) in $R8.
!macro ForEachRedirectedCopy un
Function ${un}ForEachRedirectedCopy
  Push $R0
  Push $R1
  Push $R2
  StrCpy $R2 $R7 "" 2   ; the path without its drive, as the copies mirror it
  SetShellVarContext current
  StrCpy $R8 "$LOCALAPPDATA\VirtualStore$R2"
  ${If} ${FileExists} $R8
    Call $R9
  ${EndIf}
  StrCpy $R0 0
  ${Do}
    EnumRegKey $R1 HKLM "Software\Microsoft\Windows NT\CurrentVersion\ProfileList" $R0
    ${If} $R1 == ""
      ${Break}
    ${EndIf}
    IntOp $R0 $R0 + 1
    ReadRegStr $R1 HKLM "Software\Microsoft\Windows NT\CurrentVersion\ProfileList\$R1" "ProfileImagePath"
    ExpandEnvStrings $R1 $R1
    ${If} $R1 != ""
      StrCpy $R1 "$R1\AppData\Local\VirtualStore$R2"
      ${If} ${FileExists} $R1
      ${AndIf} $R1 != "$LOCALAPPDATA\VirtualStore$R2"
        StrCpy $R8 $R1
        Call $R9
      ${EndIf}
    ${EndIf}
  ${Loop}
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend

!ifdef WITH_GNUPG
!insertmacro ForEachRedirectedCopy ""
Function SetTrayProgramIn
  WriteINIStr $R8 "PGP" "Mainexe" "$INSTDIR\${TRAY_PROGRAM}"
FunctionEnd
!endif

!insertmacro ForEachRedirectedCopy "un."
Function un.DeleteCopy
  DetailPrint "Removing $R8"
  Delete $R8
FunctionEnd

;--------------------------------------------------------------------------------------------------
; Installer

Function .onInit
  ReadRegStr $PreviousDir HKLM "${REG_KEY}" "InstallDir"
FunctionEnd

Section "-End what runs"
  Call EndRunningProgram
  !ifdef WITH_GNUPG
    Call EndGnuPG
  !endif
SectionEnd

Section "!${PRODUCT}" SecProgram
  SectionIn RO
  !insertmacro Install_app
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The driver folder, without a trailing backslash, where the program looks for its drivers.
  WriteINIStr "$WINDIR\win.ini" "Mail Form Drivers" "Path" "$INSTDIR\Drivers"

  SetShellVarContext current
  CreateShortCut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${REG_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vostrel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

!ifdef WITH_GNUPG
Section "GnuPG tray program with GnuPG" SecGnuPG
  !insertmacro Install_gnupg
  ; The tray program Vostrel 5 asks PGP of, in the real settings file and every per-user copy.
  WriteINIStr "$WINDIR\${SETTINGS_FILE}" "PGP" "Mainexe" "$INSTDIR\${TRAY_PROGRAM}"
  StrCpy $R7 "$WINDIR\${SETTINGS_FILE}"
  GetFunctionAddress $R9 SetTrayProgramIn
  Call ForEachRedirectedCopy
  ; The tray program finds gpg.exe beside it, unless the user has chosen another one.
  ReadINIStr $0 "$INSTDIR\${TRAY_SETTINGS}" "Preferences" "GpgPath"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} $0
    WriteINIStr "$INSTDIR\${TRAY_SETTINGS}" "Preferences" "GpgPath" "$INSTDIR\GnuPG\gpg.exe"
  ${EndIf}
  WriteRegDWORD HKLM "${REG_KEY}" "GnuPG" 1
SectionEnd
!endif

Section "-Finish"
  ; The distribution text follows the version in the About text, hence its leading blank.
  !ifdef WITH_GNUPG
    ${If} ${SectionIsSelected} ${SecGnuPG}
      WriteINIStr "$INSTDIR\DistInfo.Dat" "General" "DistInfo" '" (Setup ${VERSION} with GnuPG)"'
    ${Else}
      WriteINIStr "$INSTDIR\DistInfo.Dat" "General" "DistInfo" '" (Setup ${VERSION})"'
    ${EndIf}
  !else
    WriteINIStr "$INSTDIR\DistInfo.Dat" "General" "DistInfo" '" (Setup ${VERSION})"'
  !endif
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

;--------------------------------------------------------------------------------------------------
; Uninstaller

Section "un.${PRODUCT}"
  SectionIn RO
  Call un.EndRunningProgram
  Call un.EndGnuPG

  !insertmacro Remove_app
  !insertmacro Remove_gnupg
  Delete "$INSTDIR\DistInfo.Dat"
  ; What the programs leave beside them that is no setting: logs, the data file, flags.
  Delete "$INSTDIR\DebugLog.Txt"
  Delete "$INSTDIR\SBM.LOG"
  Delete "$INSTDIR\tmpmfd.tmp"
  Delete "$INSTDIR\${INSTALLER_FLAG}"
  Delete "$INSTDIR\AllowDuplicateInstance.Flg"
  Delete "$INSTDIR\Running.Flg"
  RMDir "$INSTDIR\GnuPG\Licences"
  RMDir "$INSTDIR\GnuPG"
  RMDir "$INSTDIR\Drivers"

  ; The driver folder entry only while it still names this install's drivers.
  ReadINIStr $0 "$WINDIR\win.ini" "Mail Form Drivers" "Path"
  ${If} $0 == "$INSTDIR\Drivers"
    DeleteINIStr "$WINDIR\win.ini" "Mail Form Drivers" "Path"
  ${EndIf}

  SetShellVarContext current
  Delete "$SMSTARTUP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${REG_KEY}"
SectionEnd

Section /o "un.Your settings and lists" SecRemoveSettings
  Delete "$INSTDIR\MailingList.dat"
  Delete "$INSTDIR\ActiveMailers.dat"
  Delete "$WINDIR\${SETTINGS_FILE}"
  Delete "$INSTDIR\${TRAY_SETTINGS}"
  RMDir "$INSTDIR\GnuPG"
  GetFunctionAddress $R9 un.DeleteCopy
  StrCpy $R7 "$WINDIR\${SETTINGS_FILE}"
  Call un.ForEachRedirectedCopy
  StrCpy $R7 "$INSTDIR\${TRAY_SETTINGS}"
  Call un.ForEachRedirectedCopy
SectionEnd

Section "-un.Last"
  ; Last, so that a caller can wait for the uninstaller's disappearance.
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

; After the sections, whose numbers it uses.
Function un.onInit
  StrCpy $PreviousDir ""
  ; /RemoveSettings on the command line ticks "Your settings and lists" (for silent uninstalls).
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RemoveSettings" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecRemoveSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
