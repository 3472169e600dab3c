#include "WizardTestSupport.h"

#include "../../apps/zel-host/HostSkin.h"

#include "platform/script/vbscript/VBScriptParser.h"
#include "support/WindowDriving.h"
#include "wizard/forms/frmWizardNuevo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace zel {
namespace {

template <class T> T* find(frmWizardNuevo& form, const char* name)
{
    return test::control<T>(*form.window(), name);
}

void click(frmWizardNuevo& form, const char* name)
{
    find<QAbstractButton>(form, name)->click();
}

// The whole road in the window on the demo calculator, its address taken from the registry
// browser; then the same definition reopened and finished without changes writes the same
// definition and script. Last, a server that never answers: the bar moves while the window waits,
// and Cancel ends the wizard at once with nothing generated.
TEST(WizardWindow, RoadThroughTheFivePages_ReopenedAndFinishedUnchanged_CancelDuringALoadThatNeverEnds)
{
    test::windowApplication();
    static zelhost::HostSkin skin; // the demo host's colours, for the pictures of the README
    if (std::getenv("ZEL_WIZARD_SCREENSHOTS") != nullptr)
        globals().gobjSkin = &skin;
    test::WizardEnvironment env;
    test::ModalDrivers modal;
    // The registry browser's part: it hands back choice, and notes the window it was shown over.
    UddiChoice choice;
    QWidget* browsedOver = nullptr;
    test::Installed<std::function<UddiChoice(QWidget*)>> browser{test::toolkitSetter<&Toolkit::uddiExplorer>(),
                                                                 [&](QWidget* owner) {
                                                                     browsedOver = owner;
                                                                     return choice;
                                                                 }};
    // Opens a wizard on stored, runs driver while it is shown, and returns what it generated.
    auto run = [&](const std::string& stored, const std::function<void(frmWizardNuevo&)>& driver) {
        frmWizardNuevo form;
        form.Form_Load("en", stored);
        modal.push([&](QDialog&) { driver(form); });
        form.ShowModal();
        return WizardOutcome{form.logic().EvalCode, form.logic().EvalCode.empty() ? "" : form.logic().definitionXml()};
    };

    const std::string access = test::demoServices().serviceUrl("Calculator");
    const WizardOutcome first = run("", [&](frmWizardNuevo& form) {
        // Browse over the wizard: cancelled, the typed address stays; then the address selected
        // in the browser is taken.
        auto* url = find<QLineEdit>(form, "txtWsdlUrl");
        url->setText("typed");
        click(form, "cmdBrowse");
        EXPECT_EQ(url->text(), "typed");
        EXPECT_EQ(browsedOver, form.window());
        choice = {false, access};
        click(form, "cmdBrowse");
        EXPECT_EQ(url->text().toStdString(), access);
        click(form, "cmdLoad");
        auto* tree = find<QTreeWidget>(form, "tvSoapComponent");
        ASSERT_TRUE(QTest::qWaitFor([&] { return find<QPushButton>(form, "cmdNext")->isEnabled(); }));
        EXPECT_FALSE(find<QProgressBar>(form, "progbarWsdlLoad")->isVisible());
        QTreeWidgetItem* service = tree->topLevelItem(0);
        ASSERT_NE(service, nullptr);
        EXPECT_FALSE(service->flags() & Qt::ItemIsUserCheckable);
        ASSERT_EQ(service->childCount(), 4);
        EXPECT_FALSE(service->icon(0).isNull());
        service->child(0)->setCheckState(0, Qt::Checked); // Add
        test::picture(*form.window(), "wizard-1-load");
        click(form, "cmdNext");
        test::picture(*form.window(), "wizard-2-review");
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
        test::picture(*form.window(), "wizard-3-parameters");
        click(form, "cmdNext");
        EXPECT_FALSE(find<QLabel>(form, "lblMen1")->isVisible());
        click(form, "chkACE");
        EXPECT_TRUE(find<QComboBox>(form, "pvAttributesReturn")->isEnabled());
        find<QComboBox>(form, "pvAttributesReturn")->setCurrentText("Quote");
        test::picture(*form.window(), "wizard-4-end-activity");
        click(form, "cmdNext");
        EXPECT_EQ(find<QPushButton>(form, "cmdNext")->text().toStdString(), form.logic().messages.msgFinish);
        click(form, "chkProxySetting");
        click(form, "chkUseProxy");
        find<QLineEdit>(form, "txtProxyServer")->setText("proxy.local");
        find<QLineEdit>(form, "txtProxyPort")->setText("3128");
        find<QLineEdit>(form, "txtProxyUser")->setText("ana");
        find<QLineEdit>(form, "txtProxyPassword")->setText("s3cret");
        find<QSpinBox>(form, "pvTimeOut")->setValue(30);
        test::picture(*form.window(), "wizard-5-settings");
        test::expectAccessibleNames(*form.window());
        click(form, "cmdNext");
    });
    ASSERT_FALSE(first.EvalCode.empty()) << env.module.log();
    EXPECT_TRUE(script::vbscript::check(first.EvalCode).ok());
    const XmlNode definition = XmlNode::parse(first.definitionXml).documentElement();
    EXPECT_EQ(definition.selectSingleNode("WebService/Wsdl/*").name(), "wsdl:definitions");
    for (const auto& [path, value] :
         {std::pair{"Method/Name", "Add"}, std::pair{"Method/Parameters/*[Name='a']/AtrId", "Weight"},
          std::pair{"Method/Parameters/*[Name='b']/DefValue", "5"}, std::pair{"Method/Return/AtrId", "Quote"},
          std::pair{"WebService/ACE", "1"}, std::pair{"Proxy/Server", "proxy.local"}, std::pair{"Proxy/Timeout", "30"}})
        EXPECT_EQ(definition.selectSingleNode(path).text(), value) << path;

    const WizardOutcome second = run(first.definitionXml, [&](frmWizardNuevo& form) {
        EXPECT_EQ(find<QTableWidget>(form, "dtMethodsParameters")->item(0, 2)->text(), "Weight");
        EXPECT_TRUE(find<QCheckBox>(form, "chkUseProxy")->isChecked());
        for (int page = 0; page < 5; ++page)
            click(form, "cmdNext");
    });
    EXPECT_EQ(test::withoutDates(second.EvalCode), test::withoutDates(first.EvalCode));
    EXPECT_EQ(test::withoutDates(second.definitionXml), test::withoutDates(first.definitionXml));

    test::RawServer silent(&test::RawServer::hang);
    const WizardOutcome cancelled = run("", [&](frmWizardNuevo& form) {
        find<QLineEdit>(form, "txtWsdlUrl")->setText(QString::fromStdString(silent.url("/Slow.asmx")));
        QTimer::singleShot(600, form.window(), [&] {
            EXPECT_GT(find<QProgressBar>(form, "progbarWsdlLoad")->value(), 1); // ticks arrived
            EXPECT_FALSE(find<QPushButton>(form, "cmdLoad")->isEnabled());
            click(form, "cmdCancel");
            EXPECT_FALSE(form.window()->isVisible()); // closed at once, the request still waiting
        });
        click(form, "cmdLoad");
    });
    EXPECT_TRUE(cancelled.EvalCode.empty());
}

} // namespace
} // namespace zel
