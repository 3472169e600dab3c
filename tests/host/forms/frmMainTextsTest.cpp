// The editor window's texts: what the language files put on it.

#include "host/forms/FormTestSupport.h"

#include "common/Globals.h"

#include <QLabel>
#include <QPushButton>

#include <fstream>

namespace zel::test {
namespace {

using EditorTexts = EditorFixture;

// What the language-text component below was asked, and how it answers.
struct LanguageJournal
{
    std::vector<std::string> opened, asked;
    bool opens = true;
    std::string failingKey, emptyKey;
};
LanguageJournal journal;

// A language-text component that answers "<key>!" for every key and records what it was asked.
class RecordingLanguage final : public ILanguageFile
{
public:
    bool Open(std::string_view languageId, std::string_view) override
    {
        journal.opened.emplace_back(languageId);
        return journal.opens;
    }
    std::string Text(std::string_view section, std::string_view key) override
    {
        journal.asked.push_back(std::string(section) + "/" + std::string(key));
        if (key == journal.failingKey)
            throw ErrorRecord(5, "no such key");
        return key == journal.emptyKey ? std::string() : std::string(key) + "!";
    }
};

class LocalisedEditor : public EditorFixture
{
protected:
    LocalisedEditor() { journal = {}; }
    ComponentReplaced m_language{kClsidLanguageFile, [] { return std::make_unique<RecordingLanguage>(); }};
};

TEST_F(LocalisedEditor, MissingKeyKeepsItsText_EmptyTextIsShown_AndAFileThatDoesNotOpenChangesNothing)
{
    journal.failingKey = "cmdOk";
    journal.emptyKey = "Caption";
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog& dialog) {
        // The first showing loaded the activity's language.
        EXPECT_EQ(journal.opened, std::vector<std::string>{"en"});
        EXPECT_EQ(dialog.windowTitle(), " ");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Ok");
        EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "cmdCancel!");
        EXPECT_EQ(journal.asked.size(), 31u);

        journal.asked.clear();
        journal.opens = false;
        journal.failingKey.clear();
        engine->ChangeInterfaceLanguage("es");
        EXPECT_EQ(globals().gstrLanguageId, "es");
        EXPECT_TRUE(journal.asked.empty());
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Ok");

        // Without a file on disk the component is not even asked.
        journal.opened.clear();
        engine->ChangeInterfaceLanguage("fr");
        EXPECT_TRUE(journal.opened.empty());
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
