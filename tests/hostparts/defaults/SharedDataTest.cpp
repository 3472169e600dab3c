#include "hostparts/defaults/SharedData.h"
#include "hostparts/defaults/LanguageFile.h"
#include "hostparts/defaults/SmallComponents.h"
#include "support/TestSupport.h"

namespace zel {
namespace {

using test::raisedBy;

TEST(SharedData, UnknownContentComesBack_MissingEngineIsCreated_MalformedDataKeepsThePrevious)
{
    const std::string data =
        "<Activity><UserLanguage>es</UserLanguage><Extra kind=\"x\"><!--note--><Deep>1 &amp; 2"
        "</Deep><?pi data?></Extra><Properties><ExecutionEngine>Main</ExecutionEngine>"
        "<Other>o</Other></Properties><Attributes><Attribute>A</Attribute></Attributes></Activity>";
    SharedData shared;
    shared.LoadData(data);
    EXPECT_EQ(shared.DataNode().xml(), data);
    EXPECT_EQ(shared.UserLanguage(), "es");
    EXPECT_FALSE(shared.HasScript());
    EXPECT_EQ(shared.AttributesNode().children().size(), 1u);
    shared.LoadData("<Activity><Description>first</Description></Activity>");
    EXPECT_EQ(shared.PropertiesNode().child("ExecutionEngine").xml(), "<ExecutionEngine/>");
    EXPECT_TRUE(shared.AttributesNode().isNone());

    const ErrorRecord e = raisedBy([&] { shared.LoadData("<Activity>\n<Description>broken</Activity>"); });
    EXPECT_NE(e.Number, 0);
    EXPECT_TRUE(e.Description.starts_with("DOM : "));
    EXPECT_NE(e.Description.find("line 2"), std::string::npos) << e.Description;
    EXPECT_THROW(shared.LoadData(""), ErrorRecord);
    EXPECT_EQ(shared.Description(), "first");
}

TEST(SharedData, NodesAreLiveAndTheScriptNodeIsReplacedInPlace)
{
    SharedData shared;
    shared.LoadData("<Activity><Description>d</Description><ScriptData><RobotScript><Script/></RobotScript>"
                    "</ScriptData><Tail/></Activity>");
    EXPECT_TRUE(shared.HasScript());
    shared.PropertiesNode().child("ExecutionEngine").setText("Engine 2");
    shared.SetDescription("  new description ");
    shared.SetScriptNode(XmlNode::parse("<Other><RobotScript><Script><EvalCode>x</EvalCode></Script></RobotScript>"
                                        "</Other>")
                             .documentElement());
    const std::string xml = shared.DataNode().xml();
    EXPECT_NE(xml.find("<Description><![CDATA[  new description ]]></Description><ScriptData><RobotScript><Script>"
                       "<EvalCode>x</EvalCode></Script></RobotScript></ScriptData><Tail/>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<ExecutionEngine>Engine 2</ExecutionEngine>"), std::string::npos);
    EXPECT_EQ(test::countOf(xml, "<ScriptData>"), 1u);
}

TEST(LanguageFile, ParsesSectionsKeysAndEscapes_OpenFailsForMissingFiles)
{
    LanguageFile file;
    file.Parse("\xEF\xBB\xBF; comment\r\n# another\r\n[frmMain]\r\nCaption = Editor \r\nEmpty=\r\n"
               "Multi=a\\nb\\tc\\\\d\r\nWith=equals=inside\r\n[frmOther]\r\nCaption=Other\r\nnot a key line\r\n");
    EXPECT_EQ(file.Text("frmMain", "Caption"), "Editor");
    EXPECT_EQ(file.Text("frmMain", "Empty"), "");
    EXPECT_EQ(file.Text("frmMain", "Multi"), "a\nb\tc\\d");
    EXPECT_EQ(file.Text("frmMain", "With"), "equals=inside");
    EXPECT_EQ(file.Text("frmOther", "Caption"), "Other");
    const ErrorRecord e = raisedBy([&] { file.Text("frmMain", "caption"); });
    EXPECT_EQ(e.Number, ErrorNumber::InvalidArgument);
    EXPECT_THROW(file.Text("frmmain", "Caption"), ErrorRecord);
    test::TempDir dir;
    EXPECT_FALSE(file.Open("en", dir.path().string()));
    test::writeFile(dir / "en.lng", "[s]\nk=v\n");
    EXPECT_TRUE(file.Open("en", dir.path().string()));
    EXPECT_EQ(file.Text("s", "k"), "v");
}

TEST(DataEncode, RoundTripsEveryLength)
{
    DataEncode encode;
    std::string clear;
    for (int n = 0; n < 40; ++n) {
        EXPECT_EQ(encode.Decrypt(DataEncode::Encode(clear)), clear) << n;
        clear.push_back(static_cast<char>(n * 37 + 1));
    }
    EXPECT_EQ(encode.Decrypt("plain text"), "plain text");
    EXPECT_THROW(encode.Decrypt("ZEL1:not*base64"), ErrorRecord);
}

} // namespace
} // namespace zel
