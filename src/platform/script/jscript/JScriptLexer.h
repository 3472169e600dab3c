#pragma once

#include "platform/script/Diagnostic.h"
#include "platform/script/jscript/JScriptErrors.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zel::script::jscript {

enum class Tok : uint8_t
{
    Eof,
    Error,
    Identifier,
    Number,
    String,
    Regex,
    CcVariable, // "@name" read as a value while conditional compilation is on
    CcWord,     // "@name" before the directive layer has interpreted it (lexer-internal)
    // Keywords.
    Break,
    Case,
    Catch,
    Continue,
    Debugger,
    Default,
    Delete,
    Do,
    Else,
    False,
    Finally,
    For,
    Function,
    If,
    In,
    Instanceof,
    New,
    Null,
    Return,
    Switch,
    This,
    Throw,
    True,
    Try,
    Typeof,
    Var,
    Void,
    While,
    With,
    Reserved, // class, const, enum, export, extends, import, super: words the engine refuses as names
    // Punctuators.
    LBrace,
    RBrace,
    LParen,
    RParen,
    LBracket,
    RBracket,
    Dot,
    Semicolon,
    Comma,
    Question,
    Colon,
    Less,
    Greater,
    LessEq,
    GreaterEq,
    Eq,
    NotEq,
    StrictEq,
    StrictNotEq,
    Plus,
    Minus,
    Star,
    Percent,
    Slash,
    PlusPlus,
    MinusMinus,
    Shl,
    Shr,
    UShr,
    Amp,
    Pipe,
    Caret,
    Bang,
    Tilde,
    AmpAmp,
    PipePipe,
    Assign,
    PlusAssign,
    MinusAssign,
    StarAssign,
    SlashAssign,
    PercentAssign,
    ShlAssign,
    ShrAssign,
    UShrAssign,
    AmpAssign,
    PipeAssign,
    CaretAssign,
};

// One token: its kind, its byte range in the source and whether a line terminator (or a comment
// holding one) stands between it and the token before, which is what semicolon insertion needs.
struct Token
{
    Tok kind = Tok::Eof;
    bool newlineBefore = false;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// Splits JScript source text into tokens and carries out conditional compilation on the way:
// @cc_on, @if/@elif/@else/@end, @set and the predefined @_ variables, including the code hidden
// in /*@ ... @*/ and //@ comments once conditional compilation is on. The parser sees only the
// tokens of the selected branches. Errors stop the lexer: next() then returns Tok::Error and
// error() tells the number and offset.
class JScriptLexer
{
public:
    // The source must outlive the lexer; it is read as bytes (UTF-8 outside ASCII).
    explicit JScriptLexer(std::string_view source);

    // The next token the parser sees. Tok::Eof at the end, Tok::Error on the first error.
    // A '/' or '/=' is always returned as an operator; the parser calls rescanAsRegex when it
    // stands where an operand is expected.
    Token next();

    // Reads a regular-expression literal that starts at the given '/' token, which must be the
    // last token next() returned. Tok::Error with kExpectedSlash when the literal is not closed
    // on its line.
    Token rescanAsRegex(const Token& slash);

    // The first error met, or number 0.
    Diagnostic error() const { return m_error; }

    // The source text of a token.
    std::string_view text(const Token& token) const { return m_src.substr(token.offset, token.length); }

private:
    struct CcValue
    {
        double number = 0;
        bool boolean = false; // a Boolean value keeps its type for === and !==
    };
    struct CcIf
    {
        bool taken = false; // one branch of this @if has been compiled
    };
    enum class Stop
    {
        Elif,
        Else,
        End,
        Failed
    };

    // The token at m_pos; a '/' opens a regular expression when regexAllowed.
    Token scan(bool regexAllowed);
    // Moves i over white space, line ends and comments (following the conditional-compilation
    // comment openers and closers) to the first byte of a token. False with `stop` set to the
    // end-of-source or error token when there is none.
    bool skipTrivia(std::size_t& i, bool& newline, Token& stop);
    // Moves i past the "/* ... */" comment that starts there; false when it is not closed.
    bool skipBlockComment(std::size_t& i, bool& newline);
    Token scanWord(std::size_t start, bool newlineBefore);
    Token scanNumber(std::size_t start, bool newlineBefore);
    Token scanString(std::size_t start, bool newlineBefore);
    Token scanCcWord(std::size_t start, bool newlineBefore);
    Token scanPunctuator(std::size_t start, bool newlineBefore);
    // The token [start, end) of the given kind; the scan goes on at its end.
    Token finish(Tok kind, std::size_t start, std::size_t end, bool newlineBefore);
    unsigned char peek(std::size_t k) const { return k < m_src.size() ? static_cast<unsigned char>(m_src[k]) : 0; }
    Token scanRegex(std::size_t start, bool newlineBefore);
    Token fail(int32_t number, std::size_t offset);
    bool startsCcComment(std::size_t at) const;
    bool directive(const Token& word, Token& out, bool& newline);
    bool skipBranch(bool& newline);
    Stop skipToDirective(bool& newline);
    bool ccCondition(bool& result);
    bool ccSet();
    bool ccExpression(CcValue& value, int depth);
    bool ccUnary(CcValue& value, int depth);
    bool ccAdvance();
    CcValue ccLookup(std::string_view name) const;
    std::string_view ccName(const Token& word) const { return m_src.substr(word.offset + 1, word.length - 1); }

    std::string_view m_src;
    std::size_t m_pos = 0;
    Diagnostic m_error;
    bool m_ccOn = false;
    bool m_inBlockCc = false; // inside the code of a /*@ ... @*/ comment
    bool m_inLineCc = false;  // inside the code of a //@ comment, up to the line end
    std::size_t m_blockCcStart = 0;
    Tok m_lastRaw = Tok::Eof; // for telling a regular expression from a division in skipped code
    Token m_cc;               // current token while a conditional-compilation expression is read
    std::vector<CcIf> m_ifs;
    std::unordered_map<std::string, CcValue> m_vars;
};

} // namespace zel::script::jscript
