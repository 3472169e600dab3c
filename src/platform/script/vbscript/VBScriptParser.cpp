#include "platform/script/vbscript/VBScriptParser.h"

#include "platform/script/vbscript/VBScriptLexer.h"
#include "platform/text/Text.h"

#include <string>
#include <unordered_map>

namespace zel::script::vbscript {

namespace {

// What a name in a scope stands for; the property kinds combine, since Get, Let and Set of one
// property share its name.
enum NameKind : uint8_t
{
    kVariable = 1,
    kProcedure = 2,
    kClassName = 4,
    kPropertyGet = 8,
    kPropertyLet = 16,
    kPropertySet = 32,
};
constexpr uint8_t kAnyProperty = kPropertyGet | kPropertyLet | kPropertySet;

struct NameInfo
{
    uint8_t kinds = 0;
    int getArgs = -1;
    int letArgs = -1;
    int setArgs = -1;
};

using Scope = std::unordered_map<std::string, NameInfo>;

enum class Proc : uint8_t
{
    None,
    Sub,
    Function,
    Property,
};

struct Failure
{
};

class Parser
{
public:
    explicit Parser(std::string_view source) : m_lex(source) {}

    Diagnostic run();

private:
    struct Mark
    {
        Lexer::State lex;
        Token tok;
    };

    // Counts one level of nesting for as long as it lives and stops the parse when nesting gets too deep.
    class Nesting
    {
    public:
        explicit Nesting(Parser& parser) : m_parser(parser)
        {
            if (++m_parser.m_depth > kMaxNesting)
                m_parser.fail(kOutOfMemory);
        }
        ~Nesting() { --m_parser.m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& m_parser;
    };

    [[noreturn]] void fail(int32_t number, std::size_t offset)
    {
        m_result = {number, offset};
        throw Failure{};
    }
    [[noreturn]] void fail(int32_t number) { fail(number, m_tok.offset); }

    void advance()
    {
        m_tok = m_lex.next();
        if (m_tok.kind == Tok::Error)
            fail(m_tok.error, m_tok.offset);
    }
    Mark mark() const { return {m_lex.state(), m_tok}; }
    void reset(const Mark& m)
    {
        m_lex.restore(m.lex);
        m_tok = m.tok;
    }

    bool is(Tok kind) const { return m_tok.kind == kind; }
    bool isContextual(std::string_view lower) const;
    bool startsPropertyDeclaration();
    bool isName() const { return is(Tok::Identifier) || is(Tok::BracketedIdentifier); }
    bool atEndOfStatement() const
    {
        return is(Tok::Newline) || is(Tok::Colon) || is(Tok::Eof) || (m_singleLine > 0 && is(Tok::KwElse));
    }
    void expect(Tok kind, int32_t number)
    {
        if (!is(kind))
            fail(number);
        advance();
    }
    void endOfStatement()
    {
        if (!atEndOfStatement())
            fail(kExpectedEndOfStatement);
    }
    std::string key(const Token& name) const;
    void declare(Scope& scope, const Token& name, uint8_t kind, int args = -1);

    void statements();
    void statement();
    void singleLineStatement();
    bool singleLinePart();
    bool isIntegerLiteral() const;
    void optionStatement();
    void dimStatement(Scope& scope, bool skipKeyword);
    void redimStatement();
    void constStatement(Scope& scope);
    void eraseStatement();
    void memberDeclaration(bool isPublic);
    void procedure(Scope& scope, bool isDefault);
    void classStatement();
    void ifStatement();
    void selectStatement();
    void forStatement();
    void doStatement();
    void whileStatement();
    void withStatement();
    void exitStatement();
    void onErrorStatement();
    void callStatement();
    void assignStatement();
    void assignmentOrCall();
    void blockEnd(Tok closer, int32_t number);
    void unexpectedInBlock();

    bool chain(bool* endsWithCall, int* argCount, Mark* lastParen);
    void memberName();
    int argumentList();
    void callArguments();
    bool canStartExpression() const;
    bool startsStatement() const;
    void expression() { binary(1); }
    void binary(int minPrecedence);
    void primary();
    void postfix();
    bool opensDeclaration();
    void requireLineStart();

    Lexer m_lex;
    Token m_tok;
    Diagnostic m_result;
    int m_depth = 0;

    Scope m_global;
    Scope m_local;
    Scope m_class;
    Scope* m_scope = &m_global;
    bool m_inClass = false;
    bool m_classHasDefault = false;
    Proc m_proc = Proc::None;
    int m_doDepth = 0;
    int m_forDepth = 0;
    int m_blockDepth = 0;
    int m_singleLine = 0;
    bool m_sawStatement = false;
    bool m_lineStart = true; // no statement before the current token on its line
};

// True when the current token opens the declaration of a procedure or class, which must be the
// first statement on its line: Sub, Function, Class or Property Get/Let/Set, after any of
// Public, Private and Default.
bool Parser::opensDeclaration()
{
    Mark here = mark();
    while (is(Tok::KwPublic) || is(Tok::KwPrivate) || isContextual("default"))
        advance();
    bool declaration = is(Tok::KwSub) || is(Tok::KwFunction) || is(Tok::KwClass) ||
                       (isContextual("property") && startsPropertyDeclaration());
    reset(here);
    return declaration;
}

// Where declarations may stand at all (the top level of a unit or of a class), one that follows
// another statement on its line is refused.
void Parser::requireLineStart()
{
    const bool topLevel = m_proc == Proc::None && m_blockDepth == 0 && m_singleLine == 0;
    if (topLevel && !m_lineStart && opensDeclaration())
        fail(kMustBeFirstStatement);
}

// "Property" names a variable unless Get, Let or Set follows it.
bool Parser::startsPropertyDeclaration()
{
    Mark here = mark();
    advance();
    bool declaration = isContextual("get") || is(Tok::KwLet) || is(Tok::KwSet);
    reset(here);
    return declaration;
}

bool Parser::isContextual(std::string_view lower) const
{
    if (!is(Tok::Identifier) || m_tok.length != lower.size())
        return false;
    return Text::equalsIgnoringAsciiCase(m_lex.text(m_tok), lower);
}

std::string Parser::key(const Token& name) const
{
    return Text::lowerAscii(m_lex.text(name));
}

void Parser::declare(Scope& scope, const Token& name, uint8_t kind, int args)
{
    NameInfo& info = scope[key(name)];
    if (info.kinds == 0) {
        info.kinds = kind;
    } else if ((info.kinds & ~kAnyProperty) == 0 && (kind & kAnyProperty) != 0 && (info.kinds & kind) == 0) {
        info.kinds |= kind;
    } else {
        fail(kNameRedefined, name.offset);
    }
    if (kind == kPropertyGet)
        info.getArgs = args;
    else if (kind == kPropertyLet)
        info.letArgs = args;
    else if (kind == kPropertySet)
        info.setArgs = args;
    // A Let or Set takes the value as one argument more than the Get takes.
    bool consistent = (info.getArgs < 0 || info.letArgs < 0 || info.letArgs == info.getArgs + 1) &&
                      (info.getArgs < 0 || info.setArgs < 0 || info.setArgs == info.getArgs + 1) &&
                      (info.letArgs < 0 || info.setArgs < 0 || info.letArgs == info.setArgs);
    if (!consistent)
        fail(kInconsistentPropertyArguments, name.offset);
}

Diagnostic Parser::run()
{
    try {
        advance();
        statements();
        if (is(Tok::KwNext))
            fail(kUnexpectedNext);
        if (is(Tok::KwLoop))
            fail(kLoopWithoutDo);
        if (!is(Tok::Eof))
            fail(kExpectedStatement);
        return {};
    } catch (const Failure&) {
        return m_result;
    }
}

// Parses statements up to a token that closes a block (End, Else, ElseIf, Case, Next, Loop, Wend or
// the end of text) and leaves that token current: the enclosing construct decides what it means.
void Parser::statements()
{
    for (;;) {
        switch (m_tok.kind) {
        case Tok::Newline:
            // A block inside a single-line If ends with its line.
            if (m_singleLine > 0)
                return;
            advance();
            m_lineStart = true;
            continue;
        case Tok::Colon:
        case Tok::KwRem:
            advance();
            continue;
        case Tok::Eof:
        case Tok::KwEnd:
        case Tok::KwElse:
        case Tok::KwElseIf:
        case Tok::KwCase:
        case Tok::KwNext:
        case Tok::KwLoop:
        case Tok::KwWend:
            return;
        default:
            requireLineStart();
            statement();
            m_lineStart = false;
            endOfStatement();
        }
    }
}

void Parser::statement()
{
    Nesting nesting(*this);
    if (is(Tok::KwOption)) {
        optionStatement();
        return;
    }
    m_sawStatement = true;
    // Declarations of procedures and classes stand only at the top level of a unit (or of a class).
    const bool topLevel = m_proc == Proc::None && m_blockDepth == 0 && m_singleLine == 0;
    switch (m_tok.kind) {
    case Tok::KwDim:
        dimStatement(*m_scope, true);
        return;
    case Tok::KwReDim:
        redimStatement();
        return;
    case Tok::KwConst:
        constStatement(*m_scope);
        return;
    case Tok::KwErase:
        eraseStatement();
        return;
    case Tok::KwPrivate:
    case Tok::KwPublic:
        if (!topLevel)
            fail(kExpectedStatement);
        memberDeclaration(is(Tok::KwPublic));
        return;
    case Tok::KwSub:
    case Tok::KwFunction:
        if (!topLevel)
            fail(kExpectedStatement);
        procedure(m_global, false);
        return;
    case Tok::KwClass:
        if (!topLevel)
            fail(kExpectedStatement);
        classStatement();
        return;
    case Tok::KwIf:
        ifStatement();
        return;
    case Tok::KwSelect:
        selectStatement();
        return;
    case Tok::KwFor:
        forStatement();
        return;
    case Tok::KwDo:
        doStatement();
        return;
    case Tok::KwWhile:
        whileStatement();
        return;
    case Tok::KwWith:
        withStatement();
        return;
    case Tok::KwExit:
        exitStatement();
        return;
    case Tok::KwOn:
        onErrorStatement();
        return;
    case Tok::KwCall:
        callStatement();
        return;
    case Tok::KwSet:
        assignStatement();
        return;
    case Tok::KwLet:
        assignStatement();
        return;
    case Tok::KwStop:
        advance();
        return;
    case Tok::KwNext:
        fail(kUnexpectedNext);
    case Tok::KwLoop:
        fail(kLoopWithoutDo);
    case Tok::Identifier:
        if (isContextual("property") && startsPropertyDeclaration()) {
            if (!m_inClass || !topLevel)
                fail(kMustBeInsideClass);
            procedure(m_class, false);
            return;
        }
        assignmentOrCall();
        return;
    case Tok::BracketedIdentifier:
    case Tok::Dot:
    case Tok::KwMe:
        assignmentOrCall();
        return;
    default:
        fail(kExpectedStatement);
    }
}

// Statements of a single-line If: declarations of procedures and classes need lines of their own.
// Loops and other blocks may stand in it when they close on the same line, as in
// "If n Then For i = 1 To n : Clear i : Next".
void Parser::singleLineStatement()
{
    switch (m_tok.kind) {
    case Tok::KwSub:
    case Tok::KwFunction:
    case Tok::KwClass:
    case Tok::KwPrivate:
    case Tok::KwPublic:
    case Tok::KwOption:
        fail(kExpectedStatement);
    default:
        statement();
    }
}

// Statements of one part of a single-line If. Returns true when an "End If" closed the whole If:
// scripts write "If a Then: b: End If" on one line and the engine takes it.
bool Parser::singleLinePart()
{
    for (;;) {
        if (is(Tok::Colon) || is(Tok::KwRem)) {
            advance();
            continue;
        }
        if (is(Tok::Newline) || is(Tok::Eof) || is(Tok::KwElse))
            return false;
        if (is(Tok::KwEnd)) {
            Mark here = mark();
            advance();
            if (is(Tok::KwIf)) {
                advance();
                return true;
            }
            reset(here);
        }
        singleLineStatement();
        // "End If" may also close the If right after a statement, without a colon before it.
        if (is(Tok::KwEnd)) {
            Mark here = mark();
            advance();
            if (is(Tok::KwIf)) {
                advance();
                return true;
            }
            reset(here);
        }
        if (!(is(Tok::Colon) || is(Tok::Newline) || is(Tok::Eof) || is(Tok::KwElse)))
            fail(kExpectedEndOfStatement);
    }
}

void Parser::optionStatement()
{
    // Option Explicit must come before every other statement of the unit.
    if (m_sawStatement || m_proc != Proc::None || m_blockDepth > 0 || m_singleLine > 0 || m_inClass)
        fail(kExpectedStatement);
    advance();
    if (!isContextual("explicit"))
        fail(kSyntaxError);
    advance();
}

void Parser::dimStatement(Scope& scope, bool skipKeyword)
{
    if (skipKeyword)
        advance();
    for (;;) {
        if (!isName())
            fail(kExpectedIdentifier);
        declare(scope, m_tok, kVariable);
        advance();
        if (is(Tok::LParen)) {
            advance();
            if (!is(Tok::RParen)) {
                for (;;) {
                    // Bounds of a fixed array are integer literals; ReDim takes expressions.
                    if (!isIntegerLiteral())
                        fail(kExpectedIntegerConstant);
                    advance();
                    if (is(Tok::Comma)) {
                        advance();
                        continue;
                    }
                    if (!is(Tok::RParen))
                        fail(kExpectedRParen);
                    break;
                }
            }
            advance();
        }
        if (!is(Tok::Comma))
            return;
        advance();
    }
}

bool Parser::isIntegerLiteral() const
{
    if (!is(Tok::Number))
        return false;
    std::string_view text = m_lex.text(m_tok);
    return text[0] == '&' || text.find_first_of(".eE") == std::string_view::npos;
}

void Parser::redimStatement()
{
    advance();
    if (is(Tok::KwPreserve))
        advance();
    for (;;) {
        if (!isName())
            fail(kExpectedIdentifier);
        advance();
        expect(Tok::LParen, kExpectedLParen);
        for (;;) {
            expression();
            if (is(Tok::Comma)) {
                advance();
                continue;
            }
            expect(Tok::RParen, kExpectedRParen);
            break;
        }
        if (!is(Tok::Comma))
            return;
        advance();
    }
}

void Parser::constStatement(Scope& scope)
{
    advance();
    for (;;) {
        if (!isName())
            fail(kExpectedIdentifier);
        declare(scope, m_tok, kVariable);
        advance();
        expect(Tok::Eq, kExpectedEquals);
        bool signed_ = false;
        while (is(Tok::Minus) || is(Tok::Plus)) {
            signed_ = true;
            advance();
        }
        switch (m_tok.kind) {
        case Tok::Number:
            break;
        case Tok::String:
        case Tok::Date:
        case Tok::KwTrue:
        case Tok::KwFalse:
        case Tok::KwNull:
        case Tok::KwEmpty:
        case Tok::KwNothing:
            if (!signed_)
                break;
            [[fallthrough]];
        default:
            fail(kExpectedLiteralConstant);
        }
        advance();
        if (!is(Tok::Comma))
            return;
        advance();
    }
}

void Parser::eraseStatement()
{
    advance();
    for (;;) {
        if (!isName())
            fail(kExpectedIdentifier);
        advance();
        if (!is(Tok::Comma))
            return;
        advance();
    }
}

// Private or Public at the top level of a unit or a class: variables, constants or a procedure.
void Parser::memberDeclaration(bool isPublic)
{
    advance();
    bool isDefault = false;
    if (isContextual("default")) {
        if (!m_inClass)
            fail(kMustBeInsideClass);
        if (!isPublic)
            fail(kDefaultNeedsPublic);
        isDefault = true;
        advance();
        if (!is(Tok::KwSub) && !is(Tok::KwFunction) && !isContextual("property"))
            fail(kDefaultOnlyOnProcedure);
    }
    Scope& scope = m_inClass ? m_class : m_global;
    if (is(Tok::KwSub) || is(Tok::KwFunction)) {
        procedure(scope, isDefault);
        return;
    }
    if (isContextual("property")) {
        if (!m_inClass)
            fail(kMustBeInsideClass);
        procedure(scope, isDefault);
        return;
    }
    if (is(Tok::KwConst)) {
        constStatement(scope);
        return;
    }
    dimStatement(scope, false);
}

// Sub, Function or Property Get/Let/Set with its parameters and body, up to its End line.
void Parser::procedure(Scope& scope, bool isDefault)
{
    Proc kind = is(Tok::KwSub) ? Proc::Sub : is(Tok::KwFunction) ? Proc::Function : Proc::Property;
    uint8_t nameKind = kProcedure;
    if (kind == Proc::Property) {
        advance();
        if (isContextual("get"))
            nameKind = kPropertyGet;
        else if (is(Tok::KwLet))
            nameKind = kPropertyLet;
        else if (is(Tok::KwSet))
            nameKind = kPropertySet;
        else
            fail(kExpectedLetSetGet);
        if (isDefault && nameKind != kPropertyGet)
            fail(kDefaultOnlyOnPropertyGet);
    }
    advance();
    if (!isName())
        fail(kExpectedIdentifier);
    const Token name = m_tok;
    if (nameKind == kProcedure)
        declare(scope, name, kProcedure);
    if (isDefault) {
        if (m_classHasDefault)
            fail(kMultipleDefaults, name.offset);
        m_classHasDefault = true;
    }
    advance();

    Scope local;
    int args = 0;
    if (is(Tok::LParen)) {
        advance();
        if (!is(Tok::RParen)) {
            for (;;) {
                if (is(Tok::KwByVal) || is(Tok::KwByRef))
                    advance();
                if (!isName())
                    fail(kExpectedIdentifier);
                declare(local, m_tok, kVariable);
                ++args;
                advance();
                if (is(Tok::LParen)) {
                    advance();
                    expect(Tok::RParen, kExpectedRParen);
                }
                if (is(Tok::Comma)) {
                    advance();
                    continue;
                }
                if (!is(Tok::RParen))
                    fail(kExpectedRParen);
                break;
            }
        }
        advance();
    }
    if (nameKind != kProcedure) {
        if (nameKind != kPropertyGet && args == 0)
            fail(kPropertyLetSetNeedsArgument, name.offset);
        declare(scope, name, nameKind, args);
    }
    if (kind == Proc::Sub && m_inClass && args > 0) {
        std::string k = key(name);
        if (k == "class_initialize" || k == "class_terminate")
            fail(kInitializeTerminateArguments, name.offset);
    }
    endOfStatement();

    Scope* savedScope = m_scope;
    Proc savedProc = m_proc;
    int savedDo = m_doDepth;
    int savedFor = m_forDepth;
    m_local = std::move(local);
    m_scope = &m_local;
    m_proc = kind;
    m_doDepth = 0;
    m_forDepth = 0;
    statements();
    if (is(Tok::KwEnd)) {
        advance();
        if (kind == Proc::Sub)
            expect(Tok::KwSub, kExpectedSub);
        else if (kind == Proc::Function)
            expect(Tok::KwFunction, kExpectedFunction);
        else if (isContextual("property"))
            advance();
        else
            fail(kExpectedProperty);
    } else if (is(Tok::Eof)) {
        fail(kExpectedEnd);
    } else if (is(Tok::KwNext)) {
        fail(kUnexpectedNext);
    } else if (is(Tok::KwLoop)) {
        fail(kLoopWithoutDo);
    } else {
        fail(kExpectedStatement);
    }
    m_local.clear();
    m_scope = savedScope;
    m_proc = savedProc;
    m_doDepth = savedDo;
    m_forDepth = savedFor;
}

void Parser::classStatement()
{
    advance();
    if (!isName())
        fail(kExpectedIdentifier);
    declare(m_global, m_tok, kClassName);
    advance();
    endOfStatement();
    m_inClass = true;
    m_classHasDefault = false;
    m_class.clear();
    Scope* savedScope = m_scope;
    m_scope = &m_class;
    m_lineStart = false;
    for (;;) {
        if (!is(Tok::Newline) && !is(Tok::Colon) && !is(Tok::KwRem))
            requireLineStart();
        switch (m_tok.kind) {
        case Tok::Newline:
            m_lineStart = true;
            advance();
            continue;
        case Tok::Colon:
        case Tok::KwRem:
            advance();
            continue;
        case Tok::KwEnd:
            advance();
            expect(Tok::KwClass, kExpectedClass);
            m_inClass = false;
            m_class.clear();
            m_scope = savedScope;
            return;
        case Tok::Eof:
            fail(kExpectedEnd);
        case Tok::KwDim:
            dimStatement(m_class, true);
            break;
        case Tok::KwConst:
            constStatement(m_class);
            break;
        case Tok::KwPrivate:
        case Tok::KwPublic:
            memberDeclaration(is(Tok::KwPublic));
            break;
        case Tok::KwSub:
        case Tok::KwFunction:
            procedure(m_class, false);
            break;
        case Tok::Identifier:
            if (isContextual("property")) {
                procedure(m_class, false);
                break;
            }
            if (isContextual("default"))
                fail(kDefaultNeedsPublic);
            fail(kExpectedStatement);
        default:
            fail(kExpectedStatement);
        }
        m_lineStart = false;
        endOfStatement();
    }
}

// Reports the token that ended a block which needed another closer.
void Parser::blockEnd(Tok closer, int32_t number)
{
    if (!is(closer))
        fail(number);
    advance();
}

void Parser::ifStatement()
{
    advance();
    expression();
    expect(Tok::KwThen, kExpectedThen);
    if (!(is(Tok::Newline) || is(Tok::Eof) || is(Tok::KwRem))) {
        // Single-line form (a colon right after Then counts as its first, empty statement):
        // statements up to the line end, optionally an Else part. An Else that follows belongs to an
        // enclosing single-line If, or to none (end of statement expected).
        ++m_singleLine;
        if (!singleLinePart() && is(Tok::KwElse)) {
            advance();
            singleLinePart();
        }
        --m_singleLine;
        return;
    }

    ++m_blockDepth;
    statements();
    bool sawElse = false;
    for (;;) {
        if (is(Tok::KwElseIf) && !sawElse) {
            advance();
            expression();
            expect(Tok::KwThen, kExpectedThen);
            statements();
            continue;
        }
        if (is(Tok::KwElse) && !sawElse) {
            sawElse = true;
            advance();
            statements();
            continue;
        }
        if (is(Tok::KwEnd)) {
            advance();
            expect(Tok::KwIf, kExpectedIf);
            break;
        }
        fail(kExpectedEnd);
    }
    --m_blockDepth;
}

void Parser::selectStatement()
{
    advance();
    expect(Tok::KwCase, kExpectedCase);
    expression();
    endOfStatement();
    ++m_blockDepth;
    while (is(Tok::Newline) || is(Tok::Colon) || is(Tok::KwRem))
        advance();
    bool sawCase = false;
    bool sawElse = false;
    for (;;) {
        if (is(Tok::KwCase) && !sawElse) {
            sawCase = true;
            advance();
            if (is(Tok::KwElse)) {
                sawElse = true;
                advance();
            } else {
                for (;;) {
                    expression();
                    if (!is(Tok::Comma))
                        break;
                    advance();
                }
            }
            // The first statement of a Case may follow its values on the same line without a colon:
            // "Case keyLeft .Switch(1) = True" is common in long-lived scripts and the engine takes it.
            if (!atEndOfStatement() && !startsStatement())
                fail(kExpectedEndOfStatement);
            statements();
            continue;
        }
        if (is(Tok::KwEnd)) {
            advance();
            expect(Tok::KwSelect, kExpectedSelect);
            break;
        }
        if (!sawCase && !is(Tok::Eof))
            fail(kExpectedCase);
        fail(kExpectedEnd);
    }
    --m_blockDepth;
}

void Parser::forStatement()
{
    advance();
    if (is(Tok::KwEach)) {
        advance();
        if (!isName())
            fail(kExpectedIdentifier);
        advance();
        if (is(Tok::LParen) || (is(Tok::Dot) && !m_tok.spaceBefore))
            fail(kInvalidForControl);
        expect(Tok::KwIn, kExpectedIn);
        expression();
    } else {
        if (!isName())
            fail(kExpectedIdentifier);
        advance();
        if (is(Tok::LParen) || (is(Tok::Dot) && !m_tok.spaceBefore))
            fail(kInvalidForControl);
        expect(Tok::Eq, kExpectedEquals);
        expression();
        expect(Tok::KwTo, kExpectedTo);
        expression();
        if (isContextual("step")) {
            advance();
            expression();
        }
    }
    endOfStatement();
    ++m_forDepth;
    ++m_blockDepth;
    statements();
    blockEnd(Tok::KwNext, kExpectedNext);
    --m_blockDepth;
    --m_forDepth;
}

void Parser::doStatement()
{
    advance();
    bool condition = false;
    if (is(Tok::KwWhile) || is(Tok::KwUntil)) {
        advance();
        expression();
        condition = true;
    }
    if (!(is(Tok::Newline) || is(Tok::Colon) || is(Tok::Eof)))
        fail(kExpectedWhileUntilOrEnd);
    ++m_doDepth;
    ++m_blockDepth;
    statements();
    blockEnd(Tok::KwLoop, kExpectedLoop);
    if (is(Tok::KwWhile) || is(Tok::KwUntil)) {
        if (condition)
            fail(kExpectedEndOfStatement);
        advance();
        expression();
    }
    if (!atEndOfStatement())
        fail(kExpectedWhileUntilOrEnd);
    --m_blockDepth;
    --m_doDepth;
}

void Parser::whileStatement()
{
    advance();
    expression();
    endOfStatement();
    ++m_blockDepth;
    statements();
    blockEnd(Tok::KwWend, kExpectedWend);
    --m_blockDepth;
}

void Parser::withStatement()
{
    advance();
    expression();
    endOfStatement();
    ++m_blockDepth;
    statements();
    if (!is(Tok::KwEnd))
        fail(kExpectedEnd);
    advance();
    expect(Tok::KwWith, kExpectedWith);
    --m_blockDepth;
}

void Parser::exitStatement()
{
    const std::size_t at = m_tok.offset;
    advance();
    bool valid = false;
    if (is(Tok::KwDo))
        valid = m_doDepth > 0;
    else if (is(Tok::KwFor))
        valid = m_forDepth > 0;
    else if (is(Tok::KwSub))
        valid = m_proc == Proc::Sub;
    else if (is(Tok::KwFunction))
        valid = m_proc == Proc::Function;
    else if (isContextual("property"))
        valid = m_proc == Proc::Property;
    if (!valid)
        fail(kInvalidExit, at);
    advance();
}

void Parser::onErrorStatement()
{
    advance();
    if (!isContextual("error"))
        fail(kSyntaxError);
    advance();
    if (is(Tok::KwResume)) {
        advance();
        expect(Tok::KwNext, kSyntaxError);
        return;
    }
    if (is(Tok::KwGoTo)) {
        advance();
        if (!is(Tok::Number) || m_lex.text(m_tok) != "0")
            fail(kSyntaxError);
        advance();
        return;
    }
    fail(kSyntaxError);
}

void Parser::callStatement()
{
    advance();
    if (!(isName() || is(Tok::Dot) || is(Tok::KwMe)))
        fail(kExpectedIdentifier);
    chain(nullptr, nullptr, nullptr);
}

void Parser::assignStatement()
{
    advance();
    if (!(isName() || is(Tok::Dot) || is(Tok::KwMe)))
        fail(kExpectedIdentifier);
    const Token head = m_tok;
    bool bare = chain(nullptr, nullptr, nullptr);
    if (head.kind == Tok::KwMe && bare)
        fail(kInvalidUseOfMe, head.offset);
    expect(Tok::Eq, kExpectedEquals);
    expression();
}

// A statement that starts with a name: an assignment, or a call of a Sub with its arguments
// either bare or (one argument only) in parentheses.
void Parser::assignmentOrCall()
{
    const Token head = m_tok;
    bool endsWithCall = false;
    int argCount = 0;
    Mark lastParen;
    bool bare = chain(&endsWithCall, &argCount, &lastParen);
    if (is(Tok::Eq)) {
        if (head.kind == Tok::KwMe && bare)
            fail(kInvalidUseOfMe, head.offset);
        advance();
        expression();
        return;
    }
    if (atEndOfStatement()) {
        if (endsWithCall && argCount > 1)
            fail(kParenthesesCallingSub);
        // The engine reads whatever follows a Sub name as its arguments, and an Else is no argument:
        // "If a Then Foo Else Bar" fails where "If a Then Foo x Else Bar" compiles.
        if (is(Tok::KwElse) && !endsWithCall)
            fail(kExpectedEndOfStatement);
        return;
    }
    if (endsWithCall) {
        // The parenthesis opened the first argument, as in "Foo (a) + 1, b": read it again as one.
        reset(lastParen);
    } else if (!canStartExpression() && !is(Tok::Comma)) {
        fail(kExpectedEndOfStatement);
    }
    callArguments();
}

// Reads a name, a member of the With object or Me, followed by any member accesses and argument
// lists. Returns true when the head stood alone.
bool Parser::chain(bool* endsWithCall, int* argCount, Mark* lastParen)
{
    bool bare = true;
    if (is(Tok::Dot)) {
        advance();
        memberName();
        bare = false;
    } else {
        advance();
    }
    for (;;) {
        if (is(Tok::Dot) && !m_tok.spaceBefore) {
            advance();
            memberName();
            bare = false;
            if (endsWithCall)
                *endsWithCall = false;
            continue;
        }
        if (is(Tok::LParen)) {
            if (lastParen)
                *lastParen = mark();
            int n = argumentList();
            bare = false;
            if (endsWithCall) {
                *endsWithCall = true;
                *argCount = n;
            }
            continue;
        }
        return bare;
    }
}

void Parser::memberName()
{
    if (!isWord(m_tok.kind))
        fail(kExpectedIdentifier);
    advance();
}

// Reads "( [arg] {, [arg]} )"; arguments may be left out. Returns how many there are.
int Parser::argumentList()
{
    Nesting nesting(*this);
    advance();
    if (is(Tok::RParen)) {
        advance();
        return 0;
    }
    int count = 1;
    for (;;) {
        if (!is(Tok::Comma) && !is(Tok::RParen)) {
            if (is(Tok::Newline) || is(Tok::Eof) || is(Tok::Colon))
                fail(kExpectedRParen);
            expression();
        }
        if (is(Tok::Comma)) {
            advance();
            ++count;
            continue;
        }
        expect(Tok::RParen, kExpectedRParen);
        return count;
    }
}

// Arguments of a Sub called without parentheses: expressions separated by commas, any left out.
void Parser::callArguments()
{
    for (;;) {
        if (is(Tok::Comma)) {
            advance();
            continue;
        }
        if (atEndOfStatement())
            return;
        expression();
        if (!is(Tok::Comma))
            return;
        advance();
    }
}

bool Parser::canStartExpression() const
{
    switch (m_tok.kind) {
    case Tok::Identifier:
    case Tok::BracketedIdentifier:
    case Tok::Number:
    case Tok::String:
    case Tok::Date:
    case Tok::Dot:
    case Tok::LParen:
    case Tok::Minus:
    case Tok::Plus:
    case Tok::KwNot:
    case Tok::KwNew:
    case Tok::KwMe:
    case Tok::KwTrue:
    case Tok::KwFalse:
    case Tok::KwNull:
    case Tok::KwEmpty:
    case Tok::KwNothing:
        return true;
    default:
        return false;
    }
}

// Tokens that open a statement other than a bare expression.
bool Parser::startsStatement() const
{
    switch (m_tok.kind) {
    case Tok::Identifier:
    case Tok::BracketedIdentifier:
    case Tok::Dot:
    case Tok::KwMe:
    case Tok::KwCall:
    case Tok::KwSet:
    case Tok::KwLet:
    case Tok::KwIf:
    case Tok::KwExit:
    case Tok::KwOn:
    case Tok::KwDim:
    case Tok::KwReDim:
    case Tok::KwConst:
    case Tok::KwErase:
    case Tok::KwFor:
    case Tok::KwDo:
    case Tok::KwWhile:
    case Tok::KwWith:
    case Tok::KwSelect:
    case Tok::KwStop:
        return true;
    default:
        return false;
    }
}

int precedence(Tok kind)
{
    switch (kind) {
    case Tok::KwImp:
        return 1;
    case Tok::KwEqv:
        return 2;
    case Tok::KwXor:
        return 3;
    case Tok::KwOr:
        return 4;
    case Tok::KwAnd:
        return 5;
    case Tok::Eq:
    case Tok::Ne:
    case Tok::Lt:
    case Tok::Gt:
    case Tok::Le:
    case Tok::Ge:
    case Tok::KwIs:
        return 7;
    case Tok::Amp:
        return 8;
    case Tok::Plus:
    case Tok::Minus:
        return 9;
    case Tok::KwMod:
        return 10;
    case Tok::Backslash:
        return 11;
    case Tok::Star:
    case Tok::Slash:
        return 12;
    case Tok::Caret:
        return 14;
    default:
        return 0;
    }
}

// Precedence climbing; Not sits between And (5) and the comparisons (7), unary minus between
// the multiplicative operators (12) and ^ (14).
void Parser::binary(int minPrecedence)
{
    Nesting nesting(*this);
    if (is(Tok::KwNot)) {
        advance();
        binary(7);
    } else if (is(Tok::Minus) || is(Tok::Plus)) {
        advance();
        binary(13);
    } else {
        primary();
    }
    for (;;) {
        int p = precedence(m_tok.kind);
        if (p == 0 || p < minPrecedence)
            return;
        advance();
        binary(p + 1);
    }
}

// Member accesses and argument lists applied to a value that is not a name.
void Parser::postfix()
{
    for (;;) {
        if (is(Tok::Dot) && !m_tok.spaceBefore) {
            advance();
            memberName();
        } else if (is(Tok::LParen)) {
            argumentList();
        } else {
            return;
        }
    }
}

void Parser::primary()
{
    switch (m_tok.kind) {
    case Tok::Number:
    case Tok::String:
    case Tok::Date:
    case Tok::KwTrue:
    case Tok::KwFalse:
    case Tok::KwNull:
    case Tok::KwEmpty:
    case Tok::KwNothing:
        advance();
        return;
    case Tok::LParen:
        advance();
        expression();
        expect(Tok::RParen, kExpectedRParen);
        // A parenthesised value may be called or have its members read, as in "(New C)(x)" or
        // "(fso.GetFolder(p)).SubFolders".
        postfix();
        return;
    case Tok::KwNew:
        advance();
        if (!isName())
            fail(kExpectedIdentifier);
        advance();
        // The new object's members may be used at once: "New C.Init(a, b)".
        if (is(Tok::Dot) && !m_tok.spaceBefore)
            postfix();
        return;
    case Tok::Identifier:
    case Tok::BracketedIdentifier:
    case Tok::KwMe:
    case Tok::Dot:
        chain(nullptr, nullptr, nullptr);
        return;
    default:
        fail(kExpectedExpression);
    }
}

} // namespace

Diagnostic check(std::string_view source)
{
    Parser parser(source);
    return parser.run();
}

} // namespace zel::script::vbscript
