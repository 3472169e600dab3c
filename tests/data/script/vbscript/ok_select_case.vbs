' Routes an incoming claim to a queue from its type, amount and region, and builds
' the notification text. Written for the claims process, activity "Route claim".
Dim claimType, amount, region, priority, queue, body, reasons, i, ch, digits

claimType = UCase(Trim(DataRiver("ClaimType")))
amount = DataRiver("Amount")
region = DataRiver("Region")
If IsNumeric(amount) Then amount = CDbl(amount) Else amount = 0

Select Case claimType
    Case "AUTO", "MOTOR", "CAR"
        queue = "motor"
        Select Case True
            Case amount > 50000 : priority = 1
            Case amount > 10000
                priority = 2
            Case Else
                priority = 3
        End Select
    Case "HOME"
        queue = "property"
        If amount > 100000 Then
            priority = 1
        ElseIf amount > 20000 Then
            priority = 2
        Else
            priority = 3
        End If
    Case "HEALTH", "DENTAL"
        queue = "health" : priority = 2
    Case ""
        queue = "triage"
        priority = 1
    Case Else
        queue = "general"
        priority = 3
End Select

' Regional overrides
Select Case LCase(region)
Case "north", "north-east" : queue = queue & "-n"
Case "south"
    queue = queue & "-s"
Case Else
End Select

' Keep only the digits of the policy number.
digits = ""
For i = 1 To Len(DataRiver("PolicyNo"))
    ch = Mid(DataRiver("PolicyNo"), i, 1)
    If ch >= "0" And ch <= "9" Then digits = digits & ch
Next

reasons = Array()
If amount = 0 Then
    ReDim Preserve reasons(UBound(reasons) + 1)
    reasons(UBound(reasons)) = "amount missing or not a number"
End If
If Len(digits) <> 10 Then
    ReDim Preserve reasons(UBound(reasons) + 1)
    reasons(UBound(reasons)) = "policy number has " & Len(digits) & " digits"
End If

body = "Claim routed to queue '" & queue & "' with priority " & priority & "." & vbCrLf
body = body & "Amount: " & FormatCurrency(amount) & vbCrLf
If UBound(reasons) >= 0 Then
    body = body & "Please check:" & vbCrLf
    For i = 0 To UBound(reasons)
        body = body & "  - " & reasons(i) & vbCrLf
    Next
End If

i = 0
Do
    i = i + 1
    If i > 3 Then Exit Do
Loop While Len(body) > 1000000

i = 10
Do Until i <= 0
    i = i - 3
Loop

While i < 5
    i = i + 1
Wend

Do While False : Loop

Select Case priority
    Case 1, 2
        body = "[URGENT] " & body
End Select

If priority = 1 Then body = body & "Escalate now." Else body = body & "Handle in order."
If queue = "" Then queue = "general" : priority = 3
DataRiver_Result = body
