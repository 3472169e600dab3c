#include "uddi/UddiTree.h"

#include "DemoServices.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace zel {
namespace {

using namespace UddiTree;

// The tops of the tree an update adds, and the first node with a text.
std::vector<std::string> topTexts(const Update& update)
{
    std::vector<std::string> texts;
    for (const Node& n : update.nodes)
        if (n.parent < 0)
            texts.push_back(n.text);
    return texts;
}

const Node* nodeWithText(const Update& update, const std::string& text)
{
    for (const Node& n : update.nodes)
        if (n.text == text)
            return &n;
    return nullptr;
}

// The demo registry's tree through the client and through the command line, with every message the
// client sent or received valid against the UDDI v2 schema; beside it, the rules for web addresses
// and taxonomy names.
TEST(DemoRegistryRoad, SearchExpandSelectThroughTheClientAndTheCommandLine_EveryMessageValidates)
{
    EXPECT_EQ(uddi::taxonomyName(""), "Keywords"); // a category without a tModel key
    EXPECT_EQ(uddi::taxonomyName("UUID:4E49A8D6-d5a2-4fc2-93a0-0411d8d19e88"), "ISO 3166");
    for (const char* text : {"HTTPS://X", "see http://x", "http://"})
        EXPECT_TRUE(isWebAddress(text)) << text;
    for (const char* text : {"", "ftp://x", "http:/x", "Binding Signature"})
        EXPECT_FALSE(isWebAddress(text)) << text;

    demo::DemoServices services;
    services.start();
    test::TempDir dir;
    uddi::UddiClient client;
    client.setAddress(services.registryUrl());
    client.setTrace(true);
    client.setTracePath((dir / "trace.log").string());
    auto search = [&](const std::string& name, const std::string& duns, bool ignoreCase, bool partial,
                      int16_t rows = 0) {
        return UddiTree::search(client, {name, duns, ignoreCase, partial, rows});
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(topTexts(search("zel", "", true, true)),
              (V{"Zel Arithmetic", "Zel Arithmetic Works", "Zel Event Services", "Zel Orders & Logistics"}));
    EXPECT_EQ(topTexts(search("zel arithmetic", "", true, false)), V{"Zel Arithmetic"});
    EXPECT_EQ(topTexts(search("zel arithmetic", "", false, true)), V{"No matches found."});
    EXPECT_EQ(topTexts(search("Zel Arithmetic", "", false, true)), (V{"Zel Arithmetic", "Zel Arithmetic Works"}));
    EXPECT_EQ(topTexts(search("%rich", "", true, true)), V{"Zürich Weather Bureau"});
    EXPECT_EQ(topTexts(search("", " 804735132 ", false, false)), V{"Zel Orders & Logistics"});
    EXPECT_EQ(topTexts(search("Zel Event Services", "804735132", false, false)), V{"No matches found."});
    EXPECT_EQ(topTexts(search("", "", false, false)), V{"No matches found."});
    EXPECT_EQ(topTexts(search("Z", "", true, true, 2)), (V{"Zel Arithmetic", "Zel Arithmetic Works"}));

    const Update found = search("Zel Arithmetic Works", "", false, false);
    ASSERT_TRUE(found.answered);
    EXPECT_NE(nodeWithText(found, "[es]  Cálculo aritmético y conversión de unidades."), nullptr);
    const Node* calculator = nodeWithText(found, "Calculator");
    ASSERT_NE(calculator, nullptr);
    const Update service = expandService(client, calculator->key);
    ASSERT_TRUE(service.answered) << service.errorText;
    EXPECT_NE(nodeWithText(service, services.serviceUrl("Calculator")), nullptr);
    EXPECT_EQ(nodeWithText(service, "Spain (ES)")->image, "ISO 3166");
    EXPECT_EQ(nodeWithText(service, "related interface (OrderDesk)")->image, "Other");
    const auto reference =
        std::find_if(service.nodes.begin(), service.nodes.end(), [](const Node& n) { return n.tag == kTModelTag; });
    ASSERT_NE(reference, service.nodes.end());
    const Update model = expandTModel(client, reference->key);
    ASSERT_TRUE(model.answered) << model.errorText;
    const Node* wsdl = nodeWithText(model, services.serviceUrl("Calculator") + "?WSDL");
    ASSERT_NE(wsdl, nullptr);
    EXPECT_TRUE(isWebAddress(wsdl->text));

    // A redirector, and a tModel without an overview document.
    const Update orders = expandService(client, "49a16b69-09ad-5ef6-8dce-f643b07eaacd");
    EXPECT_NE(nodeWithText(orders, "Redirector"), nullptr);
    EXPECT_TRUE(expandTModel(client, "uuid:F19ED277-d6b4-5604-8564-eaf37054b2c2-tmodel-2B").answered);

    for (const auto& unknown :
         {expandService(client, "no-such-service"), expandTModel(client, "uuid:no-such-tmodel-tmodel-1B")}) {
        EXPECT_TRUE(unknown.failed);
        EXPECT_NE(unknown.errorText.find("E_invalidKeyPassed (10210)"), std::string::npos) << unknown.errorText;
    }

    // The command line prints the same tree; its exit codes.
    auto run = [&](const std::string& arguments) {
        return test::runProgram(std::string(ZEL_BIN_DIR) + "/zel-uddi " + arguments, dir);
    };
    const std::string registry = "--registry " + services.registryUrl();
    test::ProgramRun find = run(registry + " find --name 'zel orders' --partial-name --ignore-case");
    EXPECT_EQ(find.exit, 0) << find.err;
    EXPECT_EQ(find.out, "0\tadd42d4f-2d42-5164-a4f2-151a60c91490\tZel Orders & Logistics\tbusiness\t\n"
                        "1\tadd42d4f-2d42-5164-a4f2-151a60c91490-Desc\tDescriptions\tdescription\t\n"
                        "2\t\t[en]  Orders, stock <and> prices.\tdescription\t\n"
                        "2\t\t[es]  Pedidos, existencias y precios.\tdescription\t\n"
                        "1\tadd42d4f-2d42-5164-a4f2-151a60c91490-Svc\tService Groups (2)\tservice\t\n"
                        "2\t49a16b69-09ad-5ef6-8dce-f643b07eaacd\tOrderDesk\tservicesin\tbusinessService\n"
                        "2\t8dd76e36-08a7-57cf-a03c-4ebfe0ec7018\tInventory\tservicesin\tbusinessService\n");
    test::ProgramRun expanded = run(registry + " service 8dd76e36-08a7-57cf-a03c-4ebfe0ec7018");
    EXPECT_EQ(expanded.exit, 0);
    const std::string access = "\n3\t817224f2-a71b-524a-a6b6-940838fc797a-access\t" + services.serviceUrl("Inventory");
    EXPECT_NE(expanded.out.find(access + "\turlType\t\n"), std::string::npos) << expanded.out;
    test::ProgramRun refused = run(registry + " tmodel uuid:nothing");
    EXPECT_EQ(refused.exit, 1);
    EXPECT_NE(refused.err.find("E_invalidKeyPassed"), std::string::npos) << refused.err;
    for (const char* wrong : {"", "find --max-rows x", "service", "lookup k", "--settings a --registry b find"})
        EXPECT_EQ(run(wrong).exit, 2) << wrong;

    // "use" points a settings file at the registry, as the options dialog does.
    const std::filesystem::path settings = dir / "settings.xml";
    test::writeFile(settings, "<s><Servers/><Trace><State>0</State></Trace><Search><MaxRows>1</MaxRows></Search></s>");
    EXPECT_EQ(run("--settings " + settings.string() + " use " + services.registryUrl()).exit, 0);
    test::ProgramRun limited = run("--settings " + settings.string() + " find --name Zel --partial-name");
    EXPECT_EQ(limited.out.substr(0, limited.out.find('\n')),
              "0\t7e725c90-704d-51ec-9617-3d2f4943ce91\tZel Arithmetic\tbusiness\t");
    EXPECT_EQ(test::countOf(limited.out, "\tbusiness\t"), 1u);

    // Every request sent and every answer received, as the trace holds them.
    const std::filesystem::path validate = std::filesystem::path(ZEL_UDDI_SCHEMA_DIR) / "validate.sh";
    if (!std::filesystem::exists(validate))
        GTEST_SKIP() << "the UDDI schema kit is not at " << validate;
    std::istringstream trace(test::readFile(dir / "trace.log"));
    std::vector<std::string> messages;
    for (std::string line; std::getline(trace, line);) {
        if (line.starts_with("--- "))
            messages.emplace_back();
        else if (!messages.empty() && !line.empty())
            messages.back() += line + "\n";
    }
    ASSERT_EQ(messages.size(), 2u * 16u);
    std::string files;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const std::filesystem::path file = dir / ("message" + std::to_string(i) + ".xml");
        test::writeFile(file, messages[i]);
        files += " " + file.string();
    }
    const std::string command = "sh " + validate.string() + files + " > " + (dir / "validation").string() + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << test::readFile(dir / "validation");
}

} // namespace
} // namespace zel
