#include "host/forms/ScriptHighlighter.h"

#include "hostparts/colorizer/Colorizer.h"

#include <QTextCharFormat>

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

} // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::setJScript(bool jscript)
{
    if (jscript == m_jscript)
        return;
    m_jscript = jscript;
    rehighlight();
}

void ScriptHighlighter::highlightBlock(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    // Where each UTF-8 byte's character starts in the block's UTF-16 text; built only for lines
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
    const bool open = Colorizer::paintLine(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                                           m_jscript, previousBlockState() == 1,
                                           [&](std::size_t pos, std::size_t length, int colour, bool italic) {
                                               QTextCharFormat format = formats()[static_cast<std::size_t>(colour)];
                                               format.setFontItalic(italic);
                                               const int start = unit(pos);
                                               setFormat(start, unit(pos + length) - start, format);
                                           });
    setCurrentBlockState(open ? 1 : 0);
}

} // namespace zel
