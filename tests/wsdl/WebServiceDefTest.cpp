#include "wsdl/WebServiceDef.h"
#include "WsdlTestSupport.h"
#include "common/ErrorRecord.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/controls/MemoryTree.h"

#include <gtest/gtest.h>

using namespace zel;
using controls::TreeItem;

namespace {

struct Loader
{
    Loader()
    {
        def.pubdtMethodsParameters = &grid;
        def.pubtvSoapComponent = &tree;
        def.pubtxtMethodReturnType = &returnType;
        def.pubtxtWsdlServiceName = &serviceName;
    }
    WebServiceDef def;
    controls::MemoryGrid grid;
    controls::MemoryTree tree;
    controls::MemoryTextBox returnType;
    controls::MemoryTextBox serviceName;
};

} // namespace

TEST(WebServiceDef, TwoPorts_GiveTwoClassesAndOnlyTheStoredOnesAreTicked)
{
    Loader l;
    const std::string wsdl = zel::testing::wsdlFixture("toolkit-two-ports.wsdl");
    l.def.WebServiceClassLoad(wsdl, "Cart", "Clear");
    EXPECT_EQ(l.def.pubstrWsdlXml, wsdl);
    EXPECT_EQ(l.serviceName.text(), "Shop");
    EXPECT_EQ(l.def.pubstrServiceName, "Shop");
    const TreeItem root = l.tree.root();
    ASSERT_EQ(l.tree.childCount(root), 2);
    EXPECT_EQ(l.tree.itemCount(), 5);
    const TreeItem cart = l.tree.child(root, 0);
    const TreeItem till = l.tree.child(root, 1);
    EXPECT_EQ(l.tree.text(cart), "Cart");
    EXPECT_EQ(l.tree.text(till), "Till");
    EXPECT_EQ(l.tree.picture(cart), controls::Picture::Class);
    EXPECT_TRUE(l.tree.isChecked(cart));
    EXPECT_FALSE(l.tree.isChecked(till));
    ASSERT_EQ(l.tree.childCount(cart), 2);
    EXPECT_EQ(l.tree.text(l.tree.child(cart, 0)), "AddItem");
    EXPECT_FALSE(l.tree.isChecked(l.tree.child(cart, 0)));
    EXPECT_TRUE(l.tree.isChecked(l.tree.child(cart, 1)));
    EXPECT_EQ(l.tree.picture(l.tree.child(cart, 1)), controls::Picture::Method);
    EXPECT_EQ(l.tree.text(l.tree.child(till, 0)), "Total");
}

TEST(WebServiceDef, MethodParameters_KeepTheirTypePrefix)
{
    Loader l;
    l.def.pubstrWsdlXml = zel::testing::wsdlFixture("toolkit-two-ports.wsdl");
    l.def.pubstrSelectedClass = "Cart";
    l.def.pubstrSelectedMethod = "AddItem";
    l.def.WebServiceMethodParametersInputLoad();
    ASSERT_EQ(l.grid.rowCount(), 2);
    EXPECT_EQ(l.grid.cell(0, 0), "item");
    EXPECT_EQ(l.grid.cell(1, 1), "xsd:int");
    EXPECT_EQ(l.grid.cell(1, 2), "[none]");
    EXPECT_EQ(l.grid.currentRow(), 0);
    EXPECT_EQ(l.returnType.text(), "xsd:boolean");

    // No parts and an empty response; then a method that does not exist.
    l.def.pubstrSelectedMethod = "Clear";
    l.def.WebServiceMethodParametersInputLoad();
    EXPECT_EQ(l.grid.rowCount(), 0);
    EXPECT_EQ(l.returnType.text(), "");
    l.def.pubstrSelectedMethod = "Missing";
    l.def.WebServiceMethodParametersInputLoad();
    EXPECT_EQ(l.grid.rowCount(), 0);
}

TEST(WebServiceDef, BadDocuments_ClearTheTreeAndFailAsDescribed)
{
    struct Case
    {
        const char* what;
        std::string wsdl;
        int32_t error; // 0: no error
        int items;     // items left in the tree
    };
    const Case cases[] = {
        {"not XML", "<definitions><service", 0, 0},
        {"prefixed style", zel::testing::wsdlFixture("quotes-s.wsdl"), ErrorNumber::ObjectNotSet, 0},
        {"port without name",
         "<definitions><service name='S'><port name='AServicePort'/><port/></service></definitions>", 94, 1},
        {"short port name", "<definitions><service name='S'><port name='Short'/></service></definitions>",
         ErrorNumber::InvalidArgument, 0},
    };
    for (const Case& c : cases) {
        Loader l;
        l.def.WebServiceClassLoad(zel::testing::wsdlFixture("toolkit-two-ports.wsdl"));
        ASSERT_EQ(l.tree.itemCount(), 5);
        try {
            l.def.WebServiceClassLoad(c.wsdl, "Cart", "AddItem");
            EXPECT_EQ(c.error, 0) << c.what;
        } catch (const ErrorRecord& e) {
            EXPECT_EQ(e.Number, c.error) << c.what;
            EXPECT_TRUE(e.Source.ends_with(" WebServiceDef.WebServiceClassLoad() ")) << e.Source;
        }
        EXPECT_EQ(l.tree.itemCount(), c.items) << c.what;
        if (c.error == 0) {
            EXPECT_EQ(l.def.pubstrWsdlXml, "") << c.what;
        }
    }
}
