#pragma once

#include "common/ErrorRecord.h"
#include "platform/module/Module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace zel::wsdeftest {

inline std::filesystem::path dataFile(const std::string& name)
{
    return std::filesystem::path(ZEL_TEST_DATA_DIR) / "wsdef" / name;
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every test runs with the component's folder pointed at a fresh temporary folder, into which
// the test puts the templates file it needs.
class ComponentFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   ("zel-wsdef-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        Module::overrideLocation(m_folder, "zelscript");
    }

    void TearDown() override
    {
        Module::overrideLocation({}, {});
        std::filesystem::remove_all(m_folder);
    }

    void writeTemplates(const std::string& text)
    {
        std::ofstream(m_folder / "ZelWebServiceConfig.xml", std::ios::binary | std::ios::trunc) << text;
    }

    void useTemplates(const std::filesystem::path& file) { writeTemplates(readFile(file)); }

    void useMarkerTemplates() { useTemplates(dataFile("MarkerTemplates.xml")); }

    std::filesystem::path m_folder;
};

// Runs call and returns the error record it raised; fails the test when it raised none.
template <typename Call> ErrorRecord errorOf(Call&& call)
{
    try {
        call();
    } catch (const ErrorRecord& error) {
        return error;
    }
    ADD_FAILURE() << "no error was raised";
    return {};
}

} // namespace zel::wsdeftest
