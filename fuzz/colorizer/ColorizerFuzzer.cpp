// Colours arbitrary bytes and reads the RTF back: the document must show exactly the text that
// Colorizer::shownText promises, whatever the input.
#include "hostparts/colorizer/Colorizer.h"
#include "platform/rtf/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "fuzz_colorizer";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string rtf = zel::hostparts::Colorizer().Colorize(text);
    if (rtf.rfind("{\\rtf1", 0) != 0 || rtf.back() != '}') {
        std::fprintf(stderr, "not an RTF document\n");
        std::abort();
    }
    QTextDocument doc;
    zel::rtf::RtfReader().read(rtf, doc);
    const std::string shown = doc.toPlainText().toStdString();
    if (shown != zel::hostparts::Colorizer::shownText(text)) {
        std::fprintf(stderr, "round trip differs:\n%s\n", rtf.c_str());
        std::abort();
    }
    return 0;
}
