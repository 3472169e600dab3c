// Check throughput on the realistic fixture scripts: each script is one unit, as the editor checks it.
#include "platform/script/ScriptControl.h"
#include "platform/script/vbscript/VBScriptParser.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::string> loadCorpus()
{
    std::vector<std::string> scripts;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ZEL_TEST_DATA_DIR) + "/script/vbscript")) {
        if (entry.path().filename().string().rfind("ok_", 0) != 0)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        scripts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return scripts;
}

void BM_VBScriptCheck(benchmark::State& state)
{
    const std::vector<std::string> scripts = loadCorpus();
    std::size_t bytes = 0;
    for (const std::string& s : scripts)
        bytes += s.size();
    if (scripts.empty()) {
        state.SkipWithError("no fixture scripts found");
        return;
    }
    // A script that stopped at an early error would make the figure meaningless.
    for (const std::string& s : scripts) {
        if (!zel::script::vbscript::check(s).ok()) {
            state.SkipWithError("a fixture script does not compile");
            return;
        }
    }
    for (auto _ : state) {
        for (const std::string& s : scripts) {
            zel::script::Diagnostic verdict = zel::script::vbscript::check(s);
            benchmark::DoNotOptimize(verdict);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_VBScriptCheck);

// One long script, as an administrator's 10,000-line WSH script: the fixtures' procedures repeated
// under fresh names inside one unit.
void BM_VBScriptCheckLongScript(benchmark::State& state)
{
    std::string unit;
    for (int copy = 0; copy < 200; ++copy) {
        unit += "Function Compute" + std::to_string(copy) +
                "(a, b)\r\n"
                "    Dim i, s : s = \"\"\r\n"
                "    For i = 1 To Len(a)\r\n"
                "        Select Case Mid(a, i, 1)\r\n"
                "            Case \"x\", \"y\" : s = s & UCase(Mid(a, i, 1))\r\n"
                "            Case Else\r\n"
                "                If IsNumeric(b) And b > 0 Then s = s & b Else s = s & \"-\"\r\n"
                "        End Select\r\n"
                "    Next\r\n"
                "    ' Build the answer from the parts collected above.\r\n"
                "    Compute" +
                std::to_string(copy) +
                " = \"<r a=\"\"\" & s & \"\"\"/>\" & vbCrLf\r\n"
                "End Function\r\n"
                "WScript.Echo Compute" +
                std::to_string(copy) + "(\"xyz\", " + std::to_string(copy) + ")\r\n";
    }
    if (!zel::script::vbscript::check(unit).ok()) {
        state.SkipWithError("the long script does not compile");
        return;
    }
    for (auto _ : state) {
        zel::script::Diagnostic verdict = zel::script::vbscript::check(unit);
        benchmark::DoNotOptimize(verdict);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * unit.size()));
}
BENCHMARK(BM_VBScriptCheckLongScript);

// The whole path of one editor check of a failing script, line and column included.
void BM_ScriptControlFailingCheck(benchmark::State& state)
{
    std::string script = loadCorpus().front() + "\r\nx = \"open\r\n";
    for (auto _ : state) {
        zel::script::ScriptControl control;
        benchmark::DoNotOptimize(control.AddCode(script));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * script.size()));
}
BENCHMARK(BM_ScriptControlFailingCheck);

} // namespace
