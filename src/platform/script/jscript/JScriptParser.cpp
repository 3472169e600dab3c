#include "platform/script/jscript/JScriptParser.h"

#include "platform/script/jscript/JScriptLexer.h"

#include <utility>
#include <vector>

namespace zel::script::jscript {

namespace {

// Nesting of statements and expressions beyond which the check gives up with "Out of stack
// space" instead of risking the thread's stack; real scripts stay far below it.
constexpr int kMaxDepth = 1000;

// Thrown after the first error has been recorded; caught once in check().
struct Stop
{
};

class Parser
{
public:
    explicit Parser(std::string_view source) : m_lex(source) {}

    Diagnostic run()
    {
        try {
            advance();
            while (m_cur.kind != Tok::Eof)
                statement();
        } catch (const Stop&) {
        }
        return m_error;
    }

private:
    enum : unsigned
    {
        kLhs = 1, // the expression is a left-hand-side expression (target of for-in)
    };

    struct Label
    {
        std::string_view name;
        std::size_t offset;     // where the label stands
        std::size_t stmtOffset; // where the statement it labels starts
        bool loop;
    };

    // The context a function body starts afresh.
    struct Scope
    {
        std::vector<Label> labels;
        int loops = 0;
        int breakables = 0;
        bool inFunction = false;
    };

    class DepthGuard
    {
    public:
        explicit DepthGuard(Parser& p) : m_p(p)
        {
            if (++m_p.m_depth > kMaxDepth)
                m_p.fail(kOutOfStack, m_p.m_cur.offset);
        }
        ~DepthGuard() { --m_p.m_depth; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        Parser& m_p;
    };

    [[noreturn]] void fail(int32_t number, std::size_t offset)
    {
        m_error = {number, offset};
        throw Stop{};
    }

    [[noreturn]] void failLexer()
    {
        m_error = m_lex.error();
        throw Stop{};
    }

    void advance()
    {
        if (m_hasPeek) {
            m_cur = m_peek;
            m_hasPeek = false;
        } else {
            m_cur = m_lex.next();
        }
        if (m_cur.kind == Tok::Error)
            failLexer();
    }

    const Token& peek()
    {
        if (!m_hasPeek) {
            m_peek = m_lex.next();
            m_hasPeek = true;
            if (m_peek.kind == Tok::Error)
                failLexer();
        }
        return m_peek;
    }

    void expect(Tok kind, int32_t number)
    {
        if (m_cur.kind != kind)
            fail(number, m_cur.offset);
        advance();
    }

    // Automatic semicolon insertion: a missing ';' is supplied before '}', at the end of the
    // text and before a token on a new line.
    void semicolon()
    {
        if (m_cur.kind == Tok::Semicolon) {
            advance();
            return;
        }
        if (m_cur.kind == Tok::RBrace || m_cur.kind == Tok::Eof || m_cur.newlineBefore)
            return;
        fail(kExpectedSemicolon, m_cur.offset);
    }

    // ---- Statements ----

    void statement()
    {
        DepthGuard guard(*this);
        switch (m_cur.kind) {
        case Tok::LBrace:
            block();
            return;
        case Tok::Semicolon:
            advance();
            return;
        case Tok::Var:
            advance();
            variables(false);
            semicolon();
            return;
        case Tok::If:
            // A long "else if" chain is read in a loop, so it does not count as nesting.
            for (;;) {
                advance();
                parenthesised();
                statement();
                if (m_cur.kind != Tok::Else)
                    return;
                advance();
                if (m_cur.kind != Tok::If) {
                    statement();
                    return;
                }
            }
        case Tok::Do:
            doWhile();
            return;
        case Tok::While:
            markLoopLabels();
            advance();
            parenthesised();
            loopBody();
            return;
        case Tok::For:
            forStatement();
            return;
        case Tok::Continue:
            continueStatement();
            return;
        case Tok::Break:
            breakStatement();
            return;
        case Tok::Return:
            if (!m_scope.inFunction)
                fail(kReturnOutsideFunction, m_cur.offset);
            advance();
            if (m_cur.kind != Tok::Semicolon && m_cur.kind != Tok::RBrace && m_cur.kind != Tok::Eof &&
                !m_cur.newlineBefore)
                expression(false);
            semicolon();
            return;
        case Tok::With:
            advance();
            parenthesised();
            statement();
            return;
        case Tok::Switch:
            switchStatement();
            return;
        case Tok::Throw: {
            // The missing expression is reported on the throw's own line, just after the keyword.
            const std::size_t afterKeyword = m_cur.offset + m_cur.length;
            advance();
            if (m_cur.newlineBefore || m_cur.kind == Tok::Eof)
                fail(kThrowNeedsExpression, afterKeyword);
            expression(false);
            semicolon();
            return;
        }
        case Tok::Try:
            tryStatement();
            return;
        case Tok::Function:
            functionDeclaration();
            return;
        case Tok::Debugger:
            advance();
            semicolon();
            return;
        case Tok::Identifier:
            if (peek().kind == Tok::Colon) {
                labelled();
                return;
            }
            break;
        default:
            break;
        }
        expression(false);
        semicolon();
    }

    void block()
    {
        expect(Tok::LBrace, kExpectedLBrace);
        while (m_cur.kind != Tok::RBrace) {
            if (m_cur.kind == Tok::Eof)
                fail(kExpectedRBrace, m_cur.offset);
            statement();
        }
        advance();
    }

    void parenthesised()
    {
        expect(Tok::LParen, kExpectedLParen);
        expression(false);
        expect(Tok::RParen, kExpectedRParen);
    }

    void variables(bool noIn, int* count = nullptr)
    {
        int n = 0;
        for (;;) {
            if (m_cur.kind != Tok::Identifier)
                fail(kExpectedIdentifier, m_cur.offset);
            advance();
            ++n;
            if (m_cur.kind == Tok::Assign) {
                advance();
                assignment(noIn);
            }
            if (m_cur.kind != Tok::Comma)
                break;
            advance();
        }
        if (count)
            *count = n;
    }

    void loopBody()
    {
        ++m_scope.loops;
        ++m_scope.breakables;
        statement();
        --m_scope.loops;
        --m_scope.breakables;
    }

    // Labels written directly before the loop that starts at the current token may be the
    // target of "continue label".
    void markLoopLabels()
    {
        std::size_t expected = m_cur.offset;
        for (auto it = m_scope.labels.rbegin(); it != m_scope.labels.rend() && it->stmtOffset == expected; ++it) {
            it->loop = true;
            expected = it->offset;
        }
    }

    void doWhile()
    {
        markLoopLabels();
        advance();
        loopBody();
        expect(Tok::While, kExpectedWhile);
        parenthesised();
        // The engine accepts a do-while without its ';' even on the same line.
        if (m_cur.kind == Tok::Semicolon)
            advance();
    }

    void forStatement()
    {
        markLoopLabels();
        advance();
        expect(Tok::LParen, kExpectedLParen);
        bool forIn = false;
        if (m_cur.kind == Tok::Var) {
            advance();
            int count = 0;
            variables(true, &count);
            forIn = count == 1 && m_cur.kind == Tok::In;
        } else if (m_cur.kind != Tok::Semicolon) {
            const unsigned flags = expression(true);
            forIn = (flags & kLhs) && m_cur.kind == Tok::In;
        }
        if (forIn) {
            advance();
            expression(false);
        } else {
            expect(Tok::Semicolon, kExpectedSemicolon);
            if (m_cur.kind != Tok::Semicolon)
                expression(false);
            expect(Tok::Semicolon, kExpectedSemicolon);
            if (m_cur.kind != Tok::RParen)
                expression(false);
        }
        expect(Tok::RParen, kExpectedRParen);
        loopBody();
    }

    const Label* findLabel(std::string_view name) const
    {
        for (const Label& label : m_scope.labels)
            if (label.name == name)
                return &label;
        return nullptr;
    }

    void continueStatement()
    {
        if (m_scope.loops == 0)
            fail(kContinueOutsideLoop, m_cur.offset);
        advance();
        if (m_cur.kind == Tok::Identifier && !m_cur.newlineBefore) {
            const Label* label = findLabel(m_lex.text(m_cur));
            if (!label || !label->loop)
                fail(kLabelNotFound, m_cur.offset);
            advance();
        }
        semicolon();
    }

    void breakStatement()
    {
        const std::size_t at = m_cur.offset;
        advance();
        if (m_cur.kind == Tok::Identifier && !m_cur.newlineBefore) {
            if (!findLabel(m_lex.text(m_cur)))
                fail(kLabelNotFound, m_cur.offset);
            advance();
        } else if (m_scope.breakables == 0) {
            fail(kBreakOutsideLoop, at);
        }
        semicolon();
    }

    void labelled()
    {
        const std::string_view name = m_lex.text(m_cur);
        const std::size_t at = m_cur.offset;
        if (findLabel(name))
            fail(kLabelRedefined, at);
        advance(); // the name
        advance(); // ':'
        m_scope.labels.push_back({name, at, m_cur.offset, false});
        statement();
        m_scope.labels.pop_back();
    }

    void switchStatement()
    {
        advance();
        parenthesised();
        expect(Tok::LBrace, kExpectedLBrace);
        ++m_scope.breakables;
        bool seenDefault = false;
        for (;;) {
            if (m_cur.kind == Tok::RBrace) {
                advance();
                break;
            }
            if (m_cur.kind == Tok::Case) {
                advance();
                expression(false);
            } else if (m_cur.kind == Tok::Default) {
                if (seenDefault)
                    fail(kDuplicateDefault, m_cur.offset);
                seenDefault = true;
                advance();
            } else {
                fail(kExpectedRBrace, m_cur.offset);
            }
            expect(Tok::Colon, kExpectedColon);
            while (m_cur.kind != Tok::Case && m_cur.kind != Tok::Default && m_cur.kind != Tok::RBrace &&
                   m_cur.kind != Tok::Eof)
                statement();
        }
        --m_scope.breakables;
    }

    void tryStatement()
    {
        advance();
        block();
        bool handled = false;
        if (m_cur.kind == Tok::Catch) {
            advance();
            expect(Tok::LParen, kExpectedLParen);
            if (m_cur.kind != Tok::Identifier)
                fail(kExpectedIdentifier, m_cur.offset);
            advance();
            expect(Tok::RParen, kExpectedRParen);
            block();
            handled = true;
        }
        if (m_cur.kind == Tok::Finally) {
            advance();
            block();
            handled = true;
        }
        if (!handled)
            fail(kExpectedCatch, m_cur.offset);
    }

    // "function name(...) {...}" and the event-handler form "function object::event(...) {...}",
    // where the object may be a dotted path.
    void functionDeclaration()
    {
        advance();
        if (m_cur.kind != Tok::Identifier)
            fail(kExpectedIdentifier, m_cur.offset);
        advance();
        if (m_cur.kind == Tok::Dot || m_cur.kind == Tok::Colon) {
            while (m_cur.kind == Tok::Dot) {
                advance();
                if (m_cur.kind != Tok::Identifier)
                    fail(kExpectedIdentifier, m_cur.offset);
                advance();
            }
            const Token first = m_cur;
            if (first.kind != Tok::Colon || peek().kind != Tok::Colon || peek().offset != first.offset + 1)
                fail(kExpectedLParen, first.offset);
            advance();
            advance();
            if (m_cur.kind != Tok::Identifier)
                fail(kExpectedIdentifier, m_cur.offset);
            advance();
        }
        functionRest();
    }

    void functionRest()
    {
        expect(Tok::LParen, kExpectedLParen);
        if (m_cur.kind != Tok::RParen) {
            for (;;) {
                if (m_cur.kind != Tok::Identifier)
                    fail(kExpectedIdentifier, m_cur.offset);
                advance();
                if (m_cur.kind != Tok::Comma)
                    break;
                advance();
            }
        }
        expect(Tok::RParen, kExpectedRParen);
        if (m_cur.kind != Tok::LBrace)
            fail(kExpectedLBrace, m_cur.offset);
        Scope outer = std::exchange(m_scope, Scope{});
        m_scope.inFunction = true;
        block();
        m_scope = std::move(outer);
    }

    // ---- Expressions ----

    unsigned expression(bool noIn)
    {
        unsigned flags = assignment(noIn);
        while (m_cur.kind == Tok::Comma) {
            advance();
            assignment(noIn);
            flags = 0;
        }
        return flags;
    }

    static bool isAssignment(Tok t)
    {
        switch (t) {
        case Tok::Assign:
        case Tok::PlusAssign:
        case Tok::MinusAssign:
        case Tok::StarAssign:
        case Tok::SlashAssign:
        case Tok::PercentAssign:
        case Tok::ShlAssign:
        case Tok::ShrAssign:
        case Tok::UShrAssign:
        case Tok::AmpAssign:
        case Tok::PipeAssign:
        case Tok::CaretAssign:
            return true;
        default:
            return false;
        }
    }

    static bool isBinary(Tok t, bool noIn)
    {
        switch (t) {
        case Tok::PipePipe:
        case Tok::AmpAmp:
        case Tok::Pipe:
        case Tok::Caret:
        case Tok::Amp:
        case Tok::Eq:
        case Tok::NotEq:
        case Tok::StrictEq:
        case Tok::StrictNotEq:
        case Tok::Less:
        case Tok::Greater:
        case Tok::LessEq:
        case Tok::GreaterEq:
        case Tok::Instanceof:
        case Tok::Shl:
        case Tok::Shr:
        case Tok::UShr:
        case Tok::Plus:
        case Tok::Minus:
        case Tok::Star:
        case Tok::Slash:
        case Tok::Percent:
            return true;
        case Tok::In:
            return !noIn;
        default:
            return false;
        }
    }

    unsigned assignment(bool noIn)
    {
        DepthGuard guard(*this);
        // Binary operators all bind left to right and the check builds no tree, so their
        // precedence does not change what is accepted: operands and operators simply alternate.
        unsigned flags = unary();
        while (isBinary(m_cur.kind, noIn)) {
            advance();
            unary();
            flags = 0;
        }
        if (m_cur.kind == Tok::Question) {
            advance();
            assignment(false);
            expect(Tok::Colon, kExpectedColon);
            assignment(noIn);
            return 0;
        }
        if (isAssignment(m_cur.kind)) {
            advance();
            assignment(noIn);
            return 0;
        }
        return flags;
    }

    unsigned unary()
    {
        switch (m_cur.kind) {
        case Tok::Delete:
        case Tok::Void:
        case Tok::Typeof:
        case Tok::PlusPlus:
        case Tok::MinusMinus:
        case Tok::Plus:
        case Tok::Minus:
        case Tok::Tilde:
        case Tok::Bang: {
            DepthGuard guard(*this);
            advance();
            unary();
            return 0;
        }
        default:
            break;
        }
        const unsigned flags = leftHandSide();
        if ((m_cur.kind == Tok::PlusPlus || m_cur.kind == Tok::MinusMinus) && !m_cur.newlineBefore) {
            advance();
            return 0;
        }
        return flags;
    }

    unsigned leftHandSide()
    {
        memberOrNew();
        for (;;) {
            if (m_cur.kind == Tok::LParen)
                arguments();
            else if (!memberSuffix())
                break;
        }
        return kLhs;
    }

    void memberOrNew()
    {
        if (m_cur.kind == Tok::New) {
            DepthGuard guard(*this);
            advance();
            memberOrNew();
            if (m_cur.kind == Tok::LParen)
                arguments();
        } else {
            primary();
        }
        while (memberSuffix()) {
        }
    }

    bool memberSuffix()
    {
        if (m_cur.kind == Tok::Dot) {
            advance();
            if (m_cur.kind != Tok::Identifier)
                fail(kExpectedIdentifier, m_cur.offset);
            advance();
            return true;
        }
        if (m_cur.kind == Tok::LBracket) {
            advance();
            expression(false);
            expect(Tok::RBracket, kExpectedRBracket);
            return true;
        }
        return false;
    }

    void arguments()
    {
        advance();
        if (m_cur.kind != Tok::RParen) {
            for (;;) {
                assignment(false);
                if (m_cur.kind != Tok::Comma)
                    break;
                advance();
            }
        }
        expect(Tok::RParen, kExpectedRParen);
    }

    void primary()
    {
        switch (m_cur.kind) {
        case Tok::This:
        case Tok::Identifier:
        case Tok::Number:
        case Tok::String:
        case Tok::Null:
        case Tok::True:
        case Tok::False:
        case Tok::CcVariable:
            advance();
            return;
        case Tok::Slash:
        case Tok::SlashAssign:
            // Where an operand is expected, '/' opens a regular expression.
            m_cur = m_lex.rescanAsRegex(m_cur);
            if (m_cur.kind == Tok::Error)
                failLexer();
            advance();
            return;
        case Tok::LParen:
            advance();
            expression(false);
            expect(Tok::RParen, kExpectedRParen);
            return;
        case Tok::LBracket:
            arrayLiteral();
            return;
        case Tok::LBrace:
            objectLiteral();
            return;
        case Tok::Function:
            advance();
            if (m_cur.kind == Tok::Identifier)
                advance();
            functionRest();
            return;
        default:
            fail(kSyntaxError, m_cur.offset);
        }
    }

    void arrayLiteral()
    {
        advance();
        while (m_cur.kind != Tok::RBracket) {
            if (m_cur.kind == Tok::Comma) {
                advance();
                continue;
            }
            assignment(false);
            if (m_cur.kind == Tok::Comma)
                advance();
            else if (m_cur.kind != Tok::RBracket)
                fail(kExpectedRBracket, m_cur.offset);
        }
        advance();
    }

    void objectLiteral()
    {
        advance();
        if (m_cur.kind == Tok::RBrace) {
            advance();
            return;
        }
        for (;;) {
            if (m_cur.kind != Tok::Identifier && m_cur.kind != Tok::String && m_cur.kind != Tok::Number)
                fail(kExpectedPropertyName, m_cur.offset);
            advance();
            expect(Tok::Colon, kExpectedColon);
            assignment(false);
            if (m_cur.kind == Tok::Comma) {
                advance();
                continue;
            }
            if (m_cur.kind != Tok::RBrace)
                fail(kExpectedRBrace, m_cur.offset);
            advance();
            return;
        }
    }

    JScriptLexer m_lex;
    Token m_cur;
    Token m_peek;
    bool m_hasPeek = false;
    Diagnostic m_error;
    int m_depth = 0;
    Scope m_scope;
};

} // namespace

Diagnostic check(std::string_view source)
{
    return Parser(source).run();
}

} // namespace zel::script::jscript
