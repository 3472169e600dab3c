' expect 1041 9 10
Function FormatAmount(value)
    FormatAmount = FormatNumber(value, 2)
End Function

Dim net, gross
net = 100

Function formatamount(value, digits)
    formatamount = FormatNumber(value, digits)
End Function
