// zel-wizard: the web-service wizard for scripts and batch work. It walks the wizard's five pages
// on in-memory controls, with the same rules as the window: load a WSDL, tick an operation, map
// its parameters, choose End Activity and the proxy settings, and Finish.
#include "common/General.h"
#include "common/Globals.h"
#include "common/XmlFncs.h"
#include "host/cRobot.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "hostparts/defaults/SharedData.h"
#include "platform/error/ErrorRecord.h"
#include "platform/module/Module.h"
#include "platform/ui/Toolkit.h"
#include "wizard/MemoryWizardControls.h"
#include "wizard/WizardNuevo.h"

#include "ToolOptions.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const zel::tool::ToolInfo kTool{
    "zel-wizard",
    "[--prefixes LIST] --wsdl URL --operation NAME [--map PARAM=ATTRIBUTE]... [--default PARAM=VALUE]... "
    "[--return-attribute ATTRIBUTE] [--proxy-server S --proxy-port P --proxy-user U --proxy-password W] "
    "[--use-proxy] [--use-ssl] [--timeout SECONDS] [--catalogue FILE] [--edit DEFINITION.xml] "
    "[--activity ACTIVITY.xml] [--definition-out FILE] [--script-out FILE]",
    "  Walks the web-service wizard's five pages and writes the definition of the call and its script.\n"
    "  --edit reopens a stored definition first; --activity reads the catalogue and any stored definition\n"
    "  from the activity and writes the script and the definition back into it.\n"
    "  Exit status: 0 written, 1 the WSDL, operation, parameter, attribute or a file could not be used,\n"
    "  2 usage error.\n"};

struct Options
{
    std::optional<std::string> prefixes, wsdl, operation, returnAttribute, timeout;
    std::optional<std::string> proxyServer, proxyPort, proxyUser, proxyPassword;
    bool useProxy = false, useSsl = false;
    std::vector<std::pair<std::string, std::string>> maps, defaults;
    std::optional<std::filesystem::path> catalogue, edit, activity, definitionOut, scriptOut;
};

// A failure the user can act on: exit 1 with its one-line reason.
struct Refusal
{
    std::string reason;
};

std::optional<std::pair<std::string, std::string>> pair(const std::string& text)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        return std::nullopt;
    return std::pair{text.substr(0, equals), text.substr(equals + 1)};
}

std::optional<Options> parse(int argc, char** argv)
{
    Options o;
    const std::map<std::string, std::optional<std::string>*> texts = {{"--prefixes", &o.prefixes},
                                                                      {"--wsdl", &o.wsdl},
                                                                      {"--operation", &o.operation},
                                                                      {"--return-attribute", &o.returnAttribute},
                                                                      {"--timeout", &o.timeout},
                                                                      {"--proxy-server", &o.proxyServer},
                                                                      {"--proxy-port", &o.proxyPort},
                                                                      {"--proxy-user", &o.proxyUser},
                                                                      {"--proxy-password", &o.proxyPassword}};
    const std::map<std::string, std::optional<std::filesystem::path>*> files = {{"--catalogue", &o.catalogue},
                                                                                {"--edit", &o.edit},
                                                                                {"--activity", &o.activity},
                                                                                {"--definition-out", &o.definitionOut},
                                                                                {"--script-out", &o.scriptOut}};
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--use-proxy") {
            o.useProxy = true;
            continue;
        }
        if (option == "--use-ssl") {
            o.useSsl = true;
            continue;
        }
        if (i + 1 >= argc)
            return std::nullopt;
        const std::string value = argv[++i];
        if (auto text = texts.find(option); text != texts.end()) {
            *text->second = value;
        } else if (auto file = files.find(option); file != files.end()) {
            *file->second = value;
        } else if (option == "--map" || option == "--default") {
            const auto parsed = pair(value);
            if (!parsed)
                return std::nullopt;
            (option == "--map" ? o.maps : o.defaults).push_back(*parsed);
        } else {
            return std::nullopt;
        }
    }
    if (o.timeout && o.timeout->find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    if (!o.wsdl && !o.edit && !o.activity)
        return std::nullopt;
    return o;
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw Refusal{"cannot read " + file.string()};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes text beside file and renames it over file, so a reader never sees half a file.
void writeAtomically(const std::filesystem::path& file, const std::string& text)
{
    const std::filesystem::path partial = file.string() + ".zel-wizard-" + std::to_string(getpid());
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out)
            throw Refusal{"cannot write " + file.string()};
    }
    std::error_code error;
    std::filesystem::rename(partial, file, error);
    if (error) {
        std::filesystem::remove(partial, error);
        throw Refusal{"cannot write " + file.string()};
    }
}

// Message boxes have nobody to answer them: the last one is kept as the reason of a refusal.
class RememberingUi final : public zel::UiServices
{
public:
    zel::MessageResult messageBox(const std::string& text, const std::string&, zel::MessageIcon,
                                  zel::MessageButtons) override
    {
        last = text;
        return zel::MessageResult::Ok;
    }
    std::string clipboardText() override { return {}; }
    void setClipboardText(const std::string&) override {}
    std::string last;
};

// The tab-separated entries of the grid's attribute list, "[none]" first.
bool listed(const std::string& list, const std::string& attribute)
{
    return ("\t" + list + "\t").find("\t" + attribute + "\t") != std::string::npos;
}

int run(const Options& o)
{
    auto ui = std::make_shared<RememberingUi>();
    zel::toolkit().ui = ui;
    zel::registerDefaultComponents();
    const std::filesystem::path dataFolder = zel::Module::dataFolder() / "data";

    // The activity data: the catalogue and any stored definition come from it.
    auto shared = std::make_shared<zel::SharedData>();
    std::string stored;
    if (o.activity) {
        try {
            shared->LoadData(readFile(*o.activity));
        } catch (const zel::ErrorRecord& e) {
            throw Refusal{o.activity->string() + " is not XML: " + e.Description};
        }
        if (const zel::XmlNode definition = shared->ScriptNode().selectSingleNode("RobotScript/Script/Definition"))
            stored = definition.xml();
    } else {
        shared->LoadData("<Activity/>");
    }
    if (o.catalogue) {
        const zel::XmlNode catalogue = zel::XmlFncs::xmlMakeNode(readFile(*o.catalogue));
        if (!catalogue)
            throw Refusal{"the catalogue " + o.catalogue->string() + " is not XML"};
        zel::XmlNode data = shared->DataNode().documentElement();
        if (zel::XmlNode old = data.child("Attributes"))
            data.removeChild(old);
        zel::XmlNode attributes = data.appendElement("Attributes");
        for (const zel::XmlNode& child : catalogue.children())
            attributes.appendChild(child);
    }
    zel::globals().gobjSharedData = shared;
    if (o.edit) {
        stored = readFile(*o.edit);
        if (!zel::XmlFncs::xmlMakeNode(stored))
            throw Refusal{"the definition " + o.edit->string() + " is not XML"};
    }

    zel::wizard::MemoryWizardControls controls;
    zel::wizard::WizardNuevo wizard(controls);
    wizard.applyDesignTexts();
    if (o.prefixes)
        controls.setText("txtPrefijos", *o.prefixes);
    wizard.Form_Load("", stored);
    const bool reopened = controls.tree().itemCount() > 0;

    // Page 1: a new address is loaded; a stored one only when its copy could not be read.
    if (o.wsdl || !reopened) {
        if (o.wsdl)
            controls.setText("txtWsdlUrl", *o.wsdl);
        wizard.cmdLoad_Click();
        wizard.timSoapLoadWsdl_Timer();
        if (controls.tree().itemCount() == 0)
            throw Refusal{
                "the WSDL at " + controls.text("txtWsdlUrl") + " has no service" +
                (wizard.analyser().lastDiagnostic().empty() ? "" : " (" + wizard.analyser().lastDiagnostic() + ")")};
    }
    zel::controls::ITreeControl& tree = controls.tree();
    const zel::controls::TreeItem service = tree.child(tree.root(), 0);
    std::string operation = o.operation.value_or("");
    for (int i = 0; operation.empty() && i < tree.childCount(service); ++i)
        if (tree.isChecked(tree.child(service, i)))
            operation = tree.text(tree.child(service, i));
    if (operation.empty())
        throw Refusal{"no --operation given"};
    bool found = false;
    for (int i = 0; i < tree.childCount(service); ++i) {
        const bool match = tree.text(tree.child(service, i)) == operation;
        tree.setChecked(tree.child(service, i), match);
        found = found || match;
    }
    if (!found)
        throw Refusal{"the operation " + operation + " is not listed in the WSDL"};

    auto next = [&](int expectedPage) {
        ui->last.clear();
        wizard.cmdNext_Click();
        if (controls.selectedPage() != expectedPage)
            throw Refusal{ui->last.empty() ? "the wizard stopped on page " + std::to_string(controls.selectedPage())
                                           : ui->last};
    };
    next(2);
    // A new load rebuilds the grid: stored mappings are put back on the rows that still exist.
    const zel::XmlNode storedDefinition = zel::XmlFncs::xmlMakeNode(stored);
    next(3);
    zel::controls::IParameterGrid& grid = controls.grid();
    auto rowOf = [&](const std::string& name) {
        for (int row = 0; row < grid.rowCount(); ++row)
            if (grid.cell(row, 0) == name)
                return row;
        return -1;
    };
    if (o.wsdl && storedDefinition)
        for (const zel::XmlNode& p : storedDefinition.selectNodes("Method/Parameters/*"))
            if (const int row = rowOf(zel::XmlFncs::xmlNodeValueGet(p, "Name")); row >= 0) {
                grid.setCell(row, 2, zel::XmlFncs::xmlNodeValueGet(p, "AtrId"));
                grid.setCell(row, 3, zel::XmlFncs::xmlNodeValueGet(p, "DefValue"));
            }
    for (const auto& [parameter, attribute] : o.maps) {
        const int row = rowOf(parameter);
        if (row < 0)
            throw Refusal{"the operation " + operation + " has no parameter " + parameter};
        if (!listed(controls.gridAttributeList(), attribute))
            throw Refusal{"the catalogue holds no attribute " + attribute};
        grid.setCell(row, 2, attribute);
    }
    for (const auto& [parameter, value] : o.defaults) {
        const int row = rowOf(parameter);
        if (row < 0)
            throw Refusal{"the operation " + operation + " has no parameter " + parameter};
        grid.setCell(row, 3, value);
    }
    next(4);
    if (o.returnAttribute) {
        if (!controls.isEnabled("chkACE"))
            throw Refusal{"the operation " + operation + " returns nothing for --return-attribute"};
        if (!listed(controls.gridAttributeList(), *o.returnAttribute))
            throw Refusal{"the catalogue holds no attribute " + *o.returnAttribute};
        controls.setChecked("chkACE", true);
        wizard.chkACE_Click();
        controls.setText("pvAttributesReturn", *o.returnAttribute);
    }
    next(5);
    if (o.useProxy || o.useSsl || o.proxyServer || o.proxyPort || o.proxyUser || o.proxyPassword || o.timeout) {
        controls.setChecked("chkProxySetting", true);
        wizard.chkProxySetting_Click();
    }
    if (o.useProxy)
        controls.setChecked("chkUseProxy", true);
    if (o.useSsl)
        controls.setChecked("chkUseSSL", true);
    for (const auto& [box, value] :
         {std::pair{"txtProxyServer", &o.proxyServer}, std::pair{"txtProxyPort", &o.proxyPort},
          std::pair{"txtProxyUser", &o.proxyUser}, std::pair{"txtProxyPassword", &o.proxyPassword},
          std::pair{"pvTimeOut", &o.timeout}})
        if (*value)
            controls.setText(box, **value);
    wizard.cmdNext_Click();
    if (wizard.EvalCode.empty())
        throw Refusal{"the script could not be generated (the error log beside zel-wizard says why)"};

    const std::string definition = wizard.definitionXml();
    if (o.activity) {
        zel::cRobot robot;
        std::string folder = dataFolder.string();
        robot.SetFreeDefinition(shared->HasScript() ? shared->ScriptNode().cloneDeep()
                                                    : zel::General::GetPattern("DefaultScript", folder).cloneDeep());
        robot.SetEvalCode(wizard.EvalCode);
        robot.SetLanguage("VBScript");
        robot.SetAdditionalDefinition(definition);
        shared->SetScriptNode(robot.GetFreeDefinition());
        writeAtomically(*o.activity, shared->DataNode().xml());
    }
    if (o.definitionOut)
        writeAtomically(*o.definitionOut, definition);
    if (o.scriptOut)
        writeAtomically(*o.scriptOut, wizard.EvalCode);
    if (!o.activity && !o.scriptOut)
        std::cout << wizard.EvalCode;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = zel::tool::answerHelpOrVersion(kTool, argc, argv))
        return *answered;
    const std::optional<Options> options = parse(argc, argv);
    if (!options)
        return zel::tool::usageError(kTool);
    try {
        return run(*options);
    } catch (const Refusal& refusal) {
        std::cerr << "zel-wizard: " << refusal.reason << '\n';
    } catch (const zel::ErrorRecord& e) {
        std::cerr << "zel-wizard: error " << e.Number << ": " << e.Description << '\n';
    } catch (const std::exception& e) {
        std::cerr << "zel-wizard: " << e.what() << '\n';
    }
    return 1;
}
