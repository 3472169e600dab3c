// The registry browser's tree on the command line:
//   zel-uddi [--settings FILE | --registry URL] find [--name TEXT] [--duns NUMBER] [--ignore-case]
//            [--partial-name] [--max-rows N]
//   zel-uddi [--settings FILE | --registry URL] service SERVICE_KEY
//   zel-uddi [--settings FILE | --registry URL] tmodel TMODEL_KEY
//   zel-uddi [--settings FILE] use URL
// find prints the nodes a search adds; service and tmodel the nodes that expanding such a node
// adds under it; one node a line in tree order: DEPTH<TAB>KEY<TAB>TEXT<TAB>IMAGE<TAB>TAG. use
// registers URL in the settings and makes it the default registry, as the options dialog does.
// Without --settings the component's settings file is used (UDDISettings::SettingsPath). Exit 0; 1 with the error on
// standard error when the registry or the settings fail; 2 for a usage error.
#include "ToolOptions.h"
#include "platform/error/ErrorRecord.h"
#include "uddi/UDDISettings.h"
#include "uddi/UddiTree.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace zel;

const zel::tool::ToolInfo kTool{
    "zel-uddi", "[--settings FILE | --registry URL] find|service KEY|tmodel KEY|use URL",
    "  find [--name TEXT] [--duns NUMBER] [--ignore-case] [--partial-name] [--max-rows N]\n"
    "                     print the nodes a search of the registry adds to the browser's tree\n"
    "  service SERVICE_KEY, tmodel TMODEL_KEY\n"
    "                     print the nodes that expanding such a node adds under it\n"
    "  use URL            register URL in the settings and make it the default registry\n"
    "  One node a line: DEPTH<TAB>KEY<TAB>TEXT<TAB>IMAGE<TAB>TAG.\n"
    "  Exit status: 0 done, 1 the registry or the settings failed, 2 usage error.\n"};

int usage(const std::string& problem)
{
    return zel::tool::usageError(kTool, problem);
}

std::string field(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

void print(const std::vector<UddiTree::Node>& nodes)
{
    std::vector<int> depth(nodes.size(), 0);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const UddiTree::Node& n = nodes[i];
        depth[i] = n.parent < 0 ? 0 : depth[static_cast<std::size_t>(n.parent)] + 1;
        std::cout << depth[i] << '\t' << field(n.key) << '\t' << field(n.text) << '\t' << field(n.image) << '\t'
                  << field(n.tag) << '\n';
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = zel::tool::answerHelpOrVersion(kTool, argc, argv))
        return *answered;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<std::string> settingsFile;
    std::optional<std::string> registry;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        if (i + 1 >= args.size())
            return usage(args[i] + " needs a value");
        if (args[i] == "--settings")
            settingsFile = args[++i];
        else if (args[i] == "--registry")
            registry = args[++i];
        else
            return usage("unknown option " + args[i]);
    }
    if (settingsFile && registry)
        return usage("--settings and --registry exclude each other");
    if (i >= args.size())
        return usage("a command is needed");
    const std::string command = args[i++];

    UddiTree::Criteria criteria;
    std::optional<int> maxRows;
    std::string key;
    if (command == "find") {
        for (; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (a == "--ignore-case") {
                criteria.ignoreCase = true;
            } else if (a == "--partial-name") {
                criteria.partialName = true;
            } else if ((a == "--name" || a == "--duns" || a == "--max-rows") && i + 1 < args.size()) {
                const std::string& value = args[++i];
                if (a == "--name") {
                    criteria.name = value;
                } else if (a == "--duns") {
                    criteria.duns = value;
                } else {
                    int rows = 0;
                    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), rows);
                    if (ec != std::errc() || end != value.data() + value.size() || rows < 0 || rows > 32767)
                        return usage("--max-rows takes a number from 0 to 32767");
                    maxRows = rows;
                }
            } else {
                return usage("unexpected argument " + a);
            }
        }
    } else if (command == "service" || command == "tmodel" || command == "use") {
        if (i + 1 != args.size())
            return usage(command + " takes exactly one argument");
        key = args[i];
        if (command == "use" && registry)
            return usage("use works on the settings file, not on --registry");
    } else {
        return usage("unknown command " + command);
    }

    try {
        UDDISettings settings(settingsFile ? std::filesystem::path(*settingsFile) : std::filesystem::path());
        if (command == "use") {
            settings.ServerAdd(key);
            settings.ServerSetDefault(key);
            return 0;
        }
        // The client is set up as the window sets up its own: trace and registry from the settings.
        uddi::UddiClient client;
        if (registry) {
            client.setAddress(*registry);
        } else {
            client.setTrace(settings.TraceStateGet());
            client.setTracePath(settings.TracePathGet());
            client.setAddress(settings.ServerGetDefault());
        }
        UddiTree::Update update;
        if (command == "find") {
            criteria.maxRows = static_cast<int16_t>(maxRows ? *maxRows : registry ? 0 : settings.SearchMaxRowsGet());
            update = UddiTree::search(client, criteria);
        } else if (command == "service") {
            update = UddiTree::expandService(client, key);
        } else {
            update = UddiTree::expandTModel(client, key);
        }
        if (update.failed) {
            std::cerr << "zel-uddi: " << update.errorText << '\n';
            return 1;
        }
        print(update.nodes);
        return 0;
    } catch (const ErrorRecord& e) {
        std::cerr << "zel-uddi: " << e.Description << " (error " << e.Number << "," << e.Source << ")\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "zel-uddi: " << e.what() << '\n';
        return 1;
    }
}
