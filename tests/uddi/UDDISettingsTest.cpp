#include "uddi/UDDISettings.h"

#include "support/TestSupport.h"

#include <filesystem>
#include <tuple>
#include <unistd.h>

namespace zel {
namespace {

using test::raisedBy;
using test::readFile;
using test::writeFile;

std::string settingsXml(const std::string& servers, const std::string& state = "<![CDATA[0]]>",
                        const std::string& maxRows = "<![CDATA[25]]>")
{
    return "<?xml version=\"1.0\"?>\n<!-- kept only until the first save -->\n<Cfg>" + servers + "<Trace><State>" +
           state + "</State><Path>trace.log</Path></Trace><Search><MaxRows>" + maxRows + "</MaxRows></Search></Cfg>";
}

const std::string kTwoServers = "<Servers>"
                                "<Server><Address>http://A.example/inquiry</Address><Default>0</Default></Server>"
                                "<Server><Address><![CDATA[http://b.example/inquiry]]></Address>"
                                "<Default><![CDATA[1]]></Default></Server>"
                                "</Servers>";

// The settings file's road: with no file every operation fails with its tag and no file is made;
// servers are added and compared in lower case under the rules for the default; a failed save
// leaves the old file whole; the trace and the row limit are created when missing, and their
// numbers converted or refused.
TEST(UDDISettingsFile, MissingFile_Servers_FailedSave_TraceAndRows)
{
    test::ModuleInTempDir module;
    const std::filesystem::path file = UDDISettings::SettingsPath();
    auto write = [&](const std::string& xml) { writeFile(file, xml); };
    auto saved = [&] { return readFile(file); };
    ASSERT_EQ(file, module.folder() / "UddiSettings.xml");
    // No file, then one that is not XML.
    const std::vector<std::pair<const char*, std::function<void(UDDISettings&)>>> failing = {
        {" UDDISettings.TraceStateGet() ", [](UDDISettings& s) { s.TraceStateGet(); }},
        {" UDDISettings.ServerGetDefault() ", [](UDDISettings& s) { s.ServerGetDefault(); }},
        {" UDDISettings.TraceStateSet() ", [](UDDISettings& s) { s.TraceStateSet(true); }},
        {" UDDISettings.ServerAdd() ", [](UDDISettings& s) { s.ServerAdd("http://x"); }},
        {" UDDISettings.RootSave() ", [](UDDISettings& s) { s.RootSave(); }},
    };
    for (const auto& [tag, call] : failing) {
        UDDISettings settings;
        const ErrorRecord e = raisedBy([&] { call(settings); });
        EXPECT_EQ(e.Number, ErrorNumber::ObjectNotSet) << tag;
        EXPECT_TRUE(e.Source.ends_with(tag)) << e.Source;
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    write("<not xml");
    EXPECT_EQ(raisedBy([] { UDDISettings().TraceStateGet(); }).Number, ErrorNumber::ObjectNotSet);

    // Servers, default rules, and a failed save.
    write(settingsXml(kTwoServers));
    UDDISettings settings;
    EXPECT_EQ(settings.ServerGetDefault(), "http://b.example/inquiry");

    // Same address in other letters: nothing added, yet the file is rewritten (comment gone).
    settings.ServerAdd("HTTP://a.EXAMPLE/inquiry");
    EXPECT_EQ(test::countOf(saved(), "<Server>"), 2u);
    EXPECT_EQ(saved().find("<!--"), std::string::npos);

    settings.ServerAdd("http://c.example/inquiry");
    settings.ServerSetDefault("http://C.example/INQUIRY");
    UDDISettings fresh;
    EXPECT_NE(fresh.ServersNodeGet().find("<Server><Address><![CDATA[http://c.example/inquiry]]></Address>"
                                          "<Default><![CDATA[1]]></Default></Server></Servers>"),
              std::string::npos)
        << fresh.ServersNodeGet();
    EXPECT_EQ(test::countOf(fresh.ServersNodeGet(), "<![CDATA[1]]>"), 1u);
    EXPECT_EQ(fresh.ServerGetDefault(), "http://c.example/inquiry");

    // An unknown default leaves every entry at "0": the last entry's address is the default.
    settings.ServerSetDefault("http://unknown.example/");
    EXPECT_EQ(test::countOf(saved(), "<![CDATA[0]]>"), 3u + 1u); // three servers and the trace state
    EXPECT_EQ(UDDISettings().ServerGetDefault(), "http://c.example/inquiry");

    // A save that fails (something already stands where the new file would be written) leaves the
    // old file whole; the object keeps its document and saves it once the way is clear.
    const std::string before = saved();
    const std::filesystem::path blocker = file.string() + ".tmp" + std::to_string(getpid());
    std::filesystem::create_directory(blocker);
    const ErrorRecord e = raisedBy([&] { settings.ServerAdd("http://new.example/"); });
    EXPECT_EQ(e.Number, ErrorNumber::PathFileAccess);
    EXPECT_TRUE(e.Source.ends_with(" UDDISettings.RootSave()  UDDISettings.ServerAdd() ")) << e.Source;
    EXPECT_EQ(saved(), before);
    std::filesystem::remove(blocker);
    settings.RootSave();
    EXPECT_EQ(test::countOf(saved(), "<Server>"), 4u);
    const auto entries = std::distance(std::filesystem::directory_iterator(module.folder()), {});
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";

    // Two entries marked "1": the first in document order wins.
    write(settingsXml("<Servers><Server><Address>first</Address><Default>1</Default></Server>"
                      "<Server><Address>second</Address><Default>1</Default></Server></Servers>"));
    EXPECT_EQ(UDDISettings().ServerGetDefault(), "first");

    // Without a Servers element there is no list to walk.
    write(settingsXml(""));
    UDDISettings none;
    EXPECT_EQ(none.ServersNodeGet(), "");
    for (auto call : {+[](UDDISettings& s) { s.ServerGetDefault(); }, +[](UDDISettings& s) { s.ServerAdd("x"); },
                      +[](UDDISettings& s) { s.ServerSetDefault("x"); }})
        EXPECT_EQ(raisedBy([&] { call(none); }).Number, ErrorNumber::ObjectNotSet);

    // The trace and the row limit, created when missing.
    write("<Cfg><Servers/></Cfg>");
    UDDISettings created;
    created.TraceStateSet(true);
    created.TracePathSet("   ");
    created.SearchMaxRowsSet("50");
    EXPECT_NE(saved().find("<Trace><State><![CDATA[1]]></State><Path/></Trace><Search><MaxRows><![CDATA[50]]>"),
              std::string::npos)
        << saved();
    EXPECT_EQ(UDDISettings().TracePathGet(), ""); // the state and the rows are read back in the table below

    // The text of both numbers, the value read, or the error number (0: read as value).
    const std::vector<std::tuple<std::string, int, int>> numbers = {
        {"2", 2, 0},           {" -7 ", -7, 0},  {"32767", 32767, 0},
        {"-32768", -32768, 0}, {"2.5", 2, 0},    {"3.5", 4, 0},
        {"32768", 0, 6},       {"-40000", 0, 6}, {"99999999999999999999", 0, 6},
        {"", 0, 13},           {"ten", 0, 13},   {"0x10", 0, 13},
        {"12abc", 0, 13},      {"inf", 0, 13},
    };
    for (const auto& [text, value, error] : numbers) {
        write(settingsXml(kTwoServers, text, text));
        if (error == 0) {
            EXPECT_EQ(UDDISettings().SearchMaxRowsGet(), value) << text;
            EXPECT_EQ(UDDISettings().TraceStateGet(), value != 0) << text;
        } else {
            const ErrorRecord e = raisedBy([] { UDDISettings().SearchMaxRowsGet(); });
            EXPECT_EQ(e.Number, error) << text;
            EXPECT_TRUE(e.Source.ends_with(" UDDISettings.SearchMaxRowsGet() ")) << e.Source;
        }
    }
}

} // namespace
} // namespace zel
