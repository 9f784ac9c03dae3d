; VELTRona installer: a per-user installation without administrator rights.
;
; makensis -DVERSION=0.73beta -DVERSION_QUAD=0.73.0.0 -DTARGET=amd64-unicode|x86-unicode
;          -DFILES_NSH=<list from stage.cmake> -DICON=<veltrona.ico> -DOUTFILE=<setup.exe>

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all

!include LogicLib.nsh
!include FileFunc.nsh
!include ${FILES_NSH}

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELTRona"
!define SETTINGS_KEY "Software\Dunmoor\VELTRona"

Name "VELTRona ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\VELTRona"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
BrandingText "VELTRona ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "VELTRona"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "VELTRona setup"
VIAddVersionKey "CompanyName" "Dunmoor"
VIAddVersionKey "LegalCopyright" "Dunmoor"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running player holds its exe and plugins open: files must not be replaced
; or removed under it. Asks the user to close it; in silent mode, or when the
; user cancels, ends with exit code 2 before anything is written.
!macro VL_WAIT_FOR_PLAYER prefix
Function ${prefix}wait_for_player
  retry:
  FindWindow $0 "TQELAmp_Player"
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "VELTRona is running.$\r$\n$\r$\nClose it, then choose Retry; Cancel stops without changing anything." \
      /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  ${EndIf}
  ; Also a player started from elsewhere but running this copy's exe.
  ${If} ${FileExists} "$INSTDIR\veltrona.exe"
    ClearErrors
    FileOpen $1 "$INSTDIR\veltrona.exe" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "$INSTDIR\veltrona.exe is in use.$\r$\n$\r$\nClose VELTRona, then choose Retry." \
        /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
    ${EndIf}
    FileClose $1
  ${EndIf}
FunctionEnd
!macroend
!insertmacro VL_WAIT_FOR_PLAYER ""
!insertmacro VL_WAIT_FOR_PLAYER "un."

Section "VELTRona"
  Call wait_for_player
  ; Shipped files are replaced; the user's settings (registry), lists,
  ; studio.ini and plugins.ini are never shipped, so an update keeps them.
  !insertmacro VL_INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\VELTRona.lnk" "$INSTDIR\veltrona.exe" "" "$INSTDIR\veltrona.exe" 0

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "VELTRona"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Dunmoor"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\veltrona.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  Call un.wait_for_player
FunctionEnd

; File types the player registered for the current user: the classes and the
; extensions pointing at them.
; ASSOCIATIONS: the settings dialog's association code is not built yet. When
; it lands, remove here everything else it writes (saved previous classes of
; an extension, shell verbs, icons) so that this undoes exactly what it does.
Function un.remove_associations
  DeleteRegKey HKCU "Software\Classes\VELTRona_file"
  DeleteRegKey HKCU "Software\Classes\VELTRona_list"
  StrCpy $0 0
  loop:
    EnumRegKey $1 HKCU "Software\Classes" $0
    StrCmp $1 "" done
    IntOp $0 $0 + 1
    StrCpy $2 $1 1
    StrCmp $2 "." 0 loop
    ReadRegStr $3 HKCU "Software\Classes\$1" ""
    ${If} $3 == "VELTRona_file"
    ${OrIf} $3 == "VELTRona_list"
      DeleteRegValue HKCU "Software\Classes\$1" ""
      DeleteRegKey /ifempty HKCU "Software\Classes\$1"
      IntOp $0 $0 - 1
    ${EndIf}
    Goto loop
  done:
FunctionEnd

Section "Uninstall"
  !insertmacro VL_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\VELTRona.lnk"
  DeleteRegKey HKCU "${UNINST_KEY}"

  ; The user's own data is kept unless the user asks otherwise; silent
  ; uninstalls keep it.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Also remove your VELTRona settings, your default playlist, your studios and plugin choices, and the file types VELTRona registered?" \
    /SD IDNO IDNO keep
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Dunmoor"
    !insertmacro VL_REMOVE_USER_FILES
    Call un.remove_associations
  keep:

  !insertmacro VL_REMOVE_FOLDERS
  RMDir "$INSTDIR"
SectionEnd
