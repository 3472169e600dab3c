' expect 1033 7 15
Option Explicit
Dim body, name
name = DataRiver("Name")
body = "Dear " & name & "," & vbCrLf
body = body & "your request has been approved." & vbCrLf
body = body & "Regards, & vbCrLf
body = body & "The service desk"
