; Setup program of Lumora Screensaver. makensis builds it from the folder
; that the build prepares (the stripped module and the phrase files):
;   makensis -DVERSION=1.33 -DSTAGE=<folder> -DICON=<lumora.ico> -DWIZARD=<164x314 bitmap>
;            -DOUTFILE=<setup.exe> lumora.nsi
;
; The setup is a 32-bit program, as the saver is. On 64-bit Windows the
; module goes to SysWOW64, the folder with the 32-bit system files, whose
; screen savers the display settings list as well; on 32-bit Windows it goes
; to System32. Registry values under HKLM\Software land, by the system's
; redirection, in the 32-bit view, the one the saver reads.
;
; Silent installs (/S) make no changes to the current screen saver and open
; nothing, unless /CURRENT is given, which makes Lumora the current screen
; saver. Silent uninstalls (/S) behave as interactive ones.
;
; Under UAC the program that the user starts runs with the user's own
; rights. For the part that needs an administrator (the files, HKLM) it
; starts an elevated copy of itself with /ELEVATED, silently, and waits for
; it; the current screen saver and the settings page are then set and opened
; for the user who started it, not for the administrator who answered the
; prompt. A process that already has administrator rights does both parts.
;
; What runs with administrator rights trusts nothing a standard user can
; change. Files go only into a folder inside the 32-bit Program Files folder,
; which only administrators can write; the copy that writes them checks the
; folder itself (/D, the folder page and the recorded InstallDir alike). The
; elevated uninstall is the Uninstall.exe in the folder that HKLM names, and
; it removes files from that folder and the system folder only.

!ifndef VERSION | STAGE | ICON | WIZARD | OUTFILE
  !error "VERSION, STAGE, ICON, WIZARD and OUTFILE must be defined"
!endif

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Lumora Screensaver"
!define PUBLISHER "Kestrane"
!define MODULE "Lumora.scr"
!define SETTINGS_KEY "Software\Kestrane\Lumora Screensaver"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora Screensaver"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3
; The elevated copy's exit code for a module in use (ERROR_SHARING_VIOLATION),
; apart from its failures, which end with 2 as well.
!define IN_USE_CODE 32
!define NO_ADMIN_CODE 740
!define OLD_WINDOWS_CODE 1150
; A folder outside Program Files, on another computer, or reached through a
; junction or link (ERROR_DIRECTORY).
!define REFUSED_FOLDER_CODE 267

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES32\${PRODUCT}"
InstallDirRegKey HKLM "${SETTINGS_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "OriginalFilename" "Lumora-${VERSION}-setup.exe"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright © 2024-2026 ${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include WinVer.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckChosenFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; Both offers are checked; the finish page shows only in interactive installs.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(MakeCurrentText)"
!define MUI_FINISHPAGE_RUN_FUNCTION MakeCurrent
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OpenSettingsText)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenSettings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString MakeCurrentText ${LANG_ENGLISH} "Make Lumora the current screen saver"
LangString MakeCurrentText ${LANG_GERMAN} "Lumora als aktuellen Bildschirmschoner einstellen"
LangString OpenSettingsText ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenSettingsText ${LANG_GERMAN} "Bildschirmschoner-Einstellungen öffnen"
LangString ModuleInUse ${LANG_ENGLISH} "Lumora is running, perhaps as the preview in the screen saver settings, and cannot be replaced or removed now. Close it and try again."
LangString ModuleInUse ${LANG_GERMAN} "Lumora läuft, vielleicht als Vorschau in den Bildschirmschoner-Einstellungen, und kann jetzt nicht ersetzt oder entfernt werden. Schließen Sie es und versuchen Sie es erneut."
LangString NeedAdmin ${LANG_ENGLISH} "Installing ${PRODUCT} needs administrator rights."
LangString NeedAdmin ${LANG_GERMAN} "Die Installation von ${PRODUCT} erfordert Administratorrechte."
LangString NeedVista ${LANG_ENGLISH} "${PRODUCT} needs Windows Vista or a later Windows."
LangString NeedVista ${LANG_GERMAN} "${PRODUCT} erfordert Windows Vista oder ein neueres Windows."
LangString PartFailed ${LANG_ENGLISH} "The part of the setup with administrator rights did not finish (code $0)."
LangString FolderRefused ${LANG_ENGLISH} "${PRODUCT} is installed only in a folder on this computer inside $PROGRAMFILES32, where no one without administrator rights can change its files. $\"$INSTDIR$\" is not such a folder."
LangString FolderRefused ${LANG_GERMAN} "${PRODUCT} wird nur in einem Ordner dieses Computers innerhalb von $PROGRAMFILES32 installiert, in dem niemand ohne Administratorrechte seine Dateien ändern kann. $\"$INSTDIR$\" ist kein solcher Ordner."
LangString PartFailed ${LANG_GERMAN} "Der Teil der Einrichtung mit Administratorrechten wurde nicht abgeschlossen (Code $0)."

; The folder that holds the module: SysWOW64 on 64-bit Windows, else System32.
Var ModuleDir
; What this process does: "all" with administrator rights, "user" without
; them (the elevated copy does the rest), "machine" as that copy.
Var Role

!macro FindModuleDir
  ${If} ${RunningX64}
    StrCpy $ModuleDir "$WINDIR\SysWOW64"
  ${Else}
    StrCpy $ModuleDir "$SYSDIR"
  ${EndIf}
!macroend

!macro RefuseFolder
  MessageBox MB_ICONSTOP "$(FolderRefused)" /SD IDOK
  SetErrorLevel ${REFUSED_FOLDER_CODE}
  Quit
!macroend

!macro NoAdmin
  MessageBox MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
  SetErrorLevel ${NO_ADMIN_CODE}
  Quit
!macroend

; Sets $Role. A member of the administrators whose token UAC has filtered
; counts as a member, so the token's elevation decides as well.
!macro FindRole
  ${IfNot} ${AtLeastWinVista}
    MessageBox MB_ICONSTOP "$(NeedVista)" /SD IDOK
    SetErrorLevel ${OLD_WINDOWS_CODE}
    Quit
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  StrCpy $1 0
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r2) i .r3'
  ${If} $3 <> 0
    System::Call 'advapi32::GetTokenInformation(p r2, i 20, *i .r1, i 4, *i .r4)'
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
  ${GetParameters} $2
  ClearErrors
  ${GetOptions} $2 "/ELEVATED" $3
  ${IfNot} ${Errors}
    StrCpy $Role machine
    ${If} $0 != "admin"
      !insertmacro NoAdmin
    ${EndIf}
  ${ElseIf} $0 == "admin"
  ${AndIf} $1 <> 0
    StrCpy $Role all
  ${Else}
    StrCpy $Role user
  ${EndIf}
!macroend

; Runs the program given elevated, with the parameters given (pushed after
; it), and waits for it. A module in use is offered again, as in one process;
; the exit code of a silent run is the one a single process would end with.
!macro RunElevated un
  Function ${un}RunElevated
    Pop $5
    Pop $8
    retry:
    System::Call '*(&l4, i 0x140, p $HWNDPARENT, w "runas", w "$8", w "$5", p 0, i 1, p, p, p, p, i, p, p) p .r6'
    System::Call 'shell32::ShellExecuteExW(p r6) i .r0'
    ${If} $0 = 0
      System::Free $6
      !insertmacro NoAdmin
    ${EndIf}
    System::Call '*$6(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r7)'
    System::Free $6
    System::Call 'kernel32::WaitForSingleObject(p r7, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r7, *i .r0)'
    System::Call 'kernel32::CloseHandle(p r7)'
    ${If} $0 = ${IN_USE_CODE}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ModuleInUse)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
    ${ElseIf} $0 = ${NO_ADMIN_CODE}
      !insertmacro NoAdmin
    ${ElseIf} $0 = ${REFUSED_FOLDER_CODE}
      !insertmacro RefuseFolder
    ${ElseIf} $0 <> 0
      MessageBox MB_ICONSTOP "$(PartFailed)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro RunElevated ""
!insertmacro RunElevated "un."

; Clears the error flag when $INSTDIR is a folder on this computer strictly
; inside the 32-bit Program Files folder, reached through no junction or
; link, and makes $INSTDIR its full path with long names and without "." and
; "..". Sets the error flag otherwise and leaves $INSTDIR as it was. Network
; paths are refused as text: nothing is looked up on another computer.
!macro AcceptFolder un
  Function ${un}AcceptFolder
    System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .R0, p 0) i .R1'
    StrCpy $R2 $R0 2 1
    ${If} $R1 = 0
    ${OrIf} $R1 >= ${NSIS_MAX_STRLEN}
    ${OrIf} $R2 != ":\"
      Goto refused
    ${EndIf}
    StrCpy $R2 $R0 "" -1
    ${If} $R2 == "\"
      StrCpy $R0 $R0 -1
    ${EndIf}
    ; From the folder up to the drive, every part that exists must be a folder
    ; and no reparse point. The deepest that exists gives the long names; the
    ; parts below it ($R3) are made as they are written.
    StrCpy $R1 $R0
    StrCpy $R3 ""
    StrCpy $R4 ""
    ${Do}
      StrLen $R2 $R1
      ${IfThen} $R2 <= 2 ${|} ${ExitDo} ${|}
      System::Call 'kernel32::GetFileAttributesW(w R1) i .R2'
      ${If} $R2 <> -1
        IntOp $R2 $R2 & 0x410  ; FILE_ATTRIBUTE_REPARSE_POINT, FILE_ATTRIBUTE_DIRECTORY
        ${IfThen} $R2 <> 0x10 ${|} Goto refused ${|}
        ${If} $R4 == ""
          System::Call 'kernel32::GetLongPathNameW(w R1, w .R4, i ${NSIS_MAX_STRLEN}) i .R2'
          ${If} $R2 = 0
          ${OrIf} $R2 >= ${NSIS_MAX_STRLEN}
            Goto refused
          ${EndIf}
          StrCpy $R4 "$R4$R3"
        ${EndIf}
      ${EndIf}
      ${GetParent} $R1 $R2
      ${If} $R4 == ""
        StrLen $R5 $R2
        StrCpy $R5 $R1 "" $R5
        StrCpy $R3 "$R5$R3"
      ${EndIf}
      StrCpy $R1 $R2
    ${Loop}
    ${IfThen} $R4 == "" ${|} Goto refused ${|}
    System::Call 'kernel32::GetLongPathNameW(w "$PROGRAMFILES32", w .R1, i ${NSIS_MAX_STRLEN}) i .R2'
    ${If} $R2 = 0
    ${OrIf} $R2 >= ${NSIS_MAX_STRLEN}
      StrCpy $R1 "$PROGRAMFILES32"
    ${EndIf}
    StrCpy $R1 "$R1\"
    StrLen $R2 $R1
    StrLen $R5 $R4
    StrCpy $R3 $R4 $R2
    ${If} $R3 != $R1
    ${OrIf} $R5 <= $R2
      Goto refused
    ${EndIf}
    ; Equal but for the case of letters: written as the user wrote it.
    ${IfThen} $R4 != $INSTDIR ${|} StrCpy $INSTDIR $R4 ${|}
    ClearErrors
    Return
    refused:
    SetErrors
  FunctionEnd
!macroend
!insertmacro AcceptFolder ""
!insertmacro AcceptFolder "un."

Function CheckChosenFolder
  Call AcceptFolder
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "$(FolderRefused)"
    Abort
  ${EndIf}
FunctionEnd

; A running saver, also a preview in the screen saver settings, keeps its
; module open, and the module can be neither replaced nor removed. Rather
; than leave the old one in place behind a success, the setup stops (exit
; code 2 when silent) unless the user closes it and retries.
!macro WaitForModule un
  Function ${un}WaitForModule
    retry:
    ${If} ${FileExists} "$ModuleDir\${MODULE}"
      ClearErrors
      FileOpen $0 "$ModuleDir\${MODULE}" a
      ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ModuleInUse)" /SD IDCANCEL IDRETRY retry
        ${If} $Role == machine
          SetErrorLevel ${IN_USE_CODE}
        ${Else}
          SetErrorLevel 2
        ${EndIf}
        Quit
      ${EndIf}
      FileClose $0
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro WaitForModule ""
!insertmacro WaitForModule "un."

Function .onInit
  !insertmacro FindRole
  !insertmacro FindModuleDir
  ; /D as written. A folder that the setup's own start would not take (one
  ; on a computer that does not answer, say) would give way to the default
  ; folder; it is refused instead, as any folder outside Program Files is.
  ; Like /D itself, it is the rest of the command line after the last " /D=".
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrLen $1 $0
  ${Do}
    IntOp $1 $1 - 1
    ${IfThen} $1 < 0 ${|} ${ExitDo} ${|}
    StrCpy $2 $0 4 $1
    ${If} $2 S== " /D="
      IntOp $1 $1 + 4
      StrCpy $INSTDIR $0 "" $1
      ${ExitDo}
    ${EndIf}
  ${Loop}
FunctionEnd

; The part for all users, which needs administrator rights. It stands in
; the section itself, whose files give the size that the uninstall entry shows.
!macro InstallFiles
  Call WaitForModule
  SetOutPath "$ModuleDir"
  File "${STAGE}\${MODULE}"

  SetOutPath "$INSTDIR"
  File "${STAGE}\lu-english-words-1.txt"
  File "${STAGE}\lu-english-fortunes-1.txt"
  File "${STAGE}\lu-deutsche-100-worte.txt"
  File "${STAGE}\lu-deutsche-zitate-1.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
!macroend

Section "Lumora Screensaver"
  ; Before anything changes; the elevated copy checks again for itself.
  Call AcceptFolder
  ${If} ${Errors}
    !insertmacro RefuseFolder
  ${EndIf}
  ${If} $Role == user
    Push "$EXEPATH"
    Push "/S /ELEVATED /D=$INSTDIR"
    Call RunElevated
  ${Else}
    !insertmacro InstallFiles
  ${EndIf}

  ${If} $Role != machine
  ${AndIf} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/CURRENT" $1
    ${IfNot} ${Errors}
      Call MakeCurrent
    ${EndIf}
  ${EndIf}
SectionEnd


; Lumora becomes the current user's screen saver, and the system is told.
Function MakeCurrent
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$ModuleDir\${MODULE}"
  System::Call 'user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
FunctionEnd

; The display settings at their screen saver page, the system's own: from
; this 32-bit program System32 would lead to the 32-bit control panel on
; 64-bit Windows.
Function OpenSettings
  ${DisableX64FSRedirection}
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
  ${EnableX64FSRedirection}
FunctionEnd

Function un.onInit
  !insertmacro FindRole
  !insertmacro FindModuleDir
FunctionEnd

; Removes what the setup put there; the folder goes only when it is empty,
; so phrase files of the user's own stay, and so do the settings in HKCU.
; The screen saver is reset once the files are gone.
; Under UAC the uninstaller that the user started runs from a copy in the
; user's temporary folder. The elevated part is the Uninstall.exe in the
; folder that HKLM names, which runs in place (_?=) and takes its folder from
; HKLM, whatever folder its caller names.
Section "Uninstall"
  ${If} $Role != all
    ReadRegStr $INSTDIR HKLM "${SETTINGS_KEY}" "InstallDir"
    Call un.AcceptFolder
    ${If} ${Errors}
      !insertmacro RefuseFolder
    ${EndIf}
  ${EndIf}
  ${If} $Role == user
    Push "$INSTDIR\Uninstall.exe"
    Push "/S /ELEVATED _?=$INSTDIR"
    Call un.RunElevated
  ${Else}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/FINISH=" $1
    ${If} ${Errors}
      Call un.RemoveFiles
    ${Else}
      Push $1
      Call un.FinishRemoval
    ${EndIf}
  ${EndIf}
  ${If} $Role != machine
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${GetFileName} $0 $1
    ${If} $1 == "${MODULE}"
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      System::Call 'user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
    ${EndIf}
  ${EndIf}
SectionEnd

Function un.RemoveFiles
  Call un.WaitForModule
  Delete "$ModuleDir\${MODULE}"
  Delete "$INSTDIR\lu-english-words-1.txt"
  Delete "$INSTDIR\lu-english-fortunes-1.txt"
  Delete "$INSTDIR\lu-deutsche-100-worte.txt"
  Delete "$INSTDIR\lu-deutsche-zitate-1.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Run in place (the elevated part under UAC), the uninstaller cannot delete
  ; itself: a copy of it finishes once this process has ended, else it and
  ; its folder go at the next start of Windows.
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
    Call un.HandOver
    ${IfNot} ${Errors}
      Return
    ${EndIf}
    Delete /REBOOTOK "$INSTDIR\Uninstall.exe"
    RMDir /REBOOTOK "$INSTDIR"
  ${EndIf}
  Call un.RemoveFolderAndKeys
FunctionEnd

Function un.RemoveFolderAndKeys
  RMDir "$INSTDIR"
  DeleteRegValue HKLM "${SETTINGS_KEY}" "InstallDir"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Kestrane"
  ; Last of the files and HKLM, so that whoever waits for the uninstaller
  ; can wait for this key (and then for the screen saver's reset).
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
FunctionEnd

; Starts a copy of this uninstaller, from a new folder in the system's
; temporary folder that only SYSTEM and the administrators may use (every
; user may add files to the temporary folder itself), with /FINISH and this
; process's id. Sets the error flag when it could not.
Function un.HandOver
  System::Call 'kernel32::GetCurrentProcessId() i .r0'
  StrCpy $1 "$WINDIR\Temp\Lumora-$0"
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", i 1, *p .r2, p 0) i .r3'
  ${If} $3 <> 0
    System::Call '*(i 12, p r2, i 0) p .r4'  ; SECURITY_ATTRIBUTES
    System::Call 'kernel32::CreateDirectoryW(w r1, p r4) i .r3'
    System::Free $4
    System::Call 'kernel32::LocalFree(p r2)'
  ${EndIf}
  ClearErrors
  ${If} $3 <> 0
    CopyFiles /SILENT "$EXEPATH" "$1\Uninstall.exe"
    ${IfNot} ${Errors}
      ; Its current folder, which cannot be removed while it is one.
      SetOutPath "$1"
      Exec '"$1\Uninstall.exe" /S /ELEVATED /FINISH=$0 _?=$INSTDIR'
      ${IfNot} ${Errors}
        Return
      ${EndIf}
    ${EndIf}
  ${EndIf}
  SetErrors
FunctionEnd

; The copy: once the uninstaller in the install folder has ended, it removes
; that uninstaller, the folder and the keys; itself at the next start.
Function un.FinishRemoval
  Pop $0
  System::Call 'kernel32::OpenProcess(i 0x100000, i 0, i r0) p .r1'  ; SYNCHRONIZE
  ${If} $1 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r1, i 30000)'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Delete /REBOOTOK "$INSTDIR\Uninstall.exe"
  Call un.RemoveFolderAndKeys
  StrCpy $0 "$WINDIR\Temp\Lumora-"
  StrLen $1 $0
  StrCpy $1 $EXEDIR $1
  ${If} $1 == $0
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
  ${EndIf}
FunctionEnd
