' expect 1039 9 13
Dim line, stream, fso
Set fso = CreateObject("Scripting.FileSystemObject")
Set stream = fso.OpenTextFile("C:\data\input.csv", 1)
Do Until stream.AtEndOfStream
    line = stream.ReadLine
    Select Case Left(line, 1)
        Case "#"
            Exit For
        Case Else
            WScript.Echo line
    End Select
Loop
stream.Close
