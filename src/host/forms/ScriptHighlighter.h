#pragma once

#include <QSyntaxHighlighter>

namespace zel {

// Colours the script box while the user types, line by line, by the colouring component's rules
// and in its colours. Only the edited lines are painted again, and the lines after them while the
// state they start in changes (a block comment opened or closed). The colours live in the layout,
// not in the text, so they never reach the undo history or the stored script.
class ScriptHighlighter final : public QSyntaxHighlighter
{
public:
    explicit ScriptHighlighter(QTextDocument* document);
    // Reads `'` as a JScript quote instead of a VBScript comment; colours every line again when
    // it changes.
    void setJScript(bool jscript);

protected:
    void highlightBlock(const QString& text) override;

private:
    bool m_jscript = false;
};

} // namespace zel
