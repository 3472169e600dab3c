// The demo host as a user runs it, and its atomic write-back of the activity file.

#include "ActivityFile.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <tuple>

namespace {

class HostApp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        activity = folder / "JScriptActivity.xml";
        std::filesystem::copy_file(std::filesystem::path(ZEL_BIN_DIR) / "data" / "samples" / "JScriptActivity.xml",
                                   activity);
    }

    // Runs zel-host offscreen with args; returns its exit code.
    int runHost(const QStringList& args)
    {
        QProcess host;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("ZEL_CLASS_REGISTRY", QString::fromStdString((folder / "classes.reg").string()));
        environment.insert("ZEL_HOST_SETTINGS", QString::fromStdString((folder / "zel-host.ini").string()));
        host.setProcessEnvironment(environment);
        host.setProcessChannelMode(QProcess::MergedChannels);
        host.start(QString::fromStdString((std::filesystem::path(ZEL_BIN_DIR) / "zel-host").string()), args);
        EXPECT_TRUE(host.waitForFinished(60000)) << "zel-host did not finish";
        output = host.readAll().toStdString();
        return host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
    }

    zel::test::TempDir folder;
    std::filesystem::path activity;
    std::string output;
};

TEST_F(HostApp, ScreenshotsPictureTheEditorTheWizardAndTheOlderWizard_EachClosedAsCancelDoes)
{
    // The sample opened ("" none), the host's settings, further arguments, what the host says at its end.
    const std::tuple<const char*, const char*, QStringList, const char*> runs[] = {
        {"JScriptActivity.xml", "[Skin]\nEnabled=true\n", {}, "closed without saving"},
        {"JScriptActivity.xml", "[Skin]\nEnabled=false\n", {"--language", "es"}, "closed without saving"},
        // An activity without a script opens the wizard.
        {"NewActivity.xml", "", {}, "closed without saving"},
        // Engine.Show returns at once; the host runs on with the older wizard open until it is closed.
        {"", "", {"--older-wizard"}, "the older wizard was closed"},
    };
    for (const auto& [sample, settings, extra, said] : runs) {
        std::ofstream(folder / "zel-host.ini") << settings;
        const auto png = folder / (std::string("window-") + sample + ".png");
        const auto file = folder / (*sample != '\0' ? sample : "none.xml");
        if (*sample != '\0' && !std::filesystem::exists(file))
            std::filesystem::copy_file(std::filesystem::path(ZEL_BIN_DIR) / "data" / "samples" / sample, file);
        const std::string before = zel::test::readFile(file);
        QStringList args = QStringList{"--screenshot", QString::fromStdString(png.string())} + extra;
        if (*sample != '\0')
            args << QString::fromStdString(file.string());
        ASSERT_EQ(runHost(args), 0) << output;
        QImage picture;
        ASSERT_TRUE(picture.load(QString::fromStdString(png.string()))) << output;
        EXPECT_GE(picture.width(), 500);
        EXPECT_GE(picture.height(), 380);
        EXPECT_NE(output.find(said), std::string::npos) << output;
        EXPECT_EQ(zel::test::readFile(file), before);
    }
}

TEST_F(HostApp, WrongCommandLinesAreRefused)
{
    EXPECT_EQ(runHost({}), 2);
    EXPECT_EQ(runHost({"--unknown", QString::fromStdString(activity.string())}), 2);
    EXPECT_EQ(runHost({"--older-wizard", QString::fromStdString(activity.string())}), 2);
    EXPECT_EQ(runHost({QString::fromStdString((folder / "missing.xml").string())}), 1);
}

TEST(ActivityFile, WriteReplacesTheContentAndKeepsThePermissions)
{
    const zel::test::TempDir dir;
    const std::filesystem::path& folder = dir.path();
    const auto file = folder / "activity.xml";
    std::ofstream(file) << "<old/>";
    chmod(file.c_str(), 0640);

    zelhost::ActivityFile::writeAtomically(file, "<new>edited</new>");
    EXPECT_EQ(zelhost::ActivityFile::read(file), "<new>edited</new>");
    struct stat info = {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // Nothing but the activity is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);

    EXPECT_THROW(zelhost::ActivityFile::writeAtomically(folder / "no-such-folder" / "a.xml", "x"), std::runtime_error);
    // A replacement that cannot happen (the target is a folder) leaves no temporary file behind.
    std::filesystem::create_directories(folder / "taken");
    EXPECT_THROW(zelhost::ActivityFile::writeAtomically(folder / "taken", "x"), std::runtime_error);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 2);
}

} // namespace
