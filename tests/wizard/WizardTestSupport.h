#pragma once
// What the wizard tests share: the component folder with the installed templates, the activity
// data with an attribute catalogue, recorded message boxes, and the demo services on loopback.

#include "../../apps/zel-demo-services/DemoServices.h"
#include "common/Globals.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "hostparts/defaults/SharedData.h"
#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

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
        m_previousUi = std::exchange(toolkit().ui, ui);
    }
    ~WizardEnvironment()
    {
        toolkit().ui = m_previousUi;
        globals().gobjSharedData.reset();
    }

    ModuleInTempDir module;
    std::shared_ptr<RecordingUi> ui = std::make_shared<RecordingUi>();

private:
    std::shared_ptr<UiServices> m_previousUi;
};

// The demo services, started once for the test program.
inline demo::DemoServices& demoServices()
{
    static demo::DemoServices services;
    if (!services.isRunning())
        services.start(0, "127.0.0.1");
    return services;
}

// A loopback server whose "/Slow.asmx" never answers until the server goes, and whose "/page"
// answers with a text that is not XML.
class SilentServer
{
public:
    SilentServer()
    {
        m_server.Get("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("Service moved: ask the administrator & try again", "text/plain");
        });
        m_server.Get("/Slow.asmx", [this](const httplib::Request&, httplib::Response&) {
            while (!m_released)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~SilentServer()
    {
        m_released = true;
        m_server.stop();
        m_thread.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

private:
    httplib::Server m_server;
    std::atomic<bool> m_released{false};
    std::thread m_thread;
    int m_port = 0;
};

// A script or definition with its generation stamps blanked, for comparing two generations.
inline std::string withoutDates(const std::string& text)
{
    return std::regex_replace(text, std::regex("Generated [^\\r\\n<]*"), "Generated");
}

} // namespace zel::test
