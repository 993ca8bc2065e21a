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
; change. Files go only into a folder inside the 32-bit Program Files folder:
; the one InstallDir records, one this setup makes with an access list of its
; own, or one that holds nothing but a former installation and that only
; administrators can change. The copy that writes them checks the folder
; itself (/D, the folder page and the recorded InstallDir alike) and holds it
; open while it writes. Its plugins come from a folder that only
; administrators can make, not from the user's temporary folder. The
; elevated uninstall is the Uninstall.exe in the folder that HKLM names, and
; it removes files from that folder and the system folder only.
;
; Given -DSIGN=<command>, makensis runs the command on the uninstaller and on
; the setup once each is written; it signs them in place.

!ifndef VERSION | STAGE | ICON | WIZARD | OUTFILE
  !error "VERSION, STAGE, ICON, WIZARD and OUTFILE must be defined"
!endif
!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"' = 0
  !finalize '${SIGN} "%1"' = 0
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
; A folder outside Program Files, on another computer, reached through a
; junction or link, or one this setup may not write into (ERROR_DIRECTORY).
!define REFUSED_FOLDER_CODE 267
; The folders the elevated copy makes: SYSTEM, the administrators and
; TrustedInstaller may do anything, users read and run; nothing inherited.
!define TRUSTED_INSTALLER "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
!define FOLDER_ACCESS "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;${TRUSTED_INSTALLER})(A;OICI;0x1200a9;;;BU)"
; Rights to a folder that change it or what it holds: write or append data,
; write extended attributes or attributes, delete a child, delete, write the
; access list or the owner, generic all or write.
!define WRITE_RIGHTS 0x500D0156

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
LangString FolderRefused ${LANG_ENGLISH} "${PRODUCT} is installed only on this computer inside $PROGRAMFILES32, where no one without administrator rights can change its files: in a new folder, or in one that holds nothing but an earlier ${PRODUCT}. $\"$INSTDIR$\" is not such a folder."
LangString FolderRefused ${LANG_GERMAN} "${PRODUCT} wird nur auf diesem Computer innerhalb von $PROGRAMFILES32 installiert, wo niemand ohne Administratorrechte seine Dateien ändern kann: in einen neuen Ordner oder in einen, der nichts als ein früheres ${PRODUCT} enthält. $\"$INSTDIR$\" ist kein solcher Ordner."
LangString PartFailed ${LANG_GERMAN} "Der Teil der Einrichtung mit Administratorrechten wurde nicht abgeschlossen (Code $0)."

; The folder that holds the module: SysWOW64 on 64-bit Windows, else System32.
Var ModuleDir
; What this process does: "all" with administrator rights, "user" without
; them (the elevated copy does the rest), "machine" as that copy.
Var Role
; The parts of $INSTDIR below the deepest folder that exists, from "\".
Var NewLevels
; The owner of Program Files, as text: it may change anything below it.
Var PFOwner

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

; The plugins' folder. NSIS makes it in the user's temporary folder, where
; any program of the same user, with or without administrator rights, may
; put a DLL of a plugin's name first. Every copy that can make a folder in
; the Windows folder, which only administrators can, takes a new one there
; instead (a new name: GetTempFileName has just made a file of it), before
; its first plugin call; NSIS removes it at the end. A copy that cannot has
; no rights that such a DLL could gain, and one that is to run elevated
; stops before it calls any plugin.
!macro SafePluginsDir
  ClearErrors
  GetTempFileName $0 "$WINDIR"
  ${IfNot} ${Errors}
    Delete $0
    CreateDirectory $0
    ${IfNot} ${Errors}
      UnsafeStrCpy $PLUGINSDIR $0
    ${EndIf}
  ${EndIf}
!macroend

; Sets $Role. A member of the administrators whose token UAC has filtered
; counts as a member, so the token's elevation decides as well.
!macro FindRole
  !insertmacro SafePluginsDir
  StrCpy $Role ""
  ${GetParameters} $2
  ClearErrors
  ${GetOptions} $2 "/ELEVATED" $3
  ${IfNot} ${Errors}
    StrCpy $Role machine
    ${If} $PLUGINSDIR == ""
      !insertmacro NoAdmin
    ${EndIf}
  ${EndIf}
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
  ${If} $Role == machine
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

; $R6: a SID in, its text out ("" when it has none).
!macro SidText un
  Function ${un}SidText
    System::Call 'advapi32::ConvertSidToStringSidW(p R6, *p .r3) i .r2'
    StrCpy $R6 ""
    ${If} $2 <> 0
      System::Call 'kernel32::lstrcpynW(w .R6, p r3, i ${NSIS_MAX_STRLEN})'
      System::Call 'kernel32::LocalFree(p r3)'
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro SidText ""
!insertmacro SidText "un."

; Opens the folder $R6 as $R7, so that neither it nor a folder above it can
; be moved or removed while it is open. Sets the error flag and $R7 to 0
; when it is no folder, a junction or link, or not the folder its path names.
!macro OpenFolder un
  Function ${un}OpenFolder
    ; FILE_LIST_DIRECTORY | READ_CONTROL, shared for reading and writing only,
    ; FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT
    System::Call 'kernel32::CreateFileW(w R6, i 0x20001, i 3, p 0, i 3, i 0x02200000, p 0) p .R7'
    ${If} $R7 P= -1
      StrCpy $R7 0
      SetErrors
      Return
    ${EndIf}
    System::Alloc 52  ; BY_HANDLE_FILE_INFORMATION
    Pop $R8
    System::Call 'kernel32::GetFileInformationByHandle(p R7, p R8) i .R9'
    ${If} $R9 <> 0
      System::Call '*$R8(i .R9)'
      IntOp $R9 $R9 & 0x410  ; FILE_ATTRIBUTE_REPARSE_POINT, FILE_ATTRIBUTE_DIRECTORY
    ${EndIf}
    System::Free $R8
    System::Call 'kernel32::GetFinalPathNameByHandleW(p R7, w .R8, i ${NSIS_MAX_STRLEN}, i 0)'
    ${If} $R9 <> 0x10
    ${OrIf} $R8 != "\\?\$R6"
      System::Call 'kernel32::CloseHandle(p R7)'
      StrCpy $R7 0
      SetErrors
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro OpenFolder ""
!insertmacro OpenFolder "un."

; $R6: a SID in. Sets the error flag unless it is one that only
; administrators stand for: SYSTEM, the administrators, TrustedInstaller,
; CREATOR OWNER (whoever makes a file in a folder that only they can
; write), or the owner of Program Files.
!macro AdminSid un
  Function ${un}AdminSid
    ClearErrors
    Call ${un}SidText
    ${If} $R6 == "S-1-5-18"
    ${OrIf} $R6 == "S-1-5-32-544"
    ${OrIf} $R6 == "${TRUSTED_INSTALLER}"
    ${OrIf} $R6 == "S-1-3-0"
    ${OrIf} $R6 == $PFOwner
      Return
    ${EndIf}
    SetErrors
  FunctionEnd
!macroend
!insertmacro AdminSid ""
!insertmacro AdminSid "un."

; Clears the error flag when only administrators can change the folder open
; as $R7, or what it holds: its owner and everyone that an entry of its
; access list allows a right to write, to delete, or to change the list or
; the owner, either for the folder or for what is made in it. An entry that
; denies takes nothing away that this counts on; one of another kind
; (with conditions, say) is not understood and refused.
!macro AdminsOnly un
  Function ${un}AdminsOnly
    System::Call 'advapi32::GetSecurityInfo(p R7, i 1, i 5, *p .R8, p 0, *p .R9, p 0, *p .r9) i .r8'
    ${If} $8 <> 0
      SetErrors
      Return
    ${EndIf}
    StrCpy $R6 $R8
    Call ${un}AdminSid
    StrCpy $R8 ok
    ${IfThen} ${Errors} ${|} StrCpy $R8 refused ${|}
    ${IfThen} $R9 P= 0 ${|} StrCpy $R8 refused ${|}  ; no list: everyone may do everything
    ${If} $R8 == ok
      System::Call '*$R9(i, &i2 .r8)'  ; ACL: revision, size; the count of entries
      StrCpy $7 0
      ${DoWhile} $7 < $8
        System::Call 'advapi32::GetAce(p R9, i r7, *p .r6)'
        System::Call '*$6(&i1 .r5, &i1, &i2, i .r4)'  ; type, flags, size, rights
        IntOp $4 $4 & ${WRITE_RIGHTS}
        ${If} $5 <> 1  ; ACCESS_DENIED_ACE_TYPE
        ${AndIf} $4 <> 0
          ${If} $5 <> 0  ; ACCESS_ALLOWED_ACE_TYPE
            StrCpy $R8 refused
            ${ExitDo}
          ${EndIf}
          IntOp $R6 $6 + 8
          Call ${un}AdminSid
          ${If} ${Errors}
            StrCpy $R8 refused
            ${ExitDo}
          ${EndIf}
        ${EndIf}
        IntOp $7 $7 + 1
      ${Loop}
    ${EndIf}
    System::Call 'kernel32::LocalFree(p r9)'
    ClearErrors
    ${IfThen} $R8 != ok ${|} SetErrors ${|}
  FunctionEnd
!macroend
!insertmacro AdminsOnly ""
!insertmacro AdminsOnly "un."

; Clears the error flag when the folder $R6 holds nothing but what Lumora
; leaves there: its uninstaller and text files (its phrase files and those
; of the user). Sets it when it holds a folder, any other file, or an
; Uninstall.exe of another program, or cannot be read.
!macro FormerLumora un
  Function ${un}FormerLumora
    FindFirst $8 $9 "$R6\*"
    StrCpy $7 ""
    ${IfThen} $9 == "" ${|} StrCpy $7 "?" ${|}  ; not even "." can be read
    ${DoWhile} $9 != ""
      StrCpy $6 $9 "" -4
      ${If} $9 == "."
      ${OrIf} $9 == ".."
      ${ElseIf} ${FileExists} "$R6\$9\*.*"
        StrCpy $7 $9
      ${ElseIf} $9 == "Uninstall.exe"
        StrCpy $4 ""
        System::Call 'version::GetFileVersionInfoSizeW(w "$R6\$9", p 0) i .r5'
        ${If} $5 > 0
          System::Alloc $5
          Pop $3
          System::Call 'version::GetFileVersionInfoW(w "$R6\$9", i 0, i r5, p r3) i .r2'
          ${If} $2 <> 0
            System::Call 'version::VerQueryValueW(p r3, w "\StringFileInfo\000004b0\ProductName", *p .r2, *i) i .r5'
            ${If} $5 <> 0
              System::Call 'kernel32::lstrcpynW(w .r4, p r2, i 64)'
            ${EndIf}
          ${EndIf}
          System::Free $3
        ${EndIf}
        ${IfThen} $4 != "${PRODUCT}" ${|} StrCpy $7 $9 ${|}
      ${ElseIf} $6 != ".txt"
        StrCpy $7 $9
      ${EndIf}
      FindNext $8 $9
    ${Loop}
    FindClose $8
    ClearErrors
    ${IfThen} $7 != "" ${|} SetErrors ${|}
  FunctionEnd
!macroend
!insertmacro FormerLumora ""
!insertmacro FormerLumora "un."

; Clears the error flag when $INSTDIR is a folder on this computer strictly
; inside the 32-bit Program Files folder, reached through no junction or
; link, that only administrators can change, and makes $INSTDIR its full
; path with long names and without "." and "..". An existing folder is
; either the one InstallDir records or one that holds nothing but a former
; installation; the levels below the deepest that exists are left to
; MakeFolders. Sets the error flag otherwise and leaves $INSTDIR as it was.
; Network paths are refused as text: nothing is looked up on another computer.
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
    StrCpy $NewLevels $R3
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
    ; Every folder that exists below Program Files, up from the deepest, lets
    ; only administrators change it: else someone could write into it, or
    ; move the folders below it away and put others in their place.
    System::Call 'advapi32::GetNamedSecurityInfoW(w R1, i 1, i 1, *p .R6, p 0, p 0, p 0, *p .R3) i .R5'
    ${If} $R5 = 0
      Call ${un}SidText
      StrCpy $PFOwner $R6
      System::Call 'kernel32::LocalFree(p R3)'
    ${EndIf}
    StrLen $R5 $NewLevels
    StrLen $R3 $R4
    IntOp $R5 $R3 - $R5
    StrCpy $R3 $R4 $R5
    ${Do}
      StrLen $R5 $R3
      ${IfThen} $R5 <= $R2 ${|} ${ExitDo} ${|}
      StrCpy $R6 $R3
      Call ${un}OpenFolder
      ${IfThen} ${Errors} ${|} Goto refused ${|}
      Call ${un}AdminsOnly
      StrCpy $R5 0
      ${IfThen} ${Errors} ${|} StrCpy $R5 1 ${|}
      System::Call 'kernel32::CloseHandle(p R7)'
      ${IfThen} $R5 <> 0 ${|} Goto refused ${|}
      ${GetParent} $R3 $R3
    ${Loop}
    ; A folder that exists and is not the one InstallDir records holds
    ; nothing but a former installation.
    ReadRegStr $R5 HKLM "${SETTINGS_KEY}" "InstallDir"
    ${If} $NewLevels == ""
    ${AndIf} $R5 != $R4
      StrCpy $R6 $R4
      Call ${un}FormerLumora
      ${IfThen} ${Errors} ${|} Goto refused ${|}
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

; Makes the levels of $INSTDIR that AcceptFolder found missing, one after
; another, each with its access list from the start. Sets the error flag
; when one cannot be made, also when it has appeared in the meantime.
Function MakeFolders
  ClearErrors
  StrLen $6 $NewLevels
  ${IfThen} $6 = 0 ${|} Return ${|}
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_ACCESS}", i 1, *p .r8, p 0) i .r7'
  ${If} $7 = 0
    SetErrors
    Return
  ${EndIf}
  System::Call '*(i 12, p r8, i 0) p .r9'  ; SECURITY_ATTRIBUTES
  StrLen $7 $INSTDIR
  IntOp $7 $7 - $6
  ${Do}
    IntOp $7 $7 + 1
    StrCpy $6 $INSTDIR 1 $7
    ${If} $6 == "\"
    ${OrIf} $6 == ""
      StrCpy $5 $INSTDIR $7
      System::Call 'kernel32::CreateDirectoryW(w r5, p r9) i .r4'
      ${If} $4 = 0
        SetErrors
        ${ExitDo}
      ${EndIf}
    ${EndIf}
  ${LoopUntil} $6 == ""
  System::Free $9
  System::Call 'kernel32::LocalFree(p r8)'
FunctionEnd

; A file of an earlier install is removed first, so that the new one takes
; the access list of its folder, and no link in its place is written through.
!macro ReplaceFile folder name
  Delete "${folder}\${name}"
  File "${STAGE}\${name}"
!macroend

; The part for all users, which needs administrator rights. It stands in
; the section itself, whose files give the size that the uninstall entry shows.
!macro InstallFiles
  Call WaitForModule
  ; The folder is made now if it is new, then held open while the files are
  ; written and checked once more through what is open: what is written goes
  ; into the folder that was checked.
  StrCpy $R5 refused
  StrCpy $R7 0
  Call MakeFolders
  ${IfNot} ${Errors}
    StrCpy $R6 $INSTDIR
    Call OpenFolder
    ${IfNot} ${Errors}
      Call AdminsOnly
      ${IfNot} ${Errors}
        StrCpy $R5 ok
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} $R5 != ok
    ${If} $R7 P<> 0
      System::Call 'kernel32::CloseHandle(p R7)'
    ${EndIf}
    !insertmacro RefuseFolder
  ${EndIf}
  Push $R7

  SetOutPath "$ModuleDir"
  !insertmacro ReplaceFile "$ModuleDir" "${MODULE}"

  SetOutPath "$INSTDIR"
  !insertmacro ReplaceFile "$INSTDIR" lu-english-words-1.txt
  !insertmacro ReplaceFile "$INSTDIR" lu-english-fortunes-1.txt
  !insertmacro ReplaceFile "$INSTDIR" lu-deutsche-100-worte.txt
  !insertmacro ReplaceFile "$INSTDIR" lu-deutsche-zitate-1.txt
  Delete "$INSTDIR\Uninstall.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  Pop $R7
  System::Call 'kernel32::CloseHandle(p R7)'

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
; user may add files and folders to the temporary folder itself), with
; /FINISH and this process's id. The folder has a random name, and another
; when that one exists; the copy is never written over a file that is there.
; Sets the error flag when it could not.
Function un.HandOver
  System::Call 'kernel32::GetCurrentProcessId() i .r0'
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", i 1, *p .r2, p 0) i .r3'
  ${If} $3 <> 0
    System::Call '*(i 12, p r2, i 0) p .r4'  ; SECURITY_ATTRIBUTES
    ${For} $5 1 5
      System::Call 'ole32::CoCreateGuid(g .r1)'
      StrCpy $1 $1 36 1
      StrCpy $1 "$WINDIR\Temp\Lumora-$1"
      System::Call 'kernel32::CreateDirectoryW(w r1, p r4) i .r3 ?e'
      Pop $6
      ${If} $3 <> 0
      ${OrIf} $6 <> 183  ; ERROR_ALREADY_EXISTS
        ${Break}
      ${EndIf}
    ${Next}
    System::Free $4
    System::Call 'kernel32::LocalFree(p r2)'
  ${EndIf}
  ClearErrors
  ${If} $3 <> 0
    System::Call 'kernel32::CopyFileW(w "$EXEPATH", w "$1\Uninstall.exe", i 1) i .r3'
  ${EndIf}
  ${If} $3 <> 0
    ; Its current folder, which cannot be removed while it is one.
    SetOutPath "$1"
    Exec '"$1\Uninstall.exe" /S /ELEVATED /FINISH=$0 _?=$INSTDIR'
    ${IfNot} ${Errors}
      Return
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
