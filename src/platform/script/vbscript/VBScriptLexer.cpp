#include "platform/script/vbscript/VBScriptLexer.h"

#include "platform/script/vbscript/VBScriptErrors.h"
#include "platform/text/Text.h"

#include <charconv>
#include <string>
#include <system_error>

namespace zel::script::vbscript {

namespace {

constexpr std::size_t kMaxIdentifierLength = 255;

inline bool isAsciiLetter(unsigned char c)
{
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

inline bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

inline bool isHexDigit(unsigned char c)
{
    return isDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}

inline bool isOctalDigit(unsigned char c)
{
    return c >= '0' && c <= '7';
}

inline bool isLineEnd(unsigned char c)
{
    return c == '\r' || c == '\n';
}

// Letters outside ASCII may appear in names (administrators write them in their own language); the
// Latin-1 punctuation, the general punctuation block, the ideographic space and the byte-order mark
// may not.
bool isNameCodePoint(char32_t cp)
{
    if (cp < 0xC0)
        return false;
    if (cp == 0xD7 || cp == 0xF7)
        return false;
    if (cp >= 0x2000 && cp <= 0x206F)
        return false;
    return cp != 0x3000 && cp != 0xFEFF;
}

// True when a decimal literal (digits, optional fraction, optional exponent) is too large for a
// double: the engine refuses such a literal while it compiles. Too small a literal is just zero.
bool overflowsDouble(std::string_view literal)
{
    double value = 0;
    auto [end, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), value);
    (void)end;
    if (ec != std::errc::result_out_of_range)
        return false;
    // Out of range either way: tell overflow from underflow by the decimal magnitude.
    long magnitude = 0;
    std::size_t i = 0;
    while (i < literal.size() && literal[i] == '0')
        ++i;
    std::size_t intDigits = 0;
    while (i < literal.size() && isDigit(static_cast<unsigned char>(literal[i]))) {
        ++intDigits;
        ++i;
    }
    if (intDigits > 0) {
        magnitude = static_cast<long>(intDigits) - 1;
    } else if (i < literal.size() && literal[i] == '.') {
        ++i;
        long zeros = 0;
        while (i < literal.size() && literal[i] == '0') {
            ++zeros;
            ++i;
        }
        magnitude = -zeros - 1;
    }
    std::size_t e = literal.find_first_of("eE");
    if (e != std::string_view::npos) {
        long exponent = 0;
        std::size_t k = e + 1;
        bool negative = k < literal.size() && literal[k] == '-';
        if (k < literal.size() && (literal[k] == '-' || literal[k] == '+'))
            ++k;
        for (; k < literal.size() && exponent < 100000; ++k)
            exponent = exponent * 10 + (literal[k] - '0');
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude > 0;
}

bool isLeapYear(long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool validDate(long year, long month, long day)
{
    static constexpr long kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    if (month == 2 && day == 29)
        return year < 100 || isLeapYear(year); // a two-digit year may name a leap year
    return day <= kDays[month - 1];
}

// 1..12 for an English month name or its three-letter (or "sept") abbreviation, 0 otherwise.
long monthNumber(std::string_view lower)
{
    static constexpr std::string_view kMonths[] = {"january",   "february", "march",    "april",
                                                   "may",       "june",     "july",     "august",
                                                   "september", "october",  "november", "december"};
    for (long m = 0; m < 12; ++m) {
        const std::string_view name = kMonths[m];
        if (lower == name || (lower.size() == 3 && name.substr(0, 3) == lower) || (m == 8 && lower == "sept"))
            return m + 1;
    }
    return 0;
}

// True when the text between a date literal's '#' signs can be read as a date, a time or both:
// two or three numeric date fields (in month-day-year, day-month-year or year-month-day order) or
// a month name with a day and/or a year, and a time of hours and minutes with optional seconds and
// AM/PM. The engine converts the literal while it compiles, so a text that is no date under any
// of these readings is refused.
bool readableDate(std::string_view body)
{
    long fields[3] = {};
    int fieldCount = 0;
    long month = 0;
    long time[3] = {};
    int timeCount = 0;
    bool meridiem = false;
    bool afterColon = false; // the character before is a ':' that follows a time component
    std::size_t i = 0;
    while (i < body.size()) {
        const unsigned char c = static_cast<unsigned char>(body[i]);
        if (isDigit(c)) {
            long value = 0;
            std::size_t digits = 0;
            while (i < body.size() && isDigit(static_cast<unsigned char>(body[i]))) {
                if (++digits > 4)
                    return false;
                value = value * 10 + (body[i] - '0');
                ++i;
            }
            const bool colonFollows = i < body.size() && body[i] == ':';
            if (colonFollows || afterColon) {
                // One time per literal: a second group of components is no date.
                if (timeCount == 3 || (!afterColon && timeCount > 0))
                    return false;
                time[timeCount++] = value;
            } else {
                if (fieldCount == 3)
                    return false;
                fields[fieldCount++] = value;
            }
            afterColon = false;
            if (colonFollows) {
                afterColon = true;
                ++i;
            }
            continue;
        }
        if (afterColon || c == ':')
            return false;
        if (isAsciiLetter(c)) {
            std::string word;
            while (i < body.size() && isAsciiLetter(static_cast<unsigned char>(body[i])))
                word += static_cast<char>(body[i++] | 0x20);
            if (word == "am" || word == "pm" || word == "a" || word == "p") {
                if (meridiem)
                    return false;
                meridiem = true;
            } else if (const long m = monthNumber(word); m != 0 && month == 0) {
                month = m;
            } else {
                return false;
            }
            continue;
        }
        ++i;
    }
    if (afterColon)
        return false;
    if (timeCount == 1 || time[0] > 23 || time[1] > 59 || time[2] > 59)
        return false;
    if (meridiem && timeCount == 0) {
        // "3 PM": a lone hour with AM/PM.
        if (fieldCount != 1 || month != 0 || fields[0] > 23)
            return false;
        return true;
    }
    const long a = fields[0], b = fields[1], c = fields[2];
    if (month != 0) {
        if (fieldCount == 1)
            return validDate(2000, month, a) || validDate(a, month, 1);
        if (fieldCount == 2)
            return validDate(b, month, a) || validDate(a, month, b);
        return false;
    }
    switch (fieldCount) {
    case 0:
        return timeCount > 0;
    case 2:
        return validDate(2000, a, b) || validDate(2000, b, a) || validDate(b, a, 1) || validDate(a, b, 1);
    case 3:
        return validDate(c, a, b) || validDate(c, b, a) || validDate(a, b, c);
    default:
        return false;
    }
}

struct Keyword
{
    std::string_view lower;
    Tok kind;
};

// Grouped by first letter so that a lookup compares a handful of candidates at most.
constexpr Keyword kKeywords[] = {
    {"and", Tok::KwAnd},         {"byref", Tok::KwByRef},
    {"byval", Tok::KwByVal},     {"call", Tok::KwCall},
    {"case", Tok::KwCase},       {"class", Tok::KwClass},
    {"const", Tok::KwConst},     {"dim", Tok::KwDim},
    {"do", Tok::KwDo},           {"each", Tok::KwEach},
    {"else", Tok::KwElse},       {"elseif", Tok::KwElseIf},
    {"empty", Tok::KwEmpty},     {"end", Tok::KwEnd},
    {"eqv", Tok::KwEqv},         {"erase", Tok::KwErase},
    {"exit", Tok::KwExit},       {"false", Tok::KwFalse},
    {"for", Tok::KwFor},         {"function", Tok::KwFunction},
    {"goto", Tok::KwGoTo},       {"if", Tok::KwIf},
    {"imp", Tok::KwImp},         {"in", Tok::KwIn},
    {"is", Tok::KwIs},           {"let", Tok::KwLet},
    {"loop", Tok::KwLoop},       {"me", Tok::KwMe},
    {"mod", Tok::KwMod},         {"new", Tok::KwNew},
    {"next", Tok::KwNext},       {"not", Tok::KwNot},
    {"nothing", Tok::KwNothing}, {"null", Tok::KwNull},
    {"on", Tok::KwOn},           {"option", Tok::KwOption},
    {"or", Tok::KwOr},           {"preserve", Tok::KwPreserve},
    {"private", Tok::KwPrivate}, {"public", Tok::KwPublic},
    {"redim", Tok::KwReDim},     {"rem", Tok::KwRem},
    {"resume", Tok::KwResume},   {"select", Tok::KwSelect},
    {"set", Tok::KwSet},         {"stop", Tok::KwStop},
    {"sub", Tok::KwSub},         {"then", Tok::KwThen},
    {"to", Tok::KwTo},           {"true", Tok::KwTrue},
    {"until", Tok::KwUntil},     {"wend", Tok::KwWend},
    {"while", Tok::KwWhile},     {"with", Tok::KwWith},
    {"xor", Tok::KwXor},
};

struct KeywordIndex
{
    unsigned char first[27] = {};
    constexpr KeywordIndex()
    {
        std::size_t n = sizeof(kKeywords) / sizeof(kKeywords[0]);
        for (int letter = 0; letter <= 26; ++letter) {
            std::size_t i = 0;
            while (i < n && kKeywords[i].lower[0] - 'a' < letter)
                ++i;
            first[letter] = static_cast<unsigned char>(i);
        }
    }
};

constexpr KeywordIndex kIndex;

Tok keywordKind(std::string_view word)
{
    if (word.size() < 2 || word.size() > 8)
        return Tok::Identifier;
    char lower[8];
    for (std::size_t i = 0; i < word.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(word[i]);
        if (!isAsciiLetter(c))
            return Tok::Identifier;
        lower[i] = static_cast<char>(c | 0x20);
    }
    int letter = lower[0] - 'a';
    std::string_view key(lower, word.size());
    for (std::size_t i = kIndex.first[letter]; i < kIndex.first[letter + 1]; ++i) {
        if (kKeywords[i].lower == key)
            return kKeywords[i].kind;
    }
    return Tok::Identifier;
}

} // namespace

Lexer::Lexer(std::string_view source) : m_src(source)
{
    // Text saved with a byte-order mark compiles as if the mark were not there.
    if (m_src.substr(0, 3) == "\xEF\xBB\xBF")
        m_pos = 3;
}

void Lexer::restore(const State& state)
{
    m_pos = state.pos;
    m_afterDot = state.afterDot;
    m_memberDotAllowed = state.memberDotAllowed;
}

std::string_view Lexer::text(const Token& token) const
{
    if (token.kind == Tok::BracketedIdentifier)
        return m_src.substr(token.offset + 1, token.length - 2);
    return m_src.substr(token.offset, token.length);
}

Token Lexer::make(Tok kind, std::size_t start, bool space)
{
    Token t;
    t.kind = kind;
    t.spaceBefore = space;
    t.offset = start;
    t.length = m_pos - start;
    m_afterDot = kind == Tok::Dot;
    m_memberDotAllowed = isWord(kind) || kind == Tok::RParen;
    return t;
}

Token Lexer::error(int32_t number, std::size_t offset, bool space)
{
    Token t;
    t.kind = Tok::Error;
    t.error = number;
    t.spaceBefore = space;
    t.offset = offset;
    m_afterDot = false;
    m_memberDotAllowed = false;
    return t;
}

Token Lexer::next()
{
    const std::size_t size = m_src.size();
    bool space = false;
    Token stop;
    if (!skipTrivia(space, stop))
        return stop;

    const std::size_t start = m_pos;
    const unsigned char c = static_cast<unsigned char>(m_src[m_pos]);
    ++m_pos;
    switch (c) {
    case '\r':
        if (m_pos < size && m_src[m_pos] == '\n')
            ++m_pos;
        return make(Tok::Newline, start, space);
    case '\n':
        return make(Tok::Newline, start, space);
    case ':':
        return make(Tok::Colon, start, space);
    case ',':
        return make(Tok::Comma, start, space);
    case '(':
        return make(Tok::LParen, start, space);
    case ')':
        return make(Tok::RParen, start, space);
    case '+':
        return make(Tok::Plus, start, space);
    case '-':
        return make(Tok::Minus, start, space);
    case '*':
        return make(Tok::Star, start, space);
    case '/':
        return make(Tok::Slash, start, space);
    case '\\':
        return make(Tok::Backslash, start, space);
    case '^':
        return make(Tok::Caret, start, space);
    case '=':
        // "=>" and "=<" are old spellings of ">=" and "<=" that the engine still reads.
        if (m_pos < size && (m_src[m_pos] == '>' || m_src[m_pos] == '<')) {
            const bool greater = m_src[m_pos] == '>';
            ++m_pos;
            return make(greater ? Tok::Ge : Tok::Le, start, space);
        }
        return make(Tok::Eq, start, space);
    case '<':
        if (m_pos < size && m_src[m_pos] == '=') {
            ++m_pos;
            return make(Tok::Le, start, space);
        }
        if (m_pos < size && m_src[m_pos] == '>') {
            ++m_pos;
            return make(Tok::Ne, start, space);
        }
        return make(Tok::Lt, start, space);
    case '>':
        if (m_pos < size && m_src[m_pos] == '=') {
            ++m_pos;
            return make(Tok::Ge, start, space);
        }
        return make(Tok::Gt, start, space);
    case '&':
        return radixNumberOrAmp(start, space);
    case '"':
        return stringLiteral(start, space);
    case '#':
        return dateLiteral(start, space);
    case '[':
        return bracketedIdentifier(start, space);
    case '.':
        if (m_pos < size && isDigit(static_cast<unsigned char>(m_src[m_pos])) && !(m_memberDotAllowed && !space))
            return number(start, space);
        return make(Tok::Dot, start, space);
    default:
        break;
    }
    if (isDigit(c))
        return number(start, space);
    if (isAsciiLetter(c))
        return word(start, space);
    if (c >= 0x80) {
        std::size_t len = 0;
        const std::optional<char32_t> cp = Text::decodeUtf8(m_src, start, len);
        if (cp && isNameCodePoint(*cp)) {
            m_pos = start + len;
            return word(start, space);
        }
    }
    return error(kInvalidCharacter, start, space);
}

bool Lexer::skipTrivia(bool& space, Token& stop)
{
    const std::size_t size = m_src.size();
    for (;;) {
        while (m_pos < size && (m_src[m_pos] == ' ' || m_src[m_pos] == '\t')) {
            ++m_pos;
            space = true;
        }
        if (m_pos >= size) {
            stop = make(Tok::Eof, size, space);
            return false;
        }
        char c = m_src[m_pos];
        if (c == '\'') {
            while (m_pos < size && !isLineEnd(static_cast<unsigned char>(m_src[m_pos])))
                ++m_pos;
            continue;
        }
        if (c == '_') {
            // A line continuation: the underscore, optional blanks, then the line end (or the end of text).
            std::size_t j = m_pos + 1;
            while (j < size && (m_src[j] == ' ' || m_src[j] == '\t'))
                ++j;
            if (j < size && !isLineEnd(static_cast<unsigned char>(m_src[j]))) {
                stop = error(kInvalidCharacter, m_pos, space);
                return false;
            }
            if (j < size && m_src[j] == '\r')
                ++j;
            if (j < size && m_src[j] == '\n')
                ++j;
            m_pos = j;
            space = true;
            continue;
        }
        return true;
    }
}

Token Lexer::radixNumberOrAmp(std::size_t start, bool space)
{
    const std::size_t size = m_src.size();
    if (m_pos + 1 < size) {
        unsigned char radix = static_cast<unsigned char>(m_src[m_pos]) | 0x20;
        unsigned char first = static_cast<unsigned char>(m_src[m_pos + 1]);
        bool hex = radix == 'h' && isHexDigit(first);
        bool octal = radix == 'o' && isOctalDigit(first);
        if (hex || octal) {
            // The value must fit the engine's 32-bit integer; a longer literal is an invalid number.
            const unsigned shift = hex ? 4 : 3;
            uint64_t value = 0;
            m_pos += 1;
            while (m_pos < size && (hex ? isHexDigit(static_cast<unsigned char>(m_src[m_pos]))
                                        : isOctalDigit(static_cast<unsigned char>(m_src[m_pos])))) {
                const unsigned char d = static_cast<unsigned char>(m_src[m_pos]) | 0x20;
                value = (value << shift) | static_cast<uint64_t>(isDigit(d) ? d - '0' : d - 'a' + 10);
                if (value > 0xFFFFFFFFu)
                    return error(kInvalidNumber, start, space);
                ++m_pos;
            }
            if (m_pos < size && m_src[m_pos] == '&')
                ++m_pos;
            return make(Tok::Number, start, space);
        }
    }
    return make(Tok::Amp, start, space);
}

Token Lexer::stringLiteral(std::size_t start, bool space)
{
    const std::size_t size = m_src.size();
    for (;;) {
        while (m_pos < size && m_src[m_pos] != '"' && !isLineEnd(static_cast<unsigned char>(m_src[m_pos])))
            ++m_pos;
        if (m_pos >= size || m_src[m_pos] != '"')
            return error(kUnterminatedString, start, space);
        ++m_pos;
        if (m_pos < size && m_src[m_pos] == '"') {
            ++m_pos;
            continue;
        }
        return make(Tok::String, start, space);
    }
}

// Digits, month names, separators and AM/PM between '#' signs that read as a date or a time.
Token Lexer::dateLiteral(std::size_t start, bool space)
{
    const std::size_t size = m_src.size();
    std::size_t j = m_pos;
    while (j < size && m_src[j] != '#' && !isLineEnd(static_cast<unsigned char>(m_src[j]))) {
        unsigned char d = static_cast<unsigned char>(m_src[j]);
        if (!(isAsciiLetter(d) || isDigit(d) || d == ' ' || d == '\t' || d == '/' || d == '-' || d == ':' || d == '.' ||
              d == ','))
            return error(kInvalidCharacter, start, space);
        ++j;
    }
    if (j >= size || m_src[j] != '#' || !readableDate(m_src.substr(m_pos, j - m_pos)))
        return error(kInvalidCharacter, start, space);
    m_pos = j + 1;
    return make(Tok::Date, start, space);
}

Token Lexer::bracketedIdentifier(std::size_t start, bool space)
{
    const std::size_t size = m_src.size();
    while (m_pos < size && m_src[m_pos] != ']' && !isLineEnd(static_cast<unsigned char>(m_src[m_pos])))
        ++m_pos;
    if (m_pos >= size || m_src[m_pos] != ']')
        return error(kExpectedRBracket, m_pos, space);
    ++m_pos;
    return make(Tok::BracketedIdentifier, start, space);
}

Token Lexer::number(std::size_t start, bool space)
{
    const std::size_t size = m_src.size();
    m_pos = start;
    while (m_pos < size && isDigit(static_cast<unsigned char>(m_src[m_pos])))
        ++m_pos;
    if (m_pos < size && m_src[m_pos] == '.') {
        ++m_pos;
        while (m_pos < size && isDigit(static_cast<unsigned char>(m_src[m_pos])))
            ++m_pos;
    }
    if (m_pos < size && (m_src[m_pos] | 0x20) == 'e') {
        std::size_t j = m_pos + 1;
        if (j < size && (m_src[j] == '+' || m_src[j] == '-'))
            ++j;
        if (j >= size || !isDigit(static_cast<unsigned char>(m_src[j])))
            return error(kInvalidNumber, start, space);
        while (j < size && isDigit(static_cast<unsigned char>(m_src[j])))
            ++j;
        m_pos = j;
    }
    if (overflowsDouble(m_src.substr(start, m_pos - start)))
        return error(kInvalidNumber, start, space);
    return make(Tok::Number, start, space);
}

Token Lexer::word(std::size_t start, bool space)
{
    const std::size_t size = m_src.size();
    std::size_t chars = 1;
    for (;;) {
        while (m_pos < size) {
            unsigned char d = static_cast<unsigned char>(m_src[m_pos]);
            if (!(isAsciiLetter(d) || isDigit(d) || d == '_'))
                break;
            ++m_pos;
            ++chars;
        }
        if (m_pos >= size || static_cast<unsigned char>(m_src[m_pos]) < 0x80)
            break;
        std::size_t len = 0;
        const std::optional<char32_t> cp = Text::decodeUtf8(m_src, m_pos, len);
        if (!cp || !isNameCodePoint(*cp))
            break;
        m_pos += len;
        ++chars;
    }
    if (chars > kMaxIdentifierLength)
        return error(kIdentifierTooLong, start, space);
    std::string_view text = m_src.substr(start, m_pos - start);
    Tok kind = keywordKind(text);
    // After a member dot "Rem" is a member name, not a comment.
    if (kind == Tok::KwRem && !m_afterDot) {
        Token rem = make(Tok::KwRem, start, space);
        while (m_pos < size && !isLineEnd(static_cast<unsigned char>(m_src[m_pos])))
            ++m_pos;
        return rem;
    }
    return make(kind, start, space);
}

} // namespace zel::script::vbscript
