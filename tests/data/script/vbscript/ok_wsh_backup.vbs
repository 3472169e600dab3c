'==============================================================================
' NightlyBackup.vbs
' Copies the export folders of the order system to the backup share, keeps
' the last N generations and writes a log beside the script.
'
' Usage: cscript //nologo NightlyBackup.vbs /src:D:\Exports /dst:\\backup\orders [/keep:7] [/quiet]
'==============================================================================
Option Explicit

Const ForReading = 1, ForWriting = 2, ForAppending = 8
Const TristateFalse = 0
Const DEFAULT_KEEP = 7
Const LOG_NAME = "NightlyBackup.log"
Const ERR_BAD_ARGS = &H2001, ERR_COPY = &H2002

Dim fso, shell, logFile, quiet
Dim sourceRoot, targetRoot, keepCount
Dim startTime : startTime = Now

Set fso = CreateObject("Scripting.FileSystemObject")
Set shell = CreateObject("WScript.Shell")

Main
WScript.Quit 0

'------------------------------------------------------------------------------
Sub Main()
    Dim named, generation, copied
    Set named = WScript.Arguments.Named

    If Not named.Exists("src") Or Not named.Exists("dst") Then
        Usage "Both /src and /dst are required."
        WScript.Quit ERR_BAD_ARGS
    End If

    sourceRoot = named("src")
    targetRoot = named("dst")
    keepCount = DEFAULT_KEEP
    If named.Exists("keep") Then keepCount = CInt(named("keep"))
    quiet = named.Exists("quiet")

    OpenLog
    WriteLog "Backup started by " & shell.ExpandEnvironmentStrings("%USERNAME%") & _
             " on " & shell.ExpandEnvironmentStrings("%COMPUTERNAME%")

    If Not fso.FolderExists(sourceRoot) Then
        WriteLog "ERROR: source folder " & Quote(sourceRoot) & " does not exist"
        CloseLog
        WScript.Quit ERR_BAD_ARGS
    End If

    generation = targetRoot & "\" & Stamp(startTime)
    copied = CopyTree(sourceRoot, generation)
    WriteLog copied & " file(s) copied to " & generation

    PruneGenerations targetRoot, keepCount

    WriteLog "Backup finished in " & DateDiff("s", startTime, Now) & " s"
    CloseLog
End Sub

'------------------------------------------------------------------------------
Sub Usage(reason)
    Dim text
    text = reason & vbCrLf & vbCrLf & _
           "Usage: cscript //nologo " & WScript.ScriptName & _
           " /src:<folder> /dst:<folder> [/keep:<n>] [/quiet]"
    If quiet Then
        WScript.StdErr.WriteLine text
    Else
        WScript.Echo text
    End If
End Sub

'------------------------------------------------------------------------------
Function CopyTree(ByVal fromPath, ByVal toPath)
    Dim folder, file, subFolder, count
    count = 0
    EnsureFolder toPath
    Set folder = fso.GetFolder(fromPath)

    For Each file In folder.Files
        If LCase(fso.GetExtensionName(file.Name)) <> "tmp" Then
            On Error Resume Next
            file.Copy toPath & "\" & file.Name, True
            If Err.Number <> 0 Then
                WriteLog "WARNING: " & file.Path & ": " & Err.Description & " (" & Hex(Err.Number) & ")"
                Err.Clear
            Else
                count = count + 1
            End If
            On Error GoTo 0
        End If
    Next

    For Each subFolder In folder.SubFolders
        count = count + CopyTree(subFolder.Path, toPath & "\" & subFolder.Name)
    Next
    CopyTree = count
End Function

'------------------------------------------------------------------------------
Sub EnsureFolder(path)
    Dim parent
    If fso.FolderExists(path) Then Exit Sub
    parent = fso.GetParentFolderName(path)
    If parent <> "" And Not fso.FolderExists(parent) Then EnsureFolder parent
    fso.CreateFolder path
End Sub

'------------------------------------------------------------------------------
Sub PruneGenerations(root, keep)
    Dim names(), folder, sub_, i, j, tmp, n
    If Not fso.FolderExists(root) Then Exit Sub
    Set folder = fso.GetFolder(root)
    n = folder.SubFolders.Count
    If n <= keep Then Exit Sub

    ReDim names(n - 1)
    i = 0
    For Each sub_ In folder.SubFolders
        names(i) = sub_.Name
        i = i + 1
    Next

    ' Plain insertion sort: the folder names are time stamps, so text order is age order.
    For i = 1 To n - 1
        tmp = names(i)
        j = i - 1
        Do While j >= 0
            If names(j) <= tmp Then Exit Do
            names(j + 1) = names(j)
            j = j - 1
        Loop
        names(j + 1) = tmp
    Next

    For i = 0 To n - keep - 1
        WriteLog "Removing old generation " & names(i)
        fso.DeleteFolder root & "\" & names(i), True
    Next
End Sub

'------------------------------------------------------------------------------
Function Stamp(when)
    Stamp = Year(when) & Pad(Month(when)) & Pad(Day(when)) & "_" & _
            Pad(Hour(when)) & Pad(Minute(when)) & Pad(Second(when))
End Function

Function Pad(n)
    Pad = Right("0" & n, 2)
End Function

Function Quote(s)
    Quote = """" & s & """"
End Function

'------------------------------------------------------------------------------
Sub OpenLog()
    Dim logPath
    logPath = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), LOG_NAME)
    Set logFile = fso.OpenTextFile(logPath, ForAppending, True, TristateFalse)
End Sub

Sub WriteLog(message)
    Dim line
    line = FormatDateTime(Now, vbShortDate) & " " & FormatDateTime(Now, vbLongTime) & "  " & message
    If Not IsEmpty(logFile) Then logFile.WriteLine line
    If Not quiet Then WScript.Echo line
End Sub

Sub CloseLog()
    If IsObject(logFile) Then
        logFile.Close
        Set logFile = Nothing
    End If
End Sub
