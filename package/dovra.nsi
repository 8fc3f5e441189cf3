; dovra.nsi: the Windows installer: Dovra for one user, in a folder that user owns (the game writes its
; files next to itself), with a Start-menu shortcut, an entry in Settings > Apps and an uninstaller that
; leaves the player's prefs.txt and scores.txt where they are.
;   makensis -DVERSION=1.08 [-DAMD64] -DFILES=<folder of the files> -DICON=<dovra.ico> -DOUTFILE=<setup.exe> dovra.nsi
; (package/installer runs it.) AMD64 makes the installer itself a 64-bit program.

!ifdef AMD64
  Target amd64-unicode
!else
  Unicode true
!endif
SetCompressor /SOLID lzma
; No file's time goes into the installer, so the same files always give the same bytes.
SetDateSave off
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dovra"
!define COPYRIGHT "Copyright (c) 2026 the Dovra developers. MIT License."

Name "Dovra ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Dovra"
; Installing again offers the folder of the installed Dovra.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Dovra"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Dovra ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "the Dovra developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

; A running Dovra would write its prefs.txt over the folder while its program is replaced or removed:
; the player closes it first. Silent, nobody can be asked, so the run gives up with exit code 2.
!macro CLOSE_DOVRA_FIRST un
Function ${un}CloseDovraFirst
  again:
    FindWindow $0 "Dovra"
    StrCmp $0 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Dovra is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY again
    SetErrorLevel 2
    Quit
  closed:
FunctionEnd
!macroend
!insertmacro CLOSE_DOVRA_FIRST ""
!insertmacro CLOSE_DOVRA_FIRST "un."

Section
  Call CloseDovraFirst
  SetOutPath "$INSTDIR"
  File "${FILES}\dovra.exe"
  File "${FILES}\move.wav"
  File "${FILES}\woops.wav"
  File "${FILES}\drop.wav"
  File "${FILES}\zip.wav"
  File "${FILES}\gameover.wav"
  File "${FILES}\winner.wav"
  File "${FILES}\README.txt"
  File "${FILES}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The game reads and writes its files in its working folder: the shortcut starts it in the install
  ; folder, the current output folder.
  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\Dovra.lnk" "$INSTDIR\dovra.exe" "" "$INSTDIR\dovra.exe" 0 SW_SHOWNORMAL "" \
    "Dovra, a lines puzzle"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Dovra"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "the Dovra developers"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\dovra.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

; Only what the installer put there goes; the player's prefs.txt and scores.txt, and so their folder, stay.
Section "Uninstall"
  Call un.CloseDovraFirst
  Delete "$INSTDIR\dovra.exe"
  Delete "$INSTDIR\move.wav"
  Delete "$INSTDIR\woops.wav"
  Delete "$INSTDIR\drop.wav"
  Delete "$INSTDIR\zip.wav"
  Delete "$INSTDIR\gameover.wav"
  Delete "$INSTDIR\winner.wav"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\Dovra.lnk"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
