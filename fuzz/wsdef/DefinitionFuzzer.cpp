// Builds a web-service definition from arbitrary bytes, either as a stored definition text or
// through the calls the wizard makes with fuzzed names, types, defaults and proxy settings, and
// generates its script with the installed templates. Generation may refuse a definition with an
// error; a script it returns must pass our own VBScript check.
#include "platform/module/Module.h"
#include "platform/script/vbscript/VBScriptErrors.h"
#include "platform/script/vbscript/VBScriptParser.h"
#include "wsdef/ZelScriptXml.h"
#include "zel/ZelScriptEditor.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The templates are read from the component's folder: point it at a private copy.
    char pattern[] = "/tmp/zel-fuzz-definition-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (folder == nullptr)
        std::abort();
    std::filesystem::copy_file(ZEL_TEMPLATES_FILE, std::filesystem::path(folder) / "ZelWebServiceConfig.xml");
    zel::Module::overrideLocation(folder, "zelscript");
    return 0;
}

namespace {

// A fuzzed text without NULs: no XML text can hold one, so no WSDL name or stored value has it.
std::string text(FuzzedDataProvider& input, std::size_t maxLength)
{
    std::string value = input.ConsumeRandomLengthString(maxLength);
    std::erase(value, '\0');
    return value;
}

std::string generateFromCalls(zel::ZelScriptXml& script, FuzzedDataProvider& input)
{
    const std::string path = text(input, 32);
    const std::string wsdl = text(input, 64);
    const bool loadFromPath = input.ConsumeBool();
    const bool ace = input.ConsumeBool();
    const std::string service = text(input, 16);
    const std::string className = text(input, 16);
    const std::string method = text(input, 16);
    script.WebServicePropertiesSet(path, wsdl, loadFromPath, ace, service, className, method);
    const std::string returnType = text(input, 12);
    script.WebServiceMethodReturnSet(returnType, text(input, 12));
    const bool useProxy = input.ConsumeBool();
    const bool useSsl = input.ConsumeBool();
    const std::string server = text(input, 16);
    const std::string port = text(input, 6);
    const std::string user = text(input, 12);
    const std::string password = text(input, 12);
    script.WebServiceProxySettingsSet(useProxy, useSsl, server, port, user, password,
                                      input.ConsumeFloatingPoint<double>());
    const int parameters = input.ConsumeIntegralInRange(0, 5);
    for (int i = 0; i < parameters; ++i) {
        const std::string name = text(input, 12);
        const std::string type = text(input, 12);
        const std::string attribute = text(input, 12);
        script.ParamAdd(name, type, attribute, text(input, 16));
    }
    return script.MainEvalCodeMake();
}

std::string generateFromText(zel::ZelScriptXml& script, FuzzedDataProvider& input)
{
    script.NodeRootValidate(input.ConsumeRemainingBytesAsString());
    return script.MainEvalCodeMake();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    zel::ZelScriptXml definition;
    std::string script;
    try {
        script = input.ConsumeBool() ? generateFromText(definition, input) : generateFromCalls(definition, input);
    } catch (const zel::ErrorRecord&) {
        return 0; // refused at generation, with an error the wizard shows
    }
    const zel::script::Diagnostic verdict = zel::script::vbscript::check(script);
    if (!verdict.ok()) {
        std::fprintf(stderr, "generated script fails the check: %d %s at offset %zu\n%s\n", verdict.number,
                     std::string(zel::script::vbscript::description(verdict.number)).c_str(), verdict.offset,
                     script.c_str());
        std::abort();
    }
    return 0;
}
