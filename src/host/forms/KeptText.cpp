#include "host/forms/KeptText.h"

#include "platform/text/Text.h"

#include <QTextDocument>
#include <QTextEdit>

namespace zel {
namespace {

QString rawText(const QTextEdit& box)
{
    return box.document()->toRawText();
}

std::string withLineFeeds(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

} // namespace

void KeptText::fill(QTextEdit& box, std::string_view text)
{
    keep(text);
    // Only what is shown is laid out before the first paint. The box's own setPlainText puts the
    // caret at the start without laying out the text up to where it was; marks on the old text
    // would be pushed to the end of the new one, and repainting them there lays it all out.
    box.setExtraSelections({});
    box.setPlainText(m_shown);
}

void KeptText::keep(std::string_view text)
{
    m_text = std::string(text);
    m_shown.clear();
    m_offsets.clear();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        char32_t cp = Text::decodeUtf8(text, i, length).value_or(Text::kReplacement);
        if (cp == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            length = 2;
        if (cp == '\r' || cp == '\n')
            cp = QChar::ParagraphSeparator;
        m_offsets.push_back(i);
        if (cp >= 0x10000) {
            m_offsets.push_back(i);
            m_shown += QChar(QChar::highSurrogate(cp));
            m_shown += QChar(QChar::lowSurrogate(cp));
        } else {
            m_shown += QChar(static_cast<char16_t>(cp));
        }
        i += length;
    }
    m_offsets.push_back(m_text.size());
}

std::string KeptText::read(const QTextEdit& box) const
{
    const QString now = rawText(box);
    if (now == m_shown)
        return m_text;
    // The user changed what lies between the longest unchanged beginning and end.
    const qsizetype limit = std::min(now.size(), m_shown.size());
    qsizetype head = 0;
    while (head < limit && now[head] == m_shown[head])
        ++head;
    if (head > 0 && m_shown[head - 1].isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < limit - head && now[now.size() - 1 - tail] == m_shown[m_shown.size() - 1 - tail])
        ++tail;
    if (tail > 0 && m_shown[m_shown.size() - tail].isLowSurrogate())
        --tail;
    std::string out = m_text.substr(0, m_offsets[static_cast<std::size_t>(head)]);
    out += withLineFeeds(now.mid(head, now.size() - head - tail));
    out += m_text.substr(m_offsets[static_cast<std::size_t>(m_shown.size() - tail)]);
    return out;
}

std::string KeptText::shownText(const QTextEdit& box)
{
    return withLineFeeds(rawText(box));
}

} // namespace zel
