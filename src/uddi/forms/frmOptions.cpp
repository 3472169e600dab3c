#include "uddi/forms/frmOptions.h"

#include "common/General.h"
#include "common/Globals.h"
#include "common/Localisation.h"
#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/qt/CaptionBar.h"
#include "platform/ui/qt/ModalRunner.h"
#include "platform/ui/qt/SkinPalette.h"
#include "platform/ui/qt/SkinnedDialog.h"
#include "platform/ui/qt/WindowDrawing.h"
#include "uddi/UDDISettings.h"
#include "uddi/forms/UddiIcons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zel {
namespace {

constexpr const char* kTitle = " OMBREL Technology";

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <class T> T* named(T* widget, const char* name, const char* accessibleName)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QString::fromUtf8(accessibleName));
    return widget;
}

} // namespace

frmOptions::frmOptions(QWidget* owner)
{
    buildWindow(owner);
}

frmOptions::~frmOptions()
{
    delete m_window.data();
}

QDialog* frmOptions::window() const
{
    return m_window.data();
}

void frmOptions::buildWindow(QWidget* owner)
{
    m_window = new ui::SkinnedDialog(owner);
    QDialog* form = m_window;
    form->setObjectName(QStringLiteral("frmOptions"));
    form->setAccessibleName(QStringLiteral("UDDI options"));
    form->setWindowTitle(qs(kTitle));
    form->setWindowIcon(UddiIcons::options());
    form->resize(480, 340);

    auto* outer = new QVBoxLayout(form);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(0);
    picCaption = named(new ui::CaptionBar(form), "picCaption", "Caption bar");
    picCaption->setFixedHeight(26);
    outer->addWidget(picCaption);

    panelTitle = named(new QFrame(form), "panelTitle", "Title");
    auto* title = new QGridLayout(panelTitle);
    title->setContentsMargins(10, 8, 10, 8);
    picTitle = named(new QLabel(panelTitle), "picTitle", "Options picture");
    picTitle->setPixmap(UddiIcons::options().pixmap(40, 40));
    lblTitle = named(new QLabel(QStringLiteral("Options"), panelTitle), "lblTitle", "Title");
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    lblTitle->setFont(bold);
    lblOperationDescription = named(new QLabel(QStringLiteral("Set UDDI Search Options"), panelTitle),
                                    "lblOperationDescription", "Operation description");
    title->addWidget(picTitle, 0, 0, 2, 1);
    title->addWidget(lblTitle, 0, 1);
    title->addWidget(lblOperationDescription, 1, 1);
    title->setColumnStretch(1, 1);
    outer->addWidget(panelTitle);

    panelOptions = named(new QFrame(form), "panelOptions", "Options");
    auto* grid = new QGridLayout(panelOptions);
    grid->setContentsMargins(12, 10, 12, 10);
    lblUDDIEngine = named(new QLabel(QStringLiteral("UDDI Address"), panelOptions), "lblUDDIEngine", "Address label");
    pvUDDIAddress = named(new QComboBox(panelOptions), "pvUDDIAddress", "UDDI registry address");
    pvUDDIAddress->setEditable(true);
    pvUDDIAddress->setInsertPolicy(QComboBox::NoInsert);
    pvUDDIAddress->setMinimumWidth(280);
    lblUDDIEngine->setBuddy(pvUDDIAddress);
    lblMaxRows = named(new QLabel(QStringLiteral("UDDI Search Max Rows"), panelOptions), "lblMaxRows", "Rows label");
    pvUDDIMaxRows = named(new QSpinBox(panelOptions), "pvUDDIMaxRows", "Largest number of search results");
    pvUDDIMaxRows->setRange(1, 32767);
    pvUDDIMaxRows->setValue(100);
    lblMaxRows->setBuddy(pvUDDIMaxRows);

    frameTrace = named(new QFrame(panelOptions), "frameTrace", "Trace");
    frameTrace->setFrameShape(QFrame::StyledPanel);
    auto* trace = new QGridLayout(frameTrace);
    lblTrace = named(new QLabel(QStringLiteral("UDDI Trace"), frameTrace), "lblTrace", "Trace label");
    lblActivated = named(new QLabel(QStringLiteral("Active"), frameTrace), "lblActivated", "Trace active label");
    optTraceOn = named(new QRadioButton(QStringLiteral("On"), frameTrace), "optTraceOn", "Trace on");
    optTraceOff = named(new QRadioButton(QStringLiteral("Off"), frameTrace), "optTraceOff", "Trace off");
    optTraceOff->setChecked(true);
    lblPath = named(new QLabel(QStringLiteral("Path"), frameTrace), "lblPath", "Trace file label");
    txtUddiTracePath = named(new QLineEdit(frameTrace), "txtUddiTracePath", "Trace file");
    lblPath->setBuddy(txtUddiTracePath);
    picOptions = named(new QLabel(frameTrace), "picOptions", "Trace picture");
    picOptions->setPixmap(UddiIcons::image("overviewDoc").pixmap(24, 24));
    trace->addWidget(picOptions, 0, 0, 2, 1, Qt::AlignTop);
    trace->addWidget(lblTrace, 0, 1);
    trace->addWidget(lblActivated, 0, 2, Qt::AlignRight);
    trace->addWidget(optTraceOn, 0, 3);
    trace->addWidget(optTraceOff, 0, 4);
    trace->addWidget(lblPath, 1, 1);
    trace->addWidget(txtUddiTracePath, 1, 2, 1, 3);
    trace->setColumnStretch(2, 1);

    grid->addWidget(lblUDDIEngine, 0, 0);
    grid->addWidget(pvUDDIAddress, 0, 1);
    grid->addWidget(lblMaxRows, 1, 0);
    grid->addWidget(pvUDDIMaxRows, 1, 1, Qt::AlignLeft);
    grid->addWidget(frameTrace, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    cmdConfirm = named(new QPushButton(QStringLiteral("&Confirm"), panelOptions), "cmdConfirm", "Confirm");
    cmdCancel = named(new QPushButton(QStringLiteral("&Cancel"), panelOptions), "cmdCancel", "Cancel");
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    for (QPushButton* button : {cmdConfirm, cmdCancel}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 4, 0, 1, 2);
    outer->addWidget(panelOptions, 1);

    for (QWidget* widget : std::initializer_list<QWidget*>{pvUDDIAddress, pvUDDIMaxRows, txtUddiTracePath})
        ui::pinColors(*widget);

    QObject::connect(cmdConfirm, &QPushButton::clicked, form, [this] { cmdConfirm_Click(); });
    QObject::connect(cmdCancel, &QPushButton::clicked, form, [this] { cmdCancel_Click(); });
    QObject::connect(picCaption, &ui::CaptionBar::mouseMoved, form, [this](Qt::MouseButtons buttons, QPoint where) {
        try {
            picCaption_MouseMove(buttons, where);
        } catch (...) {
            General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "");
        }
    });
    m_window->setRejectHandler([this] { cmdCancel_Click(); });
}

void frmOptions::Show()
{
    if (!m_loaded)
        Form_Load();
    ui::showModal(*m_window);
}

void frmOptions::ChangeSettings()
{
    if (globals().gobjSkin == nullptr)
        return;
    // A skin without one of the colours leaves those controls as designed.
    auto row = [](auto&& step) noexcept {
        try {
            step();
        } catch (...) {
        }
    };
    const std::initializer_list<QWidget*> panels{panelTitle,    panelOptions, lblTitle,   lblOperationDescription,
                                                 lblUDDIEngine, lblMaxRows,   lblTrace,   lblActivated,
                                                 lblPath,       optTraceOn,   optTraceOff};
    row([&] { ui::setBackColor(*m_window, General::GetFormBackColor()); });
    row([&] {
        const int32_t color = General::GetTabBackColor();
        for (QWidget* w : panels)
            ui::setBackColor(*w, color);
    });
    row([&] {
        const int32_t color = General::GetColorFont();
        for (QWidget* w : panels)
            ui::setForeColor(*w, color);
        ui::setForeColor(*cmdConfirm, color);
        ui::setForeColor(*cmdCancel, color);
    });
    row([&] {
        const int32_t color = General::GetButtonBackColor();
        ui::setBackColor(*cmdConfirm, color);
        ui::setBackColor(*cmdCancel, color);
    });
}

void frmOptions::ChangeLanguage()
{
    try {
        auto text = [](auto* widget) { return [widget](const std::string& v) { widget->setText(qs(v)); }; };
        Localisation::apply("frmOptions", globals().gstrLanguageId,
                            [this](const std::string& caption) { m_window->setWindowTitle(qs(caption)); },
                            {{"lblTitle", text(lblTitle)},
                             {"lblOperationDescription", text(lblOperationDescription)},
                             {"lblUDDIEngine", text(lblUDDIEngine)},
                             {"lblMaxRows", text(lblMaxRows)},
                             {"lblTrace", text(lblTrace)},
                             {"lblActivated", text(lblActivated)},
                             {"lblPath", text(lblPath)},
                             {"optTraceOn", text(optTraceOn)},
                             {"optTraceOff", text(optTraceOff)},
                             {"cmdConfirm", text(cmdConfirm)},
                             {"cmdCancel", text(cmdCancel)},
                             {"msgInvalidUDDIAddress", [this](const std::string& v) { m_msgInvalidUDDIAddress = v; }}});
    } catch (...) {
        rethrowWithTag(" frmOptions.ChangeLanguage() ");
    }
}

void frmOptions::UDDISettingsLoad()
{
    try {
        pvUDDIAddress->clear();
        UDDISettings settings;
        const XmlNode servers = XmlFncs::xmlMakeNode(settings.ServersNodeGet());
        if (servers.isNone())
            return;
        for (const XmlNode& server : servers.children())
            if (server.type() == XmlNodeType::Element)
                pvUDDIAddress->addItem(qs(XmlFncs::xmlNodeValueGet(server, "Address")));
        pvUDDIAddress->setEditText(qs(settings.ServerGetDefault()));
        pvUDDIMaxRows->setValue(settings.SearchMaxRowsGet());
        txtUddiTracePath->setText(qs(settings.TracePathGet()));
        (settings.TraceStateGet() ? optTraceOn : optTraceOff)->setChecked(true);
    } catch (...) {
        rethrowWithTag(" frmOptions.UDDISettingsLoad() ");
    }
}

bool frmOptions::checkAddress()
{
    if (!pvUDDIAddress->currentText().isEmpty())
        return true;
    uiServices().messageBox(m_msgInvalidUDDIAddress, "", MessageIcon::Critical, MessageButtons::Ok);
    return false;
}

void frmOptions::Form_Load()
{
    try {
        m_loaded = true;
        ChangeSettings();
        ChangeLanguage();
        m_window->setWindowTitle(qs(kTitle));
        UDDISettingsLoad();
    } catch (...) {
        General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "  frmOptions.Form_Load() ");
    }
}

void frmOptions::cmdConfirm_Click()
{
    try {
        if (!checkAddress())
            return;
        const std::string address = pvUDDIAddress->currentText().toStdString();
        UDDISettings settings;
        settings.SearchMaxRowsSet(std::to_string(pvUDDIMaxRows->value()));
        settings.TracePathSet(txtUddiTracePath->text().toStdString());
        settings.TraceStateSet(!optTraceOff->isChecked());
        settings.ServerAdd(address);
        settings.ServerSetDefault(address);
        m_loaded = false;
        m_window->hide();
    } catch (...) {
        General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "  frmOptions.cmdConfirm_Click() ");
    }
}

void frmOptions::cmdCancel_Click()
{
    m_window->hide();
}

void frmOptions::picCaption_MouseMove(Qt::MouseButtons Button, const QPoint& globalPos)
{
    try {
        if (Button == Qt::LeftButton)
            ui::MoveForm(m_window, picCaption->grabOffset(), globalPos);
    } catch (...) {
        rethrowWithTag(" frmOptions.picCaption_MouseMove() ");
    }
}

} // namespace zel
