#include "common/General.h"
#include "common/Globals.h"
#include "common/Localisation.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "hostparts/defaults/LanguageFile.h"
#include "support/TestSupport.h"

#include <map>
#include <sstream>
#include <tuple>

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

// Texts found are applied (caption behind one blank, values trimmed, "\\n" a line break), keys
// missing from the section keep their design text; a missing file changes nothing, and a file
// without a caption key keeps the caption.
TEST(Localisation, AppliesTextsKeepsMissingKeys_MissingFileChangesNothing_FindsTheFileByFolderAndId)
{
    registerDefaultComponents();
    test::TempDir dir;
    test::Installed<std::string> path{[](std::string p) { return std::exchange(globals().gstrPathData, p); },
                                      dir.path().string()};
    test::writeFile(dir / "xx.lng", "\xEF\xBB\xBF; test language\r\n[frmTest]\r\nCaption=Test window\r\n"
                                    "lblName = Name \r\nlblEmpty=\r\nMsgTwoLines=one\\ntwo\r\n"
                                    "[other]\r\nlblOther=wrong section\r\n");
    test::writeFile(dir / "yy.lng", "[frmTest]\nlblName=Nombre\n");
    const auto apply = [](const char* id) {
        std::map<std::string, std::string> texts;
        std::vector<Localisation::Item> items;
        for (const char* key : {"lblName", "lblEmpty", "lblOther", "MsgTwoLines"})
            items.push_back({key, [&texts, key](const std::string& t) { texts[key] = t; }});
        const bool applied = Localisation::apply(
            "frmTest", id, [&](const std::string& t) { texts["Caption"] = t; }, items);
        std::string out = applied ? "applied" : "not applied";
        for (const auto& [key, text] : texts)
            out += "|" + key + "=" + text;
        return out;
    };
    EXPECT_EQ(apply("xx"), "applied|Caption= Test window|MsgTwoLines=one\ntwo|lblEmpty=|lblName=Name");
    EXPECT_EQ(apply("zz"), "not applied");
    EXPECT_EQ(apply("yy"), "applied|lblName=Nombre");

    // The file looked for is folder, one separator, id and extension, whichever separator the folder
    // ends in or uses; an empty id names the file ".lng" like any other id.
    const std::string folder = dir.path().string();
    std::filesystem::create_directories(dir / "sub");
    std::filesystem::create_directories(dir / "folder.lng");
    test::writeFile(dir / "sub" / "es.lng", "[frmMain]\n");
    const std::vector<std::tuple<std::string, std::string, bool>> cases = {
        {"xx", folder + "/", true}, {"es", folder + "\\sub", true}, {"folder", folder, false}, {"", folder, false}};
    for (const auto& [id, in, found] : cases)
        EXPECT_EQ(General::CheckLangInDisk(id, in), found) << id << " in " << in;
    test::writeFile(dir / ".lng", "[frmMain]\n");
    EXPECT_TRUE(General::CheckLangInDisk("", folder));
}

TEST(LanguageTexts, FillInReplacesEachPlaceholderOnce_AndLeavesTheOthers)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Ln %1, Col %2", "Ln 3, Col %2!"}, {"MsgCaretPosition!", "MsgCaretPosition!"}, {"%3 %0 %%1 %", "%3 %0 %3 %"}};
    for (const auto& [text, filled] : rows)
        EXPECT_EQ(Localisation::fillIn(text, {"3", "%2!"}), filled);
}

// The digits of a text's %N placeholders, in order.
std::string placeholders(const std::string& text)
{
    std::string digits;
    for (std::size_t at = text.find('%'); at != std::string::npos && at + 1 < text.size(); at = text.find('%', at + 1))
        digits += std::isdigit(static_cast<unsigned char>(text[at + 1])) ? text.substr(at + 1, 1) : "";
    return digits;
}

// Every key of every section of the English file has a Spanish text (empty only where the English
// one is) with the same placeholders.
TEST(ShippedLanguageFiles, EveryEnglishKeyIsTranslated_WithTheSamePlaceholders)
{
    const std::string folder = std::string(ZEL_SOURCE_DIR) + "/data/lang";
    LanguageFile spanish;
    ASSERT_TRUE(spanish.Open("es", folder));
    std::istringstream english(test::readFile(folder + "/en.lng"));
    std::string section;
    for (std::string line; std::getline(english, line);) {
        const std::size_t equals = line.find('=');
        if (line.starts_with('['))
            section = line.substr(1, line.find(']') - 1);
        else if (equals != std::string::npos && !line.starts_with(';')) {
            const std::string key = line.substr(0, equals), text = spanish.Text(section, key);
            EXPECT_EQ(text.empty(), equals + 1 == line.size()) << section << " " << key;
            EXPECT_EQ(placeholders(text), placeholders(line.substr(equals + 1))) << section << " " << key;
        }
    }
}

} // namespace
} // namespace zel
