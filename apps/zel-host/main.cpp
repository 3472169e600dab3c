// zel-host: the demo host. It loads the component library the way any host does (dlopen, the
// exported entry points and the public header only), opens an activity file in the editor, and
// writes the edited activity back to the file when the user presses OK.
//
//   zel-host [--language ID] [--path-data DIR] [--screenshot PNG] ACTIVITY.xml
//   zel-host --older-wizard [--language ID] [--path-data DIR] [--screenshot PNG]

#include "ActivityFile.h"
#include "ComponentLibrary.h"
#include "EditorWatcher.h"
#include "HostSkin.h"
#include "ToolOptions.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <iostream>
#include <optional>

namespace {

struct Options
{
    std::string language;
    std::filesystem::path pathData;
    std::filesystem::path screenshot;
    std::filesystem::path activity;
    bool olderWizard = false;
};

const zel::tool::ToolInfo kTool{
    "zel-host", "[--language ID] [--path-data DIR] [--screenshot PNG] (ACTIVITY.xml | --older-wizard)",
    "  Opens ACTIVITY.xml in the script editor; OK writes the edited activity back to the file.\n"
    "  --older-wizard   instead, show the older web-service wizard beside the host until it is closed\n"
    "  --language ID    show the editor in the language file ID.lng of the path-data folder\n"
    "  --path-data DIR  the folder of the language files and the default script\n"
    "  --screenshot PNG save a picture of the window once shown, then close it as Cancel does\n"};

// Read from the raw arguments, before the application starts, so that a wrong argument is told
// without a display. The window platform is chosen through QT_QPA_PLATFORM, not by options.
std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--language" && hasValue)
            options.language = argv[++i];
        else if (arg == "--path-data" && hasValue)
            options.pathData = argv[++i];
        else if (arg == "--screenshot" && hasValue)
            options.screenshot = std::filesystem::absolute(argv[++i]);
        else if (arg == "--older-wizard")
            options.olderWizard = true;
        else if (!arg.empty() && arg[0] == '-')
            return std::nullopt;
        else if (options.activity.empty())
            options.activity = arg;
        else
            return std::nullopt;
    }
    if (options.activity.empty() == !options.olderWizard)
        return std::nullopt;
    return options;
}

// Told by the editor which button closed it; on OK the edited activity goes back to its file.
class HostNotifier final : public zel::INotifier
{
public:
    HostNotifier(zel::IFormEngine& engine, std::filesystem::path file) : m_engine(engine), m_file(std::move(file)) {}

    void FormActivate() override {}
    void FormModified() override {}
    void ButtonClick(int32_t ZELButton) override
    {
        m_button = ZELButton;
        if (ZELButton != zel::kButtonOk)
            return;
        try {
            zelhost::ActivityFile::writeAtomically(m_file, m_engine.GetData());
            m_saved = true;
        } catch (const std::runtime_error& e) {
            // Raised into the editor, which shows it and stays open, so the user can try again.
            throw zel::ErrorRecord(75, std::string("The activity could not be saved: ") + e.what(),
                                   " zel-host.ButtonClick() ");
        }
    }

    int button() const { return m_button; }
    bool saved() const { return m_saved; }

private:
    zel::IFormEngine& m_engine;
    std::filesystem::path m_file;
    int m_button = -1;
    bool m_saved = false;
};

// The languages document handed to the editor: one element per language file of the folder.
std::string languagesDocument(const std::filesystem::path& folder)
{
    std::string xml = "<Languages>";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().extension() == ".lng")
            xml += "<Language>" + entry.path().stem().string() + "</Language>";
    return xml + "</Languages>";
}

// Opens the older wizard through the Engine class, as a host does: Show returns at once and the
// wizard stays open beside the host, which runs its own event loop until no window of it is shown.
// Nothing is read back from the wizard.
int showOlderWizard(zelhost::ComponentLibrary& component, const Options& options, const std::filesystem::path& pathData)
{
    auto engine = component.create<zel::IEngine>(zel::kClsidEngine);
    engine->LngSet(options.language.empty() ? "en" : options.language, std::filesystem::absolute(pathData).string());
    engine->Show();
    auto shownWindow = [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                return window;
        return static_cast<QWidget*>(nullptr);
    };
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (shownWindow() == nullptr)
            QApplication::quit();
    });
    watch.start(200);
    bool saved = false;
    if (!options.screenshot.empty()) {
        QTimer::singleShot(800, [&] {
            if (QWidget* window = shownWindow()) {
                saved = window->grab().save(QString::fromStdString(options.screenshot.string()));
                window->close(); // as the user closing it: the wizard cancels
            }
        });
    }
    QApplication::exec();
    if (!options.screenshot.empty() && !saved) {
        std::cerr << "zel-host: no screenshot of the older wizard\n";
        return 1;
    }
    std::cerr << "zel-host: the older wizard was closed\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Answered before the application starts, so that they work without a display.
    if (const std::optional<int> answered = zel::tool::answerHelpOrVersion(kTool, argc, argv))
        return *answered;
    const std::optional<Options> options = parse(argc, argv);
    if (!options)
        return zel::tool::usageError(kTool);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zel-host"));
    try {
        const std::filesystem::path library = zelhost::ComponentLibrary::besideProgram();
        const std::filesystem::path pathData =
            options->pathData.empty() ? zelhost::ComponentLibrary::defaultPathData(library) : options->pathData;
        zelhost::ComponentLibrary component(library);
        if (options->olderWizard)
            return showOlderWizard(component, *options, pathData);
        const std::string data = zelhost::ActivityFile::read(options->activity);

        auto engine = component.create<zel::IFormEngine>(zel::kClsidFormEngine);
        std::optional<zelhost::HostSkin> skin = zelhost::HostSkin::fromSettings(
            zelhost::HostSkin::settingsFile(zelhost::ComponentLibrary::programFolder()));
        HostNotifier notifier(*engine, options->activity);
        zelhost::EditorWatcher watcher(*engine, options->language, options->screenshot);

        engine->LoadForm(&notifier, languagesDocument(pathData), skin ? &*skin : nullptr);
        engine->SetPathData(std::filesystem::absolute(pathData).string());
        engine->SetData(data);
        engine->ShowForm();
        engine.reset();

        if (!options->screenshot.empty() && !watcher.screenshotSaved()) {
            std::cerr << "zel-host: no screenshot: "
                      << (watcher.failure().empty() ? "the editor was not shown" : watcher.failure()) << '\n';
            return 1;
        }
        std::cerr << "zel-host: "
                  << (notifier.saved() ? "saved " + options->activity.string() : std::string("closed without saving"))
                  << '\n';
        return 0;
    } catch (const zel::ErrorRecord& e) {
        std::cerr << "zel-host: error " << e.Number << ": " << e.Description << "\n  source:" << e.Source << '\n';
    } catch (const std::exception& e) {
        std::cerr << "zel-host: " << e.what() << '\n';
    }
    return 1;
}
