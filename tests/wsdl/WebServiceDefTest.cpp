#include "wsdl/WebServiceDef.h"
#include "WsdlTestSupport.h"
#include "common/XmlFncs.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/error/ErrorRecord.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace zel;
using controls::TreeItem;
using zel::test::expectRaises;
using zel::wsdltest::branches;
using zel::wsdltest::rows;

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

const std::string kTwoPorts = zel::test::fixture("wsdl/toolkit-two-ports.wsdl");

} // namespace

// Each port gives a class (its name without the last eleven characters, counted as characters)
// with the operations of its binding; only the stored class and its stored method are ticked.
TEST(WebServiceDef, ClassLoad_TreeOfClassesAndMethods_TicksOnlyTheStoredOnes)
{
    const std::string ports = "<definitions><service name='S'><port name='ServicePort'/>"
                              "<port name='Caf\xC3\xA9ServicePort'/><port name='\xC3\xA9tSoapPort1'/></service>"
                              "</definitions>";
    // WSDL, stored class, stored method, service name, tree
    const std::tuple<std::string, const char*, const char*, const char*, const char*> cases[] = {
        {kTwoPorts, "Cart", "Clear", "Shop", "Cart+(AddItem Clear+) Till(Total)"},
        {kTwoPorts, "Till", "AddItem", "Shop", "Cart(AddItem Clear) Till+(Total)"}, // AddItem is not under Till
        {kTwoPorts, "Till", "Total", "Shop", "Cart(AddItem Clear) Till+(Total+)"},
        {kTwoPorts, "cart", "Clear", "Shop", "Cart(AddItem Clear) Till(Total)"}, // names are compared as written
        {kTwoPorts, "", "", "Shop", "Cart(AddItem Clear) Till(Total)"},
        {kTwoPorts, "Cart", "", "Shop", "Cart+(AddItem Clear) Till(Total)"},
        // "ServicePort" alone leaves an empty class name, which equals an omitted class name.
        {ports, "", "", "S", "+ Caf\xC3\xA9 +"},
    };
    for (const auto& [wsdl, className, methodName, service, tree] : cases) {
        Loader l;
        l.def.WebServiceClassLoad(wsdl, className, methodName);
        EXPECT_EQ(branches(l.tree), tree) << className << "." << methodName;
        EXPECT_EQ(l.def.pubstrWsdlXml, wsdl);
        EXPECT_EQ(l.serviceName.text(), service);
        EXPECT_EQ(l.def.pubstrServiceName, service);
    }
}

// The parameters are the parts of the "Class.Method" message, types with their prefix; the return
// type the first part of its response message.
TEST(WebServiceDef, MethodParameters_KeepTheirTypePrefix)
{
    // class, method, grid, return-type field
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"Cart", "AddItem", "*item xsd:string [none], count xsd:int [none]", "xsd:boolean"},
        {"Till", "Missing", "", ""}, // no response message clears the field
        {"Till", "Total", "*currency xsd:string [none]", "xsd:double"},
        {"Cart", "Clear", "", ""}, // no parts, empty response
        {"Till", "Total", "*currency xsd:string [none]", "xsd:double"},
    };
    Loader l;
    l.def.pubstrWsdlXml = kTwoPorts;
    for (const auto& [className, methodName, grid, returnType] : cases) {
        l.def.pubstrSelectedClass = className;
        l.def.pubstrSelectedMethod = methodName;
        l.def.WebServiceMethodParametersInputLoad();
        EXPECT_EQ(rows(l.grid), grid) << methodName;
        EXPECT_EQ(l.returnType.text(), returnType) << methodName;
    }
    // A text that does not parse empties the grid and ends before the return-type field.
    l.def.pubstrWsdlXml = "<definitions>";
    l.def.WebServiceMethodParametersInputLoad();
    EXPECT_EQ(l.grid.rowCount(), 0);
    EXPECT_EQ(l.returnType.text(), "xsd:double");
    // Without the return-type field the rows are still written before the call fails.
    l.def.pubstrWsdlXml = kTwoPorts;
    l.def.pubtxtMethodReturnType = nullptr;
    expectRaises([&] { l.def.WebServiceMethodParametersInputLoad(); }, ErrorNumber::ObjectNotSet,
                 " frmWebServiceSelect.WebServiceMethodParametersInputLoad() ");
    EXPECT_EQ(rows(l.grid), "*currency xsd:string [none]");
}

// Bad documents and missing controls: the tree is cleared first, the error carries the operation's tag.
TEST(WebServiceDef, BadDocumentsOrMissingControls_ClearTheTreeAndFailWithTheirErrors)
{
    // what, WSDL, error (0: none), items left in the tree, pubstrWsdlXml holds the text afterwards
    const std::tuple<const char*, std::string, int32_t, int, bool> cases[] = {
        {"not XML", "<definitions><service", 0, 0, false},
        {"prefixed style", zel::test::fixture("wsdl/quotes-s.wsdl"), ErrorNumber::ObjectNotSet, 0, true},
        {"port without name",
         "<definitions><service name='S'><port name='AServicePort'/><port/></service></definitions>", 94, 1, true},
        {"short port name", "<definitions><service name='S'><port name='Short'/></service></definitions>",
         ErrorNumber::InvalidArgument, 0, true},
        {"short port name after a good one",
         "<definitions><service name='S'><port name='AServicePort'/><port name='Short'/></service></definitions>",
         ErrorNumber::InvalidArgument, 1, true},
        {"no service-name field", kTwoPorts, ErrorNumber::ObjectNotSet, 0, true},
    };
    for (const auto& [what, wsdl, error, items, keepsWsdlText] : cases) {
        Loader l;
        l.def.WebServiceClassLoad(kTwoPorts);
        ASSERT_EQ(l.tree.itemCount(), 5);
        if (std::string_view(what) == "no service-name field")
            l.def.pubtxtWsdlServiceName = nullptr;
        try {
            l.def.WebServiceClassLoad(wsdl, "Cart", "AddItem");
            EXPECT_EQ(error, 0) << what;
        } catch (const ErrorRecord& e) {
            EXPECT_EQ(e.Number, error) << what;
            EXPECT_TRUE(e.Source.ends_with(" WebServiceDef.WebServiceClassLoad() ")) << e.Source;
        }
        EXPECT_EQ(l.tree.itemCount(), items) << what;
        EXPECT_EQ(l.def.pubstrWsdlXml, keepsWsdlText ? wsdl : std::string()) << what;
    }
    Loader l; // the method loader checks for the tree itself
    l.def.pubtvSoapComponent = nullptr;
    TreeItem item;
    expectRaises([&] { l.def.WebServiceMethodsLoad(XmlFncs::xmlMakeNode(kTwoPorts), "Cart", item); },
                 ErrorNumber::ObjectNotSet, " WebServiceDef.WebServiceMethodsLoad() ");
}
