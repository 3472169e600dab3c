// The VBScript front end, one row per construct or quirk: what compiles, and for what does not,
// the error number, line and column the engine reports.
#include "VBScriptTestSupport.h"

namespace zel::script::test {
namespace {

const SyntaxRow kRows[] = {
    // Declarations
    {"Dim a, b(10), c(), d(1, 2), e(&H10)", 0},
    {"ReDim Preserve a(n + 1), b(2, x)", 0},
    {"Const H = &HFF, O = &O17, N = - - 1", 0},
    {"Private Const X = 1\nPublic Const Y = \"y\"", 0},
    {"Erase a", 0},
    {"option explicit", 0},
    {"Dim Step, Property, Explicit, Default, Error, Get\nStep = 1 : Property = 2 : Get = 3", 0},
    {"Dim a,", 1010, 1, 7},
    {"Dim a(1.5)", 1026, 1, 7},
    {"Dim a(-1)", 1026, 1, 7},
    {"Dim a(1 2)", 1006, 1, 9},
    {"ReDim a", 1005, 1, 8},
    {"ReDim a()", 1023, 1, 9},
    {"Const A", 1011, 1, 8},
    {"Const A = B", 1045, 1, 11},
    {"Const A = 1 + 2", 1025, 1, 13},
    {"Const A = -\"x\"", 1045, 1, 12},
    {"Const = 1", 1010, 1, 7},
    {"Erase", 1010, 1, 6},
    {"Option Base 1", 1002, 1, 8},
    {"Dim a\nOption Explicit", 1024, 2, 1},
    {"Sub S\nPrivate x\nEnd Sub", 1024, 2, 1},
    // Names defined twice in one scope
    {"Dim a, b, A", 1041, 1, 11},
    {"Class C\nEnd Class\nSub C\nEnd Sub", 1041, 3, 5},
    {"Sub S(a)\nDim a\nEnd Sub", 1041, 2, 5},
    {"Class C\nProperty Get P : End Property\nProperty Get P : End Property\nEnd Class", 1041, 3, 14},
    {"Class C\nProperty Get P : End Property\nFunction P : End Function\nEnd Class", 1041, 3, 10},
    {"Dim [a b]\nDim [A B]", 1041, 2, 5},
    {"Class C\nProperty Get P : End Property\nProperty Let P(v) : End Property\nProperty Set P(v) : End Property\n"
     "End Class",
     0},
    // Procedures
    {"x = 1 : Sub S\nEnd Sub", 1042, 1, 9},
    {"Sub S : End Sub : Private Function F : End Function", 1042, 1, 19},
    {"Dim a : Class C\nEnd Class", 1042, 1, 9},
    {"Class C : Property Get P : End Property\nEnd Class", 1042, 1, 11},
    {"Class C\nDim a : Public Default Function F : End Function\nEnd Class", 1042, 2, 9},
    {"Sub S(a, ByVal b, ByRef c, d())\nEnd Sub", 0},
    {"Sub S\nx = 1\n", 1014, 3, 1},
    {"Function F\nEnd Sub", 1015, 2, 5},
    {"Sub S\nEnd", 1016, 2, 4},
    {"Sub S(1)\nEnd Sub", 1010, 1, 7},
    {"Sub S(Optional a)\nEnd Sub", 1006, 1, 16},
    {"Sub\nEnd Sub", 1010, 1, 4},
    {"Sub S x\nEnd Sub", 1025, 1, 7},
    {"Sub S\nClass C\nEnd Class\nEnd Sub", 1024, 2, 1},
    {"Sub S\nNext\nEnd Sub", 1055, 2, 1},
    {"Sub S\nLoop\nEnd Sub", 1038, 2, 1},
    {"Sub S\nElse\nEnd Sub", 1024, 2, 1},
    // Classes
    {"Class C\nPublic Default Property Get P : End Property\nEnd Class", 0},
    {"Class C\nPublic Default Sub S : End Sub\nEnd Class", 0},
    {"Class C\nFunction M() : Set M = Me : Me.x = 1 : Call Me.N : End Function\nEnd Class", 0},
    {"Class C\n' comment\n\nRem another\nEnd Class", 0},
    {"Property Get P\nEnd Property", 1048, 1, 1},
    {"Public Property Get P\nEnd Property", 1048, 1, 8},
    {"Public Default Function F : End Function", 1048, 1, 8},
    {"Class C\nProperty P\nEnd Property\nEnd Class", 1049, 2, 10},
    {"Class C\nProperty Get P\nEnd Sub\nEnd Class", 1050, 3, 5},
    {"Class C\nPublic x\n", 1014, 3, 1},
    {"Class C\nEnd Sub", 1047, 2, 5},
    {"Class\nEnd Class", 1010, 1, 6},
    {"Class C\nx = 1\nEnd Class", 1024, 2, 1},
    {"Class C\nClass D\nEnd Class\nEnd Class", 1024, 2, 1},
    {"Class C\nProperty Set P\nEnd Property\nEnd Class", 1054, 2, 14},
    {"Class C\nProperty Let P(a, v)\nEnd Property\nProperty Get P\nEnd Property\nEnd Class", 1051, 4, 14},
    {"Class C\nProperty Let P(v)\nEnd Property\nProperty Set P(a, v)\nEnd Property\nEnd Class", 1051, 4, 14},
    {"Class C\nPublic Default Function A : End Function\nPublic Default Function B : End Function\nEnd Class", 1052, 3,
     25},
    {"Class C\nPrivate Sub Class_Initialize(a) : End Sub\nEnd Class", 1053, 2, 13},
    {"Class C\nSub class_terminate(a, b) : End Sub\nEnd Class", 1053, 2, 5},
    {"Class C\nPrivate Default Function F : End Function\nEnd Class", 1057, 2, 9},
    {"Class C\nDefault Function F : End Function\nEnd Class", 1057, 2, 1},
    {"Class C\nPublic Default Property Let P(v) : End Property\nEnd Class", 1058, 2, 25},
    {"Class C\nPublic Default x\nEnd Class", 1056, 2, 16},
    {"Me = 1", 1037, 1, 1},
    {"Set Me = Nothing", 1037, 1, 5},
    // If statements
    {"If a Then o.m() Else c", 0},
    {"If a Then\nb\nElseIf c Then\nd\nElseIf e Then f\nElse\ng\nEnd If", 0},
    {"If a Then Rem comment\nEnd If", 0},
    {"If a Then b = 1 End If End If", 1025, 1, 24},
    {"If a Then b = 1 End Sub", 1025, 1, 17},
    {"If a Then b: End If\nEnd If", 1024, 2, 1},
    {"If a Then b: End Sub", 1024, 1, 14},
    {"If a Then\nElse\nElse\nEnd If", 1014, 3, 1},
    {"If a Then\nElse\nElseIf b Then\nEnd If", 1014, 3, 1},
    {"If a Then\nEnd Sub", 1012, 2, 5},
    {"If a\nEnd If", 1017, 1, 5},
    {"If Then\nEnd If", 1023, 1, 4},
    {"If a Then b 1 Else c Else d", 1025, 1, 22},
    {"If a Then Do : Loop Until b Else While c : Wend", 0},
    {"If a Then For i = 1 To 2\nNext", 1020, 1, 25},
    {"If a Then Do : b\nLoop", 1019, 1, 17},
    {"If a Then Sub S : End Sub", 1024, 1, 11},
    // Select Case
    {"Select Case a : Case 1 : b : Case Else : c : End Select", 0},
    {"Select Case True\nCase a > 1, b Is Nothing, Not c\nEnd Select", 0},
    {"With panel\nSelect Case code\nCase kUp   .Lamp(1) = True : n = n + 1\nCase kDown Beep 3\n"
     "Case kLeft If n > 0 Then n = n - 1\nCase Else done = True\nEnd Select\nEnd With",
     0},
    {"Select Case a\nx = 1\nEnd Select", 1021, 2, 1},
    {"Select Case a\nCase 1\nEnd If", 1022, 3, 5},
    {"Select Case a\nCase 1 To 5\nEnd Select", 1025, 2, 8},
    {"Select Case a\nCase Is > 5\nEnd Select", 1023, 2, 6},
    {"Select Case a\nCase Else\nCase 1\nEnd Select", 1014, 3, 1},
    // Loops
    {"For i = LBound(a) To UBound(a) Step s\nIf a(i) Then Exit For\nNext", 0},
    {"Do Until a\nLoop", 0},
    {"Do\nLoop While a", 0},
    {"For i = 1 To 2\nNext\nNext", 1055, 3, 1},
    {"Do\nLoop\nLoop", 1038, 3, 1},
    {"For i = 1 To 3\nLoop", 1020, 2, 1},
    {"For = 1 To 3\nNext", 1010, 1, 5},
    {"For i 1 To 3\nNext", 1011, 1, 7},
    {"For i = 1 3\nNext", 1013, 1, 11},
    {"For a(1) = 1 To 3\nNext", 1040, 1, 6},
    {"For a.b = 1 To 3\nNext", 1040, 1, 6},
    {"For Each x Of y\nNext", 1046, 1, 12},
    {"For Each In y\nNext", 1010, 1, 10},
    {"Do\nx = 1\n", 1019, 3, 1},
    {"Do x\nLoop", 1028, 1, 4},
    {"Do\nLoop x", 1028, 2, 6},
    {"Do While a\nLoop Until b", 1025, 2, 6},
    {"While a\nx = 1\n", 1018, 3, 1},
    {"While\nWend", 1023, 1, 6},
    // Exit statements
    {"Function F\nExit Sub\nEnd Function", 1039, 2, 1},
    {"Sub S\nExit Function\nEnd Sub", 1039, 2, 1},
    {"Sub S\nExit Property\nEnd Sub", 1039, 2, 1},
    {"For Each x In y\nExit Do\nNext", 1039, 2, 1},
    {"Do\nExit\nLoop", 1039, 2, 1},
    {"Do\nSub_ = 1\nLoop\nExit Do", 1039, 4, 1},
    {"For i = 1 To 2\nSub S\nEnd Sub\nNext", 1024, 2, 1},
    // With blocks
    {"With o\n.a = 1\n", 1014, 3, 1},
    {"With o\nEnd Sub", 1029, 2, 5},
    {"With\nEnd With", 1023, 1, 5},
    // Calls and assignments
    {"Foo (1) + 2, 3", 0},
    {"o.M , 2", 0},
    {"x = o.Rem + 1", 0},
    {"Foo(, 2)", 1044, 1, 9},
    {"Foo(1, 2) ' comment", 1044, 1, 20},
    {"Foo(1, 2) + 1", 1006, 1, 6},
    {"Call Foo 1", 1025, 1, 10},
    {"Call 1", 1010, 1, 6},
    {"Foo )", 1025, 1, 5},
    {"Set x", 1011, 1, 6},
    {"Set x = ", 1023, 1, 9},
    {"Let = 1", 1010, 1, 5},
    {"x = New 1", 1010, 1, 9},
    {"x = o.1", 1010, 1, 7},
    {")", 1024, 1, 1},
    // On Error
    {"on error resume next : ON ERROR GOTO 0", 0},
    {"On Error GoTo Handler", 1002, 1, 15},
    {"On Error GoTo 1", 1002, 1, 15},
    {"On Resume Next", 1002, 1, 4},
    {"Stop", 0},
    // Expressions
    {"x = -2 ^ 2 * 3 \\ 4 Mod 5 + 6 - 7 & 8", 0},
    {"x = a = b Or c <> d And e < f Xor g > h Eqv i <= j Imp k >= l", 0},
    {"If total=>limit Then total = total - limit : If left =< 0 Then left = 1", 0},
    {"x = a.b(", 1006, 1, 9},
    {"x =", 1023, 1, 4},
    {"x = 1 Rem comment", 1025, 1, 7},
    {"Set f = (New Formatter)(x) : x = (a).b(1).c : Set n = New Pair.Init(\"k\", 1)", 0},
    {"x = (a) .b", 1025, 1, 9},
    {"x = (a).", 1010, 1, 9},
    {"x = New C .Init", 1025, 1, 11},
    // Lexical forms
    {"x = #1/1/2000# + #12:30:00 PM# + #January 5, 2024#", 0},
    {"x = 1 + _   \r\n 2", 0},
    {"x = \"a\"_\n & \"b\"", 0},
    {"a = 1\rb = 2\r", 0},
    {"a = 1\n\rb = 2\r\r\n", 0},
    {"x = a&b", 0},
    {"x = \"x\" &Hello", 1025, 1, 9},
    {"x = \"a\"\"", 1033, 1, 5},
    {"x = \"abc\r\"", 1033, 1, 5},
    {"x = {", 1032, 1, 5},
    {"x = \xFF", 1032, 1, 5},
    {"x = \xC2\xA0 1", 1032, 1, 5},
    {"x = 1 _ ' comment\n", 1032, 1, 7},
    {"x = #1/1/2000", 1032, 1, 5},
    {"x = #1@2#", 1032, 1, 5},
    {"x = #2024-05-01# + #5/1/2024 13:45# + #1 Jan 2000# + #Sept 3, 2021 1:05:09 pm# + #3 PM# + #2/29/2024#", 0},
    {"x = #2/30/2024# + 1", 1032, 1, 5},
    {"x = #2/29/2023#", 1032, 1, 5},
    {"x = #abc#", 1032, 1, 5},
    {"x = #1/1/2000 25:00#", 1032, 1, 5},
    {"x = #12:60#", 1032, 1, 5},
    {"x = #10:#", 1032, 1, 5},
    {"x = #1/2/3/4#", 1032, 1, 5},
    {"x = #2000#", 1032, 1, 5},
    {"x = [abc", 1007, 1, 9},
    {"x = 1e", 1031, 1, 5},
    {"x = 1e+", 1031, 1, 5},
    {"x = &HFFFFFFFF + &H00000000FF& + &O37777777777", 0},
    {"x = 1 + &H100000000", 1031, 1, 9},
    {"x = &O40000000000", 1031, 1, 5},
    {"Const X = .1e310", 1031, 1, 11},
    {"x = 2 * 1797693134862315800000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000",
     1031, 1, 9},
    {"x = 1.7976931348623157e308 + 1e-400 + 0.000e999", 0},
    {"x = 1.2.3", 1025, 1, 8},
    {"a = 1\rb = \"x", 1033, 2, 5},
    {"x = \"\xF0\x9F\x98\x80\" + \"", 1033, 1, 12},
};

TEST(VBScriptSyntax, EachConstructCompilesOrReportsItsErrorAtItsPlace)
{
    for (const SyntaxRow& row : kRows)
        checkSyntax(row);
}

TEST(VBScriptSyntax, EveryReportedNumberHasAPublishedText)
{
    for (int32_t number :
         {1001, 1002, 1005, 1006, 1007, 1010, 1011, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021,
          1022, 1023, 1024, 1025, 1026, 1028, 1029, 1030, 1031, 1032, 1033, 1037, 1038, 1039, 1040, 1041, 1042,
          1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1056, 1057, 1058})
        EXPECT_FALSE(vbscript::description(number).empty()) << number;
    EXPECT_EQ(vbscript::description(1033), "Unterminated string constant");
    EXPECT_EQ(vbscript::description(1044), "Cannot use parentheses when calling a Sub");
    EXPECT_TRUE(vbscript::description(0).empty());
    EXPECT_TRUE(vbscript::description(1004).empty());
}

TEST(VBScriptSyntax, IdentifierLongerThan255CharactersIsTooLong)
{
    std::string ok = "x" + std::string(254, 'a') + " = 1";
    std::string tooLong = "y = x" + std::string(255, 'a');
    checkSyntax({ok, 0});
    checkSyntax({tooLong, 1030, 1, 5});
}

} // namespace
} // namespace zel::script::test
