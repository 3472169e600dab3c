// A minimal host: loads the installed library with dlopen, creates the form engine without a
// window, and hands an activity through SetData/GetData. With --bad-data it hands malformed data,
// which the library must refuse and write to its error log.
//   installed-host ACTIVITY.xml [--bad-data]
#include <zel/ZelScriptEditor.h>

#include <dlfcn.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

class Notifier final : public zel::INotifier
{
public:
    void FormActivate() override {}
    void FormModified() override {}
    void ButtonClick(int32_t) override {}
};

int fail(const std::string& why)
{
    std::cerr << "installed-host: " << why << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return fail("usage: installed-host ACTIVITY.xml [--bad-data]");
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream activity;
    activity << in.rdbuf();

    void* library = dlopen(ZEL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return fail(std::string("dlopen: ") + dlerror());
    auto getClassObject = reinterpret_cast<zel::DllGetClassObjectFn>(dlsym(library, "DllGetClassObject"));
    zel::IClassFactory* factory = nullptr;
    if (getClassObject == nullptr || getClassObject(zel::kProgIdFormEngine, &factory) != zel::Result::Ok)
        return fail("no form engine class");
    std::unique_ptr<zel::IComponent> object(factory->CreateInstance());
    delete factory;
    auto* engine = dynamic_cast<zel::IFormEngine*>(object.get());
    if (engine == nullptr)
        return fail("the form engine does not implement IFormEngine");

    Notifier notifier;
    try {
        engine->LoadForm(&notifier, "<Languages><Language>en</Language></Languages>", nullptr);
        engine->SetPathData(ZEL_PATH_DATA);
        if (argc > 2 && std::string(argv[2]) == "--bad-data") {
            engine->SetData("<Activity><ScriptData>");
            return fail("malformed data was accepted");
        }
        engine->SetData(activity.str());
        const std::string data = engine->GetData();
        engine->SetData(data);
        if (data.find("<EvalCode>") == std::string::npos || engine->GetData() != data)
            return fail("the activity did not come back from GetData:\n" + data);
        std::cout << data << '\n';
        return 0;
    } catch (const zel::ErrorRecord& e) {
        std::cout << "error " << e.Number << ": " << e.Description << '\n';
        return argc > 2 ? 0 : 1;
    }
}
