#include "host/forms/FindBar.h"

#include "host/forms/CodeEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

namespace zel {
namespace {

template <class Control> Control* named(QWidget* parent, const char* name)
{
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

QToolButton* button(QWidget* parent, const char* name, const char* text)
{
    auto* made = named<QToolButton>(parent, name);
    made->setText(QString::fromLatin1(text));
    return made;
}

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

FindBar::FindBar(CodeEditor& editor, QWidget& window, QWidget* parent) : QFrame(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("fraFind"));
    setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    lblFind = named<QLabel>(this, "lblFind");
    lblFind->setText(QStringLiteral("Find:"));
    txtFind = named<QLineEdit>(this, "txtFind");
    lblFind->setBuddy(txtFind);
    cmdFindNext = button(this, "cmdFindNext", "Next");
    chkMatchCase = named<QCheckBox>(this, "chkMatchCase");
    chkMatchCase->setText(QStringLiteral("Match case"));
    chkWholeWord = named<QCheckBox>(this, "chkWholeWord");
    chkWholeWord->setText(QStringLiteral("Whole word"));
    lblFindStatus = named<QLabel>(this, "lblFindStatus");
    cmdCloseFind = button(this, "cmdCloseFind", "Close");
    lblReplace = named<QLabel>(this, "lblReplace");
    lblReplace->setText(QStringLiteral("Replace with:"));
    txtReplace = named<QLineEdit>(this, "txtReplace");
    lblReplace->setBuddy(txtReplace);
    cmdReplace = button(this, "cmdReplace", "Replace");
    cmdReplaceAll = button(this, "cmdReplaceAll", "Replace all");
    lblGoToLine = named<QLabel>(this, "lblGoToLine");
    lblGoToLine->setText(QStringLiteral("Go to line:"));
    spnGoToLine = named<QSpinBox>(this, "spnGoToLine");
    spnGoToLine->setMinimum(1);
    lblGoToLine->setBuddy(spnGoToLine);
    cmdGoToLine = button(this, "cmdGoToLine", "Go");

    grid->addWidget(lblFind, 0, 0);
    grid->addWidget(txtFind, 0, 1);
    grid->addWidget(cmdFindNext, 0, 2);
    grid->addWidget(chkMatchCase, 0, 3);
    grid->addWidget(chkWholeWord, 0, 4);
    grid->addWidget(lblFindStatus, 0, 5);
    grid->addWidget(cmdCloseFind, 0, 6);
    grid->addWidget(lblReplace, 1, 0);
    grid->addWidget(txtReplace, 1, 1);
    grid->addWidget(cmdReplace, 1, 2);
    grid->addWidget(cmdReplaceAll, 1, 3);
    grid->addWidget(lblGoToLine, 2, 0);
    grid->addWidget(spnGoToLine, 2, 1);
    grid->addWidget(cmdGoToLine, 2, 2);
    grid->setColumnStretch(1, 1);

    connect(txtFind, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(cmdFindNext, &QToolButton::clicked, this, [this] { findNext(); });
    connect(cmdReplace, &QToolButton::clicked, this, [this] { replace(); });
    connect(txtReplace, &QLineEdit::returnPressed, this, [this] { replace(); });
    connect(cmdReplaceAll, &QToolButton::clicked, this, [this] { replaceAll(); });
    connect(cmdGoToLine, &QToolButton::clicked, this, [this] { goToLine(); });
    connect(spnGoToLine, &QSpinBox::editingFinished, this, [this] {
        if (spnGoToLine->hasFocus())
            goToLine();
    });
    connect(cmdCloseFind, &QToolButton::clicked, this, [this] {
        hide();
        m_editor.setFocus();
    });

    auto shortcut = [&window](QKeySequence keys, auto&& action) {
        auto* made = new QShortcut(keys, &window);
        made->setContext(Qt::WindowShortcut);
        connect(made, &QShortcut::activated, &window, action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { showFind(false); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { showFind(true); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { findNext(); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findNext(true); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_G), [this] { showGoToLine(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cmdCloseFind, &QToolButton::click);
    hide();
}

void FindBar::showRows(bool find, bool replace, bool goTo)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{lblFind, txtFind, cmdFindNext, chkMatchCase, chkWholeWord, lblFindStatus})
        control->setVisible(find);
    for (QWidget* control : std::initializer_list<QWidget*>{lblReplace, txtReplace, cmdReplace, cmdReplaceAll})
        control->setVisible(replace);
    for (QWidget* control : std::initializer_list<QWidget*>{lblGoToLine, spnGoToLine, cmdGoToLine})
        control->setVisible(goTo);
    lblFindStatus->clear();
    show();
}

void FindBar::showFind(bool withReplace)
{
    showRows(true, withReplace, false);
    // A selection on one line is what the user wants to look for.
    const QString selected = m_editor.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        txtFind->setText(selected);
    txtFind->setFocus();
    txtFind->selectAll();
}

void FindBar::showGoToLine()
{
    showRows(false, false, true);
    spnGoToLine->setMaximum(m_editor.document()->blockCount());
    spnGoToLine->setValue(m_editor.caretLine());
    spnGoToLine->setFocus();
    spnGoToLine->selectAll();
}

void FindBar::goToLine()
{
    QTextCursor caret(m_editor.document()->findBlockByNumber(spnGoToLine->value() - 1));
    m_editor.setTextCursor(caret);
    m_editor.ensureCursorVisible();
    m_editor.setFocus();
}

QTextDocument::FindFlags FindBar::findFlags(bool backwards) const
{
    QTextDocument::FindFlags flags;
    if (chkMatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (chkWholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    if (backwards)
        flags |= QTextDocument::FindBackward;
    return flags;
}

bool FindBar::findNext(bool backwards)
{
    const QString needle = txtFind->text();
    if (needle.isEmpty()) {
        showFind(false);
        return false;
    }
    const QTextDocument::FindFlags flags = findFlags(backwards);
    QTextDocument* document = m_editor.document();
    QTextCursor found = document->find(needle, m_editor.textCursor(), flags);
    if (found.isNull()) {
        QTextCursor wrap(document);
        if (backwards)
            wrap.movePosition(QTextCursor::End);
        found = document->find(needle, wrap, flags);
    }
    lblFindStatus->setText(found.isNull() ? m_notFound : QString());
    if (found.isNull())
        return false;
    m_editor.setTextCursor(found);
    return true;
}

bool FindBar::selectionMatches() const
{
    const QTextCursor selection = m_editor.textCursor();
    if (!selection.hasSelection())
        return false;
    // The selection is a match when searching from its start finds exactly it.
    QTextCursor from(m_editor.document());
    from.setPosition(selection.selectionStart());
    const QTextCursor found = m_editor.document()->find(txtFind->text(), from, findFlags(false));
    return found.selectionStart() == selection.selectionStart() && found.selectionEnd() == selection.selectionEnd();
}

void FindBar::replace()
{
    if (selectionMatches())
        m_editor.textCursor().insertText(txtReplace->text());
    findNext();
}

int FindBar::replaceAll()
{
    const QString needle = txtFind->text();
    if (needle.isEmpty())
        return 0;
    QTextDocument* document = m_editor.document();
    QTextCursor batch(document);
    batch.beginEditBlock();
    int count = 0;
    // Each search starts after the last replacement, so a replacement holding the search text is
    // never replaced again.
    for (QTextCursor from(document);; ++count) {
        QTextCursor found = document->find(needle, from, findFlags(false));
        if (found.isNull())
            break;
        found.insertText(txtReplace->text());
        from = found;
    }
    batch.endEditBlock();
    lblFindStatus->setText(count == 0 ? m_notFound
                                      : fromUtf8(Localisation::fillIn(m_replaced, {std::to_string(count)})));
    return count;
}

std::vector<Localisation::Item> FindBar::localisedItems()
{
    auto text = [](auto* control) {
        return [control](const std::string& value) { control->setText(fromUtf8(value)); };
    };
    return {
        {"lblFind", text(lblFind)},
        {"lblReplace", text(lblReplace)},
        {"lblGoToLine", text(lblGoToLine)},
        {"chkMatchCase", text(chkMatchCase)},
        {"chkWholeWord", text(chkWholeWord)},
        {"cmdFindNext", text(cmdFindNext)},
        {"cmdReplace", text(cmdReplace)},
        {"cmdReplaceAll", text(cmdReplaceAll)},
        {"cmdGoToLine", text(cmdGoToLine)},
        {"cmdCloseFind", text(cmdCloseFind)},
        {"MsgNotFound", [this](const std::string& value) { m_notFound = fromUtf8(value); }},
        {"MsgReplaced", [this](const std::string& value) { m_replaced = value; }},
    };
}

} // namespace zel
