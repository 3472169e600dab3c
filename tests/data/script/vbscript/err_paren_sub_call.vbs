' expect 1044 8 50
Option Explicit
Dim shell, answer
Set shell = CreateObject("WScript.Shell")
answer = shell.Popup("Continue?", 10, "Question", vbYesNo)
If answer = vbYes Then
    shell.Run "notepad.exe", 1, False
    shell.LogEvent(4, "Script continued by user")
End If
