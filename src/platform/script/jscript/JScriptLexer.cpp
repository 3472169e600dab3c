#include "platform/script/jscript/JScriptLexer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace zel::script::jscript {

namespace {

enum : uint8_t
{
    kIdStart = 1,
    kIdPart = 2,
    kDigit = 4,
    kHex = 8,
};

constexpr std::array<uint8_t, 256> makeClasses()
{
    std::array<uint8_t, 256> table{};
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = kIdStart | kIdPart;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = kIdStart | kIdPart;
    table['_'] = kIdStart | kIdPart;
    table['$'] = kIdStart | kIdPart;
    for (int c = '0'; c <= '9'; ++c)
        table[c] = kIdPart | kDigit | kHex;
    for (int c = 'a'; c <= 'f'; ++c)
        table[c] |= kHex;
    for (int c = 'A'; c <= 'F'; ++c)
        table[c] |= kHex;
    return table;
}

constexpr std::array<uint8_t, 256> kClass = makeClasses();

inline bool is(unsigned char c, uint8_t cls)
{
    return (kClass[c] & cls) != 0;
}

// The deepest parenthesised conditional-compilation expression we follow; a real script nests
// a handful at most.
constexpr int kMaxCcDepth = 200;

Tok keyword(std::string_view w)
{
    auto eq = [&](const char* k) { return w == k; };
    switch (w[0]) {
    case 'b':
        return eq("break") ? Tok::Break : Tok::Identifier;
    case 'c':
        if (eq("case"))
            return Tok::Case;
        if (eq("catch"))
            return Tok::Catch;
        if (eq("continue"))
            return Tok::Continue;
        if (eq("class") || eq("const"))
            return Tok::Reserved;
        return Tok::Identifier;
    case 'd':
        if (eq("do"))
            return Tok::Do;
        if (eq("default"))
            return Tok::Default;
        if (eq("delete"))
            return Tok::Delete;
        if (eq("debugger"))
            return Tok::Debugger;
        return Tok::Identifier;
    case 'e':
        if (eq("else"))
            return Tok::Else;
        if (eq("enum") || eq("export") || eq("extends"))
            return Tok::Reserved;
        return Tok::Identifier;
    case 'f':
        if (eq("for"))
            return Tok::For;
        if (eq("function"))
            return Tok::Function;
        if (eq("false"))
            return Tok::False;
        if (eq("finally"))
            return Tok::Finally;
        return Tok::Identifier;
    case 'i':
        if (eq("if"))
            return Tok::If;
        if (eq("in"))
            return Tok::In;
        if (eq("instanceof"))
            return Tok::Instanceof;
        if (eq("import"))
            return Tok::Reserved;
        return Tok::Identifier;
    case 'n':
        if (eq("new"))
            return Tok::New;
        if (eq("null"))
            return Tok::Null;
        return Tok::Identifier;
    case 'r':
        return eq("return") ? Tok::Return : Tok::Identifier;
    case 's':
        if (eq("switch"))
            return Tok::Switch;
        if (eq("super"))
            return Tok::Reserved;
        return Tok::Identifier;
    case 't':
        if (eq("this"))
            return Tok::This;
        if (eq("true"))
            return Tok::True;
        if (eq("try"))
            return Tok::Try;
        if (eq("throw"))
            return Tok::Throw;
        if (eq("typeof"))
            return Tok::Typeof;
        return Tok::Identifier;
    case 'v':
        if (eq("var"))
            return Tok::Var;
        if (eq("void"))
            return Tok::Void;
        return Tok::Identifier;
    case 'w':
        if (eq("while"))
            return Tok::While;
        if (eq("with"))
            return Tok::With;
        return Tok::Identifier;
    default:
        return Tok::Identifier;
    }
}

// Width of a line terminator starting at i (LF, CR, U+2028, U+2029), or 0.
inline std::size_t lineTerminator(std::string_view s, std::size_t i)
{
    const unsigned char c = s[i];
    if (c == '\n' || c == '\r')
        return 1;
    if (c == 0xE2 && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80 &&
        (static_cast<unsigned char>(s[i + 2]) == 0xA8 || static_cast<unsigned char>(s[i + 2]) == 0xA9))
        return 3;
    return 0;
}

// Width of a white-space character outside ASCII starting at i (no-break space, byte-order mark
// and the other Unicode space separators), or 0.
inline std::size_t unicodeSpace(std::string_view s, std::size_t i)
{
    auto at = [&](std::size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    const unsigned char c = s[i];
    if (c == 0xC2 && at(i + 1) == 0xA0)
        return 2;
    if (c == 0xEF && at(i + 1) == 0xBB && at(i + 2) == 0xBF)
        return 3;
    if (c == 0xE1 && at(i + 1) == 0x9A && at(i + 2) == 0x80)
        return 3;
    if (c == 0xE2 && at(i + 1) == 0x80 && (at(i + 2) <= 0x8A || at(i + 2) == 0xAF) && at(i + 2) >= 0x80)
        return 3;
    if (c == 0xE2 && at(i + 1) == 0x81 && at(i + 2) == 0x9F)
        return 3;
    if (c == 0xE3 && at(i + 1) == 0x80 && at(i + 2) == 0x80)
        return 3;
    return 0;
}

int32_t toInt32(double d)
{
    if (!std::isfinite(d))
        return 0;
    double t = std::trunc(d);
    t = std::fmod(t, 4294967296.0);
    if (t < 0)
        t += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(t));
}

bool truthy(double d)
{
    return d != 0 && !std::isnan(d);
}

// Whether a token ends an operand, so that a '/' after it divides (used only in skipped code,
// where the parser cannot tell).
bool endsOperand(Tok t)
{
    switch (t) {
    case Tok::Identifier:
    case Tok::Number:
    case Tok::String:
    case Tok::Regex:
    case Tok::CcWord:
    case Tok::This:
    case Tok::True:
    case Tok::False:
    case Tok::Null:
    case Tok::RParen:
    case Tok::RBracket:
    case Tok::RBrace:
    case Tok::PlusPlus:
    case Tok::MinusMinus:
        return true;
    default:
        return false;
    }
}

} // namespace

JScriptLexer::JScriptLexer(std::string_view source) : m_src(source)
{
    // The engine the scripts were written for: JScript 5.8 on 32-bit Windows on an Intel processor.
    m_vars["_jscript"] = {1, true};
    m_vars["_jscript_version"] = {5.8, false};
    m_vars["_jscript_build"] = {18702, false};
    m_vars["_win32"] = {1, true};
    m_vars["_x86"] = {1, true};
}

Token JScriptLexer::fail(int32_t number, std::size_t offset)
{
    if (m_error.number == 0)
        m_error = {number, offset};
    m_pos = m_src.size();
    Token t;
    t.kind = Tok::Error;
    t.offset = m_error.offset;
    return t;
}

bool JScriptLexer::startsCcComment(std::size_t at) const
{
    // "at" is the position just after "/*" or "//".
    if (at >= m_src.size() || m_src[at] != '@' || m_inBlockCc)
        return false;
    if (m_ccOn)
        return true;
    const std::string_view rest = m_src.substr(at + 1);
    return rest.substr(0, 5) == "cc_on" && (rest.size() == 5 || !is(rest[5], kIdPart));
}

Token JScriptLexer::scan(bool regexAllowed)
{
    std::size_t i = m_pos;
    bool nl = false;
    Token stop;
    if (!skipTrivia(i, nl, stop))
        return stop;
    const unsigned char c = m_src[i];
    const unsigned char c1 = peek(i + 1);
    if (is(c, kIdStart) || (c == '\\' && c1 == 'u'))
        return scanWord(i, nl);
    if (is(c, kDigit) || (c == '.' && is(c1, kDigit)))
        return scanNumber(i, nl);
    if (c == '"' || c == '\'')
        return scanString(i, nl);
    if (c == '@')
        return scanCcWord(i, nl);
    if (c == '/' && regexAllowed)
        return scanRegex(i, nl);
    return scanPunctuator(i, nl);
}

Token JScriptLexer::finish(Tok kind, std::size_t start, std::size_t end, bool newlineBefore)
{
    Token t;
    t.offset = start;
    t.newlineBefore = newlineBefore;
    t.kind = kind;
    t.length = end - start;
    m_pos = end;
    m_lastRaw = kind;
    return t;
}

bool JScriptLexer::skipTrivia(std::size_t& i, bool& nl, Token& stop)
{
    const std::string_view s = m_src;
    const std::size_t n = s.size();
    for (;;) {
        if (i >= n) {
            if (m_inBlockCc) {
                stop = fail(kUnterminatedComment, m_blockCcStart);
                return false;
            }
            m_pos = n;
            stop.kind = Tok::Eof;
            stop.offset = n;
            stop.newlineBefore = nl;
            return false;
        }
        const unsigned char c = s[i];
        if (c == ' ' || c == '\t' || c == '\v' || c == '\f') {
            ++i;
            continue;
        }
        if (c == '\n' || c == '\r') {
            ++i;
            nl = true;
            m_inLineCc = false;
            continue;
        }
        if (c == '/' && i + 1 < n && s[i + 1] == '/') {
            if (startsCcComment(i + 2)) {
                m_inLineCc = true;
                // The rest of the line is code. An "@word" right after the opener is kept for
                // the directive layer.
                i += (i + 3 < n && is(s[i + 3], kIdStart)) ? 2 : 3;
                continue;
            }
            i += 2;
            while (i < n && lineTerminator(s, i) == 0)
                ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            if (startsCcComment(i + 2)) {
                m_inBlockCc = true;
                m_blockCcStart = i;
                i += (i + 3 < n && is(s[i + 3], kIdStart)) ? 2 : 3;
                continue;
            }
            const std::size_t start = i;
            if (!skipBlockComment(i, nl)) {
                stop = fail(kUnterminatedComment, start);
                return false;
            }
            continue;
        }
        // "//@cc_on @*/" is written to pair with a block opener; the closer ends nothing there.
        if (m_inLineCc && c == '@' && i + 2 < n && s[i + 1] == '*' && s[i + 2] == '/') {
            i += 3;
            continue;
        }
        if (m_inBlockCc) {
            if (c == '*' && i + 1 < n && s[i + 1] == '/') {
                m_inBlockCc = false;
                i += 2;
                continue;
            }
            if (c == '@' && i + 2 < n && s[i + 1] == '*' && s[i + 2] == '/') {
                m_inBlockCc = false;
                i += 3;
                continue;
            }
        }
        if (c >= 0x80) {
            if (const std::size_t w = lineTerminator(s, i)) {
                i += w;
                nl = true;
                m_inLineCc = false;
                continue;
            }
            if (const std::size_t w = unicodeSpace(s, i)) {
                i += w;
                continue;
            }
            stop = fail(kInvalidCharacter, i);
            return false;
        }
        return true;
    }
}

bool JScriptLexer::skipBlockComment(std::size_t& i, bool& nl)
{
    const std::string_view s = m_src;
    const std::size_t n = s.size();
    i += 2;
    for (;;) {
        if (i + 1 >= n)
            return false;
        const unsigned char d = s[i];
        if (d == '*' && s[i + 1] == '/') {
            i += 2;
            return true;
        }
        if (d == '\n' || d == '\r' || (d == 0xE2 && lineTerminator(s, i))) {
            nl = true;
            m_inLineCc = false;
        }
        ++i;
    }
}

Token JScriptLexer::scanWord(std::size_t start, bool nl)
{
    const std::string_view s = m_src;
    const std::size_t n = s.size();
    std::size_t i = start;
    bool escaped = false;
    while (i < n) {
        const unsigned char d = s[i];
        if (is(d, kIdPart)) {
            ++i;
            continue;
        }
        if (d == '\\') {
            if (peek(i + 1) != 'u')
                return fail(kInvalidCharacter, i);
            for (std::size_t k = i + 2; k < i + 6; ++k)
                if (!is(peek(k), kHex))
                    return fail(kExpectedHexDigit, k);
            i += 6;
            escaped = true;
            continue;
        }
        break;
    }
    const Tok kind = escaped ? Tok::Identifier : keyword(s.substr(start, i - start));
    return finish(kind, start, i, nl);
}

Token JScriptLexer::scanNumber(std::size_t start, bool nl)
{
    std::size_t i = start;
    if (peek(i) == '0' && (peek(i + 1) == 'x' || peek(i + 1) == 'X')) {
        i += 2;
        if (!is(peek(i), kHex))
            return fail(kExpectedHexDigit, i);
        while (is(peek(i), kHex))
            ++i;
        return finish(Tok::Number, start, i, nl);
    }
    while (is(peek(i), kDigit))
        ++i;
    if (peek(i) == '.') {
        ++i;
        while (is(peek(i), kDigit))
            ++i;
    }
    if (peek(i) == 'e' || peek(i) == 'E') {
        std::size_t k = i + 1;
        if (peek(k) == '+' || peek(k) == '-')
            ++k;
        if (!is(peek(k), kDigit))
            return fail(kInvalidNumber, start);
        while (is(peek(k), kDigit))
            ++k;
        i = k;
    }
    return finish(Tok::Number, start, i, nl);
}

Token JScriptLexer::scanString(std::size_t start, bool nl)
{
    const std::string_view s = m_src;
    const std::size_t n = s.size();
    const unsigned char quote = s[start];
    std::size_t i = start + 1;
    for (;;) {
        if (i >= n)
            return fail(kUnterminatedString, start);
        const unsigned char d = s[i];
        if (d == quote)
            return finish(Tok::String, start, i + 1, nl);
        if (d == '\\') {
            ++i;
            if (i >= n)
                return fail(kUnterminatedString, start);
            const unsigned char e = s[i];
            if (e == '\r') {
                i += peek(i + 1) == '\n' ? 2 : 1;
                continue;
            }
            if (const std::size_t w = lineTerminator(s, i)) {
                i += w;
                continue;
            }
            if (e == 'x' || e == 'u') {
                const std::size_t digits = e == 'x' ? 2 : 4;
                for (std::size_t k = i + 1; k <= i + digits; ++k)
                    if (!is(peek(k), kHex))
                        return fail(kExpectedHexDigit, k);
                i += digits + 1;
                continue;
            }
            ++i;
            continue;
        }
        if (d == '\n' || d == '\r' || (d == 0xE2 && lineTerminator(s, i)))
            return fail(kUnterminatedString, start);
        ++i;
    }
}

Token JScriptLexer::scanCcWord(std::size_t start, bool nl)
{
    std::size_t i = start + 1;
    if (!is(peek(i), kIdStart))
        return fail(kInvalidCharacter, start);
    while (is(peek(i), kIdPart))
        ++i;
    return finish(Tok::CcWord, start, i, nl);
}

Token JScriptLexer::scanPunctuator(std::size_t start, bool nl)
{
    const std::size_t i = start;
    auto done = [&](Tok kind, std::size_t end) { return finish(kind, start, end, nl); };
    const unsigned char c = peek(i);
    const unsigned char c1 = peek(i + 1);
    const unsigned char c2 = peek(i + 2);
    switch (c) {
    case '{':
        return done(Tok::LBrace, i + 1);
    case '}':
        return done(Tok::RBrace, i + 1);
    case '(':
        return done(Tok::LParen, i + 1);
    case ')':
        return done(Tok::RParen, i + 1);
    case '[':
        return done(Tok::LBracket, i + 1);
    case ']':
        return done(Tok::RBracket, i + 1);
    case '.':
        return done(Tok::Dot, i + 1);
    case ';':
        return done(Tok::Semicolon, i + 1);
    case ',':
        return done(Tok::Comma, i + 1);
    case '?':
        return done(Tok::Question, i + 1);
    case ':':
        return done(Tok::Colon, i + 1);
    case '~':
        return done(Tok::Tilde, i + 1);
    case '<':
        if (c1 == '<')
            return c2 == '=' ? done(Tok::ShlAssign, i + 3) : done(Tok::Shl, i + 2);
        return c1 == '=' ? done(Tok::LessEq, i + 2) : done(Tok::Less, i + 1);
    case '>':
        if (c1 == '>') {
            if (c2 == '>')
                return peek(i + 3) == '=' ? done(Tok::UShrAssign, i + 4) : done(Tok::UShr, i + 3);
            return c2 == '=' ? done(Tok::ShrAssign, i + 3) : done(Tok::Shr, i + 2);
        }
        return c1 == '=' ? done(Tok::GreaterEq, i + 2) : done(Tok::Greater, i + 1);
    case '=':
        if (c1 == '=')
            return c2 == '=' ? done(Tok::StrictEq, i + 3) : done(Tok::Eq, i + 2);
        return done(Tok::Assign, i + 1);
    case '!':
        if (c1 == '=')
            return c2 == '=' ? done(Tok::StrictNotEq, i + 3) : done(Tok::NotEq, i + 2);
        return done(Tok::Bang, i + 1);
    case '+':
        if (c1 == '+')
            return done(Tok::PlusPlus, i + 2);
        return c1 == '=' ? done(Tok::PlusAssign, i + 2) : done(Tok::Plus, i + 1);
    case '-':
        if (c1 == '-')
            return done(Tok::MinusMinus, i + 2);
        return c1 == '=' ? done(Tok::MinusAssign, i + 2) : done(Tok::Minus, i + 1);
    case '*':
        return c1 == '=' ? done(Tok::StarAssign, i + 2) : done(Tok::Star, i + 1);
    case '%':
        return c1 == '=' ? done(Tok::PercentAssign, i + 2) : done(Tok::Percent, i + 1);
    case '&':
        if (c1 == '&')
            return done(Tok::AmpAmp, i + 2);
        return c1 == '=' ? done(Tok::AmpAssign, i + 2) : done(Tok::Amp, i + 1);
    case '|':
        if (c1 == '|')
            return done(Tok::PipePipe, i + 2);
        return c1 == '=' ? done(Tok::PipeAssign, i + 2) : done(Tok::Pipe, i + 1);
    case '^':
        return c1 == '=' ? done(Tok::CaretAssign, i + 2) : done(Tok::Caret, i + 1);
    case '/':
        return c1 == '=' ? done(Tok::SlashAssign, i + 2) : done(Tok::Slash, i + 1);
    default:
        return fail(kInvalidCharacter, start);
    }
}

Token JScriptLexer::scanRegex(std::size_t start, bool newlineBefore)
{
    const std::string_view s = m_src;
    const std::size_t n = s.size();
    std::size_t i = start + 1;
    bool inClass = false;
    for (;;) {
        if (i >= n || lineTerminator(s, i))
            return fail(kExpectedSlash, start);
        const unsigned char c = s[i];
        if (c == '\\') {
            ++i;
            if (i >= n || lineTerminator(s, i))
                return fail(kExpectedSlash, start);
            ++i;
            continue;
        }
        ++i;
        if (c == '[')
            inClass = true;
        else if (c == ']')
            inClass = false;
        else if (c == '/' && !inClass)
            break;
    }
    while (i < n && is(s[i], kIdPart))
        ++i;
    Token t;
    t.kind = Tok::Regex;
    t.offset = start;
    t.length = i - start;
    t.newlineBefore = newlineBefore;
    m_pos = i;
    m_lastRaw = Tok::Regex;
    return t;
}

Token JScriptLexer::rescanAsRegex(const Token& slash)
{
    if (m_error.number != 0)
        return fail(m_error.number, m_error.offset);
    return scanRegex(slash.offset, slash.newlineBefore);
}

Token JScriptLexer::next()
{
    bool nl = false;
    for (;;) {
        Token t = scan(false);
        nl = nl || t.newlineBefore;
        if (t.kind == Tok::CcWord) {
            Token out;
            if (directive(t, out, nl)) {
                out.newlineBefore = nl;
                return out;
            }
            if (m_error.number != 0)
                return fail(m_error.number, m_error.offset);
            continue;
        }
        if (t.kind == Tok::Eof && !m_ifs.empty())
            return fail(kExpectedCcEnd, t.offset);
        t.newlineBefore = nl;
        return t;
    }
}

// Interprets one "@word". Returns true with a token for the parser (a variable), false when the
// word was a directive that has been carried out (or failed: m_error is then set).
bool JScriptLexer::directive(const Token& word, Token& out, bool& newline)
{
    const std::string_view name = ccName(word);
    const bool opens = name == "cc_on" || name == "if" || name == "set";
    if (!m_ccOn && !opens) {
        fail(kCcTurnedOff, word.offset);
        return false;
    }
    if (name == "cc_on") {
        m_ccOn = true;
        return false;
    }
    if (name == "if") {
        m_ccOn = true;
        bool value = false;
        if (!ccCondition(value))
            return false;
        m_ifs.push_back({value});
        if (!value)
            skipBranch(newline);
        return false;
    }
    if (name == "elif" || name == "else") {
        if (m_ifs.empty()) {
            fail(kSyntaxError, word.offset);
            return false;
        }
        // A branch was being compiled, so every later branch of this @if is skipped.
        skipBranch(newline);
        return false;
    }
    if (name == "end") {
        if (m_ifs.empty()) {
            fail(kSyntaxError, word.offset);
            return false;
        }
        m_ifs.pop_back();
        return false;
    }
    if (name == "set") {
        m_ccOn = true;
        ccSet();
        return false;
    }
    out = word;
    out.kind = Tok::CcVariable;
    return true;
}

// Skips code up to the branch that is compiled next, or past the @end of the innermost @if.
bool JScriptLexer::skipBranch(bool& newline)
{
    for (;;) {
        const Stop stop = skipToDirective(newline);
        if (stop == Stop::Failed)
            return false;
        if (stop == Stop::End) {
            m_ifs.pop_back();
            return true;
        }
        CcIf& top = m_ifs.back();
        if (top.taken)
            continue;
        if (stop == Stop::Else) {
            top.taken = true;
            return true;
        }
        bool value = false;
        if (!ccCondition(value))
            return false;
        if (value) {
            m_ifs.back().taken = true;
            return true;
        }
    }
}

JScriptLexer::Stop JScriptLexer::skipToDirective(bool& newline)
{
    std::size_t depth = 0;
    m_lastRaw = Tok::Semicolon;
    for (;;) {
        const Token t = scan(!endsOperand(m_lastRaw));
        if (t.kind == Tok::Error)
            return Stop::Failed;
        newline = newline || t.newlineBefore;
        if (t.kind == Tok::Eof) {
            fail(kExpectedCcEnd, t.offset);
            return Stop::Failed;
        }
        if (t.kind != Tok::CcWord)
            continue;
        const std::string_view name = ccName(t);
        if (name == "if")
            ++depth;
        else if (name == "end") {
            if (depth == 0)
                return Stop::End;
            --depth;
        } else if (depth == 0 && name == "elif")
            return Stop::Elif;
        else if (depth == 0 && name == "else")
            return Stop::Else;
    }
}

bool JScriptLexer::ccAdvance()
{
    m_cc = scan(false);
    return m_cc.kind != Tok::Error;
}

JScriptLexer::CcValue JScriptLexer::ccLookup(std::string_view name) const
{
    const auto it = m_vars.find(std::string(name));
    if (it != m_vars.end())
        return it->second;
    return {std::numeric_limits<double>::quiet_NaN(), false};
}

// "(" expression ")" after @if or @elif.
bool JScriptLexer::ccCondition(bool& result)
{
    if (!ccAdvance())
        return false;
    if (m_cc.kind != Tok::LParen) {
        fail(kExpectedLParen, m_cc.offset);
        return false;
    }
    if (!ccAdvance())
        return false;
    CcValue value;
    if (!ccExpression(value, 0))
        return false;
    if (m_cc.kind != Tok::RParen) {
        fail(kExpectedRParen, m_cc.offset);
        return false;
    }
    result = truthy(value.number);
    return true;
}

// "@set @name = term", where a term is unary operators before a constant, a variable or a
// parenthesised expression.
bool JScriptLexer::ccSet()
{
    if (!ccAdvance())
        return false;
    if (m_cc.kind != Tok::CcWord) {
        fail(kExpectedAt, m_cc.offset);
        return false;
    }
    std::string name(ccName(m_cc));
    if (!ccAdvance())
        return false;
    if (m_cc.kind != Tok::Assign) {
        fail(kExpectedAssign, m_cc.offset);
        return false;
    }
    if (!ccAdvance())
        return false;
    CcValue value;
    if (!ccUnary(value, 0))
        return false;
    m_vars[std::move(name)] = value;
    return true;
}

// Reads a term starting at m_cc and leaves m_cc on the term's last token, so that the code after
// a top-level @set term is not consumed.
bool JScriptLexer::ccUnary(CcValue& value, int depth)
{
    if (depth > kMaxCcDepth) {
        fail(kOutOfStack, m_cc.offset);
        return false;
    }
    switch (m_cc.kind) {
    case Tok::Bang:
    case Tok::Tilde:
    case Tok::Minus:
    case Tok::Plus: {
        const Tok op = m_cc.kind;
        if (!ccAdvance() || !ccUnary(value, depth + 1))
            return false;
        if (op == Tok::Bang)
            value = {truthy(value.number) ? 0.0 : 1.0, true};
        else if (op == Tok::Tilde)
            value = {static_cast<double>(~toInt32(value.number)), false};
        else if (op == Tok::Minus)
            value = {-value.number, false};
        else
            value = {value.number, false};
        return true;
    }
    case Tok::Number: {
        const std::string_view digits = m_src.substr(m_cc.offset, m_cc.length);
        double d = 0;
        if (digits.size() > 2 && (digits[1] == 'x' || digits[1] == 'X')) {
            for (const char h : digits.substr(2))
                d = d * 16 + (h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
        } else {
            std::from_chars(digits.data(), digits.data() + digits.size(), d);
        }
        value = {d, false};
        return true;
    }
    case Tok::True:
        value = {1, true};
        return true;
    case Tok::False:
        value = {0, true};
        return true;
    case Tok::CcWord:
        value = ccLookup(ccName(m_cc));
        return true;
    case Tok::LParen: {
        if (!ccAdvance() || !ccExpression(value, depth + 1))
            return false;
        if (m_cc.kind != Tok::RParen) {
            fail(kExpectedRParen, m_cc.offset);
            return false;
        }
        return true;
    }
    default:
        fail(kExpectedConstant, m_cc.offset);
        return false;
    }
}

namespace {

int ccPrecedence(Tok t)
{
    switch (t) {
    case Tok::Star:
    case Tok::Slash:
    case Tok::Percent:
        return 10;
    case Tok::Plus:
    case Tok::Minus:
        return 9;
    case Tok::Shl:
    case Tok::Shr:
    case Tok::UShr:
        return 8;
    case Tok::Less:
    case Tok::Greater:
    case Tok::LessEq:
    case Tok::GreaterEq:
        return 7;
    case Tok::Eq:
    case Tok::NotEq:
    case Tok::StrictEq:
    case Tok::StrictNotEq:
        return 6;
    case Tok::Amp:
        return 5;
    case Tok::Caret:
        return 4;
    case Tok::Pipe:
        return 3;
    case Tok::AmpAmp:
        return 2;
    case Tok::PipePipe:
        return 1;
    default:
        return 0;
    }
}

} // namespace

// A binary expression inside parentheses: m_cc is its first token on entry and the first token
// after it on return. Operands are read with a small operator-precedence stack so that a long
// chain costs no recursion.
bool JScriptLexer::ccExpression(CcValue& result, int depth)
{
    struct Pending
    {
        CcValue left;
        Tok op;
        int precedence;
    };
    std::vector<Pending> stack;
    auto apply = [](const CcValue& a, Tok op, const CcValue& b) -> CcValue {
        const double x = a.number;
        const double y = b.number;
        switch (op) {
        case Tok::Star:
            return {x * y, false};
        case Tok::Slash:
            return {x / y, false};
        case Tok::Percent:
            return {std::fmod(x, y), false};
        case Tok::Plus:
            return {x + y, false};
        case Tok::Minus:
            return {x - y, false};
        case Tok::Shl:
            return {static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(toInt32(x)) << (toInt32(y) & 31))),
                    false};
        case Tok::Shr:
            return {static_cast<double>(toInt32(x) >> (toInt32(y) & 31)), false};
        case Tok::UShr:
            return {static_cast<double>(static_cast<uint32_t>(toInt32(x)) >> (toInt32(y) & 31)), false};
        case Tok::Less:
            return {x < y ? 1.0 : 0.0, true};
        case Tok::Greater:
            return {x > y ? 1.0 : 0.0, true};
        case Tok::LessEq:
            return {x <= y ? 1.0 : 0.0, true};
        case Tok::GreaterEq:
            return {x >= y ? 1.0 : 0.0, true};
        case Tok::Eq:
            return {x == y ? 1.0 : 0.0, true};
        case Tok::NotEq:
            return {x != y ? 1.0 : 0.0, true};
        case Tok::StrictEq:
            return {(a.boolean == b.boolean && x == y) ? 1.0 : 0.0, true};
        case Tok::StrictNotEq:
            return {(a.boolean == b.boolean && x == y) ? 0.0 : 1.0, true};
        case Tok::Amp:
            return {static_cast<double>(toInt32(x) & toInt32(y)), false};
        case Tok::Caret:
            return {static_cast<double>(toInt32(x) ^ toInt32(y)), false};
        case Tok::Pipe:
            return {static_cast<double>(toInt32(x) | toInt32(y)), false};
        case Tok::AmpAmp:
            return truthy(x) ? b : a;
        case Tok::PipePipe:
            return truthy(x) ? a : b;
        default:
            return b;
        }
    };

    CcValue operand;
    if (!ccUnary(operand, depth) || !ccAdvance())
        return false;
    for (;;) {
        const int precedence = ccPrecedence(m_cc.kind);
        while (!stack.empty() && stack.back().precedence >= precedence) {
            operand = apply(stack.back().left, stack.back().op, operand);
            stack.pop_back();
        }
        if (precedence == 0)
            break;
        stack.push_back({operand, m_cc.kind, precedence});
        if (!ccAdvance() || !ccUnary(operand, depth) || !ccAdvance())
            return false;
    }
    result = operand;
    return true;
}

} // namespace zel::script::jscript
