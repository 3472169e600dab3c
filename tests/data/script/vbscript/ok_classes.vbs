' Order book helpers: a small set of classes used by several activities.
Option Explicit

Class OrderLine
    Private m_sku, m_quantity, m_price
    Public Discount

    Private Sub Class_Initialize()
        m_quantity = 0
        m_price = 0
        Discount = 0
    End Sub

    Private Sub Class_Terminate
    End Sub

    Public Property Get Sku()
        Sku = m_sku
    End Property

    Public Property Let Sku(ByVal value)
        If Len(value) = 0 Then Err.Raise 5, "OrderLine.Sku", "SKU must not be empty"
        m_sku = UCase(Trim(value))
    End Property

    Public Property Get Quantity
        Quantity = m_quantity
    End Property

    Public Property Let Quantity(value)
        If Not IsNumeric(value) Then
            Err.Raise 13, "OrderLine.Quantity", "Quantity must be a number"
        ElseIf value < 0 Then
            Err.Raise 5, "OrderLine.Quantity", "Quantity must not be negative"
        Else
            m_quantity = CLng(value)
        End If
    End Property

    Public Property Let Price(value) : m_price = CDbl(value) : End Property
    Public Property Get Price() : Price = m_price : End Property

    Public Default Property Get Total()
        Total = Round(m_quantity * m_price * (1 - Discount / 100), 2)
    End Property

    Public Function ToText()
        ToText = m_sku & vbTab & m_quantity & " x " & FormatNumber(m_price, 2) & " = " & FormatNumber(Me.Total, 2)
    End Function
End Class

Class Order
    Private m_lines
    Private m_customer
    Private m_created

    Private Sub Class_Initialize()
        Set m_lines = CreateObject("Scripting.Dictionary")
        m_created = Now
        Set m_customer = Nothing
    End Sub

    Private Sub Class_Terminate()
        m_lines.RemoveAll
        Set m_lines = Nothing
    End Sub

    Public Property Set Customer(ByRef value)
        Set m_customer = value
    End Property

    Public Property Get Customer()
        Set Customer = m_customer
    End Property

    Public Property Get Item(key)
        If m_lines.Exists(key) Then
            Set Item = m_lines(key)
        Else
            Set Item = Nothing
        End If
    End Property

    Public Property Let Item(key, value)
        m_lines(key).Quantity = value
    End Property

    Public Function AddLine(sku, quantity, price)
        Dim line
        Set line = New OrderLine
        With line
            .Sku = sku
            .Quantity = quantity
            .Price = price
        End With
        If m_lines.Exists(line.Sku) Then
            m_lines(line.Sku).Quantity = m_lines(line.Sku).Quantity + quantity
        Else
            m_lines.Add line.Sku, line
        End If
        Set AddLine = m_lines(line.Sku)
    End Function

    Public Function Total()
        Dim key, sum
        sum = 0
        For Each key In m_lines.Keys
            sum = sum + m_lines(key).Total
        Next
        Total = sum
    End Function

    Public Function Describe()
        Dim key, text
        text = "Order of " & FormatDateTime(m_created, vbShortDate)
        If Not m_customer Is Nothing Then text = text & " for " & m_customer.Name
        For Each key In m_lines.Keys
            text = text & vbCrLf & "  " & m_lines(key).ToText()
        Next
        Describe = text & vbCrLf & "Total: " & FormatNumber(Me.Total(), 2)
    End Function

    Public Sub Clear()
        m_lines.RemoveAll
    End Sub
End Class

Class Customer
    Public Name
    Public Email
    Public Function IsValid()
        IsValid = InStr(Email, "@") > 1 And Len(Name) > 0
    End Function
End Class

Dim book, buyer, line, i
Set buyer = New Customer
buyer.Name = "Contoso Ltd."
buyer.Email = "orders@contoso.example"

Set book = New Order
Set book.Customer = buyer
Call book.AddLine("ab-100", 3, 12.5)
book.AddLine "CD-200", 1, 99.99
Set line = book.AddLine("ab-100", 2, 12.5)
line.Discount = 10
book.Item("CD-200") = 4

For i = 1 To 3
    book.AddLine "X-" & i, i, i * 1.5
Next

If buyer.IsValid() Then
    WScript.Echo book.Describe()
End If
WScript.Echo "Line total: " & line
Set line = Nothing
Set book = Nothing
