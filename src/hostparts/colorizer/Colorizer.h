#pragma once

#include <string>
#include <string_view>

namespace zel::hostparts {

// The host product's default colouring component: turns plain script text into RTF that shows
// exactly the same characters with syntax colours. VBScript and JScript are coloured by one set
// of rules, because the editor does not tell which language the text is in.
//
// Line ends: every CR LF, lone LF and lone CR of the input becomes one `\par`, so a reader that
// makes one paragraph per `\par` shows each line end as one character. What a rich-text box
// shows after reading the RTF back is exactly `shownText(input)`; text that came out of a
// QTextDocument (QTextDocument::toPlainText) is already in that form, so for the editor the
// round trip is exact and caret positions stay where they were.
class Colorizer
{
public:
    // Indexes into the colour table of the RTF (`\cfN`); index 0 is the "auto" colour.
    enum Colour
    {
        kPlainColour = 1,
        kKeywordColour = 2,
        kCommentColour = 3,
        kStringColour = 4,
        kNumberColour = 5,
    };

    // Returns an RTF document (`{\rtf1 ...}`, fixed-pitch font, colour table) holding the text
    // with keywords, comments, strings and numbers coloured; comments are also italic. The text
    // is read as UTF-8; each invalid byte sequence shows as U+FFFD. Empty text gives an RTF
    // document with no characters.
    std::string Colorize(std::string_view plainText) const;

    // Returns the UTF-8 text a rich-text box shows (as its plain text) after reading the RTF of
    // `Colorize(plainText)`: invalid UTF-8 and U+FDD0/U+FDD1 become U+FFFD; CR LF, CR, U+2028 and
    // U+2029 become LF; U+00A0 becomes a blank. Everything else is unchanged.
    static std::string shownText(std::string_view plainText);
};

} // namespace zel::hostparts
