#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class QTextEdit;

namespace zel {

// The text a rich-text box was filled with, kept so that what the user did not edit goes back
// exactly as it came. A box stores some characters differently from the text it is given (a
// carriage return, a line feed, a CR LF pair and a paragraph separator all become one paragraph
// break), and its plain text changes others (no-break spaces, line separators); read back
// naively, text nobody touched would change. What lies between two places edited in one showing is
// taken from the box (only paragraph separators and carriage returns there become line feeds).
class KeptText
{
public:
    // Fills box with text as plain text and keeps text.
    void fill(QTextEdit& box, std::string_view text);
    // Keeps text, which the box shows already (what read gave back and was then stored).
    void keep(std::string_view text);
    // The box's text: the kept text wherever the box still shows it, the box's own characters
    // (paragraph breaks as line feeds) where the user changed it.
    std::string read(const QTextEdit& box) const;
    // The box's characters as they are, paragraph breaks as line feeds.
    static std::string shownText(const QTextEdit& box);

private:
    std::string m_text;
    // m_text as the box shows it, and where each of its UTF-16 units starts in m_text (then the
    // end of m_text).
    QString m_shown;
    std::vector<std::size_t> m_offsets{0};
};

} // namespace zel
