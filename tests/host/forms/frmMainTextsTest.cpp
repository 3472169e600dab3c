// The editor window's texts: its design, and what the language files put on it.

#include "host/forms/FormTestSupport.h"

#include "common/Globals.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "platform/com/ClassRegistry.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <fstream>

namespace zel::test {
namespace {

using EditorTexts = EditorFixture;
using namespace std::string_literals;

// The text a control shows for its role: a tooltip for the tool buttons and the list, the caption
// for the rest.
QString shownText(const QWidget* control, bool tooltip)
{
    if (tooltip)
        return control->toolTip();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return qobject_cast<const QAbstractButton*>(control)->text();
}

struct TextRow
{
    const char* control;
    bool tooltip;
    const char* text;
};

// The design texts; a language file gives each but the wizard button's a text of its own.
const std::vector<TextRow> kDesignTexts = {
    {"lblDescription", false, "Description"},
    {"lblScript", false, "Code Script"},
    {"lblExecutionEngine", false, "Execution Engine"},
    {"cmdOk", false, "&Ok"},
    {"cmdCancel", false, "&Cancel"},
    {"cmdCut", true, "Cut"},
    {"cmdCopy", true, "Copy"},
    {"cmdPaste", true, "Paste"},
    {"cmdColorizeCode", true, "Colorize Code"},
    {"cmdCheckSyntax", true, "Check Sintax"},
    {"cmdWizard", true, "Wizard"},
};

TEST(EditorDesign, TextsBeforeAnyLanguageIsLoaded)
{
    frmMain design({});
    for (const TextRow& row : kDesignTexts) {
        const QWidget* control = design.window()->findChild<QWidget*>(QLatin1String(row.control));
        ASSERT_NE(control, nullptr) << row.control;
        EXPECT_EQ(shownText(control, row.tooltip).toStdString(), row.text) << row.control;
    }
    // The six tool buttons show pictures and no caption.
    for (const char* name : {"cmdCut", "cmdCopy", "cmdPaste", "cmdColorizeCode", "cmdCheckSyntax", "cmdWizard"}) {
        const auto* button = design.window()->findChild<QToolButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->text().isEmpty()) << name;
        EXPECT_FALSE(button->icon().isNull()) << name;
    }
}

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
    void SetUp() override
    {
        EditorFixture::SetUp();
        RecordingLanguage::opened.clear();
        RecordingLanguage::asked.clear();
        RecordingLanguage::opens = true;
        RecordingLanguage::failingKey.clear();
        RecordingLanguage::emptyKey.clear();
        com::ClassRegistry::instance().registerClass(kClsidLanguageFile, "",
                                                     [] { return std::make_unique<RecordingLanguage>(); });
    }
    void TearDown() override
    {
        com::ClassRegistry::instance().unregisterClass(kClsidLanguageFile);
        registerDefaultComponents();
        EditorFixture::TearDown();
    }
};

TEST_F(LocalisedEditor, ReadsEveryItemInItsOrder_AndPutsEachOnItsProperty)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog& dialog) {
        // The first showing loaded the activity's language already.
        EXPECT_EQ(RecordingLanguage::opened, std::vector<std::string>{"en"});
        EXPECT_EQ(RecordingLanguage::asked,
                  (std::vector<std::string>{"frmMain/Caption", "frmMain/cmdOk", "frmMain/cmdCancel", "frmMain/cmdCut",
                                            "frmMain/cmdCopy", "frmMain/cmdPaste", "frmMain/cmdColorizeCode",
                                            "frmMain/cmdCheckSyntax", "frmMain/cmbScriptLanguage",
                                            "frmMain/lblDescription", "frmMain/lblScript", "frmMain/lblExecutionEngine",
                                            "frmMain/MsgErrorSaveSharedData", "frmMain/MsgErrorLoadSharedData",
                                            "frmMain/MsgErrorUpdateSharedData", "frmMain/MsgConfirmWizard",
                                            "frmMain/MsgUnstorableCharacter"}));
        EXPECT_EQ(dialog.windowTitle(), " Caption!");
        for (const TextRow& row : kDesignTexts) {
            const std::string expected = row.control == std::string("cmdWizard") ? "Wizard" : row.control + "!"s;
            EXPECT_EQ(shownText(control<QWidget>(row.control), row.tooltip).toStdString(), expected) << row.control;
        }
        EXPECT_EQ(control<QComboBox>("cmbScriptLanguage")->toolTip(), "cmbScriptLanguage!");
        // The wizard question is the message read last.
        ui->answers.push_back(MessageResult::No);
        control<QToolButton>("cmdWizard")->click();
    });
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].text, "MsgConfirmWizard!");
}

TEST_F(LocalisedEditor, MissingKeyKeepsItsText_EmptyTextIsShown_AndAFileThatDoesNotOpenChangesNothing)
{
    RecordingLanguage::failingKey = "cmdOk";
    RecordingLanguage::emptyKey = "Caption";
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), " ");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Ok");
        EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "cmdCancel!");
        EXPECT_EQ(RecordingLanguage::asked.size(), 17u);

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
