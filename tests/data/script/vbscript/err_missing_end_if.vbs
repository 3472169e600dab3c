' expect 1014 19 1
' Sends the reminder mail when the invoice is overdue.
Dim dueDate, daysLate, mail
dueDate = CDate(DataRiver("DueDate"))
daysLate = DateDiff("d", dueDate, Date)
If daysLate > 0 Then
    Set mail = CreateObject("CDO.Message")
    mail.From = "billing@example.local"
    mail.To = DataRiver("CustomerMail")
    mail.Subject = "Invoice " & DataRiver("InvoiceNo") & " is " & daysLate & " day(s) overdue"
    If daysLate > 30 Then
        mail.TextBody = "Second reminder." & vbCrLf & "Please pay at once."
    Else
        mail.TextBody = "Friendly reminder."
    ' the closing End If of the inner block was forgotten here
    mail.Send
    Set mail = Nothing
End If
