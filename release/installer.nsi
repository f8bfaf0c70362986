; The per-user installer and uninstaller of Vantrel (NSIS 3, Unicode).
;
; Installs into %LOCALAPPDATA%\Programs\Vantrel without elevation: the
; programs keep Notify.dat and Update.ini beside themselves, so their folder
; must be one the user may write. Built by release/MakeInstaller.cmake, which
; passes:
;   /DVERSION=1.1 /DVERSION_QUAD=1.1.0.0   the product version
;   /DARCH=x64|x86        the programs' architecture: an x64 build makes a
;                         64-bit installer (x64 Windows only)
;   /DFILES_DIR=<dir>     Vantrel.exe, Update.exe, update.bat, Update.ini, Holidays.txt
;   /DICON=<file>         the program icon
;   /DWIZARD_BITMAP=<bmp> optional: the picture of the first and last pages
;   /DMAIN_TITLE=<text>   the title of the assistant's main window
;   /DEXIT_COMMAND=<id>   the assistant's exit command (WM_COMMAND)
;   /DUPDATER_TITLE=<text> the title of the updater's wizard
;   /DOUTFILE=<file>      where the installer goes
;   /DSIGN_CMD=<command>  optional: signs the file named by its argument
;
; Command line (besides NSIS's /S and /D=<dir>): /NOAUTORUN leaves the
; "start with Windows" box unticked.

!ifndef ARCH
  !error "ARCH (x64 or x86) must be defined"
!endif
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Unicode true
!endif
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
SetCompressorDictSize 1

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh

; On 64-bit Windows a 32-bit copy of Vantrel wrote HKLM\SOFTWARE through the
; WOW6432Node view; HKCU\Software is the same for both. The x64 installer
; works in the 64-bit view and clears what an x86 copy left in the other:
; a second Run value would start two copies at logon.
!macro NATIVE_REG_VIEW
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
!macroend
!macro DELETE_HKLM_VALUE key name
  DeleteRegValue HKLM "${key}" "${name}"
  !if "${ARCH}" == "x64"
    SetRegView 32
    DeleteRegValue HKLM "${key}" "${name}"
    SetRegView 64
  !endif
!macroend
!macro DELETE_HKLM_KEY_IF_EMPTY key
  DeleteRegKey /ifempty HKLM "${key}"
  !if "${ARCH}" == "x64"
    SetRegView 32
    DeleteRegKey /ifempty HKLM "${key}"
    SetRegView 64
  !endif
!macroend

!ifndef VERSION | FILES_DIR | MAIN_TITLE | EXIT_COMMAND | UPDATER_TITLE | OUTFILE
  !error "VERSION, FILES_DIR, MAIN_TITLE, EXIT_COMMAND, UPDATER_TITLE and OUTFILE must be defined"
!endif

!define PRODUCT "Vantrel"
!define PUBLISHER "Orvane"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PRODUCT_KEY "Software\Orvane\Vantrel"
!define UNINSTALLER "Uninstall.exe"

; The uninstaller is signed before it is packed into the installer, the
; installer once it is written.
!ifdef SIGN_CMD
  !uninstfinalize '${SIGN_CMD} "%1"' = 0
  !finalize '${SIGN_CMD} "%1"' = 0
!endif

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!ifdef WIZARD_BITMAP
  ; The updater's wizard strip, in place of NSIS's own picture.
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!endif
!define MUI_ABORTWARNING
; NSIS's own text asks to close every program first; this one closes and
; restarts the only program it replaces by itself.
!define MUI_WELCOMEPAGE_TEXT "此程序将引导你完成 $(^NameDA) 的安装。$\r$\n$\r$\n$(^NameDA) 安装在你自己的用户目录中，不需要管理员权限。如果 $(^NameDA) 正在运行，安装程序会先让它保存提醒并退出，安装完成后再启动它。$\r$\n$\r$\n$_CLICK"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "立即运行 ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunAssistantNow

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

Var WasRunning

; Ends a running program of ours gracefully: the message its own window
; takes to end (the assistant's exit command, which saves its reminders and
; settings first; the updater's WM_CLOSE, which cancels what it is doing),
; then up to 10 s for the process to end; one that does not end is
; terminated, since its files must be replaced or removed. $R9 is the
; window title, $R8 the message, $R7 its wParam; $R6 becomes 1 when a
; window was found.
!macro DEFINE_END_PROGRAM prefix
Function ${prefix}EndProgram
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $R6 0
  StrCpy $4 0
  ${Do}
    FindWindow $0 "" "$R9"
    ${If} $0 == 0
    ${OrIf} $4 >= 3
      ${Break}
    ${EndIf}
    IntOp $4 $4 + 1
    StrCpy $R6 1
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1) i'
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r2'
    SendMessage $0 $R8 $R7 0 /TIMEOUT=5000
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r3'
      ${If} $3 <> 0
        System::Call 'kernel32::TerminateProcess(p r2, i 1)'
        System::Call 'kernel32::WaitForSingleObject(p r2, i 5000) i .r3'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${Else}
      ; No handle on the process: wait for its window to go at least.
      StrCpy $3 0
      ${DoWhile} $3 < 100
        System::Call 'user32::IsWindow(p r0) i .r1'
        ${IfThen} $1 == 0 ${|} ${Break} ${|}
        Sleep 100
        IntOp $3 $3 + 1
      ${Loop}
    ${EndIf}
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The updater first: at its end it starts the assistant again. Then the
; assistant; $WasRunning becomes 1 when it ran.
Function ${prefix}EndPrograms
  Push $R9
  Push $R8
  Push $R7
  Push $R6
  StrCpy $R9 "${UPDATER_TITLE}"
  StrCpy $R8 ${WM_CLOSE}
  StrCpy $R7 0
  Call ${prefix}EndProgram
  StrCpy $R9 "${MAIN_TITLE}"
  StrCpy $R8 ${WM_COMMAND}
  StrCpy $R7 ${EXIT_COMMAND}
  Call ${prefix}EndProgram
  StrCpy $WasRunning $R6
  Pop $R6
  Pop $R7
  Pop $R8
  Pop $R9
FunctionEnd
!macroend
!insertmacro DEFINE_END_PROGRAM ""
!insertmacro DEFINE_END_PROGRAM "un."

; Reads one key of [Main] of the installed Update.ini: $1 the value, $2 "1"
; when the key was there.
!macro READ_MAIN_KEY key valueVar hasVar
  ClearErrors
  ReadINIStr ${valueVar} "$INSTDIR\Update.ini" "Main" "${key}"
  ${If} ${Errors}
    StrCpy ${hasVar} 0
  ${Else}
    StrCpy ${hasVar} 1
  ${EndIf}
!macroend

; Adds the size of a file in bytes to a variable.
!macro ADD_FILE_SIZE var file
  Push $9
  Push $8
  ClearErrors
  FileOpen $9 "${file}" r
  ${IfNot} ${Errors}
    FileSeek $9 0 END $8
    FileClose $9
    IntOp ${var} ${var} + $8
  ${EndIf}
  Pop $8
  Pop $9
!macroend

Section "${PRODUCT}（必需）" SecProgram
  SectionIn RO
  Call EndPrograms

  ; The user's own update settings survive an upgrade; the component
  ; versions become this installer's. Read after the assistant has ended:
  ; it writes these keys itself.
  !insertmacro READ_MAIN_KEY LocalMode $R0 $R1
  !insertmacro READ_MAIN_KEY Day $R2 $R3
  !insertmacro READ_MAIN_KEY Updated $R4 $R5

  SetOutPath "$INSTDIR"
  SetOverwrite on
  ClearErrors
  File "${FILES_DIR}\Vantrel.exe"
  File "${FILES_DIR}\Update.exe"
  File "${FILES_DIR}\update.bat"
  File "${FILES_DIR}\Update.ini"
  File "${FILES_DIR}\Holidays.txt"
  ; Notify.dat is the user's: never shipped, never touched.
  ; A file another program holds open is skipped (the silent default, or the
  ; user's "忽略"): the installation goes on, but does not pass for a
  ; complete one, and an administrator's script sees exit code 2.
  ${If} ${Errors}
    SetErrorLevel 2
    MessageBox MB_OK|MB_ICONEXCLAMATION "有文件未能替换，因为另一个程序正在使用它们。$\n$\n请关闭该程序后再次运行安装程序。" /SD IDOK
  ${EndIf}

  ${If} $R1 == 1
    WriteINIStr "$INSTDIR\Update.ini" "Main" "LocalMode" $R0
  ${EndIf}
  ${If} $R3 == 1
    WriteINIStr "$INSTDIR\Update.ini" "Main" "Day" $R2
  ${EndIf}
  ${If} $R5 == 1
    WriteINIStr "$INSTDIR\Update.ini" "Main" "Updated" $R4
  ${EndIf}
  FlushINI "$INSTDIR\Update.ini"

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Vantrel.exe" "" "$INSTDIR\Vantrel.exe" 0

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Vantrel.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ; What the installation takes, in KiB: the files it put there, not the
  ; user's reminders beside them.
  StrCpy $0 0
  !insertmacro ADD_FILE_SIZE $0 "$INSTDIR\Vantrel.exe"
  !insertmacro ADD_FILE_SIZE $0 "$INSTDIR\Update.exe"
  !insertmacro ADD_FILE_SIZE $0 "$INSTDIR\update.bat"
  !insertmacro ADD_FILE_SIZE $0 "$INSTDIR\Update.ini"
  !insertmacro ADD_FILE_SIZE $0 "$INSTDIR\Holidays.txt"
  !insertmacro ADD_FILE_SIZE $0 "$INSTDIR\${UNINSTALLER}"
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "开机自动运行" SecAutorun
  ; As the assistant writes it: the quoted path, one entry only (a second one
  ; in the machine-wide key would start a second copy).
  WriteRegStr HKCU "${RUN_KEY}" "Vantrel" '"$INSTDIR\Vantrel.exe"'
  !insertmacro DELETE_HKLM_VALUE "${RUN_KEY}" "Vantrel"
SectionEnd

Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecAutorun}
    DeleteRegValue HKCU "${RUN_KEY}" "Vantrel"
    !insertmacro DELETE_HKLM_VALUE "${RUN_KEY}" "Vantrel"
  ${EndIf}
  ${If} $WasRunning == 1
    Exec '"$INSTDIR\Vantrel.exe"'
  ${EndIf}
SectionEnd

Function .onInit
  !insertmacro NATIVE_REG_VIEW
  ; An upgrade keeps the user's choice of starting with Windows, wherever
  ; the earlier copy (of either architecture) wrote it.
  ClearErrors
  ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
  ${IfNot} ${Errors}
    ClearErrors
    ReadRegStr $1 HKCU "${RUN_KEY}" "Vantrel"
    ${If} ${Errors}
      ClearErrors
      ReadRegStr $1 HKLM "${RUN_KEY}" "Vantrel"
      !if "${ARCH}" == "x64"
        ${If} ${Errors}
          ClearErrors
          SetRegView 32
          ReadRegStr $1 HKLM "${RUN_KEY}" "Vantrel"
          SetRegView 64
        ${EndIf}
      !endif
      ${If} ${Errors}
        !insertmacro UnselectSection ${SecAutorun}
      ${EndIf}
    ${EndIf}
    ; Without /D= an upgrade goes where the earlier install went.
    ${If} $0 != ""
    ${AndIf} $INSTDIR == "$LOCALAPPDATA\Programs\${PRODUCT}"
      StrCpy $INSTDIR $0
    ${EndIf}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOAUTORUN" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecAutorun}
  ${EndIf}
FunctionEnd

Function RunAssistantNow
  ; Restarted by the installation already when it was running.
  FindWindow $0 "" "${MAIN_TITLE}"
  ${If} $0 == 0
    Exec '"$INSTDIR\Vantrel.exe"'
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro NATIVE_REG_VIEW
FunctionEnd

Section "Uninstall"
  Call un.EndPrograms

  Delete "$INSTDIR\Vantrel.exe"
  Delete "$INSTDIR\Update.exe"
  Delete "$INSTDIR\Update.exe.old"
  ; The copies an interrupted update keeps of the files it replaces.
  Delete "$INSTDIR\Vantrel.exe.bak"
  Delete "$INSTDIR\Update.exe.bak"
  Delete "$INSTDIR\update.bat"
  Delete "$INSTDIR\Update.ini"
  Delete "$INSTDIR\Holidays.txt"
  Delete "$INSTDIR\Holidays.txt.bak"
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; The reminders, with the copies the assistant keeps of a damaged file,
  ; stay unless the user asks to remove them; a silent uninstall keeps them.
  MessageBox MB_YESNO|MB_ICONQUESTION "是否保留你的提醒（Notify.dat）？$\n$\n选择“否”将删除所有提醒。" /SD IDYES IDYES keep
    Delete "$INSTDIR\Notify.dat"
    Delete "$INSTDIR\Notify.dat.tmp"
    Delete "$INSTDIR\Notify.dat.bak*"
  keep:
  RMDir "$INSTDIR"

  DeleteRegKey HKCU "${UNINST_KEY}"
  ; The Run value is written per user or machine-wide, whichever the user
  ; may; removing the machine-wide one fails quietly without the right.
  DeleteRegValue HKCU "${RUN_KEY}" "Vantrel"
  !insertmacro DELETE_HKLM_VALUE "${RUN_KEY}" "Vantrel"
  ; The per-user key holds only the assistant's own values: ShowInfo where
  ; the machine-wide key was refused, and the settings (hotkeys, the
  ; countdown's end action and last target).
  DeleteRegKey HKCU "${PRODUCT_KEY}"
  !insertmacro DELETE_HKLM_VALUE "${PRODUCT_KEY}" "ShowInfo"
  DeleteRegKey /ifempty HKCU "Software\Orvane"
  !insertmacro DELETE_HKLM_KEY_IF_EMPTY "${PRODUCT_KEY}"
  !insertmacro DELETE_HKLM_KEY_IF_EMPTY "Software\Orvane"
SectionEnd
