#include "platform/error/ErrorRecord.h"
#include "common/General.h"
#include "common/Globals.h"
#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorLog.h"
#include "support/TestSupport.h"

#include <new>
#include <sstream>
#include <tuple>

namespace zel {
namespace {

using test::raisedBy;

// Runs call and rethrows what it raised with tag appended, as every handler does.
void tagged(const std::function<void()>& call, const char* tag)
{
    try {
        call();
    } catch (...) {
        rethrowWithTag(tag);
    }
}

TEST(ErrorRecord, TagsAreAppendedInUnwindingOrder_HelpDataTravelsUnchanged)
{
    const auto inner = [] { raise(ErrorNumber::TypeMismatch, "Type mismatch", "Library"); };
    const auto middle = [&] { tagged(inner, " Inner.Step() "); };
    const ErrorRecord e = raisedBy([&] { tagged([&] { tagged(middle, " Middle.Step() "); }, " Outer.Step() "); });
    EXPECT_EQ(e.Number, 13);
    EXPECT_EQ(e.Description, "Type mismatch");
    EXPECT_EQ(e.Source, "Library Inner.Step()  Middle.Step()  Outer.Step() ");

    ErrorRecord withHelp(5, "bad");
    withHelp.HelpFile = "help.chm";
    withHelp.HelpContext = 42;
    const ErrorRecord help = raisedBy([&] { tagged([&] { throw withHelp; }, " A.B() "); });
    EXPECT_EQ(help.HelpFile, "help.chm");
    EXPECT_EQ(help.HelpContext, 42);
}

TEST(ErrorRecord, ForeignExceptionsBecomeRecords)
{
    const std::vector<std::tuple<std::function<void()>, int32_t, std::string>> cases = {
        {[] { throw std::bad_alloc(); }, ErrorNumber::OutOfMemory, "Out of memory"},
        {[] { throw std::runtime_error("disk on fire"); }, ErrorNumber::InternalError, "disk on fire"},
        {[] { throw 42; }, ErrorNumber::Unspecified, "Unspecified error"},
    };
    for (const auto& [thrower, number, description] : cases) {
        const ErrorRecord e = raisedBy([&] { tagged(thrower, " X.Y() "); });
        EXPECT_EQ(e.Number, number) << description;
        EXPECT_EQ(e.Description, description);
        EXPECT_EQ(e.Source, " X.Y() ");
    }
}

TEST(ErrorLog, EntryHasTheFixedLayout_EvenWithAnEmptyDescription)
{
    ErrorRecord e(91, "Object variable not set", "lib Inner() ");
    const std::string text = ErrorLog::entryText(e, "  cFormEngine.SetData() ");
    const std::string hyphens(60, '-');
    EXPECT_TRUE(text.starts_with(" -- ERROR --\r\n\tDATE   : "));
    EXPECT_TRUE(text.ends_with("\r\n\tNUMBER : 91\r\n\tSOURCE : lib Inner()   cFormEngine.SetData() \r\n"
                               "\tDESCRIPTION: & Object variable not set\r\n" +
                               hyphens + "\r\n"))
        << text;
    EXPECT_NE(ErrorLog::entryText(ErrorRecord(1, ""), " T ").find("\tDESCRIPTION: & \r\n"), std::string::npos);
}

// Raises "Type mismatch" from "lib" and logs it on the way out, as a handler would.
ErrorRecord loggedTypeMismatch()
{
    return raisedBy([] {
        try {
            raise(13, "Type mismatch", "lib");
        } catch (...) {
            logAndRethrow("  Log.Tag() ", " Raise.Tag() ");
        }
    });
}

TEST(ErrorLog, LogAndRethrowAppendsOneEntryPerCall_AnUnwritableLogNeverReplacesTheError)
{
    test::ModuleInTempDir module;
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(loggedTypeMismatch().Source, "lib Raise.Tag() ");
    const std::string log = module.log();
    EXPECT_EQ(test::countOf(log, " -- ERROR --\r\n"), 2u);
    EXPECT_EQ(test::countOf(log, "\tNUMBER : 13\r\n\tSOURCE : lib  Log.Tag() \r\n"), 2u);

    // A folder where the log file should be cannot be opened for appending, not even by root.
    std::filesystem::remove(module.logFile());
    std::filesystem::create_directory(module.logFile());
    const ErrorRecord e = loggedTypeMismatch();
    EXPECT_EQ(e.Number, 13);
    EXPECT_EQ(e.Description, "Type mismatch");
    EXPECT_EQ(e.Source, "lib Raise.Tag() ");
}

// A log component that records its calls, one "description|title|source|context|flag|level" each.
class RecordingLog final : public ILogComponent
{
public:
    static inline std::vector<std::string> calls;

    void Report(int32_t, std::string_view description, std::string_view title, std::string_view source,
                const ErrorRecord&, int32_t flag, std::string_view contextText, double level, int32_t, int32_t,
                std::string_view, int32_t) override
    {
        std::ostringstream call;
        call << description << '|' << title << '|' << source << '|' << contextText << '|' << flag << '|' << level;
        calls.push_back(call.str());
    }
};

// Raises the error and hands it to the reporting handler inside the catch, as the handlers do.
void reportRaised(int32_t number, const char* description, const std::function<void()>& report)
{
    try {
        raise(number, description, "lib");
    } catch (...) {
        report();
    }
}

// The three reporting handlers: the log component called twice, the box shown only when asked,
// and a log component that cannot be made still leaves the user told and the error logged.
TEST(ErrorReport, LogsTwice_ShowsTheCriticalBoxOfEachPattern_SurvivesAMissingLogComponent)
{
    RecordingLog::calls.clear();
    globals().gstrContextText = "Process / Activity";
    test::ModuleInTempDir module;
    test::RecordingUiScope ui;
    test::ComponentReplaced log{kClsidLogComponent, [] { return std::make_unique<RecordingLog>(); }};
    test::Installed<std::function<std::string()>> caption{test::toolkitSetter<&Toolkit::editorCaption>(),
                                                          [] { return std::string(" Script Editor"); }};
    std::string extra, title = "Title";
    bool show = false;
    General::ErrorReport("desc", "src", ErrorRecord(5, "desc"), extra, title, show);
    EXPECT_EQ(RecordingLog::calls, (std::vector<std::string>{"desc|Title|src|Process / Activity|0|1e+06",
                                                             "desc|Title|src|Process / Activity|1|1e+06"}));
    EXPECT_EQ(title, "Title");
    EXPECT_TRUE(ui->shown.empty());

    title.clear();
    show = true;
    General::ErrorReport("Bad thing", "lib A.B() ", ErrorRecord(13, "Bad thing"), extra, title, show);
    EXPECT_EQ(title, " Script Editor");
    reportRaised(91, "Object variable not set",
                 [] { General::ReportCurrentError(" frmMain.cmdCopy_Click() ", " Editor"); });
    EXPECT_EQ(RecordingLog::calls.at(4), "Object variable not set| Editor|lib frmMain.cmdCopy_Click() |Process / "
                                         "Activity|0|1e+06");
    reportRaised(53, "File not found", [] { General::ShowAndLogCurrentError(" Wizard", " frmWizard.cmdNext_Click "); });
    ASSERT_EQ(ui->shown.size(), 3u);
    EXPECT_EQ(ui->shown[0].text, "Error: 13\rDescription: Bad thing\rSource: lib A.B() ");
    EXPECT_EQ(ui->shown[0].title, " Script Editor");
    EXPECT_EQ(ui->shown[1].title, " Editor");
    EXPECT_EQ(ui->shown[2].text, "Error.\r\nDesc: File not found\r\nSource: lib");
    for (const test::ShownMessage& shown : ui->shown)
        EXPECT_EQ(shown.icon, MessageIcon::Critical);
    EXPECT_NE(module.log().find("\tSOURCE : lib frmWizard.cmdNext_Click \r\n"), std::string::npos);

    ui->shown.clear();
    com::ClassRegistry::instance().unregisterClass(kClsidLogComponent);
    reportRaised(13, "Type mismatch", [] { General::ReportCurrentError(" frmMain.cmdPaste_Click() ", " Editor"); });
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_NE(ui->shown[0].text.find("Type mismatch"), std::string::npos);
    EXPECT_NE(module.log().find("NUMBER : 429"), std::string::npos);
    globals().gstrContextText.clear();
}

} // namespace
} // namespace zel
