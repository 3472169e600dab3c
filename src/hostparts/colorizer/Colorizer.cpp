#include "hostparts/colorizer/Colorizer.h"

#include "platform/text/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace zel::hostparts {

namespace {

constexpr char32_t kReplacement = Text::kReplacement;

// A modern light theme: near-black text, deep blue keywords, grey comments, green strings and
// bright blue numbers, all readable on white.
constexpr std::string_view kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
    "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\n"
    "{\\colortbl ;\\red31\\green31\\blue31;\\red0\\green51\\blue179;\\red128\\green128\\blue128;"
    "\\red6\\green125\\blue23;\\red23\\green80\\blue235;}\n"
    "\\viewkind4\\pard\\plain\\f0\\fs20\\cf1 ";

// VBScript keywords are matched without regard to case, JScript ones exactly: both sets are
// coloured whatever the script's language is.
constexpr std::string_view kVbKeywords[] = {
    "and",       "as",       "byref", "byval",  "call",     "case",     "class",   "const",    "default",
    "dim",       "do",       "each",  "else",   "elseif",   "empty",    "end",     "eqv",      "erase",
    "exit",      "explicit", "false", "for",    "function", "get",      "goto",    "if",       "imp",
    "in",        "is",       "let",   "loop",   "me",       "mod",      "new",     "next",     "not",
    "nothing",   "null",     "on",    "option", "or",       "preserve", "private", "property", "public",
    "randomize", "redim",    "rem",   "resume", "select",   "set",      "step",    "stop",     "sub",
    "then",      "to",       "true",  "until",  "wend",     "while",    "with",    "xor",
};

constexpr std::string_view kJsKeywords[] = {
    "break", "case",   "catch", "class",      "const",   "continue", "debugger", "default", "delete",
    "do",    "else",   "enum",  "export",     "extends", "false",    "finally",  "for",     "function",
    "if",    "import", "in",    "instanceof", "new",     "null",     "return",   "super",   "switch",
    "this",  "throw",  "true",  "try",        "typeof",  "var",      "void",     "while",   "with",
};

// Words that begin VBScript statements and nothing in JScript; used only to guess the dialect.
constexpr std::string_view kVbStatementWords[] = {
    "dim", "redim",  "set",    "call", "end", "sub",     "next",   "loop",   "wend",  "const",
    "rem", "option", "select", "exit", "on",  "private", "public", "elseif", "class",
};

template <std::size_t N> bool contains(const std::string_view (&words)[N], std::string_view word)
{
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

bool isIdentStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || c >= 0x80;
}

bool isIdentChar(unsigned char c)
{
    return isIdentStart(c) || (c >= '0' && c <= '9');
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(unsigned char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Lower-cases a word into `buffer`; words longer than any keyword give an empty view.
std::string_view lowered(std::string_view word, std::array<char, 16>& buffer)
{
    if (word.size() > buffer.size())
        return {};
    for (std::size_t i = 0; i < word.size(); ++i)
        buffer[i] = Text::toLowerAscii(word[i]);
    return {buffer.data(), word.size()};
}

// `'` opens a comment in VBScript and a string in JScript. The text does not say which language
// it is in, so the lines vote: statement-ending `;`, `{` or `}` and `//` comment lines count for
// JScript, VBScript statement words and `'` comment lines for VBScript. A tie reads as VBScript.
bool looksLikeJScript(std::string_view text)
{
    long jsVotes = 0;
    long vbVotes = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        std::size_t first = pos;
        while (first < end && (text[first] == ' ' || text[first] == '\t'))
            ++first;
        std::size_t last = end;
        while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t'))
            --last;
        if (first < last) {
            if (text[first] == '\'') {
                ++vbVotes;
            } else if (text.substr(first, 2) == "//") {
                ++jsVotes;
            } else {
                std::size_t wordEnd = first;
                while (wordEnd < last && isIdentChar(static_cast<unsigned char>(text[wordEnd])))
                    ++wordEnd;
                std::array<char, 16> buffer{};
                if (contains(kVbStatementWords, lowered(text.substr(first, wordEnd - first), buffer)))
                    ++vbVotes;
                const char lastChar = text[last - 1];
                if (lastChar == ';' || lastChar == '{' || lastChar == '}')
                    ++jsVotes;
            }
        }
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return jsVotes > vbVotes;
}

// Writes RTF text runs, switching colour and italics only where they change.
class RtfOut
{
public:
    explicit RtfOut(std::string& out) : m_out(out) {}

    void style(int colour, bool italic)
    {
        if (colour == m_colour && italic == m_italic)
            return;
        if (colour != m_colour) {
            m_out += "\\cf";
            m_out += static_cast<char>('0' + colour);
            m_colour = colour;
        }
        if (italic != m_italic) {
            m_out += italic ? "\\i" : "\\i0";
            m_italic = italic;
        }
        m_out += ' ';
    }

    // Escapes the text. A CR LF pair inside the text becomes one paragraph, like a lone CR or LF.
    void text(std::string_view s)
    {
        std::size_t i = 0;
        while (i < s.size()) {
            std::size_t plainEnd = i;
            while (plainEnd < s.size() && isPlainByte(static_cast<unsigned char>(s[plainEnd])))
                ++plainEnd;
            m_out.append(s.data() + i, plainEnd - i);
            i = plainEnd;
            if (i >= s.size())
                break;
            const char c = s[i];
            switch (c) {
            case '\\':
            case '{':
            case '}':
                m_out += '\\';
                m_out += c;
                ++i;
                break;
            case '\t':
                m_out += "\\tab ";
                ++i;
                break;
            case '\r':
                m_out += "\\par\n";
                i += (i + 1 < s.size() && s[i + 1] == '\n') ? 2 : 1;
                break;
            case '\n':
                m_out += "\\par\n";
                ++i;
                break;
            default: {
                std::size_t length = 1;
                const char32_t cp = Text::decodeUtf8(s, i, length).value_or(kReplacement);
                unicode(cp);
                i += length;
                break;
            }
            }
        }
    }

private:
    static bool isPlainByte(unsigned char c) { return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}'; }

    // RTF takes a signed 16-bit number per UTF-16 code unit; `?` is the fallback that `\uc1` skips.
    void unicode(char32_t cp)
    {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            unit(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            unit(static_cast<std::uint16_t>(cp));
        }
    }

    void unit(std::uint16_t u)
    {
        m_out += "\\u";
        m_out += std::to_string(static_cast<std::int16_t>(u));
        m_out += '?';
    }

    std::string& m_out;
    int m_colour = Colorizer::kPlainColour;
    bool m_italic = false;
};

// Writes the painted runs as RTF; blanks and line ends keep the style they follow.
class RtfSink
{
public:
    explicit RtfSink(std::string& out) : m_out(out) {}
    void run(std::string_view text, std::size_t, int colour, bool italic)
    {
        m_out.style(colour, italic);
        m_out.text(text);
    }
    void blank(std::string_view text, std::size_t) { m_out.text(text); }

private:
    RtfOut m_out;
};

// Hands the painted runs to a line painter's callback; blanks and line ends are left unstyled.
class SpanSink
{
public:
    explicit SpanSink(const Colorizer::SpanCallback& callback) : m_callback(callback) {}
    void run(std::string_view text, std::size_t pos, int colour, bool italic)
    {
        m_callback(pos, text.size(), colour, italic);
    }
    void blank(std::string_view, std::size_t) {}

private:
    const Colorizer::SpanCallback& m_callback;
};

// Paints text run by run. A block comment is the only thing that carries over a line end, so a
// painter started on one line with the "inside a block comment" state colours it exactly as the
// whole-text painter does.
template <class Sink> class Painter
{
public:
    Painter(std::string_view text, Sink& out, bool jscript, bool inBlockComment = false)
        : m_text(text), m_out(out), m_jscript(jscript), m_inBlockComment(inBlockComment)
    {
    }

    // True when the text ends inside a block comment.
    bool run()
    {
        const std::size_t n = m_text.size();
        if (m_inBlockComment)
            blockComment(0);
        while (m_pos < n) {
            const auto c = static_cast<unsigned char>(m_text[m_pos]);
            const auto next = peek(1);
            if (c == '\r' || c == '\n') {
                const std::size_t start = m_pos;
                m_pos += (c == '\r' && next == '\n') ? 2 : 1;
                m_out.blank(m_text.substr(start, m_pos - start), start);
                m_statementStart = true;
                m_afterDot = false;
            } else if (c == ' ' || c == '\t') {
                const std::size_t start = m_pos;
                while (m_pos < n && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
                    ++m_pos;
                m_out.blank(m_text.substr(start, m_pos - start), start);
            } else if (c == '/' && next == '*' && peek(2) == '@') {
                // JScript conditional compilation: the text between the markers is code, and the
                // directive word glued to the marker (/*@cc_on, /*@if) belongs to it.
                std::size_t end = m_pos + 3;
                while (end < n && isIdentChar(static_cast<unsigned char>(m_text[end])))
                    ++end;
                emit(Colorizer::kKeywordColour, false, end - m_pos);
            } else if (c == '@' && next == '*' && peek(2) == '/') {
                emit(Colorizer::kKeywordColour, false, 3);
            } else if (c == '/' && next == '*') {
                blockComment(2);
            } else if (c == '/' && next == '/') {
                emitToLineEnd(Colorizer::kCommentColour, true);
            } else if (c == '\'' && !m_jscript) {
                emitToLineEnd(Colorizer::kCommentColour, true);
            } else if (c == '\'' || c == '"') {
                string(static_cast<char>(c));
            } else if (isDigit(c) || (c == '.' && isDigit(next))) {
                number();
            } else if (c == '&' && (next == 'h' || next == 'H' || next == 'o' || next == 'O') && isHexDigit(peek(2))) {
                std::size_t end = m_pos + 2;
                while (end < n && isHexDigit(static_cast<unsigned char>(m_text[end])))
                    ++end;
                if (end < n && m_text[end] == '&')
                    ++end;
                emit(Colorizer::kNumberColour, false, end - m_pos);
            } else if (c == '#' && !m_jscript && dateLiteralLength() > 0) {
                emit(Colorizer::kNumberColour, false, dateLiteralLength());
            } else if (c == '@' && isIdentStart(next)) {
                std::size_t end = m_pos + 1;
                while (end < n && isIdentChar(static_cast<unsigned char>(m_text[end])))
                    ++end;
                emit(Colorizer::kKeywordColour, false, end - m_pos);
            } else if (isIdentStart(c)) {
                word();
            } else {
                emit(Colorizer::kPlainColour, false, 1);
                m_statementStart = (c == ':');
                m_afterDot = (c == '.');
            }
        }
        return m_inBlockComment;
    }

private:
    // A block comment from the current position, `skip` characters of its opening included; it
    // ends after its `*/` or, open, with the text.
    void blockComment(std::size_t skip)
    {
        const std::size_t close = m_text.find("*/", m_pos + skip);
        m_inBlockComment = close == std::string_view::npos;
        emit(Colorizer::kCommentColour, true, m_inBlockComment ? m_text.size() - m_pos : close + 2 - m_pos);
    }

    unsigned char peek(std::size_t ahead) const
    {
        return m_pos + ahead < m_text.size() ? static_cast<unsigned char>(m_text[m_pos + ahead]) : 0;
    }

    // A VBScript date literal (#2024-03-05#, #3/5/2024 10:30 AM#) is coloured like a number. Its
    // length, or 0 when the `#` at the current position does not open one on this line.
    std::size_t dateLiteralLength() const
    {
        for (std::size_t end = m_pos + 1; end < m_text.size(); ++end) {
            const auto c = static_cast<unsigned char>(m_text[end]);
            if (c == '#')
                return end > m_pos + 1 ? end + 1 - m_pos : 0;
            const bool asciiAlnum = c < 0x80 && isIdentChar(c) && c != '_' && c != '$';
            if (!asciiAlnum && c != ' ' && c != '/' && c != '-' && c != ':' && c != '.' && c != ',')
                return 0;
        }
        return 0;
    }

    void emit(int colour, bool italic, std::size_t length)
    {
        if (length > 0)
            m_out.run(m_text.substr(m_pos, length), m_pos, colour, italic);
        m_pos += length;
        m_statementStart = false;
        m_afterDot = false;
    }

    void emitToLineEnd(int colour, bool italic)
    {
        std::size_t end = m_pos;
        while (end < m_text.size() && !isLineEnd(m_text[end]))
            ++end;
        emit(colour, italic, end - m_pos);
    }

    // VBScript doubles a quote inside a string, JScript escapes it with a backslash. Backslash is
    // an ordinary character in VBScript ("C:\"), so it escapes only in text read as JScript.
    // A string never runs past the end of its line.
    void string(char quote)
    {
        std::size_t end = m_pos + 1;
        const std::size_t n = m_text.size();
        while (end < n && !isLineEnd(m_text[end])) {
            const char c = m_text[end];
            if (c == '\\' && m_jscript) {
                end += (end + 1 < n && !isLineEnd(m_text[end + 1])) ? 2 : 1;
            } else if (c == quote) {
                ++end;
                if (end < n && m_text[end] == quote)
                    ++end;
                else
                    break;
            } else {
                ++end;
            }
        }
        emit(Colorizer::kStringColour, false, end - m_pos);
    }

    // Digits, a fraction, an exponent with its sign, and whatever letters stick to them
    // (0x1F, 1e-3, 10L) are one number.
    void number()
    {
        std::size_t end = m_pos;
        const std::size_t n = m_text.size();
        while (end < n) {
            const auto c = static_cast<unsigned char>(m_text[end]);
            if ((c == 'e' || c == 'E') && end + 2 < n && (m_text[end + 1] == '+' || m_text[end + 1] == '-') &&
                isDigit(static_cast<unsigned char>(m_text[end + 2])))
                end += 3;
            else if (isIdentChar(c) || c == '.')
                ++end;
            else
                break;
        }
        emit(Colorizer::kNumberColour, false, end - m_pos);
    }

    void word()
    {
        std::size_t end = m_pos;
        while (end < m_text.size() && isIdentChar(static_cast<unsigned char>(m_text[end])))
            ++end;
        const std::string_view w = m_text.substr(m_pos, end - m_pos);
        std::array<char, 16> buffer{};
        const std::string_view lower = lowered(w, buffer);
        if (lower == "rem" && m_statementStart && !m_jscript) {
            emitToLineEnd(Colorizer::kCommentColour, true);
            return;
        }
        // After a dot the word names a member (obj.end, .Item), whatever it spells.
        const bool keyword = !m_afterDot && (contains(kVbKeywords, lower) || contains(kJsKeywords, w));
        emit(keyword ? Colorizer::kKeywordColour : Colorizer::kPlainColour, false, w.size());
        // A single-line If carries statements after Then and Else.
        m_statementStart = lower == "then" || lower == "else";
    }

    std::string_view m_text;
    Sink& m_out;
    bool m_jscript;
    bool m_inBlockComment;
    std::size_t m_pos = 0;
    bool m_statementStart = true;
    bool m_afterDot = false;
};

} // namespace

std::string Colorizer::Colorize(std::string_view plainText) const
{
    std::string out;
    out.reserve(kHeader.size() + plainText.size() + plainText.size() / 2 + 16);
    out += kHeader;
    RtfSink sink(out);
    Painter(plainText, sink, looksLikeJScript(plainText)).run();
    out += '}';
    return out;
}

bool Colorizer::paintLine(std::string_view line, bool jscript, bool inBlockComment, const SpanCallback& span)
{
    SpanSink sink(span);
    return Painter(line, sink, jscript, inBlockComment).run();
}

bool Colorizer::readsAsJScript(std::string_view text)
{
    return looksLikeJScript(text);
}

std::string Colorizer::shownText(std::string_view plainText)
{
    std::string out;
    out.reserve(plainText.size());
    std::size_t i = 0;
    while (i < plainText.size()) {
        const char c = plainText[i];
        if (c == '\r') {
            out += '\n';
            i += (i + 1 < plainText.size() && plainText[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        std::size_t length = 1;
        char32_t cp = Text::decodeUtf8(plainText, i, length).value_or(kReplacement);
        if (cp == 0x2028 || cp == 0x2029)
            cp = '\n';
        else if (cp == 0xA0)
            cp = ' ';
        else if (cp == 0xFDD0 || cp == 0xFDD1)
            cp = kReplacement;
        Text::appendUtf8(out, cp);
        i += length;
    }
    return out;
}

} // namespace zel::hostparts
