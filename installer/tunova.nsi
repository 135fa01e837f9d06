; The Tunova setup program.
;   makensis -DWIN64_EXE=<64-bit tunova.exe> -DWIN32_EXE=<32-bit tunova.exe> -DOUTFILE=<setup.exe> tunova.nsi
; installs the 64-bit program on 64-bit Windows and the 32-bit one elsewhere. With
; -DTARGET_AMD64 the setup program is itself 64-bit and carries only the 64-bit program
; (Wine without its 32-bit half runs only that one).
;
; The program reads its settings from HKLM "SOFTWARE\Kestrow Software\Tunova\2.20\".
; On 64-bit Windows a 64-bit program reads the machine's own registry view, while a
; 32-bit setup program would write into the redirected 32-bit view: so the registry
; view is chosen to match the program being installed.

Unicode true
!ifdef TARGET_AMD64
  Target amd64-unicode
!endif

!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Tunova"
!define VERSION "2.21"
!define VERSION_KEY "SOFTWARE\Kestrow Software\Tunova"
!define SETTINGS_KEY "${VERSION_KEY}\2.20"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tunova"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

; Where new entries are mailed: no mail address of today's service is known, so it
; is given at build time (-DSUBMIT_ADDRESS=...) and otherwise left empty.
!ifndef SUBMIT_ADDRESS
  !define SUBMIT_ADDRESS ""
!endif
!ifndef OUTFILE
  !define OUTFILE "tunova-setup.exe"
!endif

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; The settings and disc records live under HKEY_LOCAL_MACHINE.
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\Tunova"
SetCompressor /SOLID lzma
Icon "../resources/generated/110.ico"
UninstallIcon "../resources/generated/110.ico"
ShowInstDetails show
ShowUninstDetails show

; No copyright line: the program states none.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Installs where the program reads: the 64-bit program into the 64-bit Program Files
; and the machine's own registry view.
!macro ChooseRegistryView
!ifdef TARGET_AMD64
  SetRegView 64
!else
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!endif
!macroend

Function .onInit
  !insertmacro ChooseRegistryView
!ifdef TARGET_AMD64
  StrCpy $INSTDIR "$PROGRAMFILES64\Tunova"
!else
  ${If} ${RunningX64}
    StrCpy $INSTDIR "$PROGRAMFILES64\Tunova"
  ${EndIf}
!endif
FunctionEnd

Section "Tunova (required)" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
!ifdef TARGET_AMD64
  File "/oname=tunova.exe" "${WIN64_EXE}"
!else
  ${If} ${RunningX64}
    File "/oname=tunova.exe" "${WIN64_EXE}"
  ${Else}
    File "/oname=tunova.exe" "${WIN32_EXE}"
  ${EndIf}
!endif
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Tunova"
  CreateShortcut "$SMPROGRAMS\Tunova\Tunova.lnk" "$INSTDIR\tunova.exe"
  CreateShortcut "$SMPROGRAMS\Tunova\Uninstall Tunova.lnk" "$INSTDIR\uninstall.exe"

  ; The program creates only the per-disc keys; the options key, the read-only cddb
  ; key and the record keys of this and the two older versions come from here.
  WriteRegNone HKLM "${SETTINGS_KEY}\Tunova" ""
  WriteRegNone HKLM "${SETTINGS_KEY}\CD Information" ""
  WriteRegNone HKLM "${VERSION_KEY}\2.10\CD Information" ""
  WriteRegNone HKLM "${VERSION_KEY}\2.00\CD Information" ""
  ; Read only by the program: the servers offered for lookups (host:port, then a
  ; description), the categories offered for a new entry, and where entries are mailed.
  ; Written afresh, so that no entry of an older installation outlives the new lists.
  DeleteRegKey HKLM "${SETTINGS_KEY}\cddb"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbServer1" "gnudb.gnudb.org:8880 gnudb, worldwide"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "smtpSubmitAddress" "${SUBMIT_ADDRESS}"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory1" "blues - Blues"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory2" "classical - Classical music"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory3" "country - Country and western"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory4" "data - Data and mixed-mode discs"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory5" "folk - Folk"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory6" "jazz - Jazz"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory7" "misc - Miscellaneous"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory8" "newage - New age"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory9" "reggae - Reggae"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory10" "rock - Rock and pop"
  WriteRegStr HKLM "${SETTINGS_KEY}\cddb" "cddbCategory11" "soundtrack - Film and stage soundtracks"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kestrow Software"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tunova.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless chosen: without an audio disc in a drive the program says so and ends,
; which would greet every sign-in on a machine that mostly has no disc inserted.
Section /o "Start with Windows" SecStartup
  WriteRegStr HKLM "${RUN_KEY}" "Tunova" '"$INSTDIR\tunova.exe"'
SectionEnd

Function un.onInit
  !insertmacro ChooseRegistryView
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\tunova.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tunova\Tunova.lnk"
  Delete "$SMPROGRAMS\Tunova\Uninstall Tunova.lnk"
  RMDir "$SMPROGRAMS\Tunova"
  DeleteRegValue HKLM "${RUN_KEY}" "Tunova"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}\cddb"
  DeleteRegKey HKLM "${SETTINGS_KEY}\Tunova"

  ; The disc records are the user's typing and lookups: kept unless the user says so
  ; (and always kept by a silent uninstall).
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Also remove the stored disc records (artists, titles and programmed orders)?" \
    /SD IDNO IDYES removeRecords
  ; Only the keys this setup made, and only where they hold no records.
  DeleteRegKey /ifnosubkeys HKLM "${SETTINGS_KEY}\CD Information"
  DeleteRegKey /ifnosubkeys HKLM "${VERSION_KEY}\2.10\CD Information"
  DeleteRegKey /ifnosubkeys HKLM "${VERSION_KEY}\2.00\CD Information"
  DeleteRegKey /ifnosubkeys HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifnosubkeys HKLM "${VERSION_KEY}\2.10"
  DeleteRegKey /ifnosubkeys HKLM "${VERSION_KEY}\2.00"
  Goto removeEmptyParents
removeRecords:
  DeleteRegKey HKLM "${VERSION_KEY}"
removeEmptyParents:
  DeleteRegKey /ifnosubkeys HKLM "${VERSION_KEY}"
  DeleteRegKey /ifnosubkeys HKLM "SOFTWARE\Kestrow Software"
SectionEnd
