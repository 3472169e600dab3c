#pragma once

#include "host/forms/IdleCheck.h"

#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class QTextCharFormat;

namespace zel {

class ScriptHighlighter;

// The script box: a plain-text editor with line numbers in a gutter, the caret's line
// highlighted, colours painted while typing, and one line that can be marked as holding an error.
class CodeEditor final : public QTextEdit
{
    Q_OBJECT
public:
    explicit CodeEditor(QWidget* parent = nullptr);

    ~CodeEditor() override;

    // Reads `'` as a JScript quote instead of a VBScript comment, comments lines with `//` instead
    // of `'`, indents after `{` instead of after VBScript's block statements, and checks as JScript.
    void setJScript(bool jscript);
    // The tooltip of the error the idle check marked: %1 its number, %2 its description.
    void setIdleErrorTip(std::string tip) { m_idleTip = std::move(tip); }
    // The error the idle check marked (Number 0 when none).
    const IdleCheckResult& idleError() const { return m_idleError; }

    // Comments the selected lines, or uncomments them when every one of them is commented.
    void toggleComment();
    // Indents the selected lines by one step, or outdents them.
    void indentLines(bool outdent);
    // One run of coloured text; a new line is U+2029 in the text.
    using ColourRun = std::function<void(const QString& text, const QTextCharFormat& format)>;
    // Shows the colours of a text with the same characters as the box's, which `read` hands over
    // run by run, without touching the box's text, caret or undo history. Lines whose text
    // differs are left alone; only lines whose colours change are laid out again.
    void showColoursOf(const std::function<void(const ColourRun& run)>& read);
    // Puts the caret on the 1-based line and column (clamped to the text) and marks that line;
    // the mark goes with the next edit.
    void goToAndMark(int line, int column);
    // The 1-based line and column of the caret.
    int caretLine() const;
    int caretColumn() const;
    // The line marked by goToAndMark, 0 when none.
    int markedLine() const { return m_markedLine; }

    int gutterWidth() const;
    void paintGutter(QPaintEvent* event);

signals:
    // The caret moved to the 1-based line and column.
    void caretMoved(int line, int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateGutter();
    void updateHighlights();
    void newLineWithIndent();
    // The idle check's mark: the characters it covers.
    QTextCursor idleMark() const;

    QWidget* m_gutter;
    ScriptHighlighter* m_highlighter;
    int m_markedLine = 0;
    bool m_jscript = false;
    QTimer m_idleTimer;
    int m_generation = 0;
    int m_revision = -1;
    IdleCheckResult m_idleError;
    std::string m_idleTip = "Error %1: %2";
    std::unique_ptr<IdleCheck> m_idleCheck;
};

} // namespace zel
