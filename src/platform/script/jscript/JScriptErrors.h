#pragma once

#include <cstdint>
#include <string_view>

namespace zel::script::jscript {

// The compile-error numbers the JScript engine publishes, plus the stack error it raises when
// the nesting of a script is too deep to compile.
enum ErrorNumber : int32_t
{
    kOutOfStack = 28,
    kOutOfMemory = 1001,
    kSyntaxError = 1002,
    kExpectedColon = 1003,
    kExpectedSemicolon = 1004,
    kExpectedLParen = 1005,
    kExpectedRParen = 1006,
    kExpectedRBracket = 1007,
    kExpectedLBrace = 1008,
    kExpectedRBrace = 1009,
    kExpectedIdentifier = 1010,
    kExpectedAssign = 1011,
    kExpectedSlash = 1012,
    kInvalidNumber = 1013,
    kInvalidCharacter = 1014,
    kUnterminatedString = 1015,
    kUnterminatedComment = 1016,
    kReturnOutsideFunction = 1018,
    kBreakOutsideLoop = 1019,
    kContinueOutsideLoop = 1020,
    kExpectedHexDigit = 1023,
    kExpectedWhile = 1024,
    kLabelRedefined = 1025,
    kLabelNotFound = 1026,
    kDuplicateDefault = 1027,
    kExpectedPropertyName = 1028,
    kExpectedCcEnd = 1029,
    kCcTurnedOff = 1030,
    kExpectedConstant = 1031,
    kExpectedAt = 1032,
    kExpectedCatch = 1033,
    kExpectedVar = 1034,
    kThrowNeedsExpression = 1035,
};

// The published JScript text of a compile-error number, e.g. "Expected ';'" for 1004, or ""
// for a number that is not a JScript compile error.
std::string_view description(int32_t number);

} // namespace zel::script::jscript
