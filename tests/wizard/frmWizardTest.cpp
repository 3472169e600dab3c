#include "WizardTestSupport.h"

#include "host/Engine.h"
#include "support/WindowDriving.h"
#include "wizard/forms/frmWizard.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace zel {
namespace {

template <class T> T* find(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

// Engine.Show opens one non-modal wizard without an owner and returns while it stays open; a
// user's tick refills the grid; Cancel during a load that never ends releases the form, and the
// host's events go on running with no timer or request left to touch it.
TEST(OlderWizardWindow, EngineShowOpensItNonModal_TickFillsTheGrid_CloseDuringLoadReleasesIt)
{
    test::windowApplication();
    test::WizardEnvironment env;
    test::SilentServer silent;
    toolkit().olderWizard = &frmWizard::Show;
    Engine engine;
    engine.LngSet("en", globals().gstrPathData);
    engine.Show();
    frmWizard* form = frmWizard::instance();
    ASSERT_NE(form, nullptr);
    QWidget* window = form->window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->parentWidget(), nullptr);
    engine.Show();
    EXPECT_EQ(frmWizard::instance(), form);
    EXPECT_EQ(find<QLineEdit>(window, "txtPrefijos"), nullptr);
    EXPECT_NE(find<QWidget>(window, "SSPanel1"), nullptr);

    find<QLineEdit>(window, "txtWsdlUrl")
        ->setText(QString::fromStdString(test::demoServices().serviceUrl("Inventory") + "?WSDL"));
    find<QPushButton>(window, "cmdLoad")->click();
    auto* tree = find<QTreeWidget>(window, "tvSoapComponent");
    ASSERT_TRUE(test::waitFor([&] { return find<QPushButton>(window, "cmdLoad")->isEnabled(); }, 5000));
    ASSERT_EQ(tree->topLevelItemCount(), 2) << env.module.log();
    tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked); // Inventory.SetStock
    EXPECT_EQ(find<QTableWidget>(window, "dtMethodsParameters")->rowCount(), 2);
    if (const char* folder = std::getenv("ZEL_WIZARD_SCREENSHOTS"))
        window->grab().save(QString::fromUtf8(folder) + "/older-wizard-load.png");

    find<QLineEdit>(window, "txtWsdlUrl")->setText(QString::fromStdString(silent.url("/Slow.asmx")));
    find<QPushButton>(window, "cmdLoad")->click();
    ASSERT_FALSE(find<QPushButton>(window, "cmdLoad")->isEnabled());
    QTimer::singleShot(300, [&] { find<QPushButton>(window, "cmdCancel")->click(); });
    ASSERT_TRUE(test::waitFor([&] { return !window->isVisible(); }, 5000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmWizard::instance(), nullptr);
    test::waitFor([] { return false; }, 400);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    toolkit().olderWizard = {};
}

} // namespace
} // namespace zel
