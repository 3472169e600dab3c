#include "platform/script/jscript/JScriptErrors.h"

namespace zel::script::jscript {

std::string_view description(int32_t number)
{
    switch (number) {
    case kOutOfStack:
        return "Out of stack space";
    case kOutOfMemory:
        return "Out of memory";
    case kSyntaxError:
        return "Syntax error";
    case kExpectedColon:
        return "Expected ':'";
    case kExpectedSemicolon:
        return "Expected ';'";
    case kExpectedLParen:
        return "Expected '('";
    case kExpectedRParen:
        return "Expected ')'";
    case kExpectedRBracket:
        return "Expected ']'";
    case kExpectedLBrace:
        return "Expected '{'";
    case kExpectedRBrace:
        return "Expected '}'";
    case kExpectedIdentifier:
        return "Expected identifier";
    case kExpectedAssign:
        return "Expected '='";
    case kExpectedSlash:
        return "Expected '/'";
    case kInvalidNumber:
        return "Invalid number";
    case kInvalidCharacter:
        return "Invalid character";
    case kUnterminatedString:
        return "Unterminated string constant";
    case kUnterminatedComment:
        return "Unterminated comment";
    case kReturnOutsideFunction:
        return "'return' statement outside of function";
    case kBreakOutsideLoop:
        return "Can't have 'break' outside of loop";
    case kContinueOutsideLoop:
        return "Can't have 'continue' outside of loop";
    case kExpectedHexDigit:
        return "Expected hexadecimal digit";
    case kExpectedWhile:
        return "Expected 'while'";
    case kLabelRedefined:
        return "Label redefined";
    case kLabelNotFound:
        return "Label not found";
    case kDuplicateDefault:
        return "'default' can only appear once in a 'switch' statement";
    case kExpectedPropertyName:
        return "Expected identifier, string or number";
    case kExpectedCcEnd:
        return "Expected '@end'";
    case kCcTurnedOff:
        return "Conditional compilation is turned off";
    case kExpectedConstant:
        return "Expected constant";
    case kExpectedAt:
        return "Expected '@'";
    case kExpectedCatch:
        return "Expected 'catch'";
    case kExpectedVar:
        return "Expected 'var'";
    case kThrowNeedsExpression:
        return "Throw must be followed by an expression on the same source line";
    default:
        return "";
    }
}

} // namespace zel::script::jscript
