#include "uddi/UddiTree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace zel {
namespace {

using namespace UddiTree;

// One node a line: "depth|key|text|image|tag".
std::string rows(const std::vector<Node>& nodes)
{
    std::ostringstream out;
    std::vector<int> depth;
    for (const Node& n : nodes) {
        depth.push_back(n.parent < 0 ? 0 : depth[static_cast<std::size_t>(n.parent)] + 1);
        out << depth.back() << '|' << n.key << '|' << n.text << '|' << n.image << '|' << n.tag << '\n';
    }
    return out.str();
}

TEST(UddiTreeSearch, BusinessRows_FoldersAndCounts)
{
    uddi::BusinessList list;
    list.businessInfos = {
        {"B1", "Acme & <Sons>", {{"en", "Tools"}, {"fr", ""}, {"", "Ünïcode"}}, {{"S1", "Quotes"}, {"S2", ""}}},
        {"B2", "Bare", {}, {}},
    };
    EXPECT_EQ(rows(businessNodes(list)), "0|B1|Acme & <Sons>|business|\n"
                                         "1|B1-Desc|Descriptions|description|\n"
                                         "2||[en]  Tools|description|\n"
                                         "2||[]  Ünïcode|description|\n"
                                         "1|B1-Svc|Service Groups (2)|service|\n"
                                         "2|S1|Quotes|servicesin|businessService\n"
                                         "2|S2||servicesin|businessService\n"
                                         "0|B2|Bare|business|\n"
                                         "1|B2-Svc|Service Groups (0)|service|\n");
    EXPECT_EQ(rows(businessNodes({})), "0||No matches found.||\n");
}

TEST(UddiTreeSearch, Request_QualifiersNameAndDuns)
{
    // The criteria, the qualifiers and name sent, and the DUNS number sent ("": no identifier).
    const std::vector<std::tuple<Criteria, std::vector<int>, std::string, std::string>> cases = {
        {{"Acme", "", false, false, 5}, {502, 501}, "Acme", ""},
        {{"  Acme", " 123 ", true, true, 5}, {}, "  Acme", "123"},
        {{"   ", "   ", true, false, 5}, {501}, "", ""},
        {{"", "", false, true, 0}, {502}, "", ""},
    };
    for (const auto& [criteria, qualifiers, name, duns] : cases) {
        const uddi::FindBusiness request = searchRequest(criteria);
        EXPECT_EQ(request.findQualifiers, qualifiers) << criteria.name;
        EXPECT_EQ(request.name, name);
        EXPECT_EQ(request.maxRows, criteria.maxRows);
        ASSERT_EQ(request.identifierBag.size(), duns.empty() ? 0u : 1u);
        for (const auto& identifier : request.identifierBag)
            EXPECT_EQ(identifier.tModelKey + "|" + identifier.keyName + "|" + identifier.keyValue,
                      std::string(uddi::kDunsTModelKey) + "||" + duns);
    }
}

TEST(UddiTreeExpand, ServiceRows_BindingsRedirectorsAndReferenceKeys)
{
    uddi::BusinessService service;
    service.serviceKey = "S";
    service.descriptions = {{"en", "Quotes"}, {"es", ""}};
    service.categoryBag = {{"uuid:C0B9FE13-179F-413D-8A5B-5004DB8E5BB2", "Software", "541511"},
                           {"", "units", "kelvin"},
                           {"uuid:0000-unknown", "odd", "1"}};
    uddi::BindingTemplate first{"B1", "S", {{"en", "First"}, {"en", "Second"}}, true, "http", "http://x/q", {}, {}};
    first.tModelInstanceDetails = {{"uuid:T", {{"en", "WSDL"}, {"es", "Interfaz"}}}, {"uuid:U", {}}, {"uuid:T", {}}};
    uddi::BindingTemplate second{"B2", "S", {}, false, "", "", "B1", {}};
    service.bindingTemplates = {first, second};
    EXPECT_EQ(rows(serviceNodes(service)), "0|S-desc|Descriptions|description|\n"
                                           "1||[en]  Quotes|description|\n"
                                           "0|S-cat|Categories|category|\n"
                                           "1||Software (541511)|NAICS|\n"
                                           "1||units (kelvin)|Keywords|\n"
                                           "1||odd (1)|Other|\n"
                                           "0|S-bind|Bindings (2)|binding|\n"
                                           "1|B1|First|binding|\n"
                                           "2|B1-urltype|http|urlType|\n"
                                           "3|B1-access|http://x/q|urlType|\n"
                                           "2|B1-sig-S|Binding Signature|signature|\n"
                                           "3|uuid:T-tmodel-1B1|uuid:T|magnify|tModel\n"
                                           "4||WSDL|description|\n"
                                           "4||Interfaz|description|\n"
                                           "3|uuid:U-tmodel-2B1|uuid:U|magnify|tModel\n"
                                           "3|uuid:T-tmodel-3B1|uuid:T|magnify|tModel\n"
                                           "1|B2||binding|\n"
                                           "2||Redirector||\n"
                                           "3|B2-redirect|B1||\n");
    uddi::BusinessService bare;
    bare.serviceKey = "E";
    EXPECT_EQ(rows(serviceNodes(bare)), "0|E-bind|Bindings (0)|binding|\n");
}

TEST(UddiTreeExpand, TModelRows_OverviewAlwaysThere)
{
    const uddi::TModel model{"uuid:T",
                             "demo:Calc",
                             {{"en", "Interface"}},
                             "",
                             {{"uuid:C1ACF26D-9672-4404-9D70-39B756E62AB4", "uddi-org:types", "wsdlSpec"}}};
    EXPECT_EQ(rows(tModelNodes(model, "uuid:T-tmodel-1B1")),
              "0|uuid:Tuuid:T-tmodel-1B1|demo:Calc|tModel|\n"
              "1|uuid:Tuuid:T-tmodel-1B1-desc|Descriptions|description|\n"
              "2||[en]  Interface|description|\n"
              "1|uuid:Tuuid:T-tmodel-1B1-ovr|Overview|overviewDoc|\n"
              "2|||overviewDoc|\n"
              "1|uuid:Tuuid:T-tmodel-1B1-cat|Categories|category|\n"
              "2||uddi-org:types (wsdlSpec)|UDDI Types|\n");
    for (const char* text : {"HTTPS://X", "see http://x", "http://"})
        EXPECT_TRUE(isWebAddress(text)) << text;
    for (const char* text : {"", "ftp://x", "http:/x", "Binding Signature"})
        EXPECT_FALSE(isWebAddress(text)) << text;
}

} // namespace
} // namespace zel
