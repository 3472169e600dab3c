#pragma once
// What the wizard tests share: the component folder with the installed templates, the activity
// data with an attribute catalogue, recorded message boxes, and the demo services on loopback.

#include "../../apps/zel-demo-services/DemoServices.h"
#include "common/Globals.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "hostparts/defaults/SharedData.h"
#include "support/LoopbackServers.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <regex>
#include <string>

namespace zel::test {

inline const char* kCatalogue = "<Attributes><Attribute>Weight</Attribute><Attribute>Destination</Attribute>"
                                "<Attribute>Quote</Attribute></Attributes>";

class WizardEnvironment
{
public:
    explicit WizardEnvironment(const std::string& catalogue = kCatalogue)
    {
        registerDefaultComponents();
        std::filesystem::copy_file(std::filesystem::path(ZEL_SOURCE_DIR) / "data/component/ZelWebServiceConfig.xml",
                                   module.folder() / "ZelWebServiceConfig.xml");
        auto data = std::make_shared<SharedData>();
        data->LoadData("<Activity><UserLanguage>en</UserLanguage><Properties><ExecutionEngine/></Properties>" +
                       catalogue + "</Activity>");
        globals().gobjSharedData = data;
        globals().gstrPathData = std::string(ZEL_SOURCE_DIR) + "/data/lang";
    }
    ~WizardEnvironment() { globals().gobjSharedData.reset(); }

    ModuleInTempDir module;
    RecordingUiScope ui;
};

// The demo services, started once for the test program.
inline demo::DemoServices& demoServices()
{
    static demo::DemoServices services;
    if (!services.isRunning())
        services.start(0, "127.0.0.1");
    return services;
}

// A script or definition with its generation stamps blanked, for comparing two generations.
inline std::string withoutDates(const std::string& text)
{
    return std::regex_replace(text, std::regex("Generated [^\\r\\n<]*"), "Generated");
}

} // namespace zel::test
