// zel-host: a small host that loads the component library through its entry points, hands it
// an activity file and prints the activity data the component gives back.

#include "ComponentLibrary.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

class PrintingNotifier final : public zel::INotifier
{
public:
    void FormActivate() override {}
    void FormModified() override {}
    void ButtonClick(int32_t ZELButton) override { std::cerr << "zel-host: ButtonClick(" << ZELButton << ")\n"; }
};

int usage()
{
    std::cerr << "usage: zel-host [--language ID] [--path-data DIR] ACTIVITY.xml\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string language;
    std::filesystem::path pathData;
    std::filesystem::path activity;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--language" && i + 1 < argc)
            language = argv[++i];
        else if (arg == "--path-data" && i + 1 < argc)
            pathData = argv[++i];
        else if (!arg.empty() && arg[0] == '-')
            return usage();
        else if (activity.empty())
            activity = arg;
        else
            return usage();
    }
    if (activity.empty())
        return usage();
    try {
        std::ifstream in(activity, std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot read " + activity.string());
        const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

        zelhost::ComponentLibrary library(zelhost::ComponentLibrary::besideProgram());
        auto engine = library.create<zel::IFormEngine>(zel::kClsidFormEngine);
        PrintingNotifier notifier;
        engine->LoadForm(&notifier, "<Languages/>", nullptr);
        engine->SetPathData(pathData.empty() ? (zelhost::ComponentLibrary::besideProgram().parent_path() / "data").string()
                                             : pathData.string());
        engine->SetData(data);
        std::cout << engine->GetData() << '\n';
        return 0;
    } catch (const zel::ErrorRecord& e) {
        std::cerr << "zel-host: error " << e.Number << ": " << e.Description << "\n  source:" << e.Source << '\n';
    } catch (const std::exception& e) {
        std::cerr << "zel-host: " << e.what() << '\n';
    }
    return 1;
}
