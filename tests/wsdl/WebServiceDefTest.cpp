#include "wsdl/WebServiceDef.h"
#include "common/XmlFncs.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/controls/MemoryTree.h"
#include "platform/error/ErrorRecord.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace zel;
using controls::TreeItem;
using zel::test::expectRaises;

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
    const std::string wsdl = zel::test::fixture("wsdl/toolkit-two-ports.wsdl");
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
    l.def.pubstrWsdlXml = zel::test::fixture("wsdl/toolkit-two-ports.wsdl");
    l.def.pubstrSelectedClass = "Cart";
    l.def.pubstrSelectedMethod = "AddItem";
    l.def.WebServiceMethodParametersInputLoad();
    ASSERT_EQ(l.grid.rowCount(), 2);
    EXPECT_EQ(l.grid.cell(0, 0), "item");
    EXPECT_EQ(l.grid.cell(1, 1), "xsd:int");
    EXPECT_EQ(l.grid.cell(1, 2), "[none]");
    EXPECT_EQ(l.grid.currentRow(), 0);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(l.grid.rowPictures(row),
                  std::make_pair(controls::Picture::ParameterName, controls::Picture::ParameterValue));
    EXPECT_EQ(l.returnType.text(), "xsd:boolean");

    // No parts and an empty response; then a method that does not exist.
    l.def.pubstrSelectedMethod = "Clear";
    l.def.WebServiceMethodParametersInputLoad();
    EXPECT_EQ(l.grid.rowCount(), 0);
    EXPECT_EQ(l.returnType.text(), "");
    l.def.pubstrSelectedClass = "Till";
    l.def.pubstrSelectedMethod = "Total";
    l.def.WebServiceMethodParametersInputLoad();
    EXPECT_EQ(l.grid.rowCount(), 1);
    EXPECT_EQ(l.returnType.text(), "xsd:double");
    l.def.pubstrSelectedMethod = "Missing";
    l.def.WebServiceMethodParametersInputLoad();
    EXPECT_EQ(l.grid.rowCount(), 0);
    EXPECT_EQ(l.grid.currentRow(), -1);
    EXPECT_EQ(l.returnType.text(), "") << "no response message clears the field";

    // A text that does not parse empties the grid and ends before the return-type field.
    l.def.pubstrSelectedMethod = "Total";
    l.def.WebServiceMethodParametersInputLoad();
    l.def.pubstrWsdlXml = "<definitions>";
    l.def.WebServiceMethodParametersInputLoad();
    EXPECT_EQ(l.grid.rowCount(), 0);
    EXPECT_EQ(l.returnType.text(), "xsd:double");
}

TEST(WebServiceDef, Selection_TicksOnlyTheStoredClassAndItsStoredMethod)
{
    struct Case
    {
        const char* className;
        const char* methodName;
        std::vector<std::string> ticked; // texts of the ticked items, tree order
    };
    const Case cases[] = {
        {"Cart", "Clear", {"Cart", "Clear"}},
        {"Till", "AddItem", {"Till"}}, // AddItem lies under the class that is not selected
        {"Till", "Total", {"Till", "Total"}},
        {"cart", "Clear", {}}, // names are compared as written
        {"", "", {}},
        {"Cart", "", {"Cart"}},
    };
    for (const Case& c : cases) {
        Loader l;
        l.def.WebServiceClassLoad(zel::test::fixture("wsdl/toolkit-two-ports.wsdl"), c.className, c.methodName);
        std::vector<std::string> ticked;
        for (int i = 0; i < l.tree.childCount(l.tree.root()); ++i) {
            const TreeItem classItem = l.tree.child(l.tree.root(), i);
            EXPECT_TRUE(l.tree.isCheckable(classItem));
            if (l.tree.isChecked(classItem))
                ticked.push_back(l.tree.text(classItem));
            for (int m = 0; m < l.tree.childCount(classItem); ++m) {
                const TreeItem method = l.tree.child(classItem, m);
                EXPECT_TRUE(l.tree.isCheckable(method));
                if (l.tree.isChecked(method))
                    ticked.push_back(l.tree.text(method));
            }
        }
        EXPECT_EQ(ticked, c.ticked) << c.className << "." << c.methodName;
    }
}

TEST(WebServiceDef, ClassNames_DropTheLastElevenCharactersOfThePortName)
{
    Loader l;
    // "ServicePort" alone leaves an empty class name, which equals an omitted class name.
    l.def.WebServiceClassLoad("<definitions><service name='S'><port name='ServicePort'/>"
                              "<port name='Caf\xC3\xA9ServicePort'/><port name='\xC3\xA9tSoapPort1'/>"
                              "</service></definitions>");
    ASSERT_EQ(l.tree.childCount(l.tree.root()), 3);
    EXPECT_EQ(l.tree.text(l.tree.child(l.tree.root(), 0)), "");
    EXPECT_TRUE(l.tree.isChecked(l.tree.child(l.tree.root(), 0)));
    EXPECT_EQ(l.tree.text(l.tree.child(l.tree.root(), 1)), "Caf\xC3\xA9");
    EXPECT_EQ(l.tree.text(l.tree.child(l.tree.root(), 2)), "");
    EXPECT_EQ(l.tree.picture(l.tree.child(l.tree.root(), 1)), controls::Picture::Class);
}

TEST(WebServiceDef, BadDocuments_ClearTheTreeAndFailAsDescribed)
{
    struct Case
    {
        const char* what;
        std::string wsdl;
        int32_t error;      // 0: no error
        int items;          // items left in the tree
        bool keepsWsdlText; // pubstrWsdlXml holds the text afterwards
    };
    const Case cases[] = {
        {"not XML", "<definitions><service", 0, 0, false},
        {"prefixed style", zel::test::fixture("wsdl/quotes-s.wsdl"), ErrorNumber::ObjectNotSet, 0, true},
        {"port without name",
         "<definitions><service name='S'><port name='AServicePort'/><port/></service></definitions>", 94, 1, true},
        {"short port name", "<definitions><service name='S'><port name='Short'/></service></definitions>",
         ErrorNumber::InvalidArgument, 0, true},
        {"short port name after a good one",
         "<definitions><service name='S'><port name='AServicePort'/><port name='Short'/></service></definitions>",
         ErrorNumber::InvalidArgument, 1, true},
    };
    for (const Case& c : cases) {
        Loader l;
        l.def.WebServiceClassLoad(zel::test::fixture("wsdl/toolkit-two-ports.wsdl"));
        ASSERT_EQ(l.tree.itemCount(), 5);
        try {
            l.def.WebServiceClassLoad(c.wsdl, "Cart", "AddItem");
            EXPECT_EQ(c.error, 0) << c.what;
        } catch (const ErrorRecord& e) {
            EXPECT_EQ(e.Number, c.error) << c.what;
            EXPECT_TRUE(e.Source.ends_with(" WebServiceDef.WebServiceClassLoad() ")) << e.Source;
        }
        EXPECT_EQ(l.tree.itemCount(), c.items) << c.what;
        EXPECT_EQ(l.def.pubstrWsdlXml, c.keepsWsdlText ? c.wsdl : std::string()) << c.what;
    }
}

TEST(WebServiceDef, MissingControls_RaiseWithEachOperationsTagWhereTheyAreUsed)
{
    const std::string wsdl = zel::test::fixture("wsdl/toolkit-two-ports.wsdl");
    {
        Loader l;
        l.def.WebServiceClassLoad(wsdl);
        l.def.pubtxtWsdlServiceName = nullptr;
        expectRaises([&] { l.def.WebServiceClassLoad(wsdl, "Cart"); }, ErrorNumber::ObjectNotSet,
                     " WebServiceDef.WebServiceClassLoad() ");
        EXPECT_EQ(l.tree.itemCount(), 0) << "the tree was cleared first";
        EXPECT_EQ(l.def.pubstrWsdlXml, wsdl);
    }
    {
        Loader l;
        l.def.pubstrWsdlXml = wsdl;
        l.def.pubstrSelectedClass = "Cart";
        l.def.pubstrSelectedMethod = "AddItem";
        l.def.pubtxtMethodReturnType = nullptr;
        expectRaises([&] { l.def.WebServiceMethodParametersInputLoad(); }, ErrorNumber::ObjectNotSet,
                     " frmWebServiceSelect.WebServiceMethodParametersInputLoad() ");
        EXPECT_EQ(l.grid.rowCount(), 2) << "the rows come before the return-type field";
    }
    {
        Loader l;
        controls::MemoryTree tree;
        TreeItem item = tree.addChild(tree.root(), "Cart", controls::Picture::Class, true);
        l.def.pubtvSoapComponent = nullptr;
        expectRaises([&] { l.def.WebServiceMethodsLoad(XmlFncs::xmlMakeNode(wsdl), "Cart", item); },
                     ErrorNumber::ObjectNotSet, " WebServiceDef.WebServiceMethodsLoad() ");
    }
}
