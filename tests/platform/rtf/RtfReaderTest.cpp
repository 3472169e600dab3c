#include "platform/rtf/RtfReader.h"
#include "hostparts/colorizer/Colorizer.h"
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using zel::hostparts::Colorizer;
using zel::rtf::RtfReader;

namespace {

// QTextDocument needs a GUI application: one for the program, offscreen unless the caller chose a platform.
class GuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[14] = "zel_rtf_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

[[maybe_unused]] const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// The document's characters as stored: paragraphs end in U+2029, line breaks are U+2028 and
// no blank stands in for a no-break space, unlike toPlainText().
std::string rawText(std::string_view rtf)
{
    QTextDocument doc;
    RtfReader().read(rtf, doc);
    return doc.toRawText().toStdString();
}

// The character format at the first character of `token`.
QTextCharFormat formatAt(const QTextDocument& doc, const QString& token)
{
    const QTextCursor found = doc.find(token);
    EXPECT_FALSE(found.isNull()) << token.toStdString();
    QTextCursor at(const_cast<QTextDocument*>(&doc));
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

TEST(RtfReader, ReadsControlWordsAndSymbols)
{
    struct Row
    {
        const char* rtf;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {"{\\rtf1 a\\par b}", "a\u2029b"},
        {"{\\rtf1 a\r\nb\nc}", "abc"},
        {"{\\rtf1 a\\\nb\\\rc}", "a\u2029b\u2029c"},
        {"{\\rtf1 \\\\ \\{ \\}}", "\\ { }"},
        {"{\\rtf1 a\\~b\\_c\\-d}", "a\u00A0b\u2011cd"},
        {"{\\rtf1\\ansi Caf\\'e9 \\'80\\'9f\\'81}", "Café €Ÿ\u0081"},
        {"{\\rtf1\\ansi\\ansicpg932 \\'83e\\'83L\\'83X\\'83g}", "テキスト"},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 Greek;}}\\f1 \\'e1\\f0 \\'e1}", "αá"},
        {"{\\rtf1 \\'4x\\'09\\'0a\\'00}", "x\t"},
        {"{\\rtf1 \\'zz}", "zz"},
        {"{\\rtf1 {\\uc3 \\u8364?}x}", "€x"},
        {"{\\rtf1 \\u-10179?\\u-8704?}", "😀"},
        {"{\\rtf1 \\u-10179?x}", "\uFFFDx"},
        {"{\\rtf1 \\u70000?x}", "\uFFFDx"},
        {"{\\rtf1 \\u-64048?\\u64977?}", "\uFFFD\uFFFD"},
        {"{\\rtf1 {\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s0 Normal;}}x}",
         "x"},
        {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}}", "link"},
        {"{\\rtf1 a\\bin99999 b}", "a"},
        {"{\\rtf1 a\\bin-5 b}", "ab"},
        {"{\\rtf1 a}b}", "a"},
        {"no header {at} all", "no header at"},
        {"}}{\\rtf1 a}", "a"},
        {"{\\rtf1 {{{ unclosed", " unclosed"},
        {"{\\rtf1 \\", ""},
        {"{\\rtf1 \\b99999999999999999999 x\\u99999999999999999999 y}", "x\uFFFD"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(rawText(row.rtf), row.expected) << row.rtf;
}

// Documents of other writers: their text as stored (paragraph ends U+2029, line breaks U+2028) and their
// character styles.
TEST(RtfReader, ReadsDocumentsOfOtherWriters_AppliesCharacterStyles_ReplacesTheContent)
{
    QTextDocument wordpad;
    RtfReader().read(zel::test::fixture("rtf/wordpad-style.rtf"), wordpad);
    EXPECT_EQ(wordpad.toRawText().toStdString(),
              "Quarterly report for Café Müller\u2029Overdue: 3 invoices, total € 1\u00A0200\u2029"
              "Tab\tseparated\tvalues\u2029");
    EXPECT_EQ(formatAt(wordpad, "report").fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(wordpad, "Quarterly").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(wordpad, "Müller").fontItalic());
    EXPECT_EQ(formatAt(wordpad, "Overdue").foreground().color(), QColor(192, 0, 0));
    EXPECT_FALSE(formatAt(wordpad, "total").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(formatAt(wordpad, "invoices").fontUnderline());
    EXPECT_FALSE(formatAt(wordpad, "total").fontUnderline());
    EXPECT_EQ(formatAt(wordpad, "separated").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(formatAt(wordpad, "separated").fontPointSize(), 10.0);
    EXPECT_EQ(formatAt(wordpad, "report").fontFamilies().toStringList(), QStringList{"Calibri"});

    QTextDocument word;
    RtfReader().read(zel::test::fixture("rtf/word-style.rtf"), word);
    EXPECT_EQ(word.toRawText().toStdString(), "Prices in € and € euro, bold and a link.\u2028Second line – with "
                                              "dash\u00A0and\u00A0spaces.\u2029Привет\u2029");
    EXPECT_EQ(formatAt(word, "bold").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(word, "link").foreground().color(), QColor(5, 99, 193));
    EXPECT_TRUE(formatAt(word, "link").fontUnderline());
    EXPECT_EQ(formatAt(word, "Prices").fontFamilies().toStringList(), QStringList{"Times New Roman"});

    QTextDocument textedit;
    RtfReader().read(zel::test::fixture("rtf/textedit-style.rtf"), textedit);
    EXPECT_EQ(textedit.toRawText().toStdString(),
              "Notes from the meeting\u2029First point: agreed\u2029\u2029Set x = Nothing\u2029"
              "Last line");
    EXPECT_EQ(formatAt(textedit, "agreed").foreground().color(), QColor(14, 110, 34));
    EXPECT_TRUE(formatAt(textedit, "Nothing").fontFixedPitch());

    QTextDocument plain;
    RtfReader().read("{\\rtf1{\\colortbl;\\red9\\green9\\blue9;}\\b\\i\\strike\\ul\\cf1\\cb1 a\\plain b}", plain);
    const QTextCharFormat a = formatAt(plain, "a");
    EXPECT_TRUE(a.fontWeight() == QFont::Bold && a.fontItalic() && a.fontStrikeOut() && a.fontUnderline());
    EXPECT_EQ(a.background().color(), QColor(9, 9, 9));
    const QTextCharFormat b = formatAt(plain, "b");
    EXPECT_FALSE(b.fontWeight() == QFont::Bold || b.fontItalic() || b.fontStrikeOut() || b.fontUnderline());
    EXPECT_FALSE(b.hasProperty(QTextFormat::ForegroundBrush));

    // The colours of the colouring component are kept; reading again replaces the content.
    RtfReader().read(Colorizer().Colorize("Dim s ' note\ns = \"txt\" + 42"), plain);
    EXPECT_EQ(formatAt(plain, "Dim").foreground().color(), QColor(0, 51, 179));
    EXPECT_EQ(formatAt(plain, "' note").foreground().color(), QColor(128, 128, 128));
    EXPECT_TRUE(formatAt(plain, "' note").fontItalic());
    EXPECT_EQ(formatAt(plain, "\"txt\"").foreground().color(), QColor(6, 125, 23));
    EXPECT_EQ(formatAt(plain, "42").foreground().color(), QColor(23, 80, 235));
    EXPECT_EQ(formatAt(plain, "s =").foreground().color(), QColor(31, 31, 31));
    EXPECT_TRUE(formatAt(plain, "Dim").fontFixedPitch());
    // A second reading replaces the content and leaves nothing to undo.
    RtfReader().read("{\\rtf1 new}", plain);
    EXPECT_EQ(plain.toPlainText(), "new");
    EXPECT_FALSE(plain.isUndoAvailable());
    EXPECT_TRUE(plain.isUndoRedoEnabled());
}

TEST(RtfReader, RoundTripsColouredText)
{
    const std::vector<std::string> texts = {
        "",
        "Dim x",
        "a\r\nb\nc\rd",
        "\r\n\r\n",
        "\n",
        "trailing CR\r",
        "\tindented\t\ttabs \t",
        "{braces} and \\back\\slashes\\",
        "Grüße, мир, 中文, עברית",
        "emoji \xF0\x9F\x98\x80\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD in a comment ' \xF0\x9F\x98\x80",
        "invalid \xFF\xC3( \xED\xA0\x80 \xF4\x90\x80\x80 bytes",
        std::string("NUL \0 and \x01\x1F\x7F controls", 22),
        "separators \xE2\x80\xA8 \xE2\x80\xA9 nbsp \xC2\xA0 markers \xEF\xB7\x90\xEF\xB7\x91 \xEF\xBF\xBC",
        "s = \"unterminated\r\nx = 'comment' \"quoted\" /* block\r\ncomment */ &HFF 1.5e-3",
        zel::test::fixture("colorizer/InvoiceReminder.vbs"),
        zel::test::fixture("colorizer/OrderSync.js"),
    };
    const Colorizer colorizer;
    for (const std::string& text : texts) {
        QTextDocument doc;
        RtfReader().read(colorizer.Colorize(text), doc);
        const std::string shown = Colorizer::shownText(text);
        EXPECT_EQ(doc.toPlainText().toStdString(), shown) << text;
        // Caret positions count UTF-16 units with one unit per line end, as the editor counts them.
        EXPECT_EQ(doc.characterCount() - 1, QString::fromStdString(shown).size()) << text;
    }
}

TEST(RtfReader, EveryPrefixOfASampleGivesADocument_HostileNestingIsSurvived)
{
    std::vector<std::string> samples = {zel::test::fixture("rtf/wordpad-style.rtf"),
                                        zel::test::fixture("rtf/word-style.rtf"),
                                        zel::test::fixture("rtf/textedit-style.rtf"),
                                        Colorizer().Colorize("Dim s \xC3\xA9 ' c\r\n\"\xF0\x9F\x98\x80\"\t{\\}")};
    for (const std::string& sample : samples) {
        for (std::size_t length = 0; length <= sample.size(); ++length) {
            const std::string_view prefix(sample.data(), length);
            const std::string first = rawText(prefix);
            ASSERT_EQ(rawText(prefix), first) << "not deterministic at " << length;
        }
    }
    // Hostile nesting.
    const std::string deep = std::string(200000, '{') + "x" + std::string(200000, '}') + "after";
    EXPECT_EQ(rawText("{\\rtf1 " + deep + "}"), "xafter");
    const std::string skipped = "{\\rtf1 {\\*\\dest " + std::string(100000, '{') + "hidden" + "}}shown";
    EXPECT_EQ(rawText(skipped), "");
    EXPECT_EQ(rawText("{\\rtf1 {\\colortbl" + std::string(100000, ';') + "}x}"), "x");
}

} // namespace
