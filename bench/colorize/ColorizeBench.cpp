// Colouring and reading back a 10,000-line script, as the editor does on every Colour click.
#include "hostparts/colorizer/Colorizer.h"
#include "platform/rtf/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kLines = 10000;

void ensureGui()
{
    static int argc = 1;
    static char name[] = "bench_colorize";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv); // lives as long as the program
    }
}

// A realistic script of exactly kLines lines, made of a real script repeated.
std::string longScript(const char* name)
{
    std::ifstream in(std::string(ZEL_TEST_DATA_DIR) + "/colorizer/" + name, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string piece = buffer.str();
    std::string script;
    int lines = 0;
    std::size_t pos = 0;
    while (lines < kLines && !piece.empty()) {
        const std::size_t end = piece.find('\n', pos);
        script.append(piece, pos, end - pos + 1);
        ++lines;
        pos = (end == std::string::npos || end + 1 >= piece.size()) ? 0 : end + 1;
    }
    return script;
}

const std::string& script(int which)
{
    static const std::string vbs = longScript("InvoiceReminder.vbs");
    static const std::string js = longScript("OrderSync.js");
    return which == 0 ? vbs : js;
}

void setLabel(benchmark::State& state, const std::string& text)
{
    state.SetLabel(state.range(0) == 0 ? "VBScript" : "JScript");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Colorize(benchmark::State& state)
{
    const std::string& text = script(static_cast<int>(state.range(0)));
    const zel::hostparts::Colorizer colorizer;
    for (auto _ : state)
        benchmark::DoNotOptimize(colorizer.Colorize(text));
    setLabel(state, text);
}

void BM_ReadRtf(benchmark::State& state)
{
    ensureGui();
    const std::string& text = script(static_cast<int>(state.range(0)));
    const std::string rtf = zel::hostparts::Colorizer().Colorize(text);
    QTextDocument doc;
    for (auto _ : state) {
        zel::rtf::RtfReader().read(rtf, doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    setLabel(state, text);
}

void BM_ColorizeAndRead(benchmark::State& state)
{
    ensureGui();
    const std::string& text = script(static_cast<int>(state.range(0)));
    const zel::hostparts::Colorizer colorizer;
    QTextDocument doc;
    for (auto _ : state) {
        zel::rtf::RtfReader().read(colorizer.Colorize(text), doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    setLabel(state, text);
}

} // namespace

BENCHMARK(BM_Colorize)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRtf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorizeAndRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
