; Installer of Pictarine Screen Saver for one Windows architecture, made by
; the Windows build:
;   makensis -DBITS=32|64 -DVERSION=x.y -DBIN_DIR=<programs> -DSOURCE_DIR=<tree>
;            -DOUT_FILE=<installer> Pictarine.nsi
; The 64-bit installer runs only on 64-bit Windows; the 32-bit one stops on
; 64-bit Windows and names the installer to take there, so every Windows gets
; the screen saver of its own architecture.
;
; Installs Pictarine.scr, Vistaloop.exe and sample.bmp into the chosen folder,
; with the "Image Data" folder for the picture groups; Pictarine.scr and
; sample.bmp also into the system folder, where Windows lists screen savers
; (the sample picture is looked up beside the running program). Stores the
; folder as "Install Dir" and registers the uninstaller.
;
; Silent use:
;   PictarineSetup-NNbit.exe /S [/SETCURRENT] [/D=<folder>]   (/D= comes last)
;   Uninstall.exe /S [/REMOVEDATA]
; /SETCURRENT makes it the current screen saver (the finish page offers it);
; /REMOVEDATA also deletes the picture groups (a box on the components page).

Unicode true
!if ${BITS} == 64
  Target amd64-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include Sections.nsh

!define PRODUCT "Pictarine Screen Saver"
!define MAKER "Quellbrook"
!define SETTINGS_KEY "Software\Quellbrook\Pictarine Screen Saver"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pictarine Screen Saver"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup (${BITS}-bit)"
OutFile "${OUT_FILE}"
!if ${BITS} == 64
  InstallDir "$PROGRAMFILES64\${MAKER}\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${MAKER}\${PRODUCT}"
!endif
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${MAKER}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup (${BITS}-bit)"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright ${MAKER}"

Var MakeCurrent   ; "1" when /SETCURRENT was given
Var GroupFolder   ; the folder that holds "Image Data", as the settings name it

!define MUI_ICON "${SOURCE_DIR}/resources/Pictarine.ico"
!define MUI_UNICON "${SOURCE_DIR}/resources/Pictarine.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The finish page's check box offers to make it the current screen saver.
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Make ${PRODUCT} my screen saver"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION MakeCurrentSaver
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your picture groups stay unless you tick their removal."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
!if ${BITS} == 32
  ${If} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "This is the installer for 32-bit Windows.$\r$\nOn 64-bit Windows please run PictarineSetup-64bit.exe." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!else
  SetRegView 64
!endif
  StrCpy $MakeCurrent ""
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SETCURRENT" $1
  ${IfNot} ${Errors}
    StrCpy $MakeCurrent "1"
  ${EndIf}
FunctionEnd

; Makes the installed copy in the system folder the user's screen saver.
Function MakeCurrentSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Pictarine.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; SPI_SETSCREENSAVEACTIVE, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
  System::Call 'user32::SystemParametersInfo(i 17, i 1, p 0, i 3)'
FunctionEnd

; Rewrites a Run value that exists so that it starts this installation's viewer.
!macro PointRunValueHere Name Arguments
  ReadRegStr $0 HKCU "${RUN_KEY}" "${Name}"
  ${If} $0 != ""
    WriteRegStr HKCU "${RUN_KEY}" "${Name}" '"$INSTDIR\Vistaloop.exe"${Arguments}'
  ${EndIf}
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/Pictarine.scr"
  File "${BIN_DIR}/Vistaloop.exe"
  File "${BIN_DIR}/sample.bmp"
  CreateDirectory "$INSTDIR\Image Data"
  SetOutPath "$SYSDIR"
  File "${BIN_DIR}/Pictarine.scr"
  File "${BIN_DIR}/sample.bmp"
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "${SETTINGS_KEY}" "Install Dir" "$INSTDIR"
  !insertmacro PointRunValueHere "WallPaper Changer" " /w"
  !insertmacro PointRunValueHere "Slide Show" ""
  ${If} ${Silent}
  ${AndIf} $MakeCurrent == "1"
    Call MakeCurrentSaver
  ${EndIf}

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vistaloop.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Runs first, so that the folders it empties can go with the program.
Section /o "un.My picture groups (Image Data)" SecData
  RMDir /r "$GroupFolder\Image Data"
  RMDir /r "$INSTDIR\Image Data"
SectionEnd

Section "un.${PRODUCT}" SecUnProgram
  SectionIn RO
  Delete "$INSTDIR\Pictarine.scr"
  Delete "$INSTDIR\Vistaloop.exe"
  Delete "$INSTDIR\sample.bmp"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SYSDIR\Pictarine.scr"
  Delete "$SYSDIR\sample.bmp"

  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\Pictarine.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  DeleteRegValue HKCU "${RUN_KEY}" "WallPaper Changer"
  DeleteRegValue HKCU "${RUN_KEY}" "Slide Show"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${MAKER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Folders go only when nothing of the user's is left in them.
  RMDir "$INSTDIR\Image Data"
  RMDir "$INSTDIR"
  ${un.GetParent} "$INSTDIR" $0
  ${un.GetFileName} "$0" $1
  ${If} $1 == "${MAKER}"
    RMDir "$0"
  ${EndIf}
SectionEnd

Function un.onInit
!if ${BITS} == 64
  SetRegView 64
!endif
  ; The groups live below the folder the settings name, which the
  ; configuration dialog may have changed.
  ReadRegStr $GroupFolder HKCU "${SETTINGS_KEY}" "Install Dir"
  ${If} $GroupFolder == ""
    StrCpy $GroupFolder "$INSTDIR"
  ${EndIf}
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecData}
  ${EndIf}
FunctionEnd
