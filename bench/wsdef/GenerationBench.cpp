// Cost of generating a web-service call script with the installed templates. Every parameter
// fragment and every step of the body reads the templates file again (so an edited file takes
// effect at once); this shows what that costs as the number of parameters grows.

#include "platform/module/Module.h"
#include "wsdef/ZelScriptXml.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void useInstalledTemplates()
{
    zel::Module::overrideLocation(std::filesystem::path(ZEL_SOURCE_DIR) / "data" / "component", "zelscript");
}

void BM_ParamAdd(benchmark::State& state)
{
    useInstalledTemplates();
    zel::ZelScriptXml script;
    int i = 0;
    for (auto _ : state)
        script.ParamAdd("p" + std::to_string(i++ % 16), "string", "Attribute", "default \"value\"");
}
BENCHMARK(BM_ParamAdd);

void BM_MainEvalCodeMake(benchmark::State& state)
{
    useInstalledTemplates();
    zel::ZelScriptXml script;
    script.WebServicePropertiesSet("http://localhost:8080/Calculator.asmx", "", false, true, "Calculator", "Calculator",
                                   "Add");
    script.WebServiceMethodReturnSet("int", "Total");
    for (int64_t i = 0; i < state.range(0); ++i)
        script.ParamAdd("p" + std::to_string(i), "int", i % 2 ? "Attribute" : "", "1");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = script.MainEvalCodeMake();
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MainEvalCodeMake)->Arg(0)->Arg(10)->Arg(100);

} // namespace
