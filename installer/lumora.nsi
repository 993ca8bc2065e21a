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

!ifndef VERSION | STAGE | ICON | WIZARD | OUTFILE
  !error "VERSION, STAGE, ICON, WIZARD and OUTFILE must be defined"
!endif

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Lumora Screensaver"
!define PUBLISHER "Kestrane"
!define MODULE "Lumora.scr"
!define SETTINGS_KEY "Software\Kestrane\Lumora Screensaver"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora Screensaver"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

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
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

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

; The folder that holds the module: SysWOW64 on 64-bit Windows, else System32.
Var ModuleDir

!macro FindModuleDir
  ${If} ${RunningX64}
    StrCpy $ModuleDir "$WINDIR\SysWOW64"
  ${Else}
    StrCpy $ModuleDir "$SYSDIR"
  ${EndIf}
!macroend

!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

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
        SetErrorLevel 2
        Quit
      ${EndIf}
      FileClose $0
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro WaitForModule ""
!insertmacro WaitForModule "un."

Function .onInit
  !insertmacro RequireAdmin
  !insertmacro FindModuleDir
FunctionEnd

Section "Lumora Screensaver"
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

  ${If} ${Silent}
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

; The display settings at their screen saver page.
Function OpenSettings
  ${If} ${AtLeastWinVista}
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
  ${Else}
    Exec '"$SYSDIR\control.exe" desk.cpl,,1'
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro RequireAdmin
  !insertmacro FindModuleDir
FunctionEnd

; Removes what the setup put there; the folder goes only when it is empty,
; so phrase files of the user's own stay, and so do the settings in HKCU.
Section "Uninstall"
  Call un.WaitForModule
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${GetFileName} $0 $1
  ${If} $1 == "${MODULE}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
  ${EndIf}

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
  ; Last, so that whoever waits for the uninstaller can wait for this key.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
