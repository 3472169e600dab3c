#include "wizard/forms/frmWizard.h"

#include "common/Globals.h"
#include "host/HostState.h"
#include "host/cRobot.h"
#include "platform/ui/qt/AccessibleNames.h"
#include "platform/ui/qt/SkinnedDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QPointer>
#include <QProgressBar>
#include <QTreeWidget>

namespace zel {
namespace {

frmWizard* g_instance = nullptr;
// Deleting it deletes the instance it was made for; deleted later, so that a handler of the form
// always returns first.
QPointer<QObject> g_keeper;

} // namespace

frmWizard::frmWizard()
    : frmWizardNuevo(nullptr,
                     [](wizard::IWizardControls& controls) { return std::make_unique<wizard::Wizard>(controls); })
{
    m_window->setObjectName(QStringLiteral("frmWizard"));
    for (const char* absent : {"txtPrefijos", "lblPrefijos", "lblMethodName", "lblMen1", "lblMen2", "lblMen3"})
        removeControl(absent);

    // SSPanel1 frames the load bar below the tree.
    QWidget* bar = control("progbarWsdlLoad");
    auto* page = static_cast<QGridLayout*>(control("panelWsdlLoad")->layout());
    auto* panel = new QFrame(control("panelWsdlLoad"));
    addControl(panel, "SSPanel1");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setMinimumHeight(18);
    auto* inner = new QGridLayout(panel);
    inner->setContentsMargins(2, 2, 2, 2);
    page->removeWidget(bar);
    inner->addWidget(bar, 0, 0);
    page->addWidget(panel, 4, 0, 1, 4);

    QObject::connect(tvSoapComponent, &QTreeWidget::itemChanged, m_window.data(), [this](QTreeWidgetItem* item, int) {
        runHandler([&] { logic().tvSoapComponent_AfterCheckBoxStateChanged(treeItem(item)); });
    });
    QObject::connect(static_cast<QCheckBox*>(control("chkUseProxy")), &QCheckBox::clicked, m_window.data(),
                     [this] { runHandler([this] { logic().chkUseProxy_Click(); }); });
    logic().applyDesignTexts();
    ui::setAccessibleNames(*m_window);
}

frmWizard::~frmWizard()
{
    if (g_instance == this)
        g_instance = nullptr;
}

frmWizard* frmWizard::instance()
{
    return g_instance;
}

void frmWizard::Show()
{
    if (g_instance == nullptr) {
        const std::shared_ptr<cRobot>& robot = hostState().gobjRobot;
        const std::string stored = robot ? robot->GetAdditionalDefinition() : std::string();
        auto form = std::make_unique<frmWizard>();
        form->Form_Load(globals().gstrLanguageId, stored);
        frmWizard* opened = form.release();
        auto* keeper = new QObject();
        QObject::connect(keeper, &QObject::destroyed, [opened] { delete opened; });
        // A host that ends its application with the wizard still open releases it first.
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, keeper,
                         [keeper] { delete keeper; });
        g_keeper = keeper;
        g_instance = opened;
    }
    QWidget* window = g_instance->window();
    window->show();
    window->raise();
    window->activateWindow();
}

void frmWizard::release()
{
    // A Show that comes before the deletion opens a new instance instead of this closing one.
    if (g_instance != this)
        return;
    g_instance = nullptr;
    if (g_keeper)
        g_keeper->deleteLater();
}

void frmWizard::hideWindow()
{
    frmWizardNuevo::hideWindow();
    release();
}

void frmWizard::closeWindow()
{
    frmWizardNuevo::closeWindow();
    release();
}

} // namespace zel
