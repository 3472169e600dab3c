// zel-check, run as a program: its output lines and exit status.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct RunResult
{
    int status = -1;
    std::string out;
};

class ZelCheck : public ::testing::Test
{
protected:
    // Writes the file and returns its path, quoted for the shell.
    std::string write(const std::string& name, const std::string& text)
    {
        zel::test::writeFile(m_dir / name, text);
        return "'" + (m_dir / name).string() + "'";
    }

    // Runs zel-check with the arguments (already quoted) and stdin from the given file, if any.
    static RunResult run(const std::string& args, const std::string& input = "")
    {
        std::string command = "'" + std::string(ZEL_BIN_DIR) + "/zel-check' " + args + " 2>/dev/null";
        if (!input.empty())
            command += " < " + input;
        RunResult result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr)
            return result;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.out.append(buffer, n);
        int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    // The path as zel-check prints it.
    static std::string shown(const std::string& quoted) { return quoted.substr(1, quoted.size() - 2); }

    zel::test::TempDir m_dir;
};

TEST_F(ZelCheck, PassingFilesPrintOk_AFailingOnePrintsLocationNumberDescriptionAndLine)
{
    std::string a = write("a.vbs", "Option Explicit\r\nDim x : x = 1\r\n");
    std::string b = write("b.VBS", "");
    RunResult r = run(a + " " + b);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, shown(a) + ": OK\n" + shown(b) + ": OK\n");
    std::string bad = write("bad.vbs", "x = 1\n  y = \"open\nz = 2\n");
    r = run(a + " " + bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              shown(a) + ": OK\n" + shown(bad) + ":2:7: error 1033: Unterminated string constant\n  y = \"open\n");
}

// The language option overrides the extension, a dash reads standard input, and byte-order marks
// and UTF-16 files are read.
TEST_F(ZelCheck, LanguageOptionStandardInputAndUtf16)
{
    std::string file = write("script.txt", "If a Then\n");
    RunResult r = run("--language VBScript " + file);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, shown(file) + ":2:1: error 1014: Expected 'End'\n\n");
    EXPECT_EQ(run("--language=vbscript " + file).status, 1);
    r = run("--language VBScript -", write("in.txt", "Next\n"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "<stdin>:1:1: error 1055: Unexpected 'Next'\nNext\n");
    std::string utf8 = write("bom.vbs", "\xEF\xBB\xBFx = \"caf\xC3\xA9\"\r\n");
    // "x = (" in UTF-16 little endian with its mark: the error is at the end of the line.
    std::string utf16 = write("wide.vbs", std::string("\xFF\xFEx\0 \0=\0 \0(\0", 12));
    r = run(utf8 + " " + utf16);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, shown(utf8) + ": OK\n" + shown(utf16) + ":1:6: error 1023: Expected expression\nx = (\n");
}

TEST_F(ZelCheck, UsageAndInputErrorsExitTwo)
{
    std::string good = write("good.vbs", "x = 1\n");
    std::filesystem::create_directory(m_dir / "folder.vbs");
    for (const std::string& args :
         {std::string(), std::string("--language"), "--language Cobol " + good, "--frobnicate " + good,
          write("notes.txt", "x = 1"), "'" + (m_dir / "folder.vbs").string() + "'"})
        EXPECT_EQ(run(args).status, 2) << args;
    EXPECT_EQ(run("-", good).status, 2);
    RunResult missing = run(good + " '" + (m_dir / "missing.vbs").string() + "'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, shown(good) + ": OK\n");
    EXPECT_EQ(run("--help").status, 0);
}

} // namespace
