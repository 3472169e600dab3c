#pragma once

#include "host/IEditorForm.h"
#include "host/forms/KeptText.h"
#include "platform/script/ScriptControl.h"

#include <QPointer>
#include <Qt>

#include <memory>
#include <string>
#include <string_view>

class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPoint;
class QPushButton;
class QTextEdit;
class QToolButton;
class QWidget;

namespace zel {

class CodeEditor;
class FindBar;

namespace ui {
class CaptionBar;
class SkinnedDialog;
} // namespace ui

// The editor window: the script of an activity with its language, description and execution
// engine, the clipboard and colour buttons, the syntax check and the web-service wizard. OK
// stores everything into the robot script document and the activity data and raises
// ButtonClick(1); Cancel raises ButtonClick(0). The form engine drives it through IEditorForm.
//
// The window is a frameless dialog whose children carry the control names as object names
// (rtfScript, cmdOk, picCaption, ...). Errors of the window's own handlers end at the handler: the
// list, check, colour, clipboard and load handlers report them with ErrorReport; for OK, Cancel,
// Wizard, the resize and the caption-bar handlers the user sees a message box with the error
// record, the error is logged, and the window stays open.
class frmMain final : public IEditorForm, public std::enable_shared_from_this<frmMain>
{
public:
    // Creates the window with its design texts (not loaded, not shown).
    explicit frmMain(EditorFormEvents events);
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Runs the load handler: first-time flag on, skin applied.
    void Load() override;
    // Hides the window (ending a modal showing); the controls keep their contents.
    void Unload() override;
    // On the first call after loading: interface language of the activity, the language list,
    // the controls filled from the data; then tells the window component the window handle.
    void Initialize() override;
    // Sets the first-time flag again, so that the next Initialize fills the form anew.
    void ActivityDataChanged() override { m_blnFirstTime = true; }
    void ShowModal() override;
    // Opens the web-service wizard for an activity without a script; "" when it gave no code or
    // is not available (the user is told). The definition of the code it gave is stored too.
    std::string ShowWizardForNewScript() override;
    // The wizard unloads itself when it returns its results, so nothing is left to unload.
    void UnloadWizard() override {}
    void SetScriptText(std::string_view text) override;
    // Colours the script box through the colouring component; the caret stays where it was.
    void ColorizeCode() override;
    // Validate, then ButtonClick(1) when it succeeded.
    void SaveCode() override;
    // Stores the script, its language, the description and the execution engine; true. False,
    // storing nothing, when one of the texts holds a character XML cannot hold (unstorableMessage
    // then says which and where).
    bool Validate() override;
    void ResizeForm() override;
    // The window caption.
    std::string Caption() override;
    // The window's native handle (its low 32 bits).
    int32_t Handle() override;
    // Applies the skin's six colours; nothing changes without a skin.
    void ChangeSettings() override;
    // Accepts the languages node and keeps nothing.
    void UpdateLanguages(const XmlNode& pLanguages) override;
    // Sets the process's interface language and reloads the window texts in it.
    void ChangeInterfaceLanguage(std::string_view pLanguageId) override;

    // The window (for hosts that embed it and for tests).
    QDialog* window() const;
    // The caption of the editor window created last; "" when none is alive. Error reports use it
    // as their title.
    static std::string currentCaption();

    // The title of the program, shown on the wizard question.
    static constexpr const char* kProgramTitle = "ZelScriptEditor";
    // What the wizard button and a new activity tell the user while no wizard is installed.
    static constexpr const char* kWizardNotAvailable = "The web-service wizard is not available yet.";

private:
    void buildWindow();
    QFrame* buildToolBar(QWidget* form);
    QWidget* buildContent(QWidget& window);
    void buildScriptPanel(QWidget* content, QWidget& window);
    void buildOkCancel(QWidget* content);
    void pinDesignedColors();
    void connectHandlers(QDialog* form);
    void FillDataToProcess();
    void Copy(bool pblnCut);
    bool CheckSyntax(std::string& pstrMessage);
    void FillScriptLanguage();
    void ChangeLanguage(std::string_view pLanguageId);
    void Paste();
    // Shows the caret's line and column under the script box.
    void showCaretPosition();
    std::string runWizard();
    // Validate; when it refuses, the user is told why and the window stays open.
    bool validateOrTell();

    void Form_Load();
    void cmbScriptLanguage_Click();
    void cmdCancel_Click();
    void cmdCheckSyntax_Click();
    void cmdColorizeCode_Click();
    void cmdCopy_Click();
    void cmdCut_Click();
    void cmdOk_Click();
    void cmdPaste_Click();
    void cmdWizard_Click();
    void picCaption_MouseMove(Qt::MouseButtons Button, const QPoint& globalPos);

    // Runs a handler started by the window itself: nothing may leave a Qt slot or event handler,
    // so an error that the handler raised on is shown and logged here.
    template <class Handler> void fromWindow(Handler&& handler) noexcept;
    void showUnhandledError() noexcept;

    EditorFormEvents m_events;
    QPointer<ui::SkinnedDialog> m_window;
    int m_handlerDepth = 0;

    ui::CaptionBar* picCaption = nullptr;
    QFrame* panelToolBar = nullptr;
    QFrame* panelScript = nullptr;
    QLabel* lblScript = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblExecutionEngine = nullptr;
    CodeEditor* rtfScript = nullptr;
    // The caret's line and column under the script box.
    QLabel* lblCaretPosition = nullptr;
    FindBar* fraFind = nullptr;
    std::string m_MsgCaretPosition = "Ln %1, Col %2";
    QTextEdit* rtfDescription = nullptr;
    QLineEdit* txtExecutionEngine = nullptr;
    QComboBox* cmbScriptLanguage = nullptr;
    QToolButton* cmdCut = nullptr;
    QToolButton* cmdCopy = nullptr;
    QToolButton* cmdPaste = nullptr;
    QToolButton* cmdColorizeCode = nullptr;
    QToolButton* cmdCheckSyntax = nullptr;
    QToolButton* cmdWizard = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    script::ScriptControl m_scriptControl;

    bool m_blnFirstTime = true;
    std::string m_MsgErrorSaveSharedData;
    std::string m_MsgErrorLoadSharedData;
    std::string m_MsgErrorUpdateSharedData;
    std::string m_MsgConfirmWizard;
    std::string m_MsgUnstorableCharacter =
        "Line %1 of \"%2\" holds a character that cannot be saved (%3). Remove it and press OK again.";
    // Why the last Validate refused, "" when it did not.
    std::string m_unstorableMessage;
    KeptText m_script;
    KeptText m_description;
    // The definition document of the wizard's last run, stored when its code is taken.
    std::string m_pendingDefinition;
};

// The factory of Qt editor windows for the form engine.
EditorFormFactory qtEditorFormFactory();

} // namespace zel
