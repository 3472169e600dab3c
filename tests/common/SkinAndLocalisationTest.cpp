#include "common/General.h"
#include "common/Globals.h"
#include "common/Localisation.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "platform/com/ClassRegistry.h"
#include "support/TestSupport.h"

#include <iterator>
#include <map>
#include <sstream>

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

// Each getter with the skin operation it asks.
const std::vector<std::pair<const char*, int32_t (*)()>> kGetters = {
    {"GetFormBackColor", General::GetFormBackColor},
    {"GetTabBackColor", General::GetTabBackColor},
    {"GetColorFont", General::GetColorFont},
    {"GetButtonBackColor", General::GetButtonBackColor},
    {"GetToolbarBackColor", General::GetToolbarBackColor},
    {"GetToolbarColorFont", General::GetToolbarColorFont}};

TEST(SkinGetters, EachAsksItsOwnOperation_NoSkinUnknownOperationAndFailureGiveNoColour)
{
    MapSkin skin;
    for (std::size_t i = 0; i < kGetters.size(); ++i)
        skin.colours[kGetters[i].first] = static_cast<int32_t>(0x0100 + i);
    for (std::size_t i = 0; i < kGetters.size(); ++i) {
        const auto& [operation, getter] = kGetters[i];
        globals().gobjSkin = nullptr;
        EXPECT_EQ(getter(), -1) << operation;
        globals().gobjSkin = &skin;
        EXPECT_EQ(getter(), static_cast<int32_t>(0x0100 + i)) << operation;
        skin.throws = true;
        EXPECT_EQ(getter(), -1) << operation;
        skin.throws = false;
        skin.colours.erase(operation);
        EXPECT_EQ(getter(), -1) << operation;
    }
    globals().gobjSkin = nullptr;
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
    bool apply(const char* id)
    {
        return Localisation::apply(
            "frmTest", id, [this](const std::string& t) { caption = t; }, items());
    }
};

TEST_F(LocalisationTest, AppliesTextsKeepsMissingKeysAndShowsEmptyValues)
{
    EXPECT_TRUE(apply("xx"));
    EXPECT_EQ(caption, " Test window");
    EXPECT_EQ(name, "Name");
    EXPECT_EQ(empty, "");
    EXPECT_EQ(other, "design other");
    EXPECT_EQ(message, "one\ntwo");
}

TEST_F(LocalisationTest, MissingFileChangesNothing_MissingCaptionKeyKeepsTheCaption)
{
    EXPECT_FALSE(apply("zz"));
    EXPECT_EQ(caption, "design caption");
    EXPECT_EQ(name, "design name");
    test::writeFile(m_dir / "yy.lng", "[frmTest]\nlblName=Nombre\n");
    EXPECT_TRUE(apply("yy"));
    EXPECT_EQ(caption, "design caption");
    EXPECT_EQ(name, "Nombre");
}

TEST(ShippedLanguageFiles, EveryEditorKeyIsTranslated)
{
    registerDefaultComponents();
    std::istringstream words("Caption cmdOk cmdCancel cmdCut cmdCopy cmdPaste cmdColorizeCode cmdCheckSyntax "
                             "cmbScriptLanguage lblDescription lblScript lblExecutionEngine MsgErrorSaveSharedData "
                             "MsgErrorLoadSharedData MsgErrorUpdateSharedData MsgConfirmWizard MsgUnstorableCharacter");
    const std::vector<std::string> keys{std::istream_iterator<std::string>(words), {}};
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
