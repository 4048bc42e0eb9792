; ostrel-setup.exe: installs the Ostrel application folder and registers it
; with SteamVR through ostrel-register.exe; the uninstaller removes the
; registration before it deletes the files. The reference for calling
; ostrel-register.exe from an installer (README, "Using it from an
; installer").
;
; Built by the CMake target ostrel-setup, which passes:
;   OSTREL_VERSION          the project's version
;   OSTREL_OUTFILE          where the installer is written
;   OSTREL_REGISTER_EXE     ostrel-register.exe
;   OSTREL_MANIFEST         app.vrmanifest
;   OSTREL_APPLICATION_EXE  the program the manifest names
;   OSTREL_APPLICATION_NAME its file name in the install folder
;   OSTREL_OPENVR_API_DLL   optional: the loader, installed as openvr_api.dll
;
; Silent use: ostrel-setup.exe /S /D=<folder>  (/D last, unquoted), and
; uninstall.exe /S _?=<folder>, which waits for the removal to finish. In
; silent mode a failed registration is the installer's exit status: the
; status of the ostrel-register run that failed.
;
; Per user, without elevation: SteamVR keeps its path registry per Windows
; user, and an installer elevated as another administrator would look in that
; account's registry and not find the runtime.

Target amd64-unicode
!include LogicLib.nsh

!ifndef OSTREL_APP_KEY
  !define OSTREL_APP_KEY "vantorell.ostrel"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrel"

; ostrel-register.exe's exit statuses that change what the installer does.
!define EXIT_DONE 0
!define EXIT_STALE 6
!define EXIT_RUNTIME_UNREACHABLE 69

Name "Ostrel"
OutFile "${OSTREL_OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Ostrel"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var Status   ; exit status of the last ostrel-register run
Var Summary  ; the last line it printed: its summary line
Var Output   ; file handle, and one line, while reading its output
Var Line
Var Char

; Runs "ostrel-register.exe <verb>" for the installed manifest, without a
; console window. Sets $Status and $Summary and shows every line it printed
; in the details. Its output goes to a file because nsExec keeps only the
; first kilobyte of what it captures, and the summary line comes last.
!macro RunRegister un verb
  ClearErrors
  InitPluginsDir
  Delete "$PLUGINSDIR\register.txt"
  DetailPrint "ostrel-register ${verb}"
  nsExec::Exec '"$SYSDIR\cmd.exe" /d /s /c ""$INSTDIR\ostrel-register.exe" ${verb} --key ${OSTREL_APP_KEY} --manifest "$INSTDIR\app.vrmanifest" >"$PLUGINSDIR\register.txt" 2>&1"'
  Pop $Status
  Call ${un}ReadRegisterOutput
  ${If} $Status == "error"
  ${OrIf} $Status == "timeout"
    StrCpy $Summary "ostrel-register.exe could not be run ($Status)"
    StrCpy $Status 1
  ${EndIf}
!macroend

!macro ReadRegisterOutputFunction un
Function ${un}ReadRegisterOutput
  StrCpy $Summary ""
  ClearErrors
  FileOpen $Output "$PLUGINSDIR\register.txt" r
  IfErrors done
  next:
    ClearErrors
    FileRead $Output $Line
    IfErrors close
    trim:
      StrCpy $Char $Line 1 -1
      ${If} $Char == "$\n"
      ${OrIf} $Char == "$\r"
        StrCpy $Line $Line -1
        Goto trim
      ${EndIf}
    ${If} $Line != ""
      DetailPrint "  $Line"
      StrCpy $Summary $Line
    ${EndIf}
    Goto next
  close:
    FileClose $Output
  done:
FunctionEnd
!macroend
!insertmacro ReadRegisterOutputFunction ""
!insertmacro ReadRegisterOutputFunction "un."

Section "Ostrel"
  SetOutPath "$INSTDIR"
  File "/oname=ostrel-register.exe" "${OSTREL_REGISTER_EXE}"
  File "/oname=app.vrmanifest" "${OSTREL_MANIFEST}"
  File "/oname=${OSTREL_APPLICATION_NAME}" "${OSTREL_APPLICATION_EXE}"
!ifdef OSTREL_OPENVR_API_DLL
  File "/oname=openvr_api.dll" "${OSTREL_OPENVR_API_DLL}"
!endif

  ; The uninstaller first, so that a failed registration below still leaves
  ; an installation that can be removed.
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ostrel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${OSTREL_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Ostrel developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  ; status first: when another copy of the manifest (an old install folder)
  ; holds the key, repair removes it and registers this one. Otherwise
  ; ensure: it registers only when the runtime does not list the key yet, so
  ; an upgrade never turns back on an auto-launch the user switched off.
  !insertmacro RunRegister "" "status"
  ${If} $Status == ${EXIT_STALE}
    !insertmacro RunRegister "" "repair"
  ${Else}
    !insertmacro RunRegister "" "ensure"
  ${EndIf}

  ${If} $Status == ${EXIT_DONE}
    DetailPrint "Ostrel is registered with SteamVR."
  ${ElseIf} $Status == ${EXIT_RUNTIME_UNREACHABLE}
    DetailPrint "SteamVR could not be reached; Ostrel registers itself when it next starts."
    MessageBox MB_OK|MB_ICONINFORMATION "SteamVR could not be reached:$\r$\n$Summary$\r$\n$\r$\nOstrel registers itself with SteamVR when it next starts." /SD IDOK
  ${Else}
    DetailPrint "Registering Ostrel with SteamVR failed (exit $Status)."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Ostrel could not be registered with SteamVR:$\r$\n$Summary" /SD IDOK
    SetErrorLevel $Status
  ${EndIf}
SectionEnd

Section "Uninstall"
  ; While the manifest is still there. A runtime that cannot be reached
  ; drops the entry itself once the manifest is gone.
  !insertmacro RunRegister "un." "unregister"
  ${If} $Status == ${EXIT_DONE}
    DetailPrint "Ostrel's SteamVR registration is removed."
  ${ElseIf} $Status == ${EXIT_RUNTIME_UNREACHABLE}
    DetailPrint "SteamVR could not be reached; it drops Ostrel's entry once the manifest is gone."
  ${Else}
    DetailPrint "Removing Ostrel's SteamVR registration failed (exit $Status)."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Ostrel's SteamVR registration could not be removed:$\r$\n$Summary" /SD IDOK
    SetErrorLevel $Status
  ${EndIf}

  Delete "$INSTDIR\ostrel-register.exe"
  Delete "$INSTDIR\app.vrmanifest"
  Delete "$INSTDIR\${OSTREL_APPLICATION_NAME}"
!ifdef OSTREL_OPENVR_API_DLL
  Delete "$INSTDIR\openvr_api.dll"
!endif
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
