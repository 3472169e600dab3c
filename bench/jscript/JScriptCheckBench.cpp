#include "platform/script/jscript/JScriptParser.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The realistic scripts of the test data, end to end: administration scripts, process
// activities, a web-service call and conditional compilation.
const std::string& corpus()
{
    static const std::string text = [] {
        std::vector<std::filesystem::path> files;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(ZEL_TEST_DATA_DIR) + "/script/jscript/valid"))
            if (entry.path().extension() == ".js")
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        std::string all;
        for (const auto& path : files) {
            std::ifstream in(path, std::ios::binary);
            std::ostringstream out;
            out << in.rdbuf();
            all += out.str();
            all += "\r\n";
        }
        return all;
    }();
    return text;
}

std::string repeated(std::size_t bytes)
{
    std::string out;
    out.reserve(bytes + corpus().size());
    while (out.size() < bytes)
        out += corpus();
    return out;
}

void checkText(benchmark::State& state, const std::string& text)
{
    if (zel::script::jscript::check(text).number != 0) {
        state.SkipWithError("the benchmark corpus does not compile");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(zel::script::jscript::check(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_JScriptCheck_Corpus(benchmark::State& state)
{
    checkText(state, corpus());
}
BENCHMARK(BM_JScriptCheck_Corpus);

void BM_JScriptCheck_1MB(benchmark::State& state)
{
    static const std::string text = repeated(1 << 20);
    checkText(state, text);
}
BENCHMARK(BM_JScriptCheck_1MB);

void BM_JScriptCheck_50MB(benchmark::State& state)
{
    static const std::string text = repeated(50u << 20);
    checkText(state, text);
}
BENCHMARK(BM_JScriptCheck_50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
