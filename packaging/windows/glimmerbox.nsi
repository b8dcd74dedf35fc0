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

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimmerbox"
!define DESKTOP_KEY "Control Panel\Desktop"
; The user's saver from before Glimmerbox was made current.
!define RECORD_KEY "Software\Glimmerbox\PreviousScreenSaver"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

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

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Glimmerbox ${VERSION} Setup"
!define MUI_WELCOMEPAGE_TEXT "Setup installs the Glimmerbox screen saver into the Windows system folder, where the screen saver settings list it, and can make it your current screen saver.$\r$\n$\r$\nWriting to the system folder needs administrator rights; Windows may ask you for them.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open screen saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

; A 32-bit setup on 64-bit Windows turns file-system redirection off only
; around its own file operations: the UI thread and the plug-ins it loads must
; keep the 32-bit view. Redirection is per thread, and only 32-bit programs on
; 64-bit Windows have it.
!macro NativeFileSystem state
    !if "${ARCH}" != "x64"
        ${If} ${RunningX64}
            System::Call kernel32::Wow64EnableWow64FsRedirection(i${state})
        ${EndIf}
    !endif
!macroend

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
            ; HACK: a 32-bit process sees SysWOW64 behind "System32" and
            ; WOW6432Node behind the registry; name the folders as they are.
            SetRegView 64
            StrCpy $SaverPath "$WINDIR\SysWOW64\glimmerbox.scr"
        ${Else}
            StrCpy $SaverPath "$SYSDIR\glimmerbox.scr"
        ${EndIf}
    !endif
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

; Pushes 1 when the user's current saver is this Glimmerbox, however spelt.
Function ${un}IsGlimmerboxCurrent
    Push $0
    Push $1
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCpy $1 0
    ${If} $0 != ""
        Push $0
        Call ${un}CanonicalPath
        Push $SaverPath
        Call ${un}CanonicalPath
        Pop $1
        Pop $0
        ${If} $0 == $1
            StrCpy $1 1
        ${Else}
            StrCpy $1 0
        ${EndIf}
    ${EndIf}
    Exch $1
    Exch
    Pop $0
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
; new name, or leaves it empty when nothing was moved. Call it with
; redirection off.
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

Function .onInit
    Call UseNativeLocations
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "Glimmerbox is installed into the Windows system folder, which needs administrator rights. Please run Setup as an administrator." /SD IDOK
        SetErrorLevel 740
        Quit
    ${EndIf}
    ; One Glimmerbox per machine: the 32-bit and 64-bit builds live in
    ; different folders and would leave each other's files behind.
    ClearErrors
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayIcon"
    ${IfNot} ${Errors}
    ${AndIf} $0 != $SaverPath
        MessageBox MB_ICONSTOP "Another build of Glimmerbox is installed ($0). Please uninstall it first." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

Section "Glimmerbox screen saver" SecSaver
    SectionIn RO
    SetOutPath "$INSTDIR"
    ; Never report success without the new file in place: an old saver in
    ; use is moved aside first, and a file that still cannot be written
    ; stops Setup with the old saver back where it was.
    !insertmacro NativeFileSystem 0
    StrCpy $Aside ""
    SetOverwrite try
    write_saver:
    ${If} $Aside == ""
        Call MoveSaverAside
    ${EndIf}
    ClearErrors
    File "/oname=$SaverPath" "${SAVER}"
    ${If} ${Errors}
        ; The box loads DLLs of its own, which must come from the 32-bit view.
        !insertmacro NativeFileSystem 1
        MessageBox MB_RETRYCANCEL|MB_ICONSTOP "Setup cannot write $SaverPath.$\r$\n$\r$\nClose the screen saver settings and any running screen saver, then click Retry." /SD IDCANCEL IDRETRY retry_write
        !insertmacro NativeFileSystem 0
        ${If} $Aside != ""
            Rename $Aside $SaverPath
        ${EndIf}
        !insertmacro NativeFileSystem 1
        Abort "Setup could not write $SaverPath; nothing was changed."
        retry_write:
        !insertmacro NativeFileSystem 0
        Goto write_saver
    ${EndIf}
    Call DeleteAside
    !insertmacro NativeFileSystem 1
    SetOverwrite on
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; One fixed key: a reinstall rewrites the same entry.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Glimmerbox screen saver"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Glimmerbox"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverPath"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    ; In KB: the saver as packed, and the uninstaller.
    SectionGetSize ${SecSaver} $0
    FileOpen $1 "$INSTDIR\uninstall.exe" r
    FileSeek $1 0 END $2
    FileClose $1
    IntOp $2 $2 / 1024
    IntOp $0 $0 + $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Make Glimmerbox my screen saver" SecCurrent
    Call IsGlimmerboxCurrent
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
SectionEnd

Function OpenScreenSaverSettings
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Function un.onInit
    Call un.UseNativeLocations
FunctionEnd

Section "Uninstall"
    ; The saver goes first, so that one that cannot go stops the uninstall
    ; with nothing changed. A running saver is renamed and only the renamed
    ; copy waits for the restart; the path itself is never queued, because
    ; a reinstall made before the restart would be deleted with it.
    !insertmacro NativeFileSystem 0
    remove_saver:
    Call un.MoveSaverAside
    ${If} $Aside == ""
        Delete $SaverPath
    ${EndIf}
    ${If} ${FileExists} $SaverPath
        !insertmacro NativeFileSystem 1
        MessageBox MB_RETRYCANCEL|MB_ICONSTOP "Glimmerbox cannot remove $SaverPath.$\r$\n$\r$\nClose the screen saver settings and any running screen saver, then click Retry." /SD IDCANCEL IDRETRY retry_remove
        SetErrorLevel 2
        Abort "Glimmerbox could not remove $SaverPath; nothing was changed."
        retry_remove:
        !insertmacro NativeFileSystem 0
        Goto remove_saver
    ${EndIf}
    Call un.DeleteAside
    !insertmacro NativeFileSystem 1

    Call un.IsGlimmerboxCurrent
    Pop $0
    ; Only when Glimmerbox is still current: a saver the user picked since
    ; then stays.
    ${If} $0 == 1
        ReadRegDWORD $1 HKCU "${RECORD_KEY}" "Recorded"
        ${If} $1 == 1
            ClearErrors
            ReadRegStr $2 HKCU "${RECORD_KEY}" "SCRNSAVE.EXE"
            ${If} ${Errors}
                DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
            ${Else}
                WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
            ${EndIf}
            ; The switch as it was, unless the user turned savers off since.
            ReadRegStr $3 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
            ClearErrors
            ReadRegStr $2 HKCU "${RECORD_KEY}" "ScreenSaveActive"
            ${If} $3 != 1
                ; Left as the user set it.
            ${ElseIf} ${Errors}
                DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
            ${Else}
                Push $2
                Call un.SetScreenSaveActive
            ${EndIf}
        ${Else}
            ; No saver known from before: do not name a removed file.
            DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${EndIf}
    ${EndIf}
    DeleteRegKey HKCU "${RECORD_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Glimmerbox"
    ; The uninstaller that started this copy of itself in %TEMP% may still
    ; be ending, and a running program cannot be deleted.
    ${For} $0 1 50
        Delete "$INSTDIR\uninstall.exe"
        ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
            ${Break}
        ${EndIf}
        Sleep 100
    ${Next}
    Delete /REBOOTOK "$INSTDIR\uninstall.exe"
    RMDir /REBOOTOK "$INSTDIR"
    SetRebootFlag false
    ; Last, so that a gone entry means a finished uninstall.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
