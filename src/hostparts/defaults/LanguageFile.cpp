#include "hostparts/defaults/LanguageFile.h"

#include "common/General.h"
#include "platform/error/ErrorRecord.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zel {
namespace {

std::string_view trim(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string unescape(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char next = s[i + 1];
            if (next == 'n' || next == 't' || next == '\\') {
                out.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : '\\');
                ++i;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

} // namespace

bool LanguageFile::Open(std::string_view languageId, std::string_view folder)
{
    const std::string file = General::NativePath(std::string(folder) + "/" + std::string(languageId) + ".lng");
    std::ifstream in(file, std::ios::binary);
    if (languageId.empty() || !in)
        return false;
    Parse(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    return true;
}

void LanguageFile::Parse(std::string_view content)
{
    m_sections.clear();
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);
    std::string section;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = std::string(trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        m_sections[section][std::string(trim(line.substr(0, equals)))] = unescape(trim(line.substr(equals + 1)));
    }
}

std::string LanguageFile::Text(std::string_view section, std::string_view key)
{
    const auto s = m_sections.find(section);
    if (s != m_sections.end()) {
        const auto k = s->second.find(key);
        if (k != s->second.end())
            return k->second;
    }
    raise(ErrorNumber::InvalidArgument,
          "The language file has no text for key '" + std::string(key) + "' in section [" + std::string(section) + "]");
}

} // namespace zel
