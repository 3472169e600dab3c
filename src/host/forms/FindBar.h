#pragma once

#include "common/Localisation.h"

#include <QFrame>
#include <QTextDocument>

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace zel {

class CodeEditor;

// The bar under the script box for Find (Ctrl+F), Find and Replace (Ctrl+H), Find next (F3, with
// Shift backwards) and Go to line (Ctrl+G); Escape closes it. Searches wrap around the end of the
// script; Replace all is one step of the undo history.
class FindBar final : public QFrame
{
public:
    // Puts the bar's shortcuts on window, for the editor inside it.
    FindBar(CodeEditor& editor, QWidget& window, QWidget* parent);

    void showFind(bool withReplace);
    void showGoToLine();
    // Selects the next match of the search text after the caret (before it when backwards);
    // false when the script holds none.
    bool findNext(bool backwards = false);
    // Replaces the selected match, then selects the next one.
    void replace();
    // Replaces every match; returns how many.
    int replaceAll();

    // The bar's texts, read from the language file with the editor's.
    std::vector<Localisation::Item> localisedItems();

    QLineEdit* txtFind;
    QLineEdit* txtReplace;
    QCheckBox* chkMatchCase;
    QCheckBox* chkWholeWord;
    QSpinBox* spnGoToLine;

private:
    void showRows(bool find, bool replace, bool goTo);
    void goToLine();
    bool selectionMatches() const;
    QTextDocument::FindFlags findFlags(bool backwards) const;

    CodeEditor& m_editor;
    QLabel* lblFind;
    QLabel* lblReplace;
    QLabel* lblGoToLine;
    QLabel* lblFindStatus;
    QToolButton* cmdFindNext;
    QToolButton* cmdReplace;
    QToolButton* cmdReplaceAll;
    QToolButton* cmdGoToLine;
    QToolButton* cmdCloseFind;
    QString m_notFound = QStringLiteral("Not found");
    std::string m_replaced = "%1 replaced";
};

} // namespace zel
