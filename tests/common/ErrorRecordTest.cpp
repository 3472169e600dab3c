#include "platform/error/ErrorRecord.h"
#include "common/General.h"
#include "common/Globals.h"
#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorLog.h"
#include "platform/module/Module.h"
#include "support/TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <new>

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
    const auto outer = [&] { tagged(middle, " Middle.Step() "); };
    const ErrorRecord e = raisedBy([&] { tagged(outer, " Outer.Step() "); });
    EXPECT_EQ(e.Number, 13);
    EXPECT_EQ(e.Description, "Type mismatch");
    EXPECT_EQ(e.Source, "Library Inner.Step()  Middle.Step()  Outer.Step() ");

    const ErrorRecord help = raisedBy([] {
        tagged(
            [] {
                ErrorRecord r(5, "bad");
                r.HelpFile = "help.chm";
                r.HelpContext = 42;
                throw r;
            },
            " A.B() ");
    });
    EXPECT_EQ(help.HelpFile, "help.chm");
    EXPECT_EQ(help.HelpContext, 42);
}

TEST(ErrorRecord, ForeignExceptionsBecomeRecords)
{
    struct Case
    {
        std::function<void()> thrower;
        int32_t number;
        std::string description;
    };
    const std::vector<Case> cases = {
        {[] { throw std::bad_alloc(); }, ErrorNumber::OutOfMemory, "Out of memory"},
        {[] { throw std::runtime_error("disk on fire"); }, ErrorNumber::InternalError, "disk on fire"},
        {[] { throw 42; }, ErrorNumber::Unspecified, "Unspecified error"},
    };
    for (const Case& c : cases) {
        const ErrorRecord e = raisedBy([&] { tagged(c.thrower, " X.Y() "); });
        EXPECT_EQ(e.Number, c.number) << c.description;
        EXPECT_EQ(e.Description, c.description);
        EXPECT_EQ(e.Source, " X.Y() ");
    }
}

TEST(ErrorLog, EntryHasTheFixedLayout_EvenWithAnEmptyDescription)
{
    ErrorRecord e(91, "Object variable not set", "lib Inner() ");
    const std::string text = ErrorLog::entryText(e, "  cFormEngine.SetData() ");
    const std::string hyphens(60, '-');
    EXPECT_TRUE(text.starts_with(" -- ERROR --\r\n\tDATE   : "));
    EXPECT_NE(text.find("\r\n\tNUMBER : 91\r\n\tSOURCE : lib Inner()   cFormEngine.SetData() \r\n"
                        "\tDESCRIPTION: & Object variable not set\r\n" +
                        hyphens + "\r\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(text.ends_with(hyphens + "\r\n"));
    EXPECT_NE(ErrorLog::entryText(ErrorRecord(1, ""), " T ").find("\tDESCRIPTION: & \r\n"), std::string::npos);
}

TEST(ErrorLog, LogAndRethrowAppendsOneEntryPerCall)
{
    test::ModuleInTempDir module;
    for (int i = 0; i < 2; ++i) {
        const ErrorRecord e = raisedBy([] {
            try {
                raise(6, "Overflow");
            } catch (...) {
                logAndRethrow("  Log.Tag() ", " Raise.Tag() ");
            }
        });
        EXPECT_EQ(e.Source, " Raise.Tag() ");
    }
    const std::string log = module.log();
    EXPECT_EQ(test::countOf(log, " -- ERROR --\r\n"), 2u);
    EXPECT_EQ(test::countOf(log, "\tSOURCE :   Log.Tag() \r\n"), 2u);
    EXPECT_EQ(test::countOf(log, "\tNUMBER : 6\r\n"), 2u);
}

// Raises "Type mismatch" from "lib" and logs it on the way out, as a handler would.
ErrorRecord loggedTypeMismatch()
{
    return raisedBy([] {
        try {
            raise(13, "Type mismatch", "lib");
        } catch (...) {
            logAndRethrow("  A.B() ", " A.B() ");
        }
    });
}

TEST(ErrorLog, ALogThatCannotBeWrittenNeverReplacesTheOriginalError)
{
    test::ModuleInTempDir module;
    // A folder where the log file should be cannot be opened for appending, not even by root.
    std::filesystem::create_directory(module.logFile());
    const ErrorRecord e = loggedTypeMismatch();
    EXPECT_EQ(e.Number, 13);
    EXPECT_EQ(e.Description, "Type mismatch");
    EXPECT_EQ(e.Source, "lib A.B() ");
    EXPECT_TRUE(std::filesystem::is_directory(module.logFile()));
}

// A log component that records its calls.
class RecordingLog final : public ILogComponent
{
public:
    struct Call
    {
        std::string description, title, source, context;
        int32_t flag;
        double level;
    };
    static inline std::vector<Call> calls;

    void Report(int32_t, std::string_view description, std::string_view title, std::string_view source,
                const ErrorRecord&, int32_t flag, std::string_view contextText, double level, int32_t, int32_t,
                std::string_view, int32_t) override
    {
        calls.push_back(
            {std::string(description), std::string(title), std::string(source), std::string(contextText), flag, level});
    }
};

class ErrorReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RecordingLog::calls.clear();
        globals().gstrContextText = "Process / Activity";
    }
    void TearDown() override { globals().gstrContextText.clear(); }
    test::RecordingUiScope ui;
    test::ComponentReplaced m_log{kClsidLogComponent, [] { return std::make_unique<RecordingLog>(); }};
    test::Installed<std::function<std::string()>> m_caption{test::toolkitSetter<&Toolkit::editorCaption>(),
                                                            [] { return std::string(" Script Editor"); }};
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

TEST_F(ErrorReportTest, CallsTheLogTwice_AndShowsTheCriticalBoxWithCarriageReturnsOnlyWhenAsked)
{
    std::string extra, title = "Title";
    bool show = false;
    General::ErrorReport("desc", "src", ErrorRecord(5, "desc"), extra, title, show);
    ASSERT_EQ(RecordingLog::calls.size(), 2u);
    for (const RecordingLog::Call& call : RecordingLog::calls) {
        EXPECT_EQ(call.description, "desc");
        EXPECT_EQ(call.title, "Title");
        EXPECT_EQ(call.source, "src");
    }
    EXPECT_EQ(title, "Title");
    EXPECT_EQ(RecordingLog::calls[0].flag, 0);
    EXPECT_EQ(RecordingLog::calls[1].flag, 1);
    EXPECT_EQ(RecordingLog::calls[0].context, "Process / Activity");
    EXPECT_EQ(RecordingLog::calls[0].level, 1000000.0);
    EXPECT_TRUE(ui->shown.empty());

    title.clear();
    show = true;
    General::ErrorReport("Bad thing", "lib A.B() ", ErrorRecord(13, "Bad thing"), extra, title, show);
    EXPECT_EQ(title, " Script Editor");
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].text, "Error: 13\rDescription: Bad thing\rSource: lib A.B() ");
    EXPECT_EQ(ui->shown[0].title, " Script Editor");
    EXPECT_EQ(ui->shown[0].icon, MessageIcon::Critical);
}

TEST_F(ErrorReportTest, ReportCurrentErrorAppendsTheHandlersTag_AFailingLogComponentStillTellsTheUser)
{
    test::ModuleInTempDir module;
    reportRaised(91, "Object variable not set",
                 [] { General::ReportCurrentError(" frmMain.cmdCopy_Click() ", " Editor"); });
    ASSERT_EQ(RecordingLog::calls.size(), 2u);
    EXPECT_EQ(RecordingLog::calls[0].source, "lib frmMain.cmdCopy_Click() ");
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].title, " Editor");

    ui->shown.clear();
    com::ClassRegistry::instance().unregisterClass(kClsidLogComponent);
    reportRaised(13, "Type mismatch", [] { General::ReportCurrentError(" frmMain.cmdPaste_Click() ", " Editor"); });
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_NE(ui->shown[0].text.find("Type mismatch"), std::string::npos);
    EXPECT_NE(module.log().find("NUMBER : 429"), std::string::npos);
}

TEST_F(ErrorReportTest, ShowAndLogUsesTheMessageOfPatternThree)
{
    test::ModuleInTempDir module;
    reportRaised(53, "File not found", [] { General::ShowAndLogCurrentError(" Wizard", " frmWizard.cmdNext_Click "); });
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].text, "Error.\r\nDesc: File not found\r\nSource: lib");
    EXPECT_EQ(ui->shown[0].icon, MessageIcon::Critical);
    EXPECT_NE(module.log().find("\tSOURCE : lib frmWizard.cmdNext_Click \r\n"), std::string::npos);
}

} // namespace
} // namespace zel
