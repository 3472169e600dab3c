#include "WsdefTestSupport.h"

#include "common/Globals.h"
#include "hostparts/defaults/SharedData.h"
#include "wsdef/BPPngDef.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

// The activity-data object of a host that fails when asked for the catalogue.
class FailingData final : public ISharedData
{
public:
    XmlNode AttributesNode() override { raise(ErrorNumber::Unspecified, "catalogue unavailable", "HostData"); }
    XmlNode DataNode() override { return {}; }
    XmlNode ScriptNode() override { return {}; }
    void SetScriptNode(const XmlNode&) override {}
    std::string UserLanguage() override { return {}; }
    std::string ContextText() override { return {}; }
    bool HasScript() override { return false; }
    void LoadData(std::string_view) override {}
    void SetButtonResult(int32_t) override {}
    std::string Description() override { return {}; }
    void SetDescription(std::string_view) override {}
    XmlNode PropertiesNode() override { return {}; }
};

TEST(Catalogue, AttributesGet_EmptyWithoutDataOrCatalogue_AsksTheProcessWideObjectEveryTime)
{
    // No activity data to begin with, and none left behind.
    test::Installed<std::shared_ptr<ISharedData>> none{
        [](std::shared_ptr<ISharedData> data) { return std::exchange(globals().gobjSharedData, std::move(data)); },
        nullptr};
    BPPngDef catalogue;
    EXPECT_EQ(catalogue.AttributesGet(), "");

    auto data = std::make_shared<SharedData>();
    data->LoadData("<Activity><Description>no attributes here</Description></Activity>");
    globals().gobjSharedData = data;
    EXPECT_EQ(catalogue.AttributesGet(), "");

    // The process-wide object is looked up, and asked, on every call, so new activity data and a
    // new object are seen at once; its failures come back with the catalogue's tag.
    data->LoadData("<Activity><Attributes><Attribute>OrderId</Attribute><Attribute>Total</Attribute></Attributes>"
                   "</Activity>");
    EXPECT_EQ(catalogue.AttributesGet(),
              "<Attributes><Attribute>OrderId</Attribute><Attribute>Total</Attribute></Attributes>");
    data->LoadData("<Activity><Attributes/></Activity>");
    EXPECT_EQ(catalogue.AttributesGet(), "<Attributes/>");

    globals().gobjSharedData = std::make_shared<FailingData>();
    const ErrorRecord error = test::raisedBy([&] { catalogue.AttributesGet(); });
    EXPECT_EQ(error.Number, ErrorNumber::Unspecified);
    EXPECT_EQ(error.Description, "catalogue unavailable");
    EXPECT_EQ(error.Source, "HostData BPPngDef.AttributesGet() ");

    // The process definition is read as it comes, any text accepted.
    for (const char* definition : {"<Process><Attributes/></Process>", "not xml <"}) {
        catalogue.pubstrPngDef = definition;
        EXPECT_NO_THROW(catalogue.PngDefinicionLoad());
    }
}

} // namespace
} // namespace zel
