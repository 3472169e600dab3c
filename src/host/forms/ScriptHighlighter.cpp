#include "host/forms/ScriptHighlighter.h"

#include "hostparts/colorizer/Colorizer.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>

#include <array>
#include <vector>

namespace zel {
namespace {

using hostparts::Colorizer;

const std::array<QTextCharFormat, 6>& formats()
{
    static const std::array<QTextCharFormat, 6> table = [] {
        std::array<QTextCharFormat, 6> made;
        for (std::size_t i = 0; i < made.size(); ++i) {
            const Colorizer::Rgb rgb = Colorizer::kRgb[i];
            made[i].setForeground(QColor(rgb.red, rgb.green, rgb.blue));
            made[i].setFontItalic(i == Colorizer::kCommentColour);
        }
        return made;
    }();
    return table;
}

// Colours one line, starting inside a block comment when `inBlockComment` is set: hands each
// coloured run to `run` as UTF-16 start, length and format, and returns whether the line ends
// inside a block comment.
template <class Run> bool paintText(const QString& text, bool jscript, bool inBlockComment, Run&& run)
{
    const QByteArray utf8 = text.toUtf8();
    // Where each UTF-8 byte's character starts in the line's UTF-16 text; built only for lines
    // that are not plain ASCII.
    std::vector<int> unitAt;
    if (utf8.size() != text.size()) {
        unitAt.reserve(static_cast<std::size_t>(utf8.size()) + 1);
        for (int unit = 0; unit < text.size(); ++unit) {
            const QChar c = text[unit];
            if (c.isLowSurrogate())
                continue;
            const int bytes = c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : c.isHighSurrogate() ? 4 : 3;
            unitAt.insert(unitAt.end(), static_cast<std::size_t>(bytes), unit);
        }
        unitAt.push_back(static_cast<int>(text.size()));
    }
    auto unit = [&](std::size_t byte) {
        if (unitAt.empty())
            return static_cast<int>(byte);
        return byte < unitAt.size() ? unitAt[byte] : static_cast<int>(text.size());
    };
    return Colorizer::paintLine(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), jscript,
                                inBlockComment, [&](std::size_t pos, std::size_t length, int colour, bool italic) {
                                    const QTextCharFormat& format = formats()[static_cast<std::size_t>(colour)];
                                    const int start = unit(pos);
                                    if (format.fontItalic() == italic) {
                                        run(start, unit(pos + length) - start, format);
                                    } else {
                                        QTextCharFormat slanted = format;
                                        slanted.setFontItalic(italic);
                                        run(start, unit(pos + length) - start, slanted);
                                    }
                                });
}

} // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::setJScript(bool jscript)
{
    if (jscript == m_jscript)
        return;
    m_jscript = jscript;
    // Every line is coloured again, and the text laid out once. Repainting line by line would lay
    // the text out again after each line, which takes minutes on a long script.
    QTextDocument* doc = document();
    if (doc == nullptr || doc->isEmpty())
        return;
    bool open = false;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        QList<QTextLayout::FormatRange> ranges;
        open =
            paintText(block.text(), m_jscript, open, [&ranges](int start, int length, const QTextCharFormat& format) {
                ranges.append({start, length, format});
            });
        block.layout()->setFormats(ranges);
        block.setUserState(open ? 1 : 0);
    }
    doc->markContentsDirty(0, doc->characterCount());
}

void ScriptHighlighter::highlightBlock(const QString& text)
{
    const bool open =
        paintText(text, m_jscript, previousBlockState() == 1,
                  [this](int start, int length, const QTextCharFormat& format) { setFormat(start, length, format); });
    setCurrentBlockState(open ? 1 : 0);
}

} // namespace zel
