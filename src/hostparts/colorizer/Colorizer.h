#pragma once

#include <cstddef>
#include <functional>
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

    // The colours of the table, as red, green, blue.
    struct Rgb
    {
        int red, green, blue;
    };
    static constexpr Rgb kRgb[] = {{0, 0, 0}, {31, 31, 31}, {0, 51, 179}, {128, 128, 128}, {6, 125, 23}, {23, 80, 235}};

    // One coloured run of a line: its byte offset and length, its colour, whether it is italic.
    using SpanCallback = std::function<void(std::size_t pos, std::size_t length, int colour, bool italic)>;

    // Colours one line (no line end) by the same rules as Colorize, reading `'` as a JScript quote
    // when jscript is set; inBlockComment says the line starts inside a block comment. Blanks between
    // runs are not reported. Returns true when the line ends inside a block comment. Painting a text
    // line by line, each line starting in the state the one before ended in, gives the colours of
    // Colorize for that text when jscript equals readsAsJScript(text).
    static bool paintLine(std::string_view line, bool jscript, bool inBlockComment, const SpanCallback& span);
    // Whether Colorize reads the text as JScript (its lines vote; a tie is VBScript).
    static bool readsAsJScript(std::string_view text);

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
