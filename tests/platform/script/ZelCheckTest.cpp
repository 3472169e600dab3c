// zel-check, run as a program: its output lines and exit status.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class ZelCheck : public ::testing::Test
{
protected:
    // Writes the file and returns its path as zel-check prints it.
    std::string write(const std::string& name, const std::string& text)
    {
        zel::test::writeFile(m_dir / name, text);
        return (m_dir / name).string();
    }

    // Runs zel-check with the arguments (paths are quoted for the shell).
    zel::test::ProgramRun run(const std::string& args)
    {
        return zel::test::runProgram("'" + std::string(ZEL_BIN_DIR) + "/zel-check' " + args, m_dir);
    }

    static std::string quoted(const std::string& path) { return "'" + path + "'"; }

    zel::test::TempDir m_dir;
};

TEST_F(ZelCheck, PassingFilesPrintOk_AFailingOnePrintsLocationNumberDescriptionAndLine)
{
    std::string a = write("a.vbs", "Option Explicit\r\nDim x : x = 1\r\n");
    std::string b = write("b.VBS", "");
    zel::test::ProgramRun r = run(quoted(a) + " " + quoted(b));
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, a + ": OK\n" + b + ": OK\n");
    std::string bad = write("bad.vbs", "x = 1\n  y = \"open\nz = 2\n");
    r = run(quoted(a) + " " + quoted(bad));
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, a + ": OK\n" + bad + ":2:7: error 1033: Unterminated string constant\n  y = \"open\n");
}

// The language option overrides the extension, a dash reads standard input, and byte-order marks
// and UTF-16 files are read.
TEST_F(ZelCheck, LanguageOptionStandardInputAndUtf16)
{
    std::string file = write("script.txt", "If a Then\n");
    zel::test::ProgramRun r = run("--language VBScript " + quoted(file));
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, file + ":2:1: error 1014: Expected 'End'\n\n");
    EXPECT_EQ(run("--language=vbscript " + quoted(file)).exit, 1);
    r = run("--language VBScript - < " + quoted(write("in.txt", "Next\n")));
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "<stdin>:1:1: error 1055: Unexpected 'Next'\nNext\n");
    std::string utf8 = write("bom.vbs", "\xEF\xBB\xBFx = \"caf\xC3\xA9\"\r\n");
    // "x = (" in UTF-16 little endian with its mark: the error is at the end of the line.
    std::string utf16 = write("wide.vbs", std::string("\xFF\xFEx\0 \0=\0 \0(\0", 12));
    r = run(quoted(utf8) + " " + quoted(utf16));
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, utf8 + ": OK\n" + utf16 + ":1:6: error 1023: Expected expression\nx = (\n");
}

TEST_F(ZelCheck, UsageAndInputErrorsExitTwo)
{
    const std::string good = write("good.vbs", "x = 1\n");
    std::filesystem::create_directory(m_dir / "folder.vbs");
    for (const std::string& args :
         {std::string(), std::string("--language"), "--language Cobol " + quoted(good), "--frobnicate " + quoted(good),
          quoted(write("notes.txt", "x = 1")), quoted((m_dir / "folder.vbs").string()), "- < " + quoted(good)})
        EXPECT_EQ(run(args).exit, 2) << args;
    zel::test::ProgramRun missing = run(quoted(good) + " " + quoted((m_dir / "missing.vbs").string()));
    EXPECT_EQ(missing.exit, 2);
    EXPECT_EQ(missing.out, good + ": OK\n");
    EXPECT_EQ(run("--help").exit, 0);
}

} // namespace
