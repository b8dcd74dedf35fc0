; Glimmerbox setup: puts the screen saver into the Windows system folder, lists
; it in Add/Remove Programs and, if chosen, makes it the user's current saver,
; remembering the one it replaces so that uninstalling can give it back.
;
; Built by CMake (packaging/windows/CMakeLists.txt):
;   makensis -DARCH=x64|x86 -DVERSION=1.0.0 -DVERSION_QUAD=1.0.0.0
;            -DSAVER=<glimmerbox.scr> -DICON=<glimmerbox.ico> -DOUTFILE=<setup.exe>
;            glimmerbox.nsi

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

Var SaverPath
Var SaverShortPath

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

; Installer and uninstaller share these; NSIS wants the "un." copies by name.
!macro SharedFunctions un
; Sets $SaverPath to where the settings list this build, and makes every path
; and registry key mean the native one. Call it in each section too: sections
; run on another thread, and file-system redirection is per thread.
Function ${un}UseNativeLocations
    !if "${ARCH}" == "x64"
        ; A 64-bit setup sees the native System32 and registry as they are.
        StrCpy $SaverPath "$SYSDIR\glimmerbox.scr"
    !else
        ${If} ${RunningX64}
            ; HACK: a 32-bit process would see SysWOW64 behind "System32" and
            ; WOW6432Node behind the registry; name the folders as they are.
            ${DisableX64FSRedirection}
            SetRegView 64
            StrCpy $SaverPath "$WINDIR\SysWOW64\glimmerbox.scr"
        ${Else}
            StrCpy $SaverPath "$SYSDIR\glimmerbox.scr"
        ${EndIf}
    !endif
FunctionEnd

; Pushes 1 when the user's current saver is this Glimmerbox, long or 8.3 path.
Function ${un}IsGlimmerboxCurrent
    Push $0
    Push $1
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCpy $1 0
    ${If} $0 != ""
        ${If} $0 == $SaverPath
        ${OrIf} $0 == $SaverShortPath
            StrCpy $1 1
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
    Call UseNativeLocations
    SetOutPath "$INSTDIR"
    File "/oname=$SaverPath" "${SAVER}"
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
    Call UseNativeLocations
    GetFullPathName /SHORT $SaverShortPath $SaverPath
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
    Call un.UseNativeLocations
    GetFullPathName /SHORT $SaverShortPath $SaverPath
    Call un.IsGlimmerboxCurrent
    Pop $0
    ; Only when Glimmerbox is still current: a saver the user picked since
    ; then stays.
    ${If} $0 == 1
        ReadRegDWORD $1 HKCU "${RECORD_KEY}" "Recorded"
        ClearErrors
        ReadRegStr $2 HKCU "${RECORD_KEY}" "SCRNSAVE.EXE"
        ${If} $1 == 1
        ${AndIfNot} ${Errors}
            WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
        ${Else}
            ; No saver before, or none known: do not name a removed file.
            DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${EndIf}
        ClearErrors
        ReadRegStr $2 HKCU "${RECORD_KEY}" "ScreenSaveActive"
        ${If} $1 == 1
        ${AndIfNot} ${Errors}
            Push $2
            Call un.SetScreenSaveActive
        ${EndIf}
    ${EndIf}
    DeleteRegKey HKCU "${RECORD_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Glimmerbox"
    Delete /REBOOTOK "$SaverPath"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; Last, so that a gone entry means a finished uninstall.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
