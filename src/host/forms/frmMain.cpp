#include "host/forms/frmMain.h"

#include "common/General.h"
#include "common/Globals.h"
#include "common/Localisation.h"
#include "common/XmlFncs.h"
#include "host/HostState.h"
#include "host/cRobot.h"
#include "host/forms/CodeEditor.h"
#include "host/forms/FindBar.h"
#include "host/forms/ToolIcons.h"
#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorLog.h"
#include "platform/error/ErrorRecord.h"
#include "platform/rtf/RtfReader.h"
#include "platform/script/EditorSyntaxCheck.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/qt/AccessibleNames.h"
#include "platform/ui/qt/CaptionBar.h"
#include "platform/ui/qt/ModalRunner.h"
#include "platform/ui/qt/SkinPalette.h"
#include "platform/ui/qt/SkinnedDialog.h"
#include "platform/ui/qt/WindowDrawing.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iostream>
#include <iterator>

namespace zel {
namespace {

QPointer<QDialog>& lastWindow()
{
    static QPointer<QDialog> window;
    return window;
}

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string selectedText(const QTextEdit* box)
{
    QString text = box->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

Globals& requireState()
{
    Globals& g = globals();
    if (!g.gobjSharedData)
        raiseObjectNotSet("the activity data component");
    if (!hostState().gobjRobot)
        raiseObjectNotSet("the robot script object");
    return g;
}

cRobot& requireRobot()
{
    requireState();
    return *hostState().gobjRobot;
}

XmlNode executionEngineNode()
{
    XmlNode node = requireState().gobjSharedData->PropertiesNode().selectSingleNode("ExecutionEngine");
    if (node.isNone())
        raiseObjectNotSet("the activity data has no ExecutionEngine element");
    return node;
}

QToolButton* toolButton(QWidget* parent, const char* name, const QIcon& icon, const char* tooltip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(icon);
    button->setIconSize(QSize(22, 22));
    button->setToolTip(QString::fromLatin1(tooltip));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmMain::frmMain(EditorFormEvents events) : m_events(std::move(events))
{
    buildWindow();
    lastWindow() = m_window.data();
}

frmMain::~frmMain()
{
    if (!m_window)
        return;
    m_window->hide();
    // The form engine may drop the form from inside one of the window's own handlers (a host that
    // loads a new form from its ButtonClick): the window then goes once the handler has returned.
    if (m_handlerDepth > 0)
        m_window->deleteLater();
    else
        delete m_window.data();
}

void frmMain::buildWindow()
{
    m_window = new ui::SkinnedDialog();
    QDialog* form = m_window;
    form->setObjectName(QStringLiteral("frmMain"));
    form->setWindowTitle(QStringLiteral(" Script Editor"));
    form->setWindowIcon(ToolIcons::scriptWindow());
    form->resize(760, 580);
    form->setMinimumSize(520, 400);

    auto* outer = new QVBoxLayout(form);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(0);

    picCaption = new ui::CaptionBar(form);
    picCaption->setObjectName(QStringLiteral("picCaption"));
    picCaption->setFixedHeight(26);
    outer->addWidget(picCaption);

    outer->addWidget(buildToolBar(form));

    auto* divider = new QFrame(form);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    outer->addWidget(divider);

    outer->addWidget(buildContent(*form), 1);

    pinDesignedColors();
    connectHandlers(form);
    m_window->setRejectHandler([this] { fromWindow([this] { cmdCancel_Click(); }); });
    ui::setAccessibleNames(*m_window);
}

// The clipboard, colouring, syntax and wizard buttons, in groups between separators.
QFrame* frmMain::buildToolBar(QWidget* form)
{
    panelToolBar = new QFrame(form);
    panelToolBar->setObjectName(QStringLiteral("panelToolBar"));
    panelToolBar->setFrameShape(QFrame::NoFrame);
    auto* tools = new QHBoxLayout(panelToolBar);
    tools->setContentsMargins(6, 3, 6, 3);
    tools->setSpacing(2);
    cmdCut = toolButton(panelToolBar, "cmdCut", ToolIcons::cut(), "Cut");
    cmdCopy = toolButton(panelToolBar, "cmdCopy", ToolIcons::copy(), "Copy");
    cmdPaste = toolButton(panelToolBar, "cmdPaste", ToolIcons::paste(), "Paste");
    cmdColorizeCode = toolButton(panelToolBar, "cmdColorizeCode", ToolIcons::colorizeCode(), "Colorize Code");
    cmdCheckSyntax = toolButton(panelToolBar, "cmdCheckSyntax", ToolIcons::checkSyntax(), "Check Sintax");
    cmdWizard = toolButton(panelToolBar, "cmdWizard", ToolIcons::wizard(), "Wizard");
    tools->addWidget(cmdCut);
    tools->addWidget(cmdCopy);
    tools->addWidget(cmdPaste);
    tools->addSpacing(4);
    tools->addWidget(separator(panelToolBar));
    tools->addSpacing(4);
    tools->addWidget(cmdColorizeCode);
    tools->addWidget(cmdCheckSyntax);
    tools->addSpacing(4);
    tools->addWidget(separator(panelToolBar));
    tools->addSpacing(4);
    tools->addWidget(cmdWizard);
    tools->addStretch(1);
    return panelToolBar;
}

// The description, engine and language fields above the script, the script panel and the Ok and
// Cancel buttons, on one grid.
QWidget* frmMain::buildContent(QWidget& window)
{
    auto* content = new QWidget(&window);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(10, 8, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    lblDescription = new QLabel(QStringLiteral("Description"), content);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setMargin(2);
    rtfDescription = new QTextEdit(content);
    rtfDescription->setObjectName(QStringLiteral("rtfDescription"));
    rtfDescription->setAcceptRichText(false);
    rtfDescription->setTabChangesFocus(true);
    rtfDescription->setFixedHeight(58);
    lblDescription->setBuddy(rtfDescription);

    lblExecutionEngine = new QLabel(QStringLiteral("Execution Engine"), content);
    lblExecutionEngine->setObjectName(QStringLiteral("lblExecutionEngine"));
    lblExecutionEngine->setMargin(2);
    txtExecutionEngine = new QLineEdit(content);
    txtExecutionEngine->setObjectName(QStringLiteral("txtExecutionEngine"));
    txtExecutionEngine->setMinimumWidth(220);
    lblExecutionEngine->setBuddy(txtExecutionEngine);

    lblScript = new QLabel(QStringLiteral("Code Script"), content);
    lblScript->setObjectName(QStringLiteral("lblScript"));
    lblScript->setMargin(2);
    cmbScriptLanguage = new QComboBox(content);
    cmbScriptLanguage->setObjectName(QStringLiteral("cmbScriptLanguage"));
    cmbScriptLanguage->setMinimumWidth(130);

    buildScriptPanel(content, window);
    buildOkCancel(content);

    grid->addWidget(lblDescription, 0, 0, 1, 4, Qt::AlignLeft);
    grid->addWidget(rtfDescription, 1, 0, 1, 4);
    grid->addWidget(lblExecutionEngine, 2, 0);
    grid->addWidget(txtExecutionEngine, 2, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(lblScript, 3, 0, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(cmbScriptLanguage, 3, 3, Qt::AlignRight);
    grid->addWidget(panelScript, 4, 0, 1, 4);
    grid->setRowStretch(4, 1);
    grid->setRowMinimumHeight(2, 30);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 5, 0, 1, 4);
    return content;
}

// The script text in a fixed-pitch font, the find bar under it and the caret position.
void frmMain::buildScriptPanel(QWidget* content, QWidget& window)
{
    panelScript = new QFrame(content);
    panelScript->setObjectName(QStringLiteral("panelScript"));
    auto* scriptLayout = new QVBoxLayout(panelScript);
    scriptLayout->setContentsMargins(3, 3, 3, 3);
    rtfScript = new CodeEditor(panelScript);
    rtfScript->setObjectName(QStringLiteral("rtfScript"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setPointSize(10);
    rtfScript->setFont(fixed);
    rtfScript->setTabStopDistance(4 * QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')));
    scriptLayout->addWidget(rtfScript);
    fraFind = new FindBar(*rtfScript, window, panelScript);
    scriptLayout->addWidget(fraFind);
    lblCaretPosition = new QLabel(panelScript);
    lblCaretPosition->setObjectName(QStringLiteral("lblCaretPosition"));
    lblCaretPosition->setAlignment(Qt::AlignRight);
    scriptLayout->addWidget(lblCaretPosition);
    QObject::connect(rtfScript, &CodeEditor::caretMoved, lblCaretPosition, [this] { showCaretPosition(); });
    lblScript->setBuddy(rtfScript);
}

void frmMain::buildOkCancel(QWidget* content)
{
    cmdOk = new QPushButton(QStringLiteral("&Ok"), content);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), content);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* button : {cmdOk, cmdCancel}) {
        // Enter belongs to the text boxes: only a click or the button's own key closes the editor.
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
    }
}

void frmMain::pinDesignedColors()
{
    // The skin never reaches these: they keep their designed colours whatever the form's become.
    for (QWidget* widget : std::initializer_list<QWidget*>{rtfScript, rtfDescription, txtExecutionEngine,
                                                           cmbScriptLanguage, lblExecutionEngine})
        ui::pinColors(*widget);
    // The controls the skin colours have colours of their own: a row the skin gives no colour for
    // leaves its controls as designed instead of letting the form's colour show through them.
    for (QWidget* widget :
         std::initializer_list<QWidget*>{panelScript, lblDescription, lblScript, cmdCancel, cmdOk, panelToolBar, cmdCut,
                                         cmdCopy, cmdPaste, cmdColorizeCode, cmdCheckSyntax, cmdWizard}) {
        ui::pinColors(*widget);
        widget->setAutoFillBackground(true);
    }
}

// Every control event runs its handler through fromWindow, which keeps the form alive meanwhile.
void frmMain::connectHandlers(QDialog* form)
{
    QObject::connect(cmdOk, &QPushButton::clicked, form, [this] { fromWindow([this] { cmdOk_Click(); }); });
    QObject::connect(cmdCancel, &QPushButton::clicked, form, [this] { fromWindow([this] { cmdCancel_Click(); }); });
    QObject::connect(cmdCut, &QToolButton::clicked, form, [this] { fromWindow([this] { cmdCut_Click(); }); });
    QObject::connect(cmdCopy, &QToolButton::clicked, form, [this] { fromWindow([this] { cmdCopy_Click(); }); });
    QObject::connect(cmdPaste, &QToolButton::clicked, form, [this] { fromWindow([this] { cmdPaste_Click(); }); });
    QObject::connect(cmdColorizeCode, &QToolButton::clicked, form,
                     [this] { fromWindow([this] { cmdColorizeCode_Click(); }); });
    QObject::connect(cmdCheckSyntax, &QToolButton::clicked, form,
                     [this] { fromWindow([this] { cmdCheckSyntax_Click(); }); });
    QObject::connect(cmdWizard, &QToolButton::clicked, form, [this] { fromWindow([this] { cmdWizard_Click(); }); });
    QObject::connect(cmbScriptLanguage, &QComboBox::currentIndexChanged, form,
                     [this] { fromWindow([this] { cmbScriptLanguage_Click(); }); });
    QObject::connect(picCaption, &ui::CaptionBar::mouseMoved, form, [this](Qt::MouseButtons buttons, QPoint where) {
        fromWindow([&] { picCaption_MouseMove(buttons, where); });
    });
}

template <class Handler> void frmMain::fromWindow(Handler&& handler) noexcept
{
    // The host may let go of this form from inside the handler (it loads a new form from its
    // ButtonClick): the form lives on until the handler has returned.
    const std::shared_ptr<frmMain> self = weak_from_this().lock();
    ++m_handlerDepth;
    try {
        handler();
    } catch (...) {
        showUnhandledError();
    }
    // When this is the last holder, the depth stays up so that the destructor, run as self goes,
    // leaves the window (whose signal is still being delivered) to the event loop.
    if (self && self.use_count() == 1)
        return;
    --m_handlerDepth;
}

void frmMain::showUnhandledError() noexcept
{
    // The error already carries the handler's tag in its source, so the log entry adds none.
    try {
        General::ShowAndLogCurrentError(Caption(), "");
    } catch (...) {
        try {
            std::cerr << "frmMain: an error could not be shown: " << currentErrorRecord().Description << '\n';
        } catch (...) {
        }
    }
}

QDialog* frmMain::window() const
{
    return m_window.data();
}

std::string frmMain::currentCaption()
{
    const QPointer<QDialog>& window = lastWindow();
    return window ? window->windowTitle().toStdString() : std::string();
}

// ---------------------------------------------------------------------------------------------
// Public operations

void frmMain::Load()
{
    Form_Load();
}

void frmMain::Unload()
{
    if (m_window)
        m_window->hide();
}

void frmMain::ShowModal()
{
    if (m_window)
        ui::showModal(*m_window);
}

std::string frmMain::ShowWizardForNewScript()
{
    try {
        m_pendingDefinition.clear();
        const std::string code = runWizard();
        // The definition goes with the script, so that the wizard reopens on it later.
        if (!code.empty())
            requireRobot().SetAdditionalDefinition(m_pendingDefinition);
        return code;
    } catch (...) {
        rethrowWithTag(" frmMain.ShowWizardForNewScript() ");
    }
}

void frmMain::SetScriptText(std::string_view text)
{
    m_script.fill(*rtfScript, text);
}

void frmMain::ColorizeCode()
{
    try {
        auto colorizer = com::ClassRegistry::instance().createAs<IColorizer>(kClsidColorizer);
        const std::string rtf = colorizer->Colorize(KeptText::shownText(*rtfScript));
        // The coloured text is read aside and only its colours are shown in the box: the box keeps
        // its text, caret and undo history.
        rtfScript->showColoursOf([&rtf](const CodeEditor::ColourRun& run) { rtf::RtfReader().read(rtf, run); });
    } catch (...) {
        rethrowWithTag(" frmMain.ColorizeCode() ");
    }
}

void frmMain::ChangeInterfaceLanguage(std::string_view pLanguageId)
{
    try {
        globals().gstrLanguageId = std::string(pLanguageId);
        ChangeLanguage(pLanguageId);
    } catch (...) {
        rethrowWithTag(" frmMain.ChangeInterfaceLanguage() ");
    }
}

void frmMain::ChangeSettings()
{
    if (globals().gobjSkin == nullptr)
        return;
    // Each row is its own step: a skin without one of the operations leaves just those controls.
    auto row = [](auto&& step) noexcept {
        try {
            step();
        } catch (...) {
        }
    };
    row([&] { ui::setBackColor(*m_window, General::GetFormBackColor()); });
    row([&] {
        const int32_t color = General::GetTabBackColor();
        for (QWidget* control : {static_cast<QWidget*>(panelScript), static_cast<QWidget*>(lblDescription),
                                 static_cast<QWidget*>(lblScript)})
            ui::setBackColor(*control, color);
    });
    row([&] {
        const int32_t color = General::GetColorFont();
        for (QWidget* control : {static_cast<QWidget*>(lblDescription), static_cast<QWidget*>(lblScript),
                                 static_cast<QWidget*>(cmdCancel), static_cast<QWidget*>(cmdOk)})
            ui::setForeColor(*control, color);
    });
    row([&] {
        const int32_t color = General::GetButtonBackColor();
        ui::setBackColor(*cmdCancel, color);
        ui::setBackColor(*cmdOk, color);
    });
    const std::initializer_list<QWidget*> toolBar{panelToolBar,    cmdCut,         cmdCopy,  cmdPaste,
                                                  cmdColorizeCode, cmdCheckSyntax, cmdWizard};
    row([&] {
        const int32_t color = General::GetToolbarBackColor();
        for (QWidget* control : toolBar)
            ui::setBackColor(*control, color);
    });
    row([&] {
        const int32_t color = General::GetToolbarColorFont();
        for (QWidget* control : toolBar)
            ui::setForeColor(*control, color);
    });
}

void frmMain::ResizeForm()
{
    // The window's layout places and sizes the controls whenever its size changes, so a resize
    // asked for by the host has nothing left to do.
}

bool frmMain::Validate()
{
    try {
        Globals& g = requireState();
        const std::string script = m_script.read(*rtfScript);
        const std::string description = m_description.read(*rtfDescription);
        const std::string engine = XmlFncs::trimSpaces(txtExecutionEngine->text().toStdString());
        m_unstorableMessage.clear();
        for (const auto& [text, label] : {std::pair{&script, lblScript}, std::pair{&description, lblDescription},
                                          std::pair{&engine, lblExecutionEngine}}) {
            if (const auto found = findUnstorableCharacter(*text)) {
                m_unstorableMessage = Localisation::fillIn(
                    m_MsgUnstorableCharacter,
                    {std::to_string(found->line), label->text().remove(QLatin1Char('&')).toStdString(),
                     QStringLiteral("U+%1")
                         .arg(static_cast<uint>(found->codePoint), 4, 16, QLatin1Char('0'))
                         .toUpper()
                         .toStdString()});
                return false;
            }
        }
        // Only what changed is written: a text stored in another form (entity references, markup,
        // a text node instead of CDATA) stays as it was when the user left it alone.
        if (script != hostState().gobjRobot->GetEvalCode())
            hostState().gobjRobot->SetEvalCode(script);
        m_script.keep(script);
        m_description.keep(description);
        hostState().gobjRobot->SetLanguage(cmbScriptLanguage->currentText().toStdString());
        if (description != g.gobjSharedData->Description())
            g.gobjSharedData->SetDescription(description);

        XmlNode node = executionEngineNode();
        if (XmlNode first = node.firstChild()) {
            first.setText(engine);
        } else {
            std::string name;
            XmlNode cdata = General::GetNewNode(General::kNodeCData, name);
            cdata.setText(engine);
            node.appendChild(cdata.cloneDeep());
        }
        return true;
    } catch (...) {
        rethrowWithTag(" frmMain.Validate() ");
    }
}

void frmMain::UpdateLanguages(const XmlNode&)
{
    // The languages document is the form engine's; the editor takes its texts from the language
    // files only.
}

void frmMain::Initialize()
{
    try {
        if (!m_blnFirstTime)
            return;
        ChangeInterfaceLanguage(requireState().gobjSharedData->UserLanguage());
        FillScriptLanguage();
        FillDataToProcess();
        m_blnFirstTime = false;
        auto windowComponent = com::ClassRegistry::instance().createAs<IWindowComponent>(kClsidWindowComponent);
        windowComponent->SetWindow(Handle());
    } catch (...) {
        rethrowWithTag(" frmMain.Initialize() ");
    }
}

bool frmMain::validateOrTell()
{
    if (Validate())
        return true;
    uiServices().messageBox(m_unstorableMessage, Caption(), MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

void frmMain::SaveCode()
{
    try {
        if (validateOrTell() && m_events.buttonClick)
            m_events.buttonClick(kButtonOk);
    } catch (...) {
        rethrowWithTag(" frmMain.SaveCode() ");
    }
}

std::string frmMain::Caption()
{
    return m_window ? m_window->windowTitle().toStdString() : std::string();
}

int32_t frmMain::Handle()
{
    return m_window ? static_cast<int32_t>(m_window->winId()) : 0;
}

// ---------------------------------------------------------------------------------------------
// Private operations

void frmMain::FillDataToProcess()
{
    try {
        Globals& g = requireState();
        m_script.fill(*rtfScript, hostState().gobjRobot->GetEvalCode());
        m_description.fill(*rtfDescription, g.gobjSharedData->Description());
        txtExecutionEngine->setText(qs(executionEngineNode().text()));

        const QString language = qs(hostState().gobjRobot->GetLanguage());
        for (int i = 0; i < cmbScriptLanguage->count(); ++i) {
            if (cmbScriptLanguage->itemText(i) == language) {
                cmbScriptLanguage->setCurrentIndex(i);
                break;
            }
        }
        ColorizeCode();
    } catch (...) {
        rethrowWithTag(" frmMain.FillDataToProcess() ");
    }
}

void frmMain::Copy(bool pblnCut)
{
    try {
        uiServices().setClipboardText(selectedText(rtfScript));
        if (pblnCut)
            rtfScript->textCursor().removeSelectedText();
    } catch (...) {
        rethrowWithTag(" frmMain.Copy() ");
    }
}

bool frmMain::CheckSyntax(std::string& pstrMessage)
{
    // Errors of the script engine are the check's answer, never raised.
    return script::checkScriptSyntax(m_scriptControl, KeptText::shownText(*rtfScript), pstrMessage);
}

void frmMain::FillScriptLanguage()
{
    try {
        {
            // The selection below runs the list's click handler once, by hand, as the list
            // itself would when an entry is chosen.
            const QSignalBlocker quiet(cmbScriptLanguage);
            cmbScriptLanguage->clear();
            cmbScriptLanguage->addItem(QStringLiteral("VBScript"));
            cmbScriptLanguage->addItem(QStringLiteral("JScript"));
            cmbScriptLanguage->setCurrentIndex(0);
        }
        cmbScriptLanguage_Click();
    } catch (...) {
        rethrowWithTag(" frmMain.FillScriptLanguage() ");
    }
}

void frmMain::ChangeLanguage(std::string_view pLanguageId)
{
    try {
        auto caption = [this](const std::string& text) {
            m_window->setWindowTitle(qs(text));
            picCaption->update();
        };
        auto text = [](QAbstractButton* button) {
            return [button](const std::string& value) { button->setText(qs(value)); };
        };
        auto tip = [](QWidget* widget) {
            return [widget](const std::string& value) { widget->setToolTip(qs(value)); };
        };
        auto label = [](QLabel* widget) { return [widget](const std::string& value) { widget->setText(qs(value)); }; };
        auto message = [](std::string& variable) {
            return [&variable](const std::string& value) { variable = value; };
        };
        std::vector<Localisation::Item> items{
            {"cmdOk", text(cmdOk)},
            {"cmdCancel", text(cmdCancel)},
            {"cmdCut", tip(cmdCut)},
            {"cmdCopy", tip(cmdCopy)},
            {"cmdPaste", tip(cmdPaste)},
            {"cmdColorizeCode", tip(cmdColorizeCode)},
            {"cmdCheckSyntax", tip(cmdCheckSyntax)},
            {"cmbScriptLanguage", tip(cmbScriptLanguage)},
            {"lblDescription", label(lblDescription)},
            {"lblScript", label(lblScript)},
            {"lblExecutionEngine", label(lblExecutionEngine)},
            {"MsgErrorSaveSharedData", message(m_MsgErrorSaveSharedData)},
            {"MsgErrorLoadSharedData", message(m_MsgErrorLoadSharedData)},
            {"MsgErrorUpdateSharedData", message(m_MsgErrorUpdateSharedData)},
            {"MsgConfirmWizard", message(m_MsgConfirmWizard)},
            {"MsgUnstorableCharacter", message(m_MsgUnstorableCharacter)},
            {"MsgCaretPosition", message(m_MsgCaretPosition)},
        };
        // The script box's own bars and marks take their texts from the same section.
        std::ranges::move(fraFind->localisedItems(), std::back_inserter(items));
        items.push_back({"MsgIdleError", [this](const std::string& value) { rtfScript->setIdleErrorTip(value); }});
        Localisation::apply("frmMain", pLanguageId, caption, items);
        showCaretPosition();
        ui::setAccessibleNames(*m_window);
    } catch (...) {
        rethrowWithTag(" frmMain.ChangeLanguage() ");
    }
}

void frmMain::showCaretPosition()
{
    lblCaretPosition->setText(qs(Localisation::fillIn(
        m_MsgCaretPosition, {std::to_string(rtfScript->caretLine()), std::to_string(rtfScript->caretColumn())})));
}

void frmMain::Paste()
{
    try {
        rtfScript->textCursor().insertText(qs(uiServices().clipboardText()));
    } catch (...) {
        rethrowWithTag(" frmMain.Paste() ");
    }
}

std::string frmMain::runWizard()
{
    const auto& wizard = toolkit().webServiceWizard;
    if (!wizard) {
        uiServices().messageBox(kWizardNotAvailable, kProgramTitle, MessageIcon::Information, MessageButtons::Ok);
        return {};
    }
    WizardOutcome outcome = wizard(m_window);
    if (!outcome.EvalCode.empty())
        m_pendingDefinition = std::move(outcome.definitionXml);
    return outcome.EvalCode;
}

// ---------------------------------------------------------------------------------------------
// Handlers

void frmMain::Form_Load()
{
    try {
        m_blnFirstTime = true;
        ChangeSettings();
    } catch (...) {
        General::ReportCurrentError(" frmMain.Form_Load() ", Caption());
    }
}

void frmMain::cmbScriptLanguage_Click()
{
    try {
        const std::string language = cmbScriptLanguage->currentText().toStdString();
        m_scriptControl.SetLanguage(language);
        rtfScript->setJScript(language == "JScript");
        if (!m_blnFirstTime)
            requireRobot().SetLanguage(language);
    } catch (...) {
        General::ReportCurrentError(" frmMain.cmbScriptLanguage_Click() ", Caption());
    }
}

void frmMain::cmdCancel_Click()
{
    try {
        if (m_events.buttonClick)
            m_events.buttonClick(kButtonCancel);
    } catch (...) {
        rethrowWithTag(" frmMain.cmdCancel_Click() ");
    }
}

void frmMain::cmdCheckSyntax_Click()
{
    try {
        std::string message;
        if (CheckSyntax(message))
            uiServices().messageBox("Syntax Code Ok !!!", "Ombrel External Process", MessageIcon::Information,
                                    MessageButtons::Ok);
        else {
            uiServices().messageBox(message, Caption(), MessageIcon::None, MessageButtons::Ok);
            // Once the message is read, the caret waits where the engine found the error.
            rtfScript->goToAndMark(m_scriptControl.Error().Line, m_scriptControl.Error().Column);
        }
    } catch (...) {
        General::ReportCurrentError(" frmMain.cmdCheckSyntax_Click() ", Caption());
    }
}

void frmMain::cmdColorizeCode_Click()
{
    try {
        ColorizeCode();
    } catch (...) {
        General::ReportCurrentError(" frmMain.cmdColorizeCode_Click() ", Caption());
    }
}

void frmMain::cmdCopy_Click()
{
    try {
        Copy(false);
    } catch (...) {
        General::ReportCurrentError(" frmMain.cmdCopy_Click() ", Caption());
    }
}

void frmMain::cmdCut_Click()
{
    try {
        Copy(true);
    } catch (...) {
        General::ReportCurrentError(" frmMain.cmdCut_Click() ", Caption());
    }
}

void frmMain::cmdOk_Click()
{
    try {
        if (validateOrTell() && m_events.buttonClick)
            m_events.buttonClick(kButtonOk);
    } catch (...) {
        rethrowWithTag(" frmMain.cmdOk_Click() ");
    }
}

void frmMain::cmdPaste_Click()
{
    try {
        Paste();
    } catch (...) {
        General::ReportCurrentError(" frmMain.cmdPaste_Click() ", Caption());
    }
}

void frmMain::cmdWizard_Click()
{
    try {
        if (uiServices().messageBox(m_MsgConfirmWizard, kProgramTitle, MessageIcon::Information,
                                    MessageButtons::YesNo) != MessageResult::Yes)
            return;
        m_pendingDefinition.clear();
        const std::string code = runWizard();
        if (!code.empty()) {
            m_script.fill(*rtfScript, code);
            requireRobot().SetAdditionalDefinition(m_pendingDefinition);
        }
        ColorizeCode();
    } catch (...) {
        rethrowWithTag(" frmMain.cmdWizard_Click() ");
    }
}

void frmMain::picCaption_MouseMove(Qt::MouseButtons Button, const QPoint& globalPos)
{
    try {
        if (Button == Qt::LeftButton)
            ui::MoveForm(m_window, picCaption->grabOffset(), globalPos);
    } catch (...) {
        rethrowWithTag(" frmMain.picCaption_MouseMove() ");
    }
}

EditorFormFactory qtEditorFormFactory()
{
    return [](EditorFormEvents events) { return std::make_unique<frmMain>(std::move(events)); };
}

} // namespace zel
