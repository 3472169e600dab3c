// The editor window's texts: what the language files put on it.

#include "host/forms/FormTestSupport.h"

#include "common/Globals.h"

#include <QLabel>
#include <QPushButton>

#include <fstream>

namespace zel::test {
namespace {

using EditorTexts = EditorFixture;

// A language-text component that answers "<key>!" for every key and records what it was asked.
class RecordingLanguage final : public ILanguageFile
{
public:
    bool Open(std::string_view languageId, std::string_view) override
    {
        opened.emplace_back(languageId);
        return opens;
    }
    std::string Text(std::string_view section, std::string_view key) override
    {
        asked.push_back(std::string(section) + "/" + std::string(key));
        if (key == failingKey)
            throw ErrorRecord(5, "no such key");
        if (key == emptyKey)
            return {};
        return std::string(key) + "!";
    }

    static inline std::vector<std::string> opened;
    static inline std::vector<std::string> asked;
    static inline bool opens = true;
    static inline std::string failingKey;
    static inline std::string emptyKey;
};

class LocalisedEditor : public EditorFixture
{
protected:
    LocalisedEditor()
    {
        RecordingLanguage::opened.clear();
        RecordingLanguage::asked.clear();
        RecordingLanguage::opens = true;
        RecordingLanguage::failingKey.clear();
        RecordingLanguage::emptyKey.clear();
    }
    ComponentReplaced m_language{kClsidLanguageFile, [] { return std::make_unique<RecordingLanguage>(); }};
};

TEST_F(LocalisedEditor, MissingKeyKeepsItsText_EmptyTextIsShown_AndAFileThatDoesNotOpenChangesNothing)
{
    RecordingLanguage::failingKey = "cmdOk";
    RecordingLanguage::emptyKey = "Caption";
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog& dialog) {
        // The first showing loaded the activity's language.
        EXPECT_EQ(RecordingLanguage::opened, std::vector<std::string>{"en"});
        EXPECT_EQ(dialog.windowTitle(), " ");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Ok");
        EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "cmdCancel!");
        EXPECT_EQ(RecordingLanguage::asked.size(), 31u);

        RecordingLanguage::asked.clear();
        RecordingLanguage::opens = false;
        RecordingLanguage::failingKey.clear();
        engine->ChangeInterfaceLanguage("es");
        EXPECT_EQ(globals().gstrLanguageId, "es");
        EXPECT_TRUE(RecordingLanguage::asked.empty());
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Ok");

        // Without a file on disk the component is not even asked.
        RecordingLanguage::opened.clear();
        engine->ChangeInterfaceLanguage("fr");
        EXPECT_TRUE(RecordingLanguage::opened.empty());
    });
}

TEST_F(EditorTexts, NewPathDataIsReadAtTheNextLanguageChangeOnly)
{
    open(activityXml("VBScript", "x = 1"));
    const std::filesystem::path other = folder / "other";
    std::filesystem::create_directories(other);
    std::ofstream(other / "en.lng") << "[frmMain]\nCaption=Another editor\ncmdOk=O&K\n";
    showAndCancel([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), " Script Editor");
        engine->SetPathData(other.string());
        EXPECT_EQ(dialog.windowTitle(), " Script Editor");
        engine->ChangeInterfaceLanguage("en");
        EXPECT_EQ(dialog.windowTitle(), " Another editor");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "O&K");
        // Keys the file lacks keep the texts the first file gave them.
        EXPECT_EQ(control<QLabel>("lblScript")->text(), "Script");
    });
}

} // namespace
} // namespace zel::test
