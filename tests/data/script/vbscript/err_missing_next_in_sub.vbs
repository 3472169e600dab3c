' expect 1020 12 1
Sub ListFiles(folderPath)
    Dim fso, folder, file
    Set fso = CreateObject("Scripting.FileSystemObject")
    Set folder = fso.GetFolder(folderPath)
    For Each file In folder.Files
        If file.Size > 0 Then
            WScript.Echo file.Name & vbTab & file.Size
        End If
    ' Next forgotten

End Sub

ListFiles "C:\Temp"
