#include "uddi/forms/frmUDDIExplorer.h"

#include "DemoServices.h"
#include "common/Globals.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "platform/ui/Toolkit.h"
#include "support/TestSupport.h"
#include "support/WindowDriving.h"
#include "uddi/UDDISettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace zel {
namespace {

using test::control;

QTreeWidgetItem* findItem(QTreeWidget* tree, const std::function<bool(QTreeWidgetItem*)>& wanted)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (wanted(*it))
            return *it;
    return nullptr;
}

// The registry browser. Failures first, each shown with the window still usable: with no settings
// file the load reports and logs it, and so does Select without a node; a registry that does not
// answer gives the client's text in a box titled "error". Then on the demo registry: search, expand,
// options, and Select hands the WSDL address back.
TEST(UddiWindows, FailuresAreShown_ThenSearchExpandOptionsSelectHandsTheWsdlAddressBack)
{
    test::windowApplication();
    registerDefaultComponents();
    test::ModuleInTempDir module;
    test::RecordingUiScope ui;
    demo::DemoServices services;
    services.start();
    test::ModalDrivers drivers;
    globals().gstrPathData = std::string(ZEL_SOURCE_DIR) + "/data/lang";
    globals().gstrLanguageId = "en";
    auto writeSettings = [&](const std::string& address) {
        test::writeFile(UDDISettings::SettingsPath(),
                        "<UddiSettings><Servers><Server><Address>" + address +
                            "</Address><Default>1</Default></Server></Servers><Trace><State>1</State><Path>" +
                            (module.folder() / "trace.log").string() +
                            "</Path></Trace><Search><MaxRows>100</MaxRows></Search></UddiSettings>");
    };

    drivers.push([&](QDialog& w) {
        control<QPushButton>(w, "cmdSelect")->setEnabled(true);
        control<QPushButton>(w, "cmdSelect")->click();
        w.reject();
    });
    EXPECT_TRUE(showUddiExplorer(nullptr).cancelled);
    ASSERT_EQ(ui->shown.size(), 2u);
    EXPECT_NE(ui->shown[0].text.find("UDDISettings.TraceStateGet()  frmUDDIExplorer.UDDIClientiInit() "),
              std::string::npos)
        << ui->shown[0].text;
    EXPECT_NE(module.log().find("  frmUDDIExplorer.Form_Load() "), std::string::npos);
    EXPECT_NE(module.log().find("  frmUDDIExplorer.cmdSelect_Click() "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(UDDISettings::SettingsPath()));

    writeSettings("http://127.0.0.1:1/nothing");
    ui->shown.clear();
    drivers.push([&](QDialog& w) {
        control<QPushButton>(w, "cmdSearch")->click();
        ASSERT_EQ(ui->shown.size(), 1u);
        EXPECT_EQ(ui->shown[0].title, "error");
        EXPECT_NE(ui->shown[0].text.find("could not be reached"), std::string::npos);
        EXPECT_EQ(control<QTreeWidget>(w, "tvUDDIExplorer")->topLevelItemCount(), 0);
        control<QPushButton>(w, "cmdCancel")->click();
    });
    EXPECT_TRUE(showUddiExplorer(nullptr).cancelled);

    writeSettings(services.registryUrl());
    ui->shown.clear();
    const std::string wsdl = services.serviceUrl("Calculator") + "?WSDL";
    drivers.push([&](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), " OMBREL Technology");
        EXPECT_EQ(control<QLabel>(w, "lblOperationDescription")->text(), "Enter your search criteria to begin.");
        test::expectAccessibleNames(w);
        auto* tree = control<QTreeWidget>(w, "tvUDDIExplorer");
        auto* select = control<QPushButton>(w, "cmdSelect");
        control<QLineEdit>(w, "txtName")->setText("zel arithmetic w");
        control<QCheckBox>(w, "chkCase")->setChecked(true);
        control<QCheckBox>(w, "chkExact")->setChecked(true);
        control<QPushButton>(w, "cmdSearch")->click();
        ASSERT_EQ(tree->topLevelItemCount(), 1) << ui->shown.size();
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "Zel Arithmetic Works");
        EXPECT_NE(w.cursor().shape(), Qt::WaitCursor);

        QTreeWidgetItem* service = findItem(tree, [](auto* i) { return i->text(0) == "Calculator"; });
        ASSERT_NE(service, nullptr);
        tree->setCurrentItem(service);
        EXPECT_EQ(frmUDDIExplorer::imageOf(*service), "service");
        EXPECT_TRUE(service->isExpanded());
        QTreeWidgetItem* reference = findItem(tree, [](auto* i) { return frmUDDIExplorer::tagOf(*i) == "tModel"; });
        ASSERT_NE(reference, nullptr);
        tree->setCurrentItem(reference);
        EXPECT_EQ(frmUDDIExplorer::tagOf(*reference), "");
        EXPECT_EQ(frmUDDIExplorer::imageOf(*reference), "signature");
        EXPECT_FALSE(select->isEnabled());
        QTreeWidgetItem* address = findItem(tree, [&](auto* i) { return i->text(0).toStdString() == wsdl; });
        ASSERT_NE(address, nullptr);
        tree->setCurrentItem(address);
        EXPECT_TRUE(select->isEnabled());
        service->child(1)->setExpanded(true); // the categories with their taxonomy pictures, for the README
        w.resize(660, 690);
        tree->scrollToItem(address);
        test::picture(w, "uddi-browser");

        // Options: an empty address is refused; the registered address in other letters is taken.
        drivers.push([&](QDialog& options) {
            auto* registry = control<QComboBox>(options, "pvUDDIAddress");
            EXPECT_EQ(registry->currentText().toStdString(), services.registryUrl());
            registry->setEditText("");
            control<QPushButton>(options, "cmdConfirm")->click();
            ASSERT_EQ(ui->shown.size(), 1u);
            EXPECT_EQ(ui->shown[0].text, "Enter the address of a UDDI registry.");
            EXPECT_TRUE(options.isVisible());
            registry->setEditText(QString::fromStdString(services.registryUrl()).toUpper());
            control<QRadioButton>(options, "optTraceOff")->setChecked(true);
            control<QPushButton>(options, "cmdConfirm")->click();
        });
        control<QPushButton>(w, "cmdOptions")->click();
        UDDISettings saved;
        EXPECT_FALSE(saved.TraceStateGet());
        EXPECT_EQ(test::countOf(saved.ServersNodeGet(), "<Server>"), 1u);
        select->click();
    });
    const UddiChoice chosen = showUddiExplorer(nullptr);
    EXPECT_FALSE(chosen.cancelled);
    EXPECT_EQ(chosen.address, wsdl);
    EXPECT_NE(test::readFile(module.folder() / "trace.log").find("get_tModelDetail"), std::string::npos);
    globals().gstrPathData.clear();
    globals().gstrLanguageId.clear();
}

} // namespace
} // namespace zel
