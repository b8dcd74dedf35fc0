; Glimmerbox setup: puts the screen saver into the Windows system folder, lists
; it in Add/Remove Programs and, if chosen, makes it the user's current saver,
; remembering the one it replaces so that uninstalling can give it back.
;
; Built by CMake (packaging/windows/CMakeLists.txt):
;   makensis -DARCH=x64|x86 -DVERSION=1.0.0 -DVERSION_QUAD=1.0.0.0
;            -DSAVER=<glimmerbox.scr> -DICON=<glimmerbox.ico> -DOUTFILE=<setup.exe>
;            [-DSIGN=<command signing the file named after it>] glimmerbox.nsi
; through make-setup.sh, which also signs a release (tools/make-release.sh).

!if "${ARCH}" == "x64"
    Target amd64-unicode
!else
    Unicode true
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimmerbox"
!define DESKTOP_KEY "Control Panel\Desktop"
; The user's saver from before Glimmerbox was made current.
!define RECORD_KEY "Software\Glimmerbox\PreviousScreenSaver"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3
; Exit codes besides NSIS's own 0 (done) and 1 (cancelled), each documented
; in docs/windows.md and listed in the winget manifest.
!define EXIT_OTHER_BUILD 3
; Setup could not write the saver, or the uninstaller remove it: nothing changed.
!define EXIT_SAVER_HELD 4
; Setup could not write the saver, nor put the old one back from beside it.
!define EXIT_OLD_SAVER_ASIDE 5
; Setup could not write the uninstaller: nothing changed.
!define EXIT_NO_UNINSTALLER 6
!define EXIT_NOT_ADMIN 740

Name "Glimmerbox ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
ManifestDPIAware true
BrandingText "Glimmerbox ${VERSION}"
SetCompressor /SOLID lzma
; No build-time file dates inside: two builds of one commit are identical.
SetDateSave off
!if "${ARCH}" == "x64"
    InstallDir "$PROGRAMFILES64\Glimmerbox"
!else
    InstallDir "$PROGRAMFILES32\Glimmerbox"
!endif

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey ProductName "Glimmerbox"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Glimmerbox ${VERSION} Setup (${ARCH})"
VIAddVersionKey CompanyName "Glimmerbox"
VIAddVersionKey LegalCopyright "Copyright (c) 2026 Glimmerbox"

!ifdef SIGN
    ; The uninstaller is signed before it is packed, the installer last.
    !uninstfinalize `${SIGN} "%1"` = 0
    !finalize `${SIGN} "%1"` = 0
!endif

Var SaverPath
; Where an in-use saver was moved to make way; empty when nothing was moved.
Var Aside
; This install's uninstaller.
Var Uninstaller
; The account this process runs as: DOMAIN\name and its SID.
Var RunAs
Var RunAsSid
; The account signed in to this session when it is not $RunAs; else empty.
Var OtherUser
Var FinishText

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Glimmerbox ${VERSION} Setup"
!define MUI_WELCOMEPAGE_TEXT "Setup installs the Glimmerbox screen saver into the Windows system folder, where the screen saver settings list it, and can make it your current screen saver.$\r$\n$\r$\nWriting to the system folder needs administrator rights; Windows may ask you for them.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open screen saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFinishPage
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

; Installer and uninstaller share these; NSIS wants the "un." copies by name.
!macro SharedFunctions un
; Sets $SaverPath to where the settings list this build, and makes every
; registry key mean the native one.
Function ${un}UseNativeLocations
    !if "${ARCH}" == "x64"
        ; A 64-bit setup sees the native System32 and registry as they are.
        StrCpy $SaverPath "$SYSDIR\glimmerbox.scr"
    !else
        ${If} ${RunningX64}
            ; A 32-bit process sees SysWOW64 behind "System32" and
            ; WOW6432Node behind the registry; name the folders as they are.
            SetRegView 64
            StrCpy $SaverPath "$WINDIR\SysWOW64\glimmerbox.scr"
        ${Else}
            StrCpy $SaverPath "$SYSDIR\glimmerbox.scr"
        ${EndIf}
    !endif
FunctionEnd

; Sets $RunAs and $RunAsSid to the account this process runs as; each stays
; empty when the system cannot tell it.
Function ${un}FindRunAs
    StrCpy $RunAs ""
    StrCpy $RunAsSid ""
    System::Call "advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0"
    ${IfThen} $0 == 0 ${|} Return ${|}
    System::Call "advapi32::GetTokenInformation(p r1, i 1, p 0, i 0, *i .r2)"
    System::Alloc $2
    Pop $3
    System::Call "advapi32::GetTokenInformation(p r1, i 1, p r3, i r2, *i .r2) i .r0"
    ${If} $0 != 0
        System::Call "*$3(p .r4)"
        System::Call "advapi32::LookupAccountSidW(p 0, p r4, w .r5, *i ${NSIS_MAX_STRLEN}, w .r6, *i ${NSIS_MAX_STRLEN}, *i .r2) i .r0"
        ${IfThen} $0 != 0 ${|} StrCpy $RunAs "$6\$5" ${|}
        System::Call "advapi32::ConvertSidToStringSidW(p r4, *p .r2) i .r0"
        ${If} $0 != 0
            System::Call "kernel32::lstrcpynW(w .s, p r2, i ${NSIS_MAX_STRLEN})"
            Pop $RunAsSid
            System::Call "kernel32::LocalFree(p r2)"
        ${EndIf}
    ${EndIf}
    System::Free $3
    System::Call "kernel32::CloseHandle(p r1)"
FunctionEnd

; Replaces the path on top of the stack by its canonical form: full, with long
; names and backslashes. Windows accepts a saver named in any such spelling,
; and NSIS compares strings case-insensitively.
Function ${un}CanonicalPath
    Exch $0
    Push $1
    Push $2
    System::Call "kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2"
    ${If} $2 == 0
        StrCpy $1 $0
    ${EndIf}
    ; Only an existing file has a long name; otherwise the full path stands.
    System::Call "kernel32::GetLongPathNameW(w r1, w .r0, i ${NSIS_MAX_STRLEN}) i .r2"
    ${If} $2 == 0
        StrCpy $0 $1
    ${EndIf}
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

; Replaces the saver path on top of the stack by 1 when it names this
; Glimmerbox, however spelt, else by 0. Ask while the file exists: a short
; name has no long one once the file is gone.
Function ${un}NamesGlimmerbox
    Exch $0
    Push $1
    ${If} $0 != ""
        Push $0
        Call ${un}CanonicalPath
        Push $SaverPath
        Call ${un}CanonicalPath
        Pop $1
        Pop $0
    ${EndIf}
    ${If} $0 != ""
    ${AndIf} $0 == $1
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Pop $1
    Exch $0
FunctionEnd

; Sets the screen saver on ("1") or off ("0") through the system, which saves
; ScreenSaveActive and tells running programs; writes the value itself only
; when the system refuses.
Function ${un}SetScreenSaveActive
    Exch $0
    Push $1
    System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i $0, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE}) i .r1"
    ${If} $1 == 0
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $0
    ${EndIf}
    Pop $1
    Pop $0
FunctionEnd

; Renames the saver file aside when there is one, so that its path is free:
; a running saver, such as the preview that the screen saver settings keep
; alive, may be renamed but neither replaced nor deleted. Sets $Aside to the
; new name, or leaves it empty when nothing was moved.
Function ${un}MoveSaverAside
    StrCpy $Aside ""
    ${If} ${FileExists} $SaverPath
        Push $0
        StrCpy $0 1
        ; Copies moved before may still run or wait for a restart.
        ${DoWhile} ${FileExists} "$SaverPath.old$0"
            IntOp $0 $0 + 1
        ${Loop}
        ClearErrors
        Rename $SaverPath "$SaverPath.old$0"
        ${IfNot} ${Errors}
            StrCpy $Aside "$SaverPath.old$0"
        ${EndIf}
        Pop $0
    ${EndIf}
FunctionEnd

; Deletes the copy moved aside: at once when nothing runs it any more, else
; at the next restart. The copy is harmless meanwhile, so Setup does not ask
; for a restart.
Function ${un}DeleteAside
    ${If} $Aside != ""
        Delete /REBOOTOK $Aside
        SetRebootFlag false
    ${EndIf}
FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; Says what Setup did, in the details and in install.log, which is all a
; silent install leaves to read.
Function Log
    Exch $0
    Push $1
    DetailPrint $0
    FileOpen $1 "$INSTDIR\install.log" a
    FileSeek $1 0 END
    FileWriteUTF16LE /BOM $1 "$0$\r$\n"
    FileClose $1
    Pop $1
    Pop $0
FunctionEnd

Section "Glimmerbox screen saver" SecSaver
    SectionIn RO
    ; Never report success without the new file in place: an old saver in
    ; use is moved aside first, and a file that still cannot be written
    ; stops Setup with the old saver back where it was. Nothing else exists
    ; before the saver does, not even the folder of the uninstaller.
    StrCpy $Aside ""
    SetOverwrite try
    write_saver:
    ${If} $Aside == ""
        Call MoveSaverAside
    ${EndIf}
    ClearErrors
    File "/oname=$SaverPath" "${SAVER}"
    ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONSTOP "Setup cannot write $SaverPath.$\r$\n$\r$\nClose the screen saver settings and any running screen saver, then click Retry." /SD IDCANCEL IDRETRY write_saver
        StrCpy $0 ${EXIT_SAVER_HELD}
        StrCpy $1 $SaverPath
        Goto undo
    ${EndIf}
    SetOverwrite on
    ; Nor without an uninstaller that can take the saver out again. An
    ; uninstall leaves its own file for the restart to delete, by name; a
    ; name that only grows within a boot keeps that deletion off the
    ; uninstaller of any install after it.
    ClearErrors
    SetOutPath "$INSTDIR"
    System::Call "kernel32::GetTickCount64() l .r0"
    StrCpy $Uninstaller "$INSTDIR\uninstall-$0.exe"
    WriteUninstaller $Uninstaller
    ${If} ${Errors}
        Delete $SaverPath
        SetOutPath $TEMP
        RMDir $INSTDIR
        StrCpy $0 ${EXIT_NO_UNINSTALLER}
        StrCpy $1 $Uninstaller
        Goto undo
    ${EndIf}
    Call DeleteAside
    ; Every other uninstaller here is an earlier install's, and none runs
    ; while Setup does; one that waits for the restart may go now.
    FindFirst $0 $1 "$INSTDIR\uninstall*.exe"
    ${DoWhile} $1 != ""
        ${If} "$INSTDIR\$1" != $Uninstaller
            Delete /REBOOTOK "$INSTDIR\$1"
        ${EndIf}
        FindNext $0 $1
    ${Loop}
    FindClose $0
    SetRebootFlag false
    Delete "$INSTDIR\install.log"
    Push "Glimmerbox ${VERSION} (${ARCH}) is $SaverPath."
    Call Log
    ; One fixed key: a reinstall rewrites the same entry. The uninstaller
    ; runs in place (_?=, unquoted and last), so that whoever starts it waits
    ; for its real result rather than for a copy it hands over to.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Glimmerbox screen saver"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Glimmerbox"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverPath"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$Uninstaller" _?=$INSTDIR'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$Uninstaller" /S _?=$INSTDIR'
    ; In KB: the saver as packed, and the uninstaller.
    SectionGetSize ${SecSaver} $0
    FileOpen $1 $Uninstaller r
    FileSeek $1 0 END $2
    FileClose $1
    IntOp $2 $2 / 1024
    IntOp $0 $0 + $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    Return

    ; Puts the old saver back and stops with code $0, for the file $1.
    undo:
    ${If} $Aside != ""
        ClearErrors
        Rename $Aside $SaverPath
        ${If} ${Errors}
            SetErrorLevel ${EXIT_OLD_SAVER_ASIDE}
            Abort "Setup could not write $1, nor put the old saver back: it is $Aside."
        ${EndIf}
    ${EndIf}
    SetErrorLevel $0
    Abort "Setup could not write $1; nothing was changed."
SectionEnd

Section "Make Glimmerbox my screen saver" SecCurrent
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    Push $1
    Call NamesGlimmerbox
    Pop $0
    ; Already current means a reinstall: the record still names the user's
    ; own saver and must not be replaced by Glimmerbox itself.
    ${If} $0 == 0
        DeleteRegKey HKCU "${RECORD_KEY}"
        ClearErrors
        ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${IfNot} ${Errors}
            WriteRegStr HKCU "${RECORD_KEY}" "SCRNSAVE.EXE" $1
        ${EndIf}
        ClearErrors
        ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        ${IfNot} ${Errors}
            WriteRegStr HKCU "${RECORD_KEY}" "ScreenSaveActive" $1
        ${EndIf}
        WriteRegDWORD HKCU "${RECORD_KEY}" "Recorded" 1
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $SaverPath
    Push 1
    Call SetScreenSaveActive
    Push "Glimmerbox is now the screen saver of $RunAs."
    Call Log
SectionEnd

Section "-Report"
    ${If} $OtherUser != ""
        Push "Setup ran as $RunAs while $OtherUser is signed in, so it left every screen saver choice alone: $OtherUser can choose Glimmerbox in the screen saver settings."
        Call Log
    ${ElseIfNot} ${SectionIsSelected} ${SecCurrent}
        Push "The screen saver of $RunAs was left as it was."
        Call Log
    ${EndIf}
SectionEnd

; Sets $OtherUser when the account signed in to this session is not the one
; Setup runs as: a standard user who typed an administrator's password runs
; Setup as that administrator, whose own settings HKCU then holds. An
; unreadable or unnamed session (a service's), or an account Setup cannot
; name, counts as the same account.
Function FindOtherUser
    StrCpy $OtherUser ""
    ${IfThen} $RunAs == "" ${|} Return ${|}
    ; WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION; WTSUserName, WTSDomainName.
    System::Call "wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i 5, *p .r1, *i .r2) i .r0"
    ${If} $0 == 0
        Return
    ${EndIf}
    System::Call "kernel32::lstrcpynW(w .r3, p r1, i ${NSIS_MAX_STRLEN})"
    System::Call "wtsapi32::WTSFreeMemory(p r1)"
    System::Call "wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i 7, *p .r1, *i .r2) i .r0"
    ${If} $0 == 0
        Return
    ${EndIf}
    System::Call "kernel32::lstrcpynW(w .r4, p r1, i ${NSIS_MAX_STRLEN})"
    System::Call "wtsapi32::WTSFreeMemory(p r1)"
    ${If} $3 != ""
    ${AndIf} "$4\$3" != $RunAs
        StrCpy $OtherUser "$4\$3"
    ${EndIf}
FunctionEnd

Function .onInit
    Call UseNativeLocations
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "Glimmerbox is installed into the Windows system folder, which needs administrator rights. Please run Setup as an administrator." /SD IDOK
        SetErrorLevel ${EXIT_NOT_ADMIN}
        Quit
    ${EndIf}
    ; One Glimmerbox per machine: the 32-bit and 64-bit builds live in
    ; different folders and would leave each other's files behind.
    ClearErrors
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayIcon"
    ${IfNot} ${Errors}
    ${AndIf} $0 != $SaverPath
        MessageBox MB_ICONSTOP "Another build of Glimmerbox is installed ($0). Please uninstall it first." /SD IDOK
        SetErrorLevel ${EXIT_OTHER_BUILD}
        Quit
    ${EndIf}
    Call FindRunAs
    Call FindOtherUser
    ${IfThen} $RunAs == "" ${|} StrCpy $RunAs "the account Setup runs as" ${|}
    StrCpy $FinishText "$(MUI_TEXT_FINISH_INFO_TEXT)"
    ${If} $OtherUser != ""
        ; Another person's settings are no one's to change here.
        !insertmacro UnselectSection ${SecCurrent}
        !insertmacro SetSectionFlag ${SecCurrent} ${SF_RO}
        StrCpy $FinishText "Glimmerbox is installed.$\r$\n$\r$\nSetup ran as $RunAs, not as $OtherUser, so it did not change your screen saver. Choose Glimmerbox in the screen saver settings yourself."
    ${EndIf}
    ; /KEEPSAVER: a silent install that leaves the current saver alone.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/KEEPSAVER" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecCurrent}
    ${EndIf}
FunctionEnd

; The settings would open as the account Setup runs as, not as the person
; at the desktop.
Function ShowFinishPage
    ${If} $OtherUser != ""
        SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
        ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    ${EndIf}
FunctionEnd

Function OpenScreenSaverSettings
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; Fills $PLUGINSDIR\accounts.ini with every signed-in account (a loaded hive
; under HKEY_USERS) whose saver is this Glimmerbox, with the value as spelt.
; It is written in quotes: reading strips those, and would otherwise strip
; spaces and quotes that belong to the value.
Function un.FindAccountsUsingGlimmerbox
    InitPluginsDir
    StrCpy $0 0
    ${Do}
        EnumRegKey $1 HKU "" $0
        ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
        IntOp $0 $0 + 1
        ReadRegStr $2 HKU "$1\${DESKTOP_KEY}" "SCRNSAVE.EXE"
        Push $2
        Call un.NamesGlimmerbox
        Pop $3
        ${If} $3 == 1
            WriteINIStr "$PLUGINSDIR\accounts.ini" current $1 '"$2"'
        ${EndIf}
    ${Loop}
FunctionEnd

; Gives account $1 (its hive under HKEY_USERS) its saver from before
; Glimmerbox, switched on or off as it was; without a record, the system's
; blank saver, so that a screen set to lock on resume still locks.
Function un.GiveBackSaver
    ReadRegDWORD $4 HKU "$1\${RECORD_KEY}" "Recorded"
    ${If} $4 != 1
        WriteRegStr HKU "$1\${DESKTOP_KEY}" "SCRNSAVE.EXE" "$WINDIR\System32\scrnsave.scr"
        Return
    ${EndIf}
    ClearErrors
    ReadRegStr $4 HKU "$1\${RECORD_KEY}" "SCRNSAVE.EXE"
    ${If} ${Errors}
        DeleteRegValue HKU "$1\${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
        WriteRegStr HKU "$1\${DESKTOP_KEY}" "SCRNSAVE.EXE" $4
    ${EndIf}
    ; The switch as it was, unless the user turned savers off since.
    ReadRegStr $5 HKU "$1\${DESKTOP_KEY}" "ScreenSaveActive"
    ClearErrors
    ReadRegStr $4 HKU "$1\${RECORD_KEY}" "ScreenSaveActive"
    ${If} $5 != 1
        ; Left as the user set it.
    ${ElseIf} ${Errors}
        DeleteRegValue HKU "$1\${DESKTOP_KEY}" "ScreenSaveActive"
    ${ElseIf} $1 == $RunAsSid
        ; The system also tells this session's running programs.
        Push $4
        Call un.SetScreenSaveActive
    ${Else}
        WriteRegStr HKU "$1\${DESKTOP_KEY}" "ScreenSaveActive" $4
    ${EndIf}
FunctionEnd

Function un.onInit
    Call un.UseNativeLocations
    Call un.FindRunAs
FunctionEnd

Section "Uninstall"
    Call un.FindAccountsUsingGlimmerbox
    ; The saver goes first, so that one that cannot go stops the uninstall
    ; with nothing changed. A running saver is renamed and only the renamed
    ; copy waits for the restart; the path itself is never queued, because
    ; a reinstall made before the restart would be deleted with it.
    remove_saver:
    Call un.MoveSaverAside
    ${If} $Aside == ""
        Delete $SaverPath
    ${EndIf}
    ${If} ${FileExists} $SaverPath
        MessageBox MB_RETRYCANCEL|MB_ICONSTOP "Glimmerbox cannot remove $SaverPath.$\r$\n$\r$\nClose the screen saver settings and any running screen saver, then click Retry." /SD IDCANCEL IDRETRY remove_saver
        SetErrorLevel ${EXIT_SAVER_HELD}
        Abort "Glimmerbox could not remove $SaverPath; nothing was changed."
    ${EndIf}
    Call un.DeleteAside

    ; Every account whose saver Glimmerbox was, unless that value changed
    ; meanwhile (.DEFAULT is another name of one account's hive); the record
    ; goes in every account.
    StrCpy $0 0
    ${Do}
        EnumRegKey $1 HKU "" $0
        ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
        IntOp $0 $0 + 1
        ClearErrors
        ReadINIStr $2 "$PLUGINSDIR\accounts.ini" current $1
        ReadRegStr $3 HKU "$1\${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${IfNot} ${Errors}
        ${AndIf} $2 == $3
            Call un.GiveBackSaver
        ${EndIf}
        DeleteRegKey HKU "$1\${RECORD_KEY}"
        DeleteRegKey /ifempty HKU "$1\Software\Glimmerbox"
    ${Loop}

    ; Run in place (the entry's strings end in _?=), this uninstaller holds
    ; its own file open until it ends; the original of a copy in %TEMP% may
    ; still be ending. Either then waits for the restart, by name, with any
    ; other one left here: a reinstall before then names its own otherwise.
    Delete "$INSTDIR\install.log"
    Delete /REBOOTOK "$INSTDIR\uninstall*.exe"
    ; The working folder would keep $INSTDIR.
    SetOutPath $TEMP
    RMDir /REBOOTOK "$INSTDIR"
    SetRebootFlag false
    ; Last, so that a gone entry means a finished uninstall.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
