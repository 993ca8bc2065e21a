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

; Runs the elevated copy of this program with the parameters given and waits
; for it. A module in use is offered again, as in one process; the exit code
; of a silent run is the one a single process would end with.
!macro RunElevated un
  Function ${un}RunElevated
    Pop $5
    retry:
    System::Call '*(&l4, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w "$5", p 0, i 1, p, p, p, p, i, p, p) p .r6'
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
    ${ElseIf} $0 <> 0
      MessageBox MB_ICONSTOP "$(PartFailed)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro RunElevated ""
!insertmacro RunElevated "un."

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
  ${If} $Role == user
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
Section "Uninstall"
  ${If} $Role == user
    Push "/S /ELEVATED _?=$INSTDIR"
    Call un.RunElevated
  ${Else}
    Call un.RemoveFiles
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
  RMDir "$INSTDIR"

  DeleteRegValue HKLM "${SETTINGS_KEY}" "InstallDir"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Kestrane"
  ; Last of the files and HKLM, so that whoever waits for the uninstaller
  ; can wait for this key (and then for the screen saver's reset).
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
FunctionEnd
