// Reads arbitrary bytes followed by one well-formed entry as a language file: whatever comes
// before, the entry's text must be read back exactly as it was written (escapes decoded).
#include "hostparts/defaults/LanguageFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool blank(char c)
{
    return c == ' ' || c == '\t';
}

// A name the file format can hold: one line, no surrounding blanks, and for a key no '='.
bool writable(const std::string& name, bool key)
{
    if (name.find_first_of(key ? "\r\n=" : "\r\n") != std::string::npos)
        return false;
    if (key && (name.empty() || name[0] == ';' || name[0] == '#' || name[0] == '['))
        return false;
    return name.empty() || (!blank(name.front()) && !blank(name.back()));
}

std::string escaped(const std::string& value)
{
    std::string out;
    for (const char c : value)
        out += c == '\n' ? "\\n" : c == '\t' ? "\\t" : c == '\\' ? "\\\\" : std::string(1, c);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string before = input.ConsumeRemainingBytesAsString();

    zel::LanguageFile file;
    file.Parse(before);
    if (!writable(section, false) || !writable(key, true) || value.find('\r') != std::string::npos ||
        (!value.empty() && (value.front() == ' ' || value.back() == ' ')))
        return 0;
    file.Parse(before + "\n[" + section + "]\n" + key + " = " + escaped(value) + "\n");
    std::string read;
    try {
        read = file.Text(section, key);
    } catch (const zel::ErrorRecord& e) {
        std::fprintf(stderr, "the entry written last was not found: %s\n", e.Description.c_str());
        std::abort();
    }
    if (read != value) {
        std::fprintf(stderr, "wrote [%s] %s = '%s', read '%s'\n", section.c_str(), key.c_str(), value.c_str(),
                     read.c_str());
        std::abort();
    }
    return 0;
}
