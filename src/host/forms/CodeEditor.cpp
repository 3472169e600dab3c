#include "host/forms/CodeEditor.h"

#include "common/Localisation.h"
#include "host/forms/KeptText.h"
#include "host/forms/ScriptHighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>
#include <optional>

namespace zel {
namespace {

class Gutter final : public QWidget
{
public:
    explicit Gutter(CodeEditor* editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return {m_editor->gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { m_editor->paintGutter(event); }

private:
    CodeEditor* m_editor;
};

const QColor kCurrentLine(232, 242, 254);
const QColor kErrorLine(255, 222, 222);
const QString kIndent = QStringLiteral("    ");
constexpr int kIdleMilliseconds = 500;

// The colour and slant each character is painted in, 0 where no run covers it.
void paintedColours(const QList<QTextLayout::FormatRange>& ranges, qsizetype size, std::vector<quint32>& out)
{
    out.assign(static_cast<std::size_t>(size), 0);
    for (const QTextLayout::FormatRange& range : ranges) {
        const quint32 key = 0x80000000u | (range.format.foreground().color().rgb() & 0xFFFFFFu) |
                            (range.format.fontItalic() ? 0x1000000u : 0u);
        const qsizetype end = std::min<qsizetype>(size, range.start + range.length);
        for (qsizetype i = std::max<qsizetype>(0, range.start); i < end; ++i)
            out[static_cast<std::size_t>(i)] = key;
    }
}

// Whether two lists of runs paint every character in the same colour and slant. Blanks are left
// out: nothing of their colour shows.
bool sameColours(const QString& text, const QList<QTextLayout::FormatRange>& a,
                 const QList<QTextLayout::FormatRange>& b)
{
    thread_local std::vector<quint32> paintedA, paintedB;
    paintedColours(a, text.size(), paintedA);
    paintedColours(b, text.size(), paintedB);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (paintedA[static_cast<std::size_t>(i)] != paintedB[static_cast<std::size_t>(i)] && !text[i].isSpace())
            return false;
    return true;
}

QString leadingBlanks(const QString& line)
{
    qsizetype n = 0;
    while (n < line.size() && (line[n] == QLatin1Char(' ') || line[n] == QLatin1Char('\t')))
        ++n;
    return line.left(n);
}

// What a line does to the blocks around it: it opens one whose body is indented one step further;
// it closes the one above it (End If, Next, Loop, Wend, `}`) or one part of it (Else, ElseIf,
// `} else {`), so it belongs at the level of the line that opened it; or it is a VBScript Case,
// which stands between a Select and its End Select.
struct LineRole
{
    bool opens = false;
    bool closes = false;
    bool isCase = false;
};

LineRole roleOf(const QString& line, bool jscript)
{
    const QString code = line.trimmed();
    if (jscript)
        return {code.endsWith(QLatin1Char('{')), code.startsWith(QLatin1Char('}'))};
    if (code.startsWith(QLatin1Char('\'')))
        return {};
    static const QRegularExpression word(QStringLiteral("[A-Za-z_]+"));
    QStringList words;
    for (auto it = word.globalMatch(code.toLower()); it.hasNext();)
        words.append(it.next().captured());
    while (!words.isEmpty() &&
           (words.front() == u"private" || words.front() == u"public" || words.front() == u"default"))
        words.removeFirst();
    if (words.isEmpty())
        return {};
    static const QStringList openers = {QStringLiteral("for"),      QStringLiteral("do"),    QStringLiteral("while"),
                                        QStringLiteral("select"),   QStringLiteral("case"),  QStringLiteral("sub"),
                                        QStringLiteral("function"), QStringLiteral("class"), QStringLiteral("property"),
                                        QStringLiteral("with"),     QStringLiteral("else")};
    static const QStringList closers = {QStringLiteral("next"), QStringLiteral("loop"), QStringLiteral("wend"),
                                        QStringLiteral("else"), QStringLiteral("elseif")};
    const QString& first = words.front();
    LineRole role;
    role.opens = first == u"if" || first == u"elseif" ? words.back() == u"then" : openers.contains(first);
    role.closes = closers.contains(first) || (first == u"end" && words.size() > 1);
    role.isCase = first == u"case";
    return role;
}

// The leading blanks of the line that opened the block `closer` ends, found by walking up over
// nested blocks and passing over Case lines; nothing when no line above opens it.
std::optional<QString> openerIndent(const QTextBlock& closer, bool jscript)
{
    int depth = 0;
    for (QTextBlock block = closer.previous(); block.isValid(); block = block.previous()) {
        const LineRole role = roleOf(block.text(), jscript);
        if (role.isCase)
            continue;
        if (role.opens && depth-- == 0)
            return leadingBlanks(block.text());
        if (role.closes)
            ++depth;
    }
    return std::nullopt;
}

} // namespace

CodeEditor::CodeEditor(QWidget* parent)
    : QTextEdit(parent), m_gutter(new Gutter(this)), m_highlighter(new ScriptHighlighter(document()))
{
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    // Any edit takes the error marks away. Repainted colours also report a change, of equal
    // lengths, but leave the text's revision as it was. New text may come in two changes of one
    // revision (the text, then its format), so a change of length always counts.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed == added && document()->revision() == m_revision)
            return;
        m_revision = document()->revision();
        ++m_generation;
        m_idleTimer.start();
        if (m_markedLine > 0 || m_idleError.Number != 0) {
            m_markedLine = 0;
            m_idleError = {};
            updateHighlights();
        }
        updateGutter();
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        updateHighlights();
        m_gutter->update();
        emit caretMoved(caretLine(), caretColumn());
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, m_gutter, [this] { m_gutter->update(); });
    // About half a second after the last key the script is checked on the worker thread; an answer
    // about text that has changed since is dropped.
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(kIdleMilliseconds);
    m_idleCheck = std::make_unique<IdleCheck>([this](const IdleCheckResult& result) {
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                if (result.generation != m_generation)
                    return;
                m_idleError = result;
                updateHighlights();
            },
            Qt::QueuedConnection);
    });
    connect(&m_idleTimer, &QTimer::timeout, this, [this] {
        m_idleCheck->request(m_generation, m_jscript ? "JScript" : "VBScript", KeptText::shownText(*this));
    });
    updateGutter();
    updateHighlights();
}

CodeEditor::~CodeEditor()
{
    // The worker ends before the editor goes; answers it posted go with the editor.
    m_idleCheck.reset();
}

void CodeEditor::setJScript(bool jscript)
{
    m_jscript = jscript;
    m_highlighter->setJScript(jscript);
    ++m_generation;
    m_idleError = {};
    updateHighlights();
    m_idleTimer.start();
}

void CodeEditor::keyPressEvent(QKeyEvent* event)
{
    const bool multiLine = textCursor().hasSelection() && document()->findBlock(textCursor().selectionStart()) !=
                                                              document()->findBlock(textCursor().selectionEnd());
    if (event->key() == Qt::Key_Slash && (event->modifiers() & Qt::ControlModifier))
        toggleComment();
    else if (event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && multiLine))
        indentLines(event->key() == Qt::Key_Backtab);
    else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
             !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        newLineWithIndent();
    else
        QTextEdit::keyPressEvent(event);
}

bool CodeEditor::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QTextCursor mark = idleMark();
        const int at = cursorForPosition(help->pos()).position();
        if (!mark.isNull() && at >= mark.selectionStart() && at <= mark.selectionEnd())
            QToolTip::showText(help->globalPos(),
                               QString::fromStdString(Localisation::fillIn(
                                   m_idleTip, {std::to_string(m_idleError.Number), m_idleError.Description})),
                               viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QTextEdit::viewportEvent(event);
}

QTextCursor CodeEditor::idleMark() const
{
    if (m_idleError.Number == 0 || m_idleError.Line < 1 || m_idleError.Line > document()->blockCount())
        return {};
    const QTextBlock block = document()->findBlockByNumber(m_idleError.Line - 1);
    const QString text = block.text();
    // From where the error was found to the next blank (at least one character); at the line's
    // end, the character before it.
    qsizetype start = std::clamp<qsizetype>(m_idleError.Column - 1, 0, text.size());
    if (start == text.size() && start > 0)
        --start;
    qsizetype end = start;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    end = std::max(end, std::min(start + 1, text.size()));
    QTextCursor mark(document());
    mark.setPosition(block.position() + static_cast<int>(start));
    mark.setPosition(block.position() + static_cast<int>(end), QTextCursor::KeepAnchor);
    return mark;
}

void CodeEditor::toggleComment()
{
    const QString prefix = m_jscript ? QStringLiteral("//") : QStringLiteral("'");
    QTextCursor selection = textCursor();
    QTextBlock first = document()->findBlock(selection.selectionStart());
    QTextBlock last = document()->findBlock(selection.selectionEnd());
    // A selection ending at the start of a line leaves that line out.
    if (last != first && selection.selectionEnd() == last.position())
        last = last.previous();
    bool allCommented = true;
    qsizetype indent = -1;
    for (QTextBlock block = first;; block = block.next()) {
        const QString text = block.text();
        if (!text.trimmed().isEmpty()) {
            const qsizetype blanks = leadingBlanks(text).size();
            indent = indent < 0 ? blanks : std::min(indent, blanks);
            allCommented = allCommented && text.mid(blanks).startsWith(prefix);
        }
        if (block == last)
            break;
    }
    if (indent < 0)
        return;
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock block = first;; block = block.next()) {
        const QString text = block.text();
        if (!text.trimmed().isEmpty()) {
            edit.setPosition(block.position() + static_cast<int>(allCommented ? leadingBlanks(text).size() : indent));
            if (allCommented)
                edit.setPosition(edit.position() + static_cast<int>(prefix.size()), QTextCursor::KeepAnchor);
            edit.insertText(allCommented ? QString() : prefix);
        }
        if (block == last)
            break;
    }
    edit.endEditBlock();
}

void CodeEditor::indentLines(bool outdent)
{
    QTextCursor selection = textCursor();
    QTextBlock first = document()->findBlock(selection.selectionStart());
    QTextBlock last = document()->findBlock(selection.selectionEnd());
    if (last != first && selection.selectionEnd() == last.position())
        last = last.previous();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock block = first;; block = block.next()) {
        edit.setPosition(block.position());
        if (!outdent) {
            edit.insertText(kIndent);
        } else {
            // One tab, or up to one step of spaces.
            const QString text = block.text();
            qsizetype n = text.startsWith(QLatin1Char('\t')) ? 1 : 0;
            if (n == 0)
                while (n < kIndent.size() && n < text.size() && text[n] == QLatin1Char(' '))
                    ++n;
            edit.setPosition(block.position() + static_cast<int>(n), QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        }
        if (block == last)
            break;
    }
    edit.endEditBlock();
}

void CodeEditor::newLineWithIndent()
{
    QTextCursor caret = textCursor();
    const QString before = caret.block().text().left(caret.positionInBlock());
    QString indent = leadingBlanks(caret.block().text());
    if (indent.size() > before.size())
        indent = before;
    const LineRole role = roleOf(before, m_jscript);
    caret.beginEditBlock();
    // A line that ends a block moves back to the level of the line that opened it.
    if (const auto opener = role.closes ? openerIndent(caret.block(), m_jscript) : std::nullopt;
        opener && *opener != indent) {
        QTextCursor blanks(caret.block());
        blanks.setPosition(caret.block().position() + static_cast<int>(indent.size()), QTextCursor::KeepAnchor);
        blanks.insertText(*opener);
        indent = *opener;
    }
    if (role.opens)
        indent += kIndent;
    caret.insertBlock();
    caret.insertText(indent);
    caret.endEditBlock();
    setTextCursor(caret);
}

void CodeEditor::showColoursOf(const std::function<void(const ColourRun& run)>& read)
{
    QTextBlock target = document()->begin();
    QString line;
    QList<QTextLayout::FormatRange> ranges;
    // Only the lines from the first to the last whose colours differ are laid out again, once:
    // usually the live colours are the same. Laying out after each line would take minutes on a
    // long script.
    int dirtyFrom = -1;
    int dirtyTo = -1;
    auto endLine = [&] {
        if (target.isValid() && line == target.text() && !sameColours(line, target.layout()->formats(), ranges)) {
            target.layout()->setFormats(ranges);
            dirtyFrom = dirtyFrom < 0 ? target.position() : dirtyFrom;
            dirtyTo = target.position() + target.length();
        }
        target = target.next();
        line.resize(0);
        ranges.clear();
    };
    read([&](const QString& text, const QTextCharFormat& format) {
        for (qsizetype from = 0;;) {
            const qsizetype end = text.indexOf(QChar::ParagraphSeparator, from);
            const QStringView piece = QStringView(text).sliced(from, (end < 0 ? text.size() : end) - from);
            if (!piece.isEmpty()) {
                ranges.append({static_cast<int>(line.size()), static_cast<int>(piece.size()), format});
                line += piece;
            }
            if (end < 0)
                return;
            endLine();
            from = end + 1;
        }
    });
    endLine();
    if (dirtyFrom >= 0)
        document()->markContentsDirty(dirtyFrom, dirtyTo - dirtyFrom);
}

void CodeEditor::goToAndMark(int line, int column)
{
    QTextBlock block = document()->findBlockByNumber(std::clamp(line, 1, document()->blockCount()) - 1);
    QTextCursor caret(block);
    caret.setPosition(block.position() + std::clamp(column - 1, 0, block.length() - 1));
    setTextCursor(caret);
    m_markedLine = block.blockNumber() + 1;
    updateHighlights();
    ensureCursorVisible();
}

int CodeEditor::caretLine() const
{
    return textCursor().blockNumber() + 1;
}

int CodeEditor::caretColumn() const
{
    return textCursor().positionInBlock() + 1;
}

int CodeEditor::gutterWidth() const
{
    int digits = 1;
    for (int count = std::max(1, document()->blockCount()); count >= 10; count /= 10)
        ++digits;
    return 12 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void CodeEditor::paintGutter(QPaintEvent* event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), QColor(245, 245, 245));
    painter.setFont(font());
    const int offset = verticalScrollBar()->value();
    const int current = textCursor().blockNumber();
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    // Only the blocks in view: from the first one at the top of the viewport down to the bottom.
    QTextBlock block = cursorForPosition(QPoint(0, 0)).block();
    const int height = fontMetrics().height();
    for (; block.isValid(); block = block.next()) {
        const QRectF bounds = layout->blockBoundingRect(block);
        const int top = static_cast<int>(bounds.top()) - offset;
        if (top > event->rect().bottom())
            break;
        const int number = block.blockNumber() + 1;
        painter.setPen(number == m_markedLine           ? QColor(200, 0, 0)
                       : block.blockNumber() == current ? QColor(31, 31, 31)
                                                        : QColor(150, 150, 150));
        painter.drawText(0, top, m_gutter->width() - 6, height, Qt::AlignRight, QString::number(number));
    }
}

void CodeEditor::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_gutter->setGeometry(area.left(), area.top(), gutterWidth(), area.height());
}

void CodeEditor::scrollContentsBy(int dx, int dy)
{
    QTextEdit::scrollContentsBy(dx, dy);
    m_gutter->update();
}

void CodeEditor::updateGutter()
{
    const int width = gutterWidth();
    if (viewportMargins().left() != width) {
        setViewportMargins(width, 0, 0, 0);
        const QRect area = contentsRect();
        m_gutter->setGeometry(area.left(), area.top(), width, area.height());
    }
    m_gutter->update();
}

void CodeEditor::updateHighlights()
{
    QList<ExtraSelection> selections;
    ExtraSelection current;
    current.format.setBackground(kCurrentLine);
    current.format.setProperty(QTextFormat::FullWidthSelection, true);
    current.cursor = textCursor();
    current.cursor.clearSelection();
    selections.append(current);
    if (m_markedLine > 0) {
        ExtraSelection marked;
        marked.format.setBackground(kErrorLine);
        marked.format.setProperty(QTextFormat::FullWidthSelection, true);
        marked.cursor = QTextCursor(document()->findBlockByNumber(m_markedLine - 1));
        selections.append(marked);
    }
    if (const QTextCursor mark = idleMark(); !mark.isNull()) {
        ExtraSelection wavy;
        wavy.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        wavy.format.setUnderlineColor(QColor(220, 0, 0));
        wavy.cursor = mark;
        selections.append(wavy);
    }
    setExtraSelections(selections);
}

} // namespace zel
