#pragma once

#include "support/TestSupport.h"

#include <filesystem>
#include <string>

namespace zel::wsdeftest {

using test::raisedBy;

// Every test runs with the component's folder pointed at a fresh temporary folder, into which
// the test puts the templates file it needs.
class ComponentFolderTest : public ::testing::Test
{
protected:
    void writeTemplates(const std::string& text) { test::writeFile(m_folder / "ZelWebServiceConfig.xml", text); }
    void useTemplates(const std::filesystem::path& file) { writeTemplates(test::readFile(file)); }
    void useMarkerTemplates() { writeTemplates(test::fixture("wsdef/MarkerTemplates.xml")); }

    test::ModuleInTempDir m_module{"zelscript"};
    const std::filesystem::path& m_folder = m_module.folder();
};

// The same with the marker templates, whose texts show plainly what generation put in.
class MarkerTemplatesTest : public ComponentFolderTest
{
protected:
    void SetUp() override { useMarkerTemplates(); }
};

} // namespace zel::wsdeftest
