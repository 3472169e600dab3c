' expect 1055 14 1
Dim items, i, total
items = Split(DataRiver("Amounts"), ";")
total = 0
For i = 0 To UBound(items)
    If IsNumeric(items(i)) Then
        total = total + CDbl(items(i))
    End If
Next
If total > 1000 Then
    WScript.Echo "large"
End If
' a second Next left over from an edit
Next
