; The Windows setup program. It puts one of the two VST 2.4 builds into the VST 2 folder the user picks
; ($INSTDIR, so /D= sets it), and vr58.exe, the manual, the factory presets and the uninstaller into
; Program Files\VR58. What it installed is written to the registry, so an upgrade and the uninstaller
; remove exactly those files and never one the user put beside them.
; The build runs it: makensis -DVERSION=1.10 -DFILE_VERSION=1.1.0.0 -DEDITOR_DLL=... -DPLAIN_DLL=...
;   -DVR58_EXE=... -DMANUAL=... -DLICENSE=... -DPRESET_LIST=presets.nsh -DOUTFILE=... vr58-setup.nsi
; Silent: setup.exe /S [/PLUGIN=VR58G|VR58] [/D=C:\path\to\VST2]; uninstall.exe /S.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include x64.nsh
!include Sections.nsh
!include FileFunc.nsh
!include MUI2.nsh
!include "${PRESET_LIST}"

!define PRODUCT "VR58 Tape Recorder"
!define PUBLISHER "Quorvane"
!define SETTINGS_KEY "Software\Quorvane\VR58"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VR58"
!define EDITOR_FILE "VR58G_x64.dll"
!define PLAIN_FILE "VR58_x64.dll"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) ${PUBLISHER}"

Var AppDir          ; vr58.exe, manual, presets, licence and the uninstaller
Var FolderNote      ; the folder page's text, naming an earlier install's folder
Var SelectedPlugin  ; the radio group's current section
Var PluginFile      ; the plug-in this run installs, or empty
Var Installed       ; a settings value read back

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!define MUI_COMPONENTSPAGE_TEXT_TOP "Pick one of the two plug-ins: they carry the same plug-in ID, so a host must never find both. A project saved with one opens with the other."
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderPageWithoutPlugin
!define MUI_DIRECTORYPAGE_TEXT_TOP "$FolderNote"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2 plug-in folder"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Removes what the install recorded in the registry: the plug-in in its folder (and the folder, when the
; install made it and it is empty now) and the files in $AppDir. Used by the uninstaller and, before an
; upgrade, by the setup program, so a changed folder or plug-in never leaves the old one behind.
!macro VR58_REMOVE_RECORDED_INSTALL
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "VST2Folder"
  ReadRegStr $1 HKLM "${SETTINGS_KEY}" "Plugin"
  ${If} $0 != ""
  ${AndIf} $1 != ""
    Delete "$0\$1"
    ; The folders the install made, from the plug-in's up to the outermost, each only once empty.
    ReadRegStr $2 HKLM "${SETTINGS_KEY}" "CreatedFolder"
    ${If} $2 != ""
      ${Do}
        RMDir "$0"
        ${If} ${FileExists} "$0\*.*"
        ${OrIf} $0 == $2
          ${ExitDo}
        ${EndIf}
        StrLen $3 $0
        ${Do}
          IntOp $3 $3 - 1
          ${If} $3 <= 0
            ${ExitDo}
          ${EndIf}
          StrCpy $4 $0 1 $3
        ${LoopUntil} $4 == "\"
        ${If} $3 <= 0
          ${ExitDo}
        ${EndIf}
        StrCpy $0 $0 $3
      ${Loop}
    ${EndIf}
  ${EndIf}
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "AppFolder"
  ${If} $0 != ""
    StrCpy $AppDir $0
  ${EndIf}
  ReadRegDWORD $Installed HKLM "${SETTINGS_KEY}" "Validator"
  ${If} $Installed = 1
    Delete "$AppDir\vr58.exe"
  ${EndIf}
  ReadRegDWORD $Installed HKLM "${SETTINGS_KEY}" "Manual"
  ${If} $Installed = 1
    Delete "$AppDir\manual.md"
  ${EndIf}
  !insertmacro VR58_REMOVE_PRESETS
  Delete "$AppDir\LICENSE.txt"
!macroend

; A copy of the other build that the user put into the folder by hand is left alone, but named.
!macro VR58_WARN_OTHER_BUILD other
  ${If} ${FileExists} "$INSTDIR\${other}"
    DetailPrint "$INSTDIR also holds ${other}, which this setup did not install: remove it, or hosts find VR58 twice."
    MessageBox MB_OK|MB_ICONEXCLAMATION "$INSTDIR also holds ${other}, which this setup did not install. Both plug-ins carry the same ID: remove one of them, or your host finds VR58 twice." /SD IDOK
  ${EndIf}
!macroend

; Records the outermost folder of $INSTDIR that does not exist yet: the install makes it and what is in it.
Function RecordCreatedFolder
  StrCpy $0 $INSTDIR
  StrCpy $1 ""
  ${Do}
    ${If} $0 == ""
    ${OrIf} ${FileExists} "$0\*.*"
      ${ExitDo}
    ${EndIf}
    StrCpy $1 $0
    ${GetParent} $0 $0
  ${Loop}
  ${If} $1 != ""
    WriteRegStr HKLM "${SETTINGS_KEY}" "CreatedFolder" $1
  ${EndIf}
FunctionEnd

Section "-Earlier install"
  !insertmacro VR58_REMOVE_RECORDED_INSTALL
  DeleteRegValue HKLM "${SETTINGS_KEY}" "CreatedFolder"
  Delete "$AppDir\uninstall.exe"
  RMDir "$AppDir"
  StrCpy $AppDir "$PROGRAMFILES64\VR58"
  SetOutPath $AppDir
  File "/oname=LICENSE.txt" "${LICENSE}"
SectionEnd

SectionGroup /e "Plug-in (one of two)"
  Section "VR58-G (editor)" SecEditor
    Call RecordCreatedFolder
    SetOutPath $INSTDIR
    File "${EDITOR_DLL}"
    StrCpy $PluginFile "${EDITOR_FILE}"
    !insertmacro VR58_WARN_OTHER_BUILD "${PLAIN_FILE}"
    SetOutPath "$AppDir\presets\VR58G_x64"
    !insertmacro VR58_INSTALL_PRESETS_VR58G_x64
  SectionEnd
  Section /o "VR58 (no editor)" SecPlain
    Call RecordCreatedFolder
    SetOutPath $INSTDIR
    File "${PLAIN_DLL}"
    StrCpy $PluginFile "${PLAIN_FILE}"
    !insertmacro VR58_WARN_OTHER_BUILD "${EDITOR_FILE}"
    SetOutPath "$AppDir\presets\VR58_x64"
    !insertmacro VR58_INSTALL_PRESETS_VR58_x64
  SectionEnd
SectionGroupEnd

Section "vr58.exe validator" SecValidator
  SetOutPath $AppDir
  File "${VR58_EXE}"
  WriteRegDWORD HKLM "${SETTINGS_KEY}" "Validator" 1
SectionEnd

Section "Manual" SecManual
  SetOutPath $AppDir
  File "${MANUAL}"
  WriteRegDWORD HKLM "${SETTINGS_KEY}" "Manual" 1
SectionEnd

Section "-Register"
  ${IfNot} ${SectionIsSelected} ${SecValidator}
    DeleteRegValue HKLM "${SETTINGS_KEY}" "Validator"
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecManual}
    DeleteRegValue HKLM "${SETTINGS_KEY}" "Manual"
  ${EndIf}
  WriteRegStr HKLM "${SETTINGS_KEY}" "AppFolder" $AppDir
  ${If} $PluginFile != ""
    WriteRegStr HKLM "${SETTINGS_KEY}" "VST2Folder" $INSTDIR
    WriteRegStr HKLM "${SETTINGS_KEY}" "Plugin" $PluginFile
  ${Else}
    DeleteRegValue HKLM "${SETTINGS_KEY}" "VST2Folder"
    DeleteRegValue HKLM "${SETTINGS_KEY}" "Plugin"
    DeleteRegValue HKLM "${SETTINGS_KEY}" "CreatedFolder"
  ${EndIf}
  WriteRegStr HKLM "${SETTINGS_KEY}" "Version" "${VERSION}"
  WriteUninstaller "$AppDir\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$AppDir"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$AppDir\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$AppDir\uninstall.exe" /S'
  ${If} $PluginFile != ""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\$PluginFile,0"
  ${Else}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$AppDir\uninstall.exe,0"
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$AppDir" "/S=0K" $0 $1 $2
  ${If} $PluginFile != ""
    ${GetSize} "$INSTDIR" "/M=$PluginFile /S=0K /G=0" $1 $2 $3
    IntOp $0 $0 + $1
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "VR58 is a 64-bit plug-in and needs 64-bit Windows; this Windows is 32-bit. Nothing was installed." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  StrCpy $AppDir "$PROGRAMFILES64\VR58"
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "VST2Folder"
  ; No InstallDir: $INSTDIR is empty here unless /D= gave a folder, which wins.
  ${If} $INSTDIR == ""
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${Else}
      StrCpy $INSTDIR "$COMMONFILES64\VST2"
    ${EndIf}
  ${EndIf}
  StrCpy $FolderNote "Setup puts the plug-in into this folder; hosts usually scan $COMMONFILES64\VST2."
  ${If} $0 != ""
    StrCpy $FolderNote "$FolderNote$\r$\nThe earlier install of VR58 used $0: keep it to upgrade in place. Another folder moves the plug-in there."
  ${EndIf}

  ; The plug-in: /PLUGIN= of a silent install, else the one installed before, else the editor build.
  ReadRegStr $1 HKLM "${SETTINGS_KEY}" "Plugin"
  StrCpy $2 "VR58G"
  ${If} $1 == "${PLAIN_FILE}"
    StrCpy $2 "VR58"
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PLUGIN=" $3
  ${IfNot} ${Errors}
    StrCpy $2 $3
  ${EndIf}
  ${If} $2 == "VR58"
    !insertmacro UnselectSection ${SecEditor}
    !insertmacro SelectSection ${SecPlain}
    StrCpy $SelectedPlugin ${SecPlain}
  ${ElseIf} $2 == "VR58G"
    StrCpy $SelectedPlugin ${SecEditor}
  ${Else}
    MessageBox MB_OK|MB_ICONSTOP "/PLUGIN=$2 is none of the plug-ins: use /PLUGIN=VR58G (with its editor) or /PLUGIN=VR58 (the host's generic controls)." /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

; The two plug-ins are a radio group: selecting one clears the other.
Function .onSelChange
  !insertmacro StartRadioButtons $SelectedPlugin
    !insertmacro RadioButton ${SecEditor}
    !insertmacro RadioButton ${SecPlain}
  !insertmacro EndRadioButtons
FunctionEnd

Function SkipFolderPageWithoutPlugin
  ${IfNot} ${SectionIsSelected} ${SecEditor}
  ${AndIfNot} ${SectionIsSelected} ${SecPlain}
    Abort
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecEditor} "VR58G_x64.dll: the tape machine with its own editor, VU meter and peak LED (15 parameters)."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPlain} "VR58_x64.dll: the same tape machine without an editor; the host shows its generic controls (12 parameters)."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecValidator} "vr58.exe validate puts a VST 2.4 plug-in through what hosts do to it."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecManual} "manual.md: every control in its own units, and what the meter shows."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function un.onInit
  SetRegView 64
  StrCpy $AppDir $INSTDIR
FunctionEnd

Section "Uninstall"
  !insertmacro VR58_REMOVE_RECORDED_INSTALL
  Delete "$AppDir\uninstall.exe"
  RMDir "$AppDir"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Quorvane"
SectionEnd
