#include "WizardTestSupport.h"

#include "host/Engine.h"
#include "support/WindowDriving.h"
#include "wizard/forms/frmWizard.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace zel {
namespace {

// Engine.Show opens one non-modal wizard without an owner and returns while it stays open; a
// user's tick refills the grid; Cancel during a load that never ends releases the form, and the
// host's events go on running with no timer or request left to touch it.
TEST(OlderWizardWindow, EngineShowOpensItNonModal_TickFillsTheGrid_CloseDuringLoadReleasesIt)
{
    test::windowApplication();
    test::WizardEnvironment env;
    test::RawServer silent(&test::RawServer::hang);
    test::Installed<std::function<void()>> opener{test::toolkitSetter<&Toolkit::olderWizard>(), &frmWizard::Show};
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
    EXPECT_EQ(window->findChild<QLineEdit*>("txtPrefijos"), nullptr);
    EXPECT_NE(test::control<QWidget>(*window, "SSPanel1"), nullptr);

    test::control<QLineEdit>(*window, "txtWsdlUrl")
        ->setText(QString::fromStdString(test::demoServices().serviceUrl("Inventory") + "?WSDL"));
    test::control<QPushButton>(*window, "cmdLoad")->click();
    auto* tree = test::control<QTreeWidget>(*window, "tvSoapComponent");
    ASSERT_TRUE(QTest::qWaitFor([&] { return test::control<QPushButton>(*window, "cmdLoad")->isEnabled(); }));
    ASSERT_EQ(tree->topLevelItemCount(), 2) << env.module.log();
    tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked); // Inventory.SetStock
    EXPECT_EQ(test::control<QTableWidget>(*window, "dtMethodsParameters")->rowCount(), 2);
    test::picture(*window, "older-wizard-load");

    test::control<QLineEdit>(*window, "txtWsdlUrl")->setText(QString::fromStdString(silent.url("/Slow.asmx")));
    test::control<QPushButton>(*window, "cmdLoad")->click();
    ASSERT_FALSE(test::control<QPushButton>(*window, "cmdLoad")->isEnabled());
    QTimer::singleShot(300, [&] { test::control<QPushButton>(*window, "cmdCancel")->click(); });
    // The wait also runs deferred deletions, so the window may be gone when it is looked at.
    const QPointer<QWidget> watched(window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watched.isNull() || !watched->isVisible(); }));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmWizard::instance(), nullptr);
    QTest::qWait(400);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace zel
