#include "common/General.h"
#include "common/Globals.h"
#include "common/Localisation.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "platform/com/ClassRegistry.h"
#include "support/TestSupport.h"

#include <map>

namespace zel {
namespace {

class MapSkin final : public ISkin
{
public:
    std::map<std::string, int32_t, std::less<>> colours;
    bool throws = false;

    bool Invoke(std::string_view operation, int32_t& result) override
    {
        if (throws)
            throw std::runtime_error("skin failed");
        const auto it = colours.find(operation);
        if (it == colours.end())
            return false;
        result = it->second;
        return true;
    }
};

class SkinGetters : public ::testing::Test
{
protected:
    void TearDown() override { globals().gobjSkin = nullptr; }
};

TEST_F(SkinGetters, NoSkinMeansNoColour)
{
    globals().gobjSkin = nullptr;
    EXPECT_EQ(General::GetFormBackColor(), -1);
    EXPECT_EQ(General::GetToolbarColorFont(), -1);
}

TEST_F(SkinGetters, EachGetterAsksItsOwnOperation)
{
    MapSkin skin;
    skin.colours = {{"GetFormBackColor", 1},   {"GetTabBackColor", 2},     {"GetColorFont", 3},
                    {"GetButtonBackColor", 4}, {"GetToolbarBackColor", 5}, {"GetToolbarColorFont", 6}};
    globals().gobjSkin = &skin;
    EXPECT_EQ(General::GetFormBackColor(), 1);
    EXPECT_EQ(General::GetTabBackColor(), 2);
    EXPECT_EQ(General::GetColorFont(), 3);
    EXPECT_EQ(General::GetButtonBackColor(), 4);
    EXPECT_EQ(General::GetToolbarBackColor(), 5);
    EXPECT_EQ(General::GetToolbarColorFont(), 6);
}

TEST_F(SkinGetters, UnknownOperationsAndFailuresGiveNoColour)
{
    MapSkin skin;
    skin.colours = {{"GetToolbarBackColor", -1}, {"GetToolbarColorFont", 0x00FF00}};
    globals().gobjSkin = &skin;
    EXPECT_EQ(General::GetToolbarBackColor(), -1);
    EXPECT_EQ(General::GetToolbarColorFont(), 0x00FF00);
    EXPECT_EQ(General::GetFormBackColor(), -1);
    skin.throws = true;
    EXPECT_EQ(General::GetToolbarColorFont(), -1);
}

class LocalisationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerDefaultComponents();
        globals().gstrPathData = m_dir.path().string();
        test::writeFile(m_dir / "xx.lng", "\xEF\xBB\xBF; test language\r\n[frmTest]\r\nCaption=Test window\r\n"
                                          "lblName = Name \r\nlblEmpty=\r\nMsgTwoLines=one\\ntwo\r\n"
                                          "[other]\r\nlblOther=wrong section\r\n");
    }
    void TearDown() override { globals().gstrPathData.clear(); }

    test::TempDir m_dir;
    std::string caption = "design caption";
    std::string name = "design name", empty = "design empty", other = "design other", message;

    std::vector<Localisation::Item> items()
    {
        return {{"lblName", [this](const std::string& t) { name = t; }},
                {"lblEmpty", [this](const std::string& t) { empty = t; }},
                {"lblOther", [this](const std::string& t) { other = t; }},
                {"MsgTwoLines", [this](const std::string& t) { message = t; }}};
    }
};

TEST_F(LocalisationTest, AppliesTextsKeepsMissingKeysAndShowsEmptyValues)
{
    EXPECT_TRUE(Localisation::apply(
        "frmTest", "xx", [this](const std::string& t) { caption = t; }, items()));
    EXPECT_EQ(caption, " Test window");
    EXPECT_EQ(name, "Name");
    EXPECT_EQ(empty, "");
    EXPECT_EQ(other, "design other");
    EXPECT_EQ(message, "one\ntwo");
}

TEST_F(LocalisationTest, MissingLanguageFileChangesNothing)
{
    EXPECT_FALSE(Localisation::apply(
        "frmTest", "zz", [this](const std::string& t) { caption = t; }, items()));
    EXPECT_EQ(caption, "design caption");
    EXPECT_EQ(name, "design name");
}

TEST_F(LocalisationTest, MissingCaptionKeyKeepsTheCaption)
{
    test::writeFile(m_dir / "yy.lng", "[frmTest]\nlblName=Nombre\n");
    EXPECT_TRUE(Localisation::apply(
        "frmTest", "yy", [this](const std::string& t) { caption = t; }, items()));
    EXPECT_EQ(caption, "design caption");
    EXPECT_EQ(name, "Nombre");
}

TEST(ShippedLanguageFiles, EveryEditorKeyIsTranslated)
{
    registerDefaultComponents();
    const std::vector<std::string> keys = {"Caption",
                                           "cmdOk",
                                           "cmdCancel",
                                           "cmdCut",
                                           "cmdCopy",
                                           "cmdPaste",
                                           "cmdColorizeCode",
                                           "cmdCheckSyntax",
                                           "cmbScriptLanguage",
                                           "lblDescription",
                                           "lblScript",
                                           "lblExecutionEngine",
                                           "MsgErrorSaveSharedData",
                                           "MsgErrorLoadSharedData",
                                           "MsgErrorUpdateSharedData",
                                           "MsgConfirmWizard"};
    auto language = com::ClassRegistry::instance().createAs<ILanguageFile>(kClsidLanguageFile);
    std::map<std::string, std::string> english;
    for (const char* id : {"en", "es"}) {
        ASSERT_TRUE(language->Open(id, std::string(ZEL_SOURCE_DIR) + "/data/lang")) << id;
        for (const std::string& key : keys) {
            const std::string text = language->Text("frmMain", key);
            EXPECT_FALSE(text.empty()) << id << " " << key;
            if (std::string(id) == "en") {
                english[key] = text;
            } else if (key != "lblScript") {
                EXPECT_NE(text, english[key]) << "untranslated: " << key;
            }
        }
    }
}

} // namespace
} // namespace zel
