// zel-gen DEFINITION.xml: prints the script that the web-service wizard would generate for a stored
// definition, using the component's templates file (beside this program in the build tree, in
// the installed data folder otherwise).

#include "ToolOptions.h"
#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/script/vbscript/VBScriptParser.h"
#include "wsdef/ZelScriptXml.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const zel::tool::ToolInfo kTool{"zel-gen", "DEFINITION.xml",
                                "  Prints the web-service call script generated from a stored definition.\n"
                                "  Exit status: 0 printed, 1 the definition could not be used, 2 usage error.\n"};

struct StoredParameter
{
    std::string name;
    std::string type;
    std::string atrId;
    std::string defValue;
};

std::string readDefinition(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        zel::raise(zel::ErrorNumber::FileNotFound, "File not found: " + path);
    std::ostringstream text;
    text << in.rdbuf();

    zel::XmlParseError error;
    const zel::XmlNode document = zel::XmlNode::parse(text.str(), &error);
    if (document.isNone())
        zel::raise(error.number, "DOM : " + error.reason + " (line " + std::to_string(error.line) + ", column " +
                                     std::to_string(error.column) + ")");
    // A robot script document or an activity holding a definition is accepted as well.
    const zel::XmlNode root = document.documentElement();
    const zel::XmlNode definition = root.name() == "Definition" ? root : root.selectSingleNode(".//Definition");
    if (definition.isNone())
        zel::raise(zel::ErrorNumber::InvalidArgument, "No Definition element in " + path);
    return definition.xml();
}

std::string generate(const std::string& path)
{
    try {
        zel::ZelScriptXml script;
        script.NodeRootValidate(readDefinition(path));
        if (script.pubNodeDefMetParams.isNone())
            zel::raiseObjectNotSet("Method/Parameters of the definition");

        // Read first: every ParamAdd moves its parameter to the end, so adding them again in
        // stored order gives back the stored order.
        std::vector<StoredParameter> parameters;
        for (const zel::XmlNode& parameter : script.pubNodeDefMetParams.selectNodes("Parameter")) {
            const auto value = [&](const char* name) { return zel::XmlFncs::xmlNodeValueGet(parameter, name); };
            parameters.push_back({value("Name"), value("Type"), value("AtrId"), value("DefValue")});
        }
        for (const StoredParameter& p : parameters)
            script.ParamAdd(p.name, p.type, p.atrId, p.defValue);
        std::string text = script.MainEvalCodeMake();
        // A script the engine would refuse is a failure, not a result (an edited templates file
        // can make one).
        const zel::script::Diagnostic verdict = zel::script::vbscript::check(text);
        if (!verdict.ok()) {
            const auto line =
                1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(verdict.offset), '\n');
            zel::raise(verdict.number, "The generated script does not compile: error " +
                                           std::to_string(verdict.number) + " in line " + std::to_string(line));
        }
        return text;
    } catch (...) {
        zel::rethrowWithTag(" zel-gen.generate() ");
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = zel::tool::answerHelpOrVersion(kTool, argc, argv))
        return *answered;
    if (argc != 2)
        return zel::tool::usageError(kTool);
    if (argv[1][0] == '-' && argv[1][1] != '\0')
        return zel::tool::usageError(kTool, std::string("unknown option ") + argv[1]);
    try {
        std::cout << generate(argv[1]);
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (...) {
        const zel::ErrorRecord error = zel::currentErrorRecord();
        std::cerr << "zel-gen: error " << error.Number << ": " << error.Description << "\n"
                  << "Source: " << error.Source << "\n";
        return 1;
    }
}
