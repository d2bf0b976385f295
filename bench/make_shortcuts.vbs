' The job of `Brantvell.exe /action=czsk /mode=q` written as a plain
' script, for run_bench.sh to time against the program under the same Wine:
' the application folder from the registry, the old shortcuts removed, the
' "Halvorna" group folder, the nine group and two desktop shortcuts of the
' CZ and SK set with the same names, targets and arguments, and one log
' line per step appended to %TEMP%\make_shortcuts.txt (the file opened and
' closed for every line). The file names come from names.txt beside the
' script (UTF-16). Run as: cscript //nologo make_shortcuts.vbs [LINES]
' With LINES, trace lines are added at the end until the log has that many
' lines, as many as the program writes for the same job.
Option Explicit

Const ForReading = 1
Const ForAppending = 8
Const TristateTrue = -1
Const WindowNormal = 1

Dim shell, fso, logFile, names, linesWritten
linesWritten = 0
Set shell = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
logFile = fso.BuildPath(shell.ExpandEnvironmentStrings("%TEMP%"), "make_shortcuts.txt")

Sub WriteLog(text)
  Dim file
  Set file = fso.OpenTextFile(logFile, ForAppending, True)
  file.WriteLine Now & vbTab & text
  file.Close
  linesWritten = linesWritten + 1
End Sub

Sub Fail(text)
  WriteLog "ERROR" & vbTab & text
  WScript.Quit 1
End Sub

' key -> file name, from the lines "key TAB name" of names.txt.
Function ReadNames()
  Dim table, file, line, tab
  Set table = CreateObject("Scripting.Dictionary")
  Set file = fso.OpenTextFile(fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), _
    "names.txt"), ForReading, False, TristateTrue)
  Do Until file.AtEndOfStream
    line = file.ReadLine
    tab = InStr(line, vbTab)
    If tab > 1 And Left(line, 1) <> "#" Then table.Add Left(line, tab - 1), Mid(line, tab + 1)
  Loop
  file.Close
  Set ReadNames = table
End Function

Sub MakeLink(folder, fileName, target, arguments, workFolder)
  Dim path, link
  path = fso.BuildPath(folder, fileName)
  Set link = shell.CreateShortcut(path)
  link.TargetPath = target
  link.Arguments = arguments
  link.WorkingDirectory = workFolder
  link.WindowStyle = WindowNormal
  link.IconLocation = target & ",0"
  link.Save
  WriteLog "LINK" & vbTab & path
End Sub

' Internet shortcuts are small INI files.
Sub MakeUrl(folder, fileName, url)
  Dim path, file
  path = fso.BuildPath(folder, fileName)
  Set file = fso.CreateTextFile(path, True, False)
  file.Write "[InternetShortcut]" & vbCrLf & "URL=" & url & vbCrLf
  file.Close
  WriteLog "URL" & vbTab & path
End Sub

Sub DeleteIfThere(path)
  If fso.FileExists(path) Then
    fso.DeleteFile path, True
    WriteLog "DELETED" & vbTab & path
  End If
End Sub

WriteLog "START" & vbTab & "czsk"
Set names = ReadNames()
WriteLog "NAMES" & vbTab & names.Count

Dim appPath, programs, desktop, group, key
On Error Resume Next
appPath = shell.RegRead("HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\VR_CLT.exe\Path")
If Err.Number <> 0 Then Fail "no application folder in the registry"
On Error GoTo 0
WriteLog "APP" & vbTab & appPath
If Not fso.FolderExists(appPath) Then Fail "missing " & appPath
programs = shell.SpecialFolders("AllUsersPrograms")
desktop = shell.SpecialFolders("AllUsersDesktop")
group = fso.BuildPath(programs, "Halvorna")
WriteLog "FOLDERS" & vbTab & group & vbTab & desktop

' Whatever an earlier set left: any of the names in the group, the
' application shortcuts on the desktop.
If fso.FolderExists(group) Then
  For Each key In names.Keys
    DeleteIfThere fso.BuildPath(group, names(key))
  Next
End If
For Each key In Array("app", "app_cz", "app_sk")
  DeleteIfThere fso.BuildPath(desktop, names(key))
Next
WriteLog "CLEARED"

If Not fso.FolderExists(group) Then fso.CreateFolder group
WriteLog "GROUP" & vbTab & group

Dim loader
loader = fso.BuildPath(appPath, "Loader.exe")
MakeLink desktop, names("app_cz"), loader, "/CID=""0470""", appPath
MakeLink group, names("app_cz"), loader, "/CID=""0470""", appPath
MakeLink group, names("help_cz"), fso.BuildPath(appPath, "veldramona.chm"), "", appPath
MakeUrl group, names("manual_cz"), _
  "http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky.pdf"
MakeUrl group, names("wizard"), _
  "https://certifikaty.veldramona-bank.example/CertWizard.html#locale=cz"
MakeUrl group, names("site_cz"), "http://www.veldramona-bank.example"
MakeLink desktop, names("app_sk"), loader, "/CID=""8470""", appPath
MakeLink group, names("app_sk"), loader, "/CID=""8470""", appPath
MakeLink group, names("help_sk"), fso.BuildPath(appPath, "veldramona_sk.chm"), "", appPath
MakeUrl group, names("manual_sk"), _
  "http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky_SK.pdf"
MakeUrl group, names("site_sk"), "http://www.veldramona-bank-sk.example"

WriteLog "END"

If WScript.Arguments.Count > 0 Then
  Dim wanted
  wanted = CLng(WScript.Arguments(0))
  Do While linesWritten < wanted
    WriteLog "TRACE" & vbTab & linesWritten
  Loop
End If
