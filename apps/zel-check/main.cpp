// zel-check [--language VBScript|JScript] FILE...
//
// Checks the syntax of script files without running them. For each file it prints "FILE: OK", or
// "FILE:LINE:COLUMN: error NUMBER: DESCRIPTION" followed by the offending line. LINE and COLUMN
// count from 1, COLUMN in UTF-16 code units as the script control counts it. The language comes
// from --language, or else from the extension (.vbs, .js). "-" reads standard input (shown as
// "<stdin>", and needs --language). Exit status: 0 all pass, 1 some fail, 2 usage or I/O error.
#include "ToolOptions.h"
#include "platform/script/ScriptControl.h"
#include "platform/text/Text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kAllPass = 0;
constexpr int kSomeFail = 1;
constexpr int kUsageOrIo = 2;

const zel::tool::ToolInfo kTool{
    "zel-check", "[--language VBScript|JScript] FILE...",
    "  Checks the syntax of each script FILE without running it ('-' reads standard input).\n"
    "  Without --language, .vbs files are VBScript and .js files JScript.\n"
    "  Prints 'FILE: OK' or 'FILE:LINE:COLUMN: error NUMBER: DESCRIPTION' and the offending line.\n"
    "  Exit status: 0 all pass, 1 some fail, 2 usage or I/O error.\n"};

std::string lowerExtension(const std::string& path)
{
    std::size_t slash = path.find_last_of("/\\");
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c | 0x20 : c);
    return ext;
}

// Script files saved on Windows come as UTF-8 with or without a byte-order mark, or as UTF-16 with
// one; the control takes UTF-8.
std::string toUtf8(const std::string& bytes)
{
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return bytes.substr(3);
    bool le = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    bool be = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (!le && !be)
        return bytes;
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) {
        unsigned a = static_cast<unsigned char>(bytes[i]);
        unsigned b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(le ? a | (b << 8) : (a << 8) | b);
    };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                zel::Text::appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        zel::Text::appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

bool readAll(const std::string& path, std::string& text)
{
    if (path == "-") {
        std::ostringstream buffer;
        buffer << std::cin.rdbuf();
        if (std::cin.bad())
            return false;
        text = buffer.str();
        return true;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // The stream buffer throws on a read error (a directory, a device that fails) instead of setting bad.
    try {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return false;
    }
    return !in.bad();
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = zel::tool::answerHelpOrVersion(kTool, argc, argv))
        return *answered;
    std::string language;
    std::vector<std::string> files;
    bool optionsDone = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
            continue;
        }
        if (!optionsDone && (arg == "--language" || arg == "-l")) {
            if (i + 1 >= argc)
                return zel::tool::usageError(kTool, "--language needs a value");
            language = argv[++i];
            continue;
        }
        if (!optionsDone && arg.rfind("--language=", 0) == 0) {
            language = arg.substr(11);
            continue;
        }
        if (!optionsDone && arg.size() > 1 && arg[0] == '-')
            return zel::tool::usageError(kTool, "unknown option " + arg);
        files.push_back(arg);
    }
    if (files.empty())
        return zel::tool::usageError(kTool);
    if (!language.empty() && !zel::script::ScriptControl().SetLanguage(language)) {
        std::cerr << "zel-check: unknown language " << language << "\n";
        return kUsageOrIo;
    }

    bool anyFailed = false;
    bool anyIoError = false;
    for (const std::string& file : files) {
        const std::string shown = file == "-" ? "<stdin>" : file;
        std::string fileLanguage = language;
        if (fileLanguage.empty()) {
            std::string ext = lowerExtension(file);
            if (ext == ".vbs")
                fileLanguage = "VBScript";
            else if (ext == ".js")
                fileLanguage = "JScript";
        }
        if (fileLanguage.empty()) {
            std::cerr << "zel-check: " << shown << ": cannot tell the language; give --language\n";
            anyIoError = true;
            continue;
        }
        std::string bytes;
        if (!readAll(file, bytes)) {
            std::cerr << "zel-check: " << shown << ": cannot read the file\n";
            anyIoError = true;
            continue;
        }
        zel::script::ScriptControl control;
        if (!control.SetLanguage(fileLanguage)) {
            std::cerr << "zel-check: " << shown << ": language " << fileLanguage << " is not available\n";
            anyIoError = true;
            continue;
        }
        if (control.AddCode(toUtf8(bytes))) {
            std::cout << shown << ": OK\n";
            continue;
        }
        const zel::script::ScriptError& error = control.Error();
        std::cout << shown << ':' << error.Line << ':' << error.Column << ": error " << error.Number << ": "
                  << error.Description << '\n'
                  << error.Text << '\n';
        anyFailed = true;
    }
    std::cout.flush();
    if (anyIoError)
        return kUsageOrIo;
    return anyFailed ? kSomeFail : kAllPass;
}
