#pragma once

#include <functional>
#include <string_view>

class QString;
class QTextCharFormat;
class QTextDocument;

namespace zel::rtf {

// Reads RTF into a styled Qt text document for the editor's rich-text box.
//
// What is shown: text, `\par` (a new paragraph, one character in the document and a LF in
// QTextDocument::toPlainText), `\line` (U+2028), `\tab`, `\'hh` in the document's code page
// (`\ansicpgN`, or the font's `\fcharsetN`/`\cpgN`; 1252 when none is given), `\uN` with its
// `\ucN` fallback skipped, and the usual symbol words (`\~`, `\emdash`, `\bullet`, ...). Styles
// read: `\b`, `\i`, `\ul`, `\strike`, `\cfN`, `\cbN`/`\highlightN`, `\fN`, `\fsN`, `\plain`.
// Font and colour tables are read; `\*` destinations, other destinations that hold no visible
// text (stylesheet, info, pict, headers, ...) and unknown control words are skipped.
//
// Bytes below 0x20 other than tab show nothing; raw CR and LF only wrap the RTF source. Multi-byte
// code pages (932, 936, 949, 950) are decoded across consecutive bytes; a code page Qt has no
// converter for reads as 1252.
//
// Malformed RTF never throws: unbalanced or truncated input gives what was read up to its end,
// text after the closing brace of the outermost group is ignored, lone UTF-16 surrogates and
// U+FDD0/U+FDD1 become U+FFFD. The same input always gives the same document.
class RtfReader
{
public:
    // Replaces the whole content of `into` with the text and character styles of `rtf`. The
    // document's undo history is cleared. Empty input gives an empty document.
    void read(std::string_view rtf, QTextDocument& into) const;

    // One run of shown text in one character format; a new paragraph is U+2029 in the text.
    using RunCallback = std::function<void(const QString& text, const QTextCharFormat& format)>;
    // Reads `rtf` as above and hands each run to `run`, in order, instead of building a document:
    // inserting the runs at the end of an empty document gives what read(rtf, document) gives.
    // Adjacent runs may share a format. Empty input gives no runs.
    void read(std::string_view rtf, const RunCallback& run) const;
};

} // namespace zel::rtf
