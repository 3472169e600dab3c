Option Explicit
' ---------------------------------------------------------------------------
' Sends a reminder for every overdue invoice of the current process instance.
' Written for the accounts-receivable activity "Remind customer".
' ---------------------------------------------------------------------------

Const ForReading = 1, ForWriting = 2, ForAppending = 8
Const MAX_RETRIES = 3
Const TAX_RATE = 0.21

Dim objShell, objFso, objLog, strLogPath
Dim arrInvoices(), intCount, i
Dim dblTotal : dblTotal = 0

Class Invoice
    Private m_Number, m_Amount, m_DueDate, m_Customer

    Private Sub Class_Initialize()
        m_Amount = 0
        Set m_Customer = Nothing
    End Sub

    Private Sub Class_Terminate()
        Set m_Customer = Nothing
    End Sub

    Public Property Get Number()
        Number = m_Number
    End Property

    Public Property Let Number(ByVal value)
        If Len(value) = 0 Then Err.Raise 5, "Invoice", "Empty invoice number"
        m_Number = value
    End Property

    Public Property Get Amount() : Amount = m_Amount : End Property
    Public Property Let Amount(ByVal value) : m_Amount = CDbl(value) : End Property

    Public Property Get IsOverdue()
        IsOverdue = (DateDiff("d", m_DueDate, Now()) > 0)
    End Property

    Public Function WithTax()
        WithTax = Round(m_Amount * (1 + TAX_RATE), 2)
    End Function
End Class

Function FormatLine(ByRef inv, ByVal strPrefix)
    Dim s
    s = strPrefix & " #" & inv.Number & vbTab & FormatNumber(inv.WithTax(), 2)
    If inv.IsOverdue Then s = s & " (overdue)" Else s = s & ""
    FormatLine = s
End Function

Sub WriteLog(ByVal strText)
    On Error Resume Next
    Set objLog = objFso.OpenTextFile(strLogPath, ForAppending, True)
    objLog.WriteLine Now() & " - " & strText
    objLog.Close
    If Err.Number <> 0 Then Err.Clear
    On Error GoTo 0
End Sub

Set objShell = CreateObject("WScript.Shell")
Set objFso = CreateObject("Scripting.FileSystemObject")
strLogPath = objShell.ExpandEnvironmentStrings("%TEMP%") & "\reminders.log"

intCount = CInt(DataRiver("InvoiceCount"))
ReDim arrInvoices(intCount)
For i = 0 To intCount - 1 Step 1
    Set arrInvoices(i) = New Invoice
    With arrInvoices(i)
        .Number = DataRiver("Invoice" & i & ".Number")
        .Amount = DataRiver("Invoice" & i & ".Amount")
    End With
Next

Dim inv, strBody, intRetry
For Each inv In arrInvoices
    If Not inv Is Nothing Then
        Select Case True
            Case inv.Amount > 10000
                strBody = FormatLine(inv, "URGENT")
            Case inv.Amount > 1000, inv.Amount = 999.99
                strBody = FormatLine(inv, "Reminder")
            Case Else
                strBody = FormatLine(inv, "Notice")
        End Select
        dblTotal = dblTotal + inv.WithTax()
        intRetry = 0
        Do While intRetry < MAX_RETRIES
            intRetry = intRetry + 1
            If SendMail(strBody) Then Exit Do
        Loop
        Rem keep the log short: one line per invoice
        WriteLog "Sent """ & strBody & """ after " & intRetry & " tries, mask &HFF, rate 1.5E-3"
    End If
Next

Function SendMail(strBody)
    SendMail = (Len(strBody) > 0) ' the mail gateway is called by the engine
End Function
