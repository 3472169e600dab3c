' Lexical and grammatical corners that real scripts use.
Dim a, b, [my value], [Sub], r, d(3), m(2, 2), n()
a = &HFF + &hff& + &O17 + &o7& + 1.5E+3 + .25 + 3. + 1e-2
d(0) = #1/31/2024# : d(1) = #2024-01-31 13:45# : d(2) = #12:30:00 PM#
[my value] = "say ""hello""" & "'not a comment'"
[Sub] = [my value]
Rem a comment that mentions "quotes and ' apostrophes
REM: another one : with colons
a = a + _
    b _
    + 1
r = a Mod 3 \ 2 ^ -1 * -2 + Not a = b And b Or a Xor b Eqv a Imp b
r = a Is Nothing
r = (a <> b) & (a <= b) & (a >= b) & (a < b) & (a > b)
r = -(-a) + +a - -1
r = CreateObject("Scripting.Dictionary").Count
Set r = CreateObject("Scripting.Dictionary")
r.Add "select", 1
r.Item("next") = 2
b = r.Count : b = r.Exists("end")
MsgBox "x", , "title"
MsgBox("only one")
Call MsgBox("one", 0, "two")
MsgBox ("a") & "b", vbOKOnly
WScript.Echo(a)
WScript.Echo (a), (b)
Randomize
Randomize Timer
ReDim n(a)
ReDim Preserve n(a + 1), m(1, 2)
Erase n
Let a = 5
Set b = Nothing
If a Then b = 1 Else b = 2
If a Then If b Then r = 3 Else r = 4
If a Then : b = 1 : End If
If a Then b = 1 : r = 2 Else b = 2 : r = 3 ' trailing comment
If a Then
ElseIf b Then
Else
End If
For a = 10 To 1 Step -2 : Next
For Each b In Array(1, 2, 3)
    If b = 2 Then Exit For
Next
With r
    .Add "k", .Count
    MsgBox .Item("k")
    .RemoveAll
End With
On Error Resume Next
Err.Raise 1000 + vbObjectError, "quirks", "demo"
On Error GoTo 0
Stop
Dim Step, Property, Explicit, Default, [Error]
Step = 1 : Property = 2 : Explicit = 3 : Default = 4
WScript.Echo Step, Property, Explicit, Default
a = Empty : a = Null : a = True Or False
Const NEG = -1, POS = +2, STR = "s", DAT = #1/1/2000#, T = True, NUL = Null
Private p1, p2(4)
Public p3
Sub NoParens : a = 1 : End Sub
Function Noargs() : Noargs = Array() : End Function
Sub Params(ByVal x, ByRef y, z(), ByVal w)
    x = y : z(0) = w
End Sub
Params 1, a, n, ""
Function Recursive(k)
    If k <= 1 Then Recursive = 1 Else Recursive = k * Recursive(k - 1)
End Function
a = Recursive(5)
a = "Año" & "naïve"
Dim café : café = 1
