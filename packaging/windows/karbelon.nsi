; The Windows installer: a per-user install that needs no administrator.
; packaging/CMakeLists.txt runs makensis on it with these defines:
;   VERSION   the program's version, four numbers
;   OUTFILE   the setup program to write
;   ICON      the program's icon (.ico)
;   FILES     the generated list of the files the zip carries as well
; Saved as UTF-8 with a byte-order mark, so that makensis reads the Hangul right.

Unicode true
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
SetCompressor /SOLID lzma
RequestExecutionLevel user
; Files get the time of their install: stored build times would make every
; build of the same commit a different installer.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include "${FILES}"

!define PRODUCT "카르벨론 데미지 계산기"
!define PROGRAM "karbelon.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Karbelon"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "Made by Orvane"
; Windows' folder for per-user programs; an earlier install keeps its folder
; unless /D= or the directory page chooses another.
InstallDir "$LOCALAPPDATA\Programs\Karbelon"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Korean"
; Korean's language file asks for Gulim, which only Korean Windows is sure to
; have; the dialog font is there everywhere and finds a Hangul font itself.
SetFont /LANG=${LANG_KOREAN} "MS Shell Dlg" 9

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileDescription" "${PRODUCT} 설치 프로그램"
VIAddVersionKey /LANG=${LANG_KOREAN} "CompanyName" "Made by Orvane"
VIAddVersionKey /LANG=${LANG_KOREAN} "LegalCopyright" "Made by Orvane"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "ProductVersion" "${VERSION}"

; A running program's file cannot be written; finding that out before
; anything changes keeps the old install whole. Silent runs give up with
; exit code 2, a user may close the program and retry.
!macro REFUSE_WHILE_RUNNING action
    ${If} ${FileExists} "$INSTDIR\${PROGRAM}"
        ${Do}
            ClearErrors
            FileOpen $0 "$INSTDIR\${PROGRAM}" a
            ${IfNot} ${Errors}
                FileClose $0
                ${Break}
            ${EndIf}
            ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                    "${PRODUCT}가 실행 중이어서 $INSTDIR\${PROGRAM} 파일을 ${action} 수 없습니다.$\r$\n\
                    프로그램을 닫은 뒤 다시 시도하십시오." /SD IDCANCEL IDRETRY`
                SetErrorLevel 2
                Abort "${PRODUCT}가 실행 중입니다. 아무것도 바꾸지 않았습니다."
            ${EndIf}
        ${Loop}
    ${EndIf}
!macroend

; The actions that KARBELON_PACKAGE_FILES applies to each packaged file.
!macro INSTALL_FILE name source
    File "/oname=${name}" "${source}"
!macroend
!macro REMOVE_FILE name source
    Delete "$INSTDIR\${name}"
!macroend
; Adds the file's size in bytes to $1.
!macro ADD_FILE_SIZE name source
    ClearErrors
    FileOpen $0 "$INSTDIR\${name}" r
    ${IfNot} ${Errors}
        FileSeek $0 0 END $2
        FileClose $0
        IntOp $1 $1 + $2
    ${EndIf}
!macroend

; Removes an install in another folder that the uninstall entry names, so
; that only one install and one entry remain. It runs the old uninstaller in
; place (_?=) and waits for it; the uninstaller itself is removed after it.
Function RemoveInstallElsewhere
    ReadRegStr $3 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $3 == ""
    ${OrIf} $3 == $INSTDIR
    ${OrIfNot} ${FileExists} "$3\${UNINSTALLER}"
        Return
    ${EndIf}
    DetailPrint "$3의 이전 설치를 제거합니다."
    ClearErrors
    ExecWait '"$3\${UNINSTALLER}" /S _?=$3' $4
    ${If} ${Errors}
    ${OrIf} $4 != 0
        SetErrorLevel 2
        Abort "$3의 이전 설치를 제거하지 못했습니다. 아무것도 바꾸지 않았습니다."
    ${EndIf}
    Delete "$3\${UNINSTALLER}"
    RMDir "$3"
FunctionEnd

Section "${PRODUCT}" ProgramSection
    SectionIn RO
    !insertmacro REFUSE_WHILE_RUNNING "바꿀"
    Call RemoveInstallElsewhere
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    SetOverwrite on
    ClearErrors
    !insertmacro KARBELON_PACKAGE_FILES INSTALL_FILE
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        SetErrorLevel 2
        Abort "$INSTDIR에 파일을 쓰지 못했습니다."
    ${EndIf}
    CreateShortCut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${PROGRAM}"

    StrCpy $1 0
    !insertmacro KARBELON_PACKAGE_FILES ADD_FILE_SIZE
    !insertmacro ADD_FILE_SIZE "${UNINSTALLER}" ""
    IntOp $1 $1 + 1023
    IntOp $1 $1 / 1024
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orvane"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless the user ticks it.
Section /o "바탕 화면 바로 가기" DesktopSection
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    CreateShortCut "$DESKTOP\${SHORTCUT}" "$INSTDIR\${PROGRAM}"
SectionEnd

; Removes what the installer wrote and nothing else: a file of the user's
; own keeps the folder.
Section "Uninstall"
    !insertmacro REFUSE_WHILE_RUNNING "지울"
    SetShellVarContext current
    !insertmacro KARBELON_PACKAGE_FILES REMOVE_FILE
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Started from the folder, the uninstaller runs from a copy of itself in
    ; the temporary folder, which may come here before the original has
    ; ended and let go of its file: try again for up to five seconds, so the
    ; file and with it the folder do not stay behind. Run in place (_?=), it
    ; cannot remove itself; whoever ran it does.
    ${If} $EXEDIR != $INSTDIR
        StrCpy $0 0
        ${DoWhile} ${FileExists} "$INSTDIR\${UNINSTALLER}"
            ${If} $0 >= 50
                ${ExitDo}
            ${EndIf}
            Sleep 100
            Delete "$INSTDIR\${UNINSTALLER}"
            IntOp $0 $0 + 1
        ${Loop}
    ${EndIf}
    ; The shortcuts and the entry belong to this folder's install only if the
    ; entry names this folder (or is gone).
    ReadRegStr $3 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $3 == ""
    ${OrIf} $3 == $INSTDIR
        Delete "$SMPROGRAMS\${SHORTCUT}"
        Delete "$DESKTOP\${SHORTCUT}"
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${EndIf}
    RMDir "$INSTDIR"
SectionEnd
