#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zel::script::vbscript {

// Kinds of VBScript tokens. Reserved words have kinds of their own (from KwAnd on); words that are
// keywords only in one place (Step, Explicit, Error, Property, Default, Get) are identifiers.
enum class Tok : uint8_t
{
    Eof,
    Newline,
    Colon,
    Comma,
    Dot,
    LParen,
    RParen,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Amp,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Identifier,
    BracketedIdentifier,
    Number,
    String,
    Date,
    Error,
    KwAnd,
    KwByRef,
    KwByVal,
    KwCall,
    KwCase,
    KwClass,
    KwConst,
    KwDim,
    KwDo,
    KwEach,
    KwElse,
    KwElseIf,
    KwEmpty,
    KwEnd,
    KwEqv,
    KwErase,
    KwExit,
    KwFalse,
    KwFor,
    KwFunction,
    KwGoTo,
    KwIf,
    KwImp,
    KwIn,
    KwIs,
    KwLet,
    KwLoop,
    KwMe,
    KwMod,
    KwNew,
    KwNext,
    KwNot,
    KwNothing,
    KwNull,
    KwOn,
    KwOption,
    KwOr,
    KwPreserve,
    KwPrivate,
    KwPublic,
    KwReDim,
    KwRem,
    KwResume,
    KwSelect,
    KwSet,
    KwStop,
    KwSub,
    KwThen,
    KwTo,
    KwTrue,
    KwUntil,
    KwWend,
    KwWhile,
    KwWith,
    KwXor,
};

// True for identifiers, bracketed identifiers and reserved words: what may follow a member dot.
inline bool isWord(Tok kind)
{
    return kind == Tok::Identifier || kind == Tok::BracketedIdentifier || kind >= Tok::KwAnd;
}

// One token: its kind, where it starts and how many bytes it spans, and whether blanks (or a line
// continuation) precede it. An Error token carries the compile-error number of what could not be read.
struct Token
{
    Tok kind = Tok::Eof;
    bool spaceBefore = false;
    int32_t error = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// Reads VBScript tokens one at a time from the whole text. A comment (' or Rem) is skipped up to its
// line end; a Rem gives a KwRem token first. The end of text gives Eof tokens for ever. Bytes that
// cannot start a token (invalid UTF-8, NUL, stray punctuation) give an Error token (Invalid character).
class Lexer
{
public:
    explicit Lexer(std::string_view source);

    // The next token; never fails, errors come back as Error tokens.
    Token next();

    // Where the lexer stands, so that the parser can read a stretch of tokens again.
    struct State
    {
        std::size_t pos = 0;
        bool afterDot = false;
        bool memberDotAllowed = false;
    };
    State state() const { return {m_pos, m_afterDot, m_memberDotAllowed}; }
    void restore(const State& state);

    // The bytes of a token (for a bracketed identifier: without the brackets).
    std::string_view text(const Token& token) const;

private:
    Token make(Tok kind, std::size_t start, bool space);
    Token error(int32_t number, std::size_t offset, bool space);
    // Moves over blanks, comments and line continuations to the first byte of a token, noting
    // in `space` whether anything was passed. False with `stop` set to the end-of-text or error
    // token when there is none.
    bool skipTrivia(bool& space, Token& stop);
    // The readers below start with m_pos just past the token's first character.
    Token radixNumberOrAmp(std::size_t start, bool space);
    Token stringLiteral(std::size_t start, bool space);
    Token dateLiteral(std::size_t start, bool space);
    Token bracketedIdentifier(std::size_t start, bool space);
    Token number(std::size_t start, bool space);
    Token word(std::size_t start, bool space);

    std::string_view m_src;
    std::size_t m_pos = 0;
    bool m_afterDot = false;
    bool m_memberDotAllowed = false;
};

} // namespace zel::script::vbscript
