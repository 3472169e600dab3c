#include "support/TestSupport.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zel::test {

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

std::filesystem::path dataFile(const std::string& relative)
{
    return std::filesystem::path(ZEL_TEST_DATA_DIR) / relative;
}

std::string fixture(const std::string& relative)
{
    const std::filesystem::path file = dataFile(relative);
    EXPECT_TRUE(std::filesystem::is_regular_file(file)) << "missing fixture " << relative;
    return readFile(file);
}

std::vector<std::filesystem::path> dataFiles(const std::string& folder, std::string_view prefix,
                                             std::string_view suffix)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dataFile(folder))) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(suffix))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zeltest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempDir::~TempDir()
{
    // A test may have taken the write permission away to force a failure.
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_path, ec);
}

void RecordingNotifier::ButtonClick(int32_t button)
{
    record("Button" + std::to_string(button));
    if (onButton)
        onButton();
}

void RecordingNotifier::record(const std::string& event)
{
    if (failOn == "*" || event == failOn)
        throw ErrorRecord(1001, "the host refused " + event, "Host");
    events.push_back(event);
}

ProgramRun runProgram(const std::string& command, const TempDir& dir)
{
    const int status =
        std::system((command + " > '" + (dir / "out").string() + "' 2> '" + (dir / "err").string() + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir / "out"), readFile(dir / "err")};
}

std::size_t countOf(const std::string& haystack, const std::string& needle)
{
    std::size_t n = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++n;
    return n;
}

} // namespace zel::test
