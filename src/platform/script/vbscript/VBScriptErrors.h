#pragma once

#include <cstdint>
#include <string_view>

namespace zel::script::vbscript {

// The VBScript compile-error numbers this front end reports, under the names of their published texts.
enum ErrorNumber : int32_t
{
    kOutOfMemory = 1001,
    kSyntaxError = 1002,
    kExpectedColon = 1003,
    kExpectedLParen = 1005,
    kExpectedRParen = 1006,
    kExpectedRBracket = 1007,
    kExpectedIdentifier = 1010,
    kExpectedEquals = 1011,
    kExpectedIf = 1012,
    kExpectedTo = 1013,
    kExpectedEnd = 1014,
    kExpectedFunction = 1015,
    kExpectedSub = 1016,
    kExpectedThen = 1017,
    kExpectedWend = 1018,
    kExpectedLoop = 1019,
    kExpectedNext = 1020,
    kExpectedCase = 1021,
    kExpectedSelect = 1022,
    kExpectedExpression = 1023,
    kExpectedStatement = 1024,
    kExpectedEndOfStatement = 1025,
    kExpectedIntegerConstant = 1026,
    kExpectedWhileOrUntil = 1027,
    kExpectedWhileUntilOrEnd = 1028,
    kExpectedWith = 1029,
    kIdentifierTooLong = 1030,
    kInvalidNumber = 1031,
    kInvalidCharacter = 1032,
    kUnterminatedString = 1033,
    kUnterminatedComment = 1034,
    kInvalidUseOfMe = 1037,
    kLoopWithoutDo = 1038,
    kInvalidExit = 1039,
    kInvalidForControl = 1040,
    kNameRedefined = 1041,
    kMustBeFirstStatement = 1042,
    kCannotAssignToNonByVal = 1043,
    kParenthesesCallingSub = 1044,
    kExpectedLiteralConstant = 1045,
    kExpectedIn = 1046,
    kExpectedClass = 1047,
    kMustBeInsideClass = 1048,
    kExpectedLetSetGet = 1049,
    kExpectedProperty = 1050,
    kInconsistentPropertyArguments = 1051,
    kMultipleDefaults = 1052,
    kInitializeTerminateArguments = 1053,
    kPropertyLetSetNeedsArgument = 1054,
    kUnexpectedNext = 1055,
    kDefaultOnlyOnProcedure = 1056,
    kDefaultNeedsPublic = 1057,
    kDefaultOnlyOnPropertyGet = 1058,
};

// The published English text of a VBScript compile-error number, e.g. 1002 -> "Syntax error".
// An unknown number gives an empty view.
std::string_view description(int32_t number);

} // namespace zel::script::vbscript
