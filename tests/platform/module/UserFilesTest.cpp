#include "platform/module/UserFiles.h"
#include "hostparts/defaults/SmallComponents.h"
#include "platform/error/ErrorLog.h"
#include "support/TestSupport.h"

namespace zel {
namespace {

// Points the XDG folders at a temporary home for the life of the object.
class UserHome
{
public:
    UserHome()
    {
        setenv("XDG_STATE_HOME", (m_home / "state").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1);
    }
    ~UserHome()
    {
        unsetenv("XDG_STATE_HOME");
        unsetenv("XDG_CONFIG_HOME");
        Module::overrideLocation({}, {});
    }
    std::filesystem::path state(const std::string& name) const { return m_home / "state" / "zelscript" / name; }
    std::filesystem::path config(const std::string& name) const { return m_home / "config" / "zelscript" / name; }

private:
    test::TempDir m_home;
};

TEST(UserFiles, AComponentInAFolderItCannotWriteKeepsLogsAndSettingsPerUser)
{
    UserHome home;
    test::TempDir installed;
    test::writeFile(installed / "Settings.xml", "<Default/>");
    // A folder that does not exist cannot be written, not even by root.
    Module::overrideLocation("/nonexistent-zel-folder/lib", "libzelscript", installed.path());
    ASSERT_FALSE(UserFiles::besideComponent());

    ErrorLog::append(ErrorRecord(13, "Type mismatch", "lib"), " A.B() ");
    EXPECT_NE(test::readFile(home.state("libzelscript.Log")).find("\tNUMBER : 13\r\n"), std::string::npos);
    // Every report arrives twice; only the first call is written.
    for (int32_t flag : {0, 1})
        LogComponent().Report(0, "shown", "title", "source", ErrorRecord(5, "x"), flag, "context", 0, 0, 0, "", 0);
    EXPECT_EQ(test::countOf(test::readFile(home.state("libzelscript.Reports.Log")),
                            "  title\r\n\tNumber     : 5\r\n\tDescription: shown\r\n\tSource     : source\r\n"
                            "\tContext    : context\r\n"),
              1u);

    // Settings are read from the installed default until the first write seeds the user's copy.
    EXPECT_EQ(UserFiles::settingsFileToRead("Settings.xml"), installed / "Settings.xml");
    EXPECT_EQ(UserFiles::settingsFileToWrite("Settings.xml"), home.config("Settings.xml"));
    EXPECT_EQ(test::readFile(home.config("Settings.xml")), "<Default/>");
    test::writeFile(home.config("Settings.xml"), "<Mine/>");
    EXPECT_EQ(UserFiles::settingsFileToWrite("Settings.xml"), home.config("Settings.xml"));
    EXPECT_EQ(UserFiles::settingsFileToRead("Settings.xml"), home.config("Settings.xml"));
    EXPECT_EQ(test::readFile(home.config("Settings.xml")), "<Mine/>");
    EXPECT_EQ(test::readFile(installed / "Settings.xml"), "<Default/>");

    // A component in a folder it can write keeps everything beside itself.
    Module::overrideLocation(installed.path(), "libzelscript", installed.path());
    EXPECT_EQ(ErrorLog::filePath(), installed / "libzelscript.Log");
    EXPECT_EQ(UserFiles::settingsFileToRead("Settings.xml"), installed / "Settings.xml");
    EXPECT_EQ(UserFiles::settingsFileToWrite("Settings.xml"), installed / "Settings.xml");
}

} // namespace
} // namespace zel
