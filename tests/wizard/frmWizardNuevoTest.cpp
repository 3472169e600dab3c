#include "WizardTestSupport.h"

#include "platform/script/vbscript/VBScriptParser.h"
#include "platform/ui/Toolkit.h"
#include "uddi/UDDISettings.h"
#include "uddi/forms/frmUDDIExplorer.h"
#include "wizard/forms/frmWizardNuevo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <thread>

namespace zel {
namespace {

QApplication& application()
{
    static int argc = 1;
    static char name[] = "zel_wizard_forms_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Shows the wizard without a loop of its own and runs the test's driver on it.
class DrivenModal final
{
public:
    void showModal(QDialog& dialog)
    {
        dialog.show();
        QCoreApplication::processEvents();
        const auto drive = driver; // a driver may hand the window it opens to another driver
        drive(dialog);
    }
    std::function<void(QDialog&)> driver;
};

// The demo host's colours, for the pictures of the README.
class DemoSkin final : public ISkin
{
public:
    bool Invoke(std::string_view operation, int32_t& result) override
    {
        for (const auto& [name, color] :
             {std::pair{"GetFormBackColor", 0xECE3DD}, std::pair{"GetTabBackColor", 0xE8D6C9},
              std::pair{"GetColorFont", 0x412A1B}, std::pair{"GetButtonBackColor", 0xF8F2EE}})
            if (operation == name) {
                result = color;
                return true;
            }
        return false;
    }
};

class WizardWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        application();
        m_previous = std::exchange(toolkit().modalRunner, [m = modal](QDialog& dialog) { m->showModal(dialog); });
        m_previousBrowser = std::exchange(toolkit().uddiExplorer, &showUddiExplorer);
        if (std::getenv("ZEL_WIZARD_SCREENSHOTS") != nullptr)
            globals().gobjSkin = &m_skin;
    }
    void TearDown() override
    {
        toolkit().modalRunner = m_previous;
        toolkit().uddiExplorer = m_previousBrowser;
        globals().gobjSkin = nullptr;
    }

    // Opens a wizard on stored, runs driver while it is shown, and returns what it generated.
    WizardOutcome run(const std::string& stored, std::function<void(frmWizardNuevo&)> driver)
    {
        frmWizardNuevo form;
        form.Form_Load("en", stored);
        modal->driver = [&](QDialog&) { driver(form); };
        form.ShowModal();
        EXPECT_FALSE(form.window()->isVisible()) << "the wizard was left open";
        return {form.logic().EvalCode, form.logic().EvalCode.empty() ? "" : form.logic().definitionXml()};
    }

    template <class T> static T* find(frmWizardNuevo& form, const char* name)
    {
        T* found = form.window()->findChild<T*>(QLatin1String(name));
        if (found == nullptr)
            ADD_FAILURE() << "no control " << name;
        return found;
    }
    static void click(frmWizardNuevo& form, const char* name) { find<QAbstractButton>(form, name)->click(); }
    // Runs the window's events until done is true or two seconds have passed.
    static bool waitFor(const std::function<bool()>& done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    // The page's picture for the README, when asked for.
    static void picture(frmWizardNuevo& form, const char* name)
    {
        if (const char* folder = std::getenv("ZEL_WIZARD_SCREENSHOTS"))
            form.window()->grab().save(QString::fromUtf8(folder) + "/" + QLatin1String(name) + ".png");
    }

    test::WizardEnvironment env;
    std::shared_ptr<DrivenModal> modal = std::make_shared<DrivenModal>();

private:
    std::function<UddiChoice(QWidget*)> m_previousBrowser;
    std::function<void(QDialog&)> m_previous;
    DemoSkin m_skin;
};

// The whole road in the window on the demo calculator, its address taken from the registry
// browser; then the same definition reopened and finished without changes writes the same
// definition and script.
TEST_F(WizardWindow, RoadThroughTheFivePages_ThenReopenedAndFinishedUnchanged)
{
    test::writeFile(UDDISettings::SettingsPath(),
                    "<s><Servers><Server><Address>" + test::demoServices().registryUrl() +
                        "</Address><Default>1</Default></Server></Servers><Trace>"
                        "<State>0</State></Trace><Search><MaxRows>9</MaxRows></Search></s>");
    const QString access = QString::fromStdString(test::demoServices().serviceUrl("Calculator"));
    const WizardOutcome first = run("", [&](frmWizardNuevo& form) {
        // Browse: cancelled, the typed address stays; then the demo registry is searched, the
        // Calculator service expanded and its access point selected.
        auto* url = find<QLineEdit>(form, "txtWsdlUrl");
        url->setText("typed");
        const auto wizardDriver = modal->driver;
        modal->driver = [](QDialog& browser) { browser.reject(); };
        click(form, "cmdBrowse");
        EXPECT_EQ(url->text(), "typed");
        modal->driver = [&](QDialog& browser) {
            browser.findChild<QLineEdit*>("txtName")->setText("Zel Arithmetic Works");
            browser.findChild<QPushButton*>("cmdSearch")->click();
            auto* found = browser.findChild<QTreeWidget*>("tvUDDIExplorer");
            for (const QString& text : {QStringLiteral("Calculator"), access})
                found->setCurrentItem(found->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0));
            browser.findChild<QPushButton*>("cmdSelect")->click();
        };
        click(form, "cmdBrowse");
        modal->driver = wizardDriver;
        form.window()->activateWindow(); // as the window system does when a modal window closes
        EXPECT_EQ(url->text(), access);
        click(form, "cmdLoad");
        auto* tree = find<QTreeWidget>(form, "tvSoapComponent");
        ASSERT_TRUE(waitFor([&] { return find<QPushButton>(form, "cmdNext")->isEnabled(); }));
        EXPECT_FALSE(find<QProgressBar>(form, "progbarWsdlLoad")->isVisible());
        QTreeWidgetItem* service = tree->topLevelItem(0);
        ASSERT_NE(service, nullptr);
        EXPECT_FALSE(service->flags() & Qt::ItemIsUserCheckable);
        ASSERT_EQ(service->childCount(), 4);
        EXPECT_FALSE(service->icon(0).isNull());
        service->child(0)->setCheckState(0, Qt::Checked); // Add
        picture(form, "wizard-1-load");
        click(form, "cmdNext");
        picture(form, "wizard-2-review");
        click(form, "cmdBack"); // page 1 again, without its Back button; the tick stays
        EXPECT_FALSE(find<QPushButton>(form, "cmdBack")->isVisible());
        click(form, "cmdNext");
        click(form, "cmdNext");
        auto* grid = find<QTableWidget>(form, "dtMethodsParameters");
        ASSERT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Data type");
        grid->editItem(grid->item(0, 2)); // the attribute column's drop-down
        auto* attribute = grid->findChild<QComboBox*>("cmbAttribute");
        ASSERT_NE(attribute, nullptr);
        EXPECT_EQ(attribute->count(), 4);
        attribute->setCurrentText("Weight");
        grid->setCurrentCell(1, 3); // leaving the cell commits the choice
        grid->item(1, 3)->setText("5");
        picture(form, "wizard-3-parameters");
        click(form, "cmdNext");
        click(form, "chkACE");
        EXPECT_TRUE(find<QComboBox>(form, "pvAttributesReturn")->isEnabled());
        find<QComboBox>(form, "pvAttributesReturn")->setCurrentText("Quote");
        picture(form, "wizard-4-end-activity");
        click(form, "cmdNext");
        click(form, "chkProxySetting");
        click(form, "chkUseProxy");
        find<QLineEdit>(form, "txtProxyServer")->setText("proxy.local");
        find<QLineEdit>(form, "txtProxyPort")->setText("3128");
        find<QSpinBox>(form, "pvTimeOut")->setValue(30);
        picture(form, "wizard-5-settings");
        for (QWidget* control : form.window()->findChildren<QWidget*>()) {
            if (!control->objectName().isEmpty() && !control->objectName().startsWith("qt_")) {
                EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
            }
        }
        click(form, "cmdNext");
    });
    ASSERT_FALSE(first.EvalCode.empty()) << env.module.log();
    EXPECT_TRUE(script::vbscript::check(first.EvalCode).ok());
    const XmlNode definition = XmlNode::parse(first.definitionXml).documentElement();
    EXPECT_EQ(definition.selectSingleNode("Method/Parameters/*[Name='a']/AtrId").text(), "Weight");
    EXPECT_EQ(definition.selectSingleNode("Method/Return/AtrId").text(), "Quote");
    EXPECT_EQ(definition.selectSingleNode("WebService/Wsdl/*").name(), "wsdl:definitions");

    const WizardOutcome second = run(first.definitionXml, [&](frmWizardNuevo& form) {
        for (int page = 0; page < 5; ++page)
            click(form, "cmdNext");
    });
    EXPECT_EQ(test::withoutDates(second.EvalCode), test::withoutDates(first.EvalCode));
    EXPECT_EQ(test::withoutDates(second.definitionXml), test::withoutDates(first.definitionXml));
}

// A server that never answers: the bar moves while the window waits, and Cancel ends the wizard
// at once with nothing generated.
TEST_F(WizardWindow, ServerThatNeverAnswers_WindowKeepsRunningAndCancelClosesAtOnce)
{
    httplib::Server silent;
    std::atomic<bool> released{false};
    silent.Get(".*", [&](const httplib::Request&, httplib::Response&) {
        while (!released)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    });
    const int port = silent.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { silent.listen_after_bind(); });
    const WizardOutcome outcome = run("", [&](frmWizardNuevo& form) {
        find<QLineEdit>(form, "txtWsdlUrl")->setText(QString("http://127.0.0.1:%1/Slow.asmx").arg(port));
        QTimer::singleShot(600, form.window(), [&] {
            EXPECT_GT(find<QProgressBar>(form, "progbarWsdlLoad")->value(), 1); // ticks arrived
            EXPECT_FALSE(find<QPushButton>(form, "cmdLoad")->isEnabled());
            click(form, "cmdCancel");
            EXPECT_FALSE(form.window()->isVisible()); // closed at once, the request still waiting
        });
        click(form, "cmdLoad");
    });
    EXPECT_TRUE(outcome.EvalCode.empty());
    released = true;
    silent.stop();
    serving.join();
}

} // namespace
} // namespace zel
