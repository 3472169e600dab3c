// Reads arbitrary bytes as RTF. Any input must give a document, and the same document twice.
#include "platform/rtf/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    QTextDocument first;
    zel::rtf::RtfReader().read(rtf, first);
    QTextDocument second;
    zel::rtf::RtfReader().read(rtf, second);
    if (first.toRawText() != second.toRawText()) {
        std::fprintf(stderr, "the same RTF gave two different documents\n");
        std::abort();
    }
    return 0;
}
