#include "platform/rtf/RtfReader.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringDecoder>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zel::rtf {

namespace {

// Groups nested deeper than this share the state of the innermost kept group, so hostile input
// cannot make the state stack grow with the input.
constexpr std::size_t kMaxDepth = 256;
// Caps on the tables, for the same reason.
constexpr std::size_t kMaxColours = 4096;
constexpr std::size_t kMaxFonts = 4096;
constexpr std::size_t kMaxFontName = 256;
constexpr int kMaxSkipCount = 255;

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kParagraph = 0x2029;
constexpr char16_t kLineBreak = 0x2028;

// Code page 1252 from 0x80 to 0x9F; the five bytes it leaves undefined map to the C1 control
// of the same value, as the Windows conversion does. 0xA0 to 0xFF equal Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

enum class Dest
{
    Text,
    Skip,
    FontTable,
    ColourTable,
};

enum class Kind
{
    Unknown,
    Character,
    Paragraph,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Colour,
    Background,
    Font,
    FontSize,
    Plain,
    Unicode,
    UnicodeSkip,
    Binary,
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    FontTable,
    ColourTable,
    SkipDestination,
    Red,
    Green,
    Blue,
    FontCharset,
    FontCodePage,
    FixedPitchFamily,
    Pitch,
};

struct Entry
{
    Kind kind = Kind::Unknown;
    char16_t character = 0;
};

const std::unordered_map<std::string_view, Entry>& controlWords()
{
    static const std::unordered_map<std::string_view, Entry> words = [] {
        std::unordered_map<std::string_view, Entry> w;
        const auto ch = [&w](std::string_view name, char16_t c) { w[name] = {Kind::Character, c}; };
        ch("line", kLineBreak);
        ch("tab", u'\t');
        ch("cell", u'\t');
        ch("nestcell", u'\t');
        ch("emdash", 0x2014);
        ch("endash", 0x2013);
        ch("bullet", 0x2022);
        ch("lquote", 0x2018);
        ch("rquote", 0x2019);
        ch("ldblquote", 0x201C);
        ch("rdblquote", 0x201D);
        ch("emspace", 0x2003);
        ch("enspace", 0x2002);
        ch("qmspace", 0x2005);
        ch("zwj", 0x200D);
        ch("zwnj", 0x200C);
        ch("ltrmark", 0x200E);
        ch("rtlmark", 0x200F);
        for (std::string_view p : {"par", "sect", "page", "row", "nestrow"})
            w[p] = {Kind::Paragraph};
        w["b"] = {Kind::Bold};
        w["i"] = {Kind::Italic};
        for (std::string_view u : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulth", "ulw",
                                   "ulwave", "ulthd", "ulthdash"})
            w[u] = {Kind::Underline};
        w["ulnone"] = {Kind::UnderlineNone};
        w["strike"] = {Kind::Strike};
        w["striked"] = {Kind::Strike};
        w["cf"] = {Kind::Colour};
        w["cb"] = {Kind::Background};
        w["highlight"] = {Kind::Background};
        w["f"] = {Kind::Font};
        w["fs"] = {Kind::FontSize};
        w["plain"] = {Kind::Plain};
        w["u"] = {Kind::Unicode};
        w["uc"] = {Kind::UnicodeSkip};
        w["bin"] = {Kind::Binary};
        w["ansi"] = {Kind::Ansi};
        w["ansicpg"] = {Kind::AnsiCodePage};
        w["mac"] = {Kind::Mac};
        w["pc"] = {Kind::Pc};
        w["pca"] = {Kind::Pca};
        w["deff"] = {Kind::DefaultFont};
        w["fonttbl"] = {Kind::FontTable};
        w["colortbl"] = {Kind::ColourTable};
        w["red"] = {Kind::Red};
        w["green"] = {Kind::Green};
        w["blue"] = {Kind::Blue};
        w["fcharset"] = {Kind::FontCharset};
        w["cpg"] = {Kind::FontCodePage};
        w["fmodern"] = {Kind::FixedPitchFamily};
        w["fprq"] = {Kind::Pitch};
        // Destinations whose content is never shown as document text.
        for (std::string_view d : {"stylesheet",
                                   "info",
                                   "pict",
                                   "object",
                                   "objdata",
                                   "header",
                                   "headerl",
                                   "headerr",
                                   "headerf",
                                   "footer",
                                   "footerl",
                                   "footerr",
                                   "footerf",
                                   "footnote",
                                   "fldinst",
                                   "listtable",
                                   "listoverridetable",
                                   "revtbl",
                                   "rsidtbl",
                                   "xmlnstbl",
                                   "filetbl",
                                   "pgdsctbl",
                                   "themedata",
                                   "colorschememapping",
                                   "latentstyles",
                                   "datastore",
                                   "author",
                                   "operator",
                                   "title",
                                   "subject",
                                   "keywords",
                                   "comment",
                                   "doccomm",
                                   "company",
                                   "creatim",
                                   "revtim",
                                   "printim",
                                   "buptim",
                                   "pntext",
                                   "pntxta",
                                   "pntxtb",
                                   "nonshppict",
                                   "shpinst",
                                   "shprslt",
                                   "private",
                                   "generator",
                                   "bkmkstart",
                                   "bkmkend",
                                   "annotation",
                                   "atnid",
                                   "atnauthor",
                                   "txe",
                                   "xe",
                                   "tc",
                                   "rxe",
                                   "userprops",
                                   "docvar",
                                   "template",
                                   "ftnsep",
                                   "ftnsepc",
                                   "ftncn",
                                   "aftnsep",
                                   "aftnsepc",
                                   "aftncn",
                                   "listtext",
                                   "mmathPr",
                                   "fchars",
                                   "lchars"})
            w[d] = {Kind::SkipDestination};
        return w;
    }();
    return words;
}

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0; // ANSI, default and symbol fonts follow the document's code page
    }
}

std::unique_ptr<QStringDecoder> makeDecoder(int codePage)
{
    std::vector<std::string> names;
    switch (codePage) {
    case 65001:
        names = {"UTF-8"};
        break;
    case 10000:
        names = {"macintosh"};
        break;
    case 932:
        names = {"Shift_JIS"};
        break;
    case 936:
        names = {"GBK"};
        break;
    case 949:
        names = {"windows-949"};
        break;
    case 950:
        names = {"Big5"};
        break;
    default:
        break;
    }
    names.push_back("windows-" + std::to_string(codePage));
    names.push_back("cp" + std::to_string(codePage));
    names.push_back("IBM" + std::to_string(codePage));
    for (const std::string& name : names) {
        auto decoder = std::make_unique<QStringDecoder>(name.c_str(), QStringDecoder::Flag::Stateless);
        if (decoder->isValid())
            return decoder;
    }
    return nullptr;
}

struct CharStyle
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0;
    int background = 0;
    int font = -1;
    int halfPoints = 0;

    bool operator==(const CharStyle&) const = default;
};

struct Group
{
    CharStyle style;
    Dest dest = Dest::Text;
    int skipCount = 1;
};

struct FontInfo
{
    QString name;
    bool fixedPitch = false;
    int codePage = 0;
};

class Parser
{
public:
    Parser(std::string_view rtf, const RtfReader::RunCallback& sink) : m_in(rtf), m_sink(sink)
    {
        m_groups.emplace_back();
    }

    void run()
    {
        while (m_pos < m_in.size() && !m_finished) {
            const char c = m_in[m_pos];
            switch (c) {
            case '{':
                ++m_pos;
                openGroup();
                break;
            case '}':
                ++m_pos;
                closeGroup();
                break;
            case '\\':
                ++m_pos;
                control();
                break;
            case '\r':
            case '\n':
                // Line ends in RTF source only wrap the source.
                ++m_pos;
                break;
            default:
                ++m_pos;
                byte(static_cast<unsigned char>(c));
                break;
            }
        }
        flushBytes();
        flushRun();
    }

private:
    Group& group() { return m_groups.back(); }

    void openGroup()
    {
        flushBytes();
        m_skip = 0;
        ++m_depth;
        if (m_groups.size() < kMaxDepth)
            m_groups.push_back(m_groups.back());
        else
            ++m_overflow;
    }

    void closeGroup()
    {
        flushBytes();
        m_skip = 0;
        if (m_depth == 0)
            return;
        if (group().dest == Dest::FontTable)
            commitFont();
        --m_depth;
        if (m_overflow > 0)
            --m_overflow;
        else
            m_groups.pop_back();
        m_finished = m_depth == 0;
    }

    void control()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in[m_pos];
        if (isLetter(c)) {
            const std::size_t start = m_pos;
            while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
                ++m_pos;
            const std::string_view name = m_in.substr(start, m_pos - start);
            bool negative = false;
            if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1])) {
                negative = true;
                ++m_pos;
            }
            bool hasParam = false;
            long long value = 0;
            while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
                hasParam = true;
                value = std::min<long long>(value * 10 + (m_in[m_pos] - '0'), 1LL << 40);
                ++m_pos;
            }
            if (m_pos < m_in.size() && m_in[m_pos] == ' ')
                ++m_pos;
            if (negative)
                value = -value;
            word(name, hasParam, static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)));
            return;
        }
        ++m_pos;
        symbol(c);
    }

    void symbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            byte(static_cast<unsigned char>(c));
            return;
        case '\'':
            hexByte();
            return;
        case '*':
            group().dest = Dest::Skip;
            return;
        case '\r':
        case '\n':
            character(kParagraph);
            return;
        case '~':
            character(0x00A0);
            return;
        case '_':
            character(0x2011);
            return;
        default:
            // `\-` (optional hyphen) and other symbols show nothing but still count as fallback.
            if (group().dest != Dest::Skip && m_skip > 0)
                --m_skip;
            return;
        }
    }

    void hexByte()
    {
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_in.size()) {
            const int d = hexValue(m_in[m_pos]);
            if (d < 0)
                break;
            value = value * 16 + d;
            ++digits;
            ++m_pos;
        }
        if (digits > 0)
            byte(static_cast<unsigned char>(value));
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    // Whether the next visible thing is shown: not inside a skipped destination and not part of
    // the fallback of a `\uN`.
    bool takeVisible()
    {
        if (group().dest == Dest::Skip)
            return false;
        if (m_skip > 0) {
            --m_skip;
            return false;
        }
        return true;
    }

    void byte(unsigned char b)
    {
        if (!takeVisible())
            return;
        switch (group().dest) {
        case Dest::Text:
            if (b == '\t')
                character(u'\t', false);
            else if (b >= 0x20)
                m_bytes += static_cast<char>(b);
            break;
        case Dest::FontTable:
            if (b == ';')
                commitFont();
            else if (b >= 0x20 && m_fontName.size() < kMaxFontName)
                m_fontName += static_cast<char>(b);
            break;
        case Dest::ColourTable:
            if (b == ';')
                commitColour();
            break;
        case Dest::Skip:
            break;
        }
    }

    void character(char16_t u, bool counts = true)
    {
        if (counts && !takeVisible())
            return;
        if (group().dest != Dest::Text)
            return;
        flushBytes();
        startRun();
        m_run += QChar(u);
    }

    void word(std::string_view name, bool hasParam, int param)
    {
        const auto& words = controlWords();
        const auto found = words.find(name);
        const Entry entry = found == words.end() ? Entry{} : found->second;
        if (entry.kind == Kind::Binary) {
            const std::size_t count = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
            m_pos += std::min(count, m_in.size() - m_pos);
            if (group().dest != Dest::Skip && m_skip > 0)
                --m_skip;
            return;
        }
        if (entry.kind == Kind::Character || entry.kind == Kind::Paragraph) {
            character(entry.kind == Kind::Paragraph ? kParagraph : entry.character);
            return;
        }
        if (!takeVisible())
            return;
        flushBytes();
        Group& g = group();
        if (g.dest == Dest::FontTable)
            fontTableWord(entry.kind, name, hasParam, param);
        else if (g.dest == Dest::ColourTable)
            colourTableWord(entry.kind, param);
        else
            textWord(entry.kind, hasParam, param);
    }

    void fontTableWord(Kind kind, std::string_view name, bool hasParam, int param)
    {
        if (name == "f" && hasParam) {
            commitFont();
            m_fontNumber = param;
        } else if (kind == Kind::FontCharset) {
            if (m_fontNew.codePage == 0)
                m_fontNew.codePage = codePageOfCharset(param);
        } else if (kind == Kind::FontCodePage) {
            m_fontNew.codePage = std::max(param, 0);
        } else if (kind == Kind::FixedPitchFamily || (kind == Kind::Pitch && param == 1)) {
            m_fontNew.fixedPitch = true;
        } else if (kind == Kind::SkipDestination) {
            group().dest = Dest::Skip;
        }
    }

    void colourTableWord(Kind kind, int param)
    {
        const int value = std::clamp(param, 0, 255);
        switch (kind) {
        case Kind::Red:
            m_red = value;
            break;
        case Kind::Green:
            m_green = value;
            break;
        case Kind::Blue:
            m_blue = value;
            break;
        default:
            return;
        }
        m_colourGiven = true;
    }

    void textWord(Kind kind, bool hasParam, int param)
    {
        Group& g = group();
        CharStyle& s = g.style;
        const bool on = !hasParam || param != 0;
        switch (kind) {
        case Kind::Bold:
            s.bold = on;
            break;
        case Kind::Italic:
            s.italic = on;
            break;
        case Kind::Underline:
            s.underline = on;
            break;
        case Kind::UnderlineNone:
            s.underline = false;
            break;
        case Kind::Strike:
            s.strike = on;
            break;
        case Kind::Colour:
            s.colour = hasParam ? param : 0;
            break;
        case Kind::Background:
            s.background = hasParam ? param : 0;
            break;
        case Kind::Font:
            s.font = hasParam ? param : -1;
            break;
        case Kind::FontSize:
            s.halfPoints = hasParam ? std::clamp(param, 0, 3276) : 24;
            break;
        case Kind::Plain:
            s = CharStyle{};
            break;
        case Kind::Unicode:
            unicode(param);
            break;
        case Kind::UnicodeSkip:
            g.skipCount = std::clamp(param, 0, kMaxSkipCount);
            break;
        case Kind::Ansi:
            m_codePage = 1252;
            break;
        case Kind::AnsiCodePage:
            m_codePage = param > 0 ? param : 1252;
            break;
        case Kind::Mac:
            m_codePage = 10000;
            break;
        case Kind::Pc:
            m_codePage = 437;
            break;
        case Kind::Pca:
            m_codePage = 850;
            break;
        case Kind::DefaultFont:
            m_defaultFont = param;
            break;
        case Kind::FontTable:
            g.dest = Dest::FontTable;
            break;
        case Kind::ColourTable:
            g.dest = Dest::ColourTable;
            break;
        case Kind::SkipDestination:
            g.dest = Dest::Skip;
            break;
        default:
            break;
        }
    }

    // RTF writes UTF-16 code units as signed 16-bit numbers; some writers use the unsigned value.
    void unicode(int param)
    {
        char16_t unit = kReplacement;
        if (param >= -32768 && param < 0)
            unit = static_cast<char16_t>(param + 65536);
        else if (param >= 0 && param <= 0xFFFF)
            unit = static_cast<char16_t>(param);
        startRun();
        m_run += QChar(unit);
        m_skip = group().skipCount;
    }

    void commitFont()
    {
        if (m_fontNumber >= 0 && (m_fonts.size() < kMaxFonts || m_fonts.count(m_fontNumber))) {
            std::string name = m_fontName;
            while (!name.empty() && name.back() == ' ')
                name.pop_back();
            QString decoded;
            decode(name, m_fontNew.codePage > 0 ? m_fontNew.codePage : m_codePage, decoded);
            m_fontNew.name = decoded.trimmed();
            m_fonts[m_fontNumber] = m_fontNew;
            m_formats.clear();
        }
        m_fontNumber = -1;
        m_fontNew = FontInfo{};
        m_fontName.clear();
    }

    void commitColour()
    {
        if (m_colours.size() < kMaxColours)
            m_colours.push_back(m_colourGiven ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colourGiven = false;
        m_formats.clear();
    }

    void startRun()
    {
        const CharStyle& style = group().style;
        if (!m_run.isEmpty() && !(style == m_runStyle))
            flushRun();
        if (m_run.isEmpty())
            m_runStyle = style;
    }

    int codePageOf(const CharStyle& style) const
    {
        const int fontNumber = style.font >= 0 ? style.font : m_defaultFont;
        const auto font = m_fonts.find(fontNumber);
        if (font != m_fonts.end() && font->second.codePage > 0)
            return font->second.codePage;
        return m_codePage;
    }

    void flushBytes()
    {
        if (m_bytes.empty())
            return;
        startRun();
        decode(m_bytes, codePageOf(m_runStyle), m_run);
        m_bytes.clear();
    }

    // Code pages that cannot be decoded here read as 1252, so the text still shows.
    void decode(std::string_view bytes, int codePage, QString& into)
    {
        QStringDecoder* decoder = codePage == 1252 ? nullptr : decoderFor(codePage);
        if (decoder) {
            into += decoder->decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
            return;
        }
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            into += QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size()));
            return;
        }
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            into += QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
        }
    }

    QStringDecoder* decoderFor(int codePage)
    {
        auto found = m_decoders.find(codePage);
        if (found == m_decoders.end())
            found = m_decoders.emplace(codePage, makeDecoder(codePage)).first;
        return found->second.get();
    }

    // Lone surrogates cannot be shown or saved; U+FDD0 and U+FDD1 are the document's own frame
    // markers and would change its structure.
    static void sanitize(QString& text)
    {
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = text.at(i).unicode();
            if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && text.at(i + 1).isLowSurrogate())
                ++i;
            else if ((u >= 0xD800 && u <= 0xDFFF) || u == 0xFDD0 || u == 0xFDD1)
                text[i] = QChar(kReplacement);
        }
    }

    void flushRun()
    {
        if (m_run.isEmpty())
            return;
        sanitize(m_run);
        m_sink(m_run, formatOf(m_runStyle));
        m_run.resize(0); // keeps its buffer for the next run
    }

    QColor colourAt(int index) const
    {
        if (index > 0 && static_cast<std::size_t>(index) < m_colours.size())
            return m_colours[static_cast<std::size_t>(index)];
        return {};
    }

    const QTextCharFormat& formatOf(const CharStyle& style)
    {
        for (const auto& [known, format] : m_formats) {
            if (known == style)
                return format;
        }
        QTextCharFormat format;
        if (style.bold)
            format.setFontWeight(QFont::Bold);
        if (style.italic)
            format.setFontItalic(true);
        if (style.underline)
            format.setFontUnderline(true);
        if (style.strike)
            format.setFontStrikeOut(true);
        if (const QColor c = colourAt(style.colour); c.isValid())
            format.setForeground(c);
        if (const QColor c = colourAt(style.background); c.isValid())
            format.setBackground(c);
        const auto font = m_fonts.find(style.font >= 0 ? style.font : m_defaultFont);
        if (font != m_fonts.end()) {
            if (!font->second.name.isEmpty())
                format.setFontFamilies(QStringList{font->second.name});
            if (font->second.fixedPitch) {
                format.setFontFixedPitch(true);
                format.setFontStyleHint(QFont::TypeWriter);
            }
        }
        if (style.halfPoints > 0)
            format.setFontPointSize(style.halfPoints / 2.0);
        if (m_formats.size() >= 16)
            m_formats.erase(m_formats.begin());
        m_formats.emplace_back(style, format);
        return m_formats.back().second;
    }

    std::string_view m_in;
    std::size_t m_pos = 0;
    const RtfReader::RunCallback& m_sink;

    std::vector<Group> m_groups;
    std::size_t m_depth = 0;
    std::size_t m_overflow = 0;
    bool m_finished = false;
    int m_skip = 0;

    std::string m_bytes;
    QString m_run;
    CharStyle m_runStyle;

    int m_codePage = 1252;
    int m_defaultFont = -1;
    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;

    std::map<int, FontInfo> m_fonts;
    int m_fontNumber = -1;
    FontInfo m_fontNew;
    std::string m_fontName;

    std::vector<QColor> m_colours;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colourGiven = false;

    std::vector<std::pair<CharStyle, QTextCharFormat>> m_formats;
};

} // namespace

void RtfReader::read(std::string_view rtf, QTextDocument& into) const
{
    into.clear();
    const bool undo = into.isUndoRedoEnabled();
    into.setUndoRedoEnabled(false);
    QTextCursor cursor(&into);
    cursor.beginEditBlock();
    read(rtf, [&cursor](const QString& text, const QTextCharFormat& format) { cursor.insertText(text, format); });
    cursor.endEditBlock();
    into.setUndoRedoEnabled(undo);
}

void RtfReader::read(std::string_view rtf, const RunCallback& run) const
{
    Parser(rtf, run).run();
}

} // namespace zel::rtf
