#include "HostSkin.h"

#include <QSettings>

#include <cstdlib>
#include <iostream>

namespace zelhost {
namespace {

// Operation name, settings key, built-in colour (0x00BBGGRR): a calm blue-grey theme.
struct Entry
{
    const char* operation;
    const char* key;
    int32_t color;
};
constexpr Entry kEntries[] = {
    {"GetFormBackColor", "FormBackColor", 0xECE3DD},       // #DDE3EC
    {"GetTabBackColor", "TabBackColor", 0xE8D6C9},         // #C9D6E8
    {"GetColorFont", "ColorFont", 0x412A1B},               // #1B2A41
    {"GetButtonBackColor", "ButtonBackColor", 0xF8F2EE},   // #EEF2F8
    {"GetToolbarBackColor", "ToolbarBackColor", 0xEADBCF}, // #CFDBEA
    {"GetToolbarColorFont", "ToolbarColorFont", 0x412A1B}, // #1B2A41
};

} // namespace

HostSkin::HostSkin()
{
    for (const Entry& entry : kEntries)
        m_colors[entry.operation] = entry.color;
}

std::optional<int32_t> HostSkin::parseColor(const std::string& text)
{
    if (text == "none" || text == "-1")
        return -1;
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    char* end = nullptr;
    const unsigned long rgb = std::strtoul(text.c_str() + 1, &end, 16);
    if (end != text.c_str() + 7)
        return std::nullopt;
    const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return static_cast<int32_t>(r | (g << 8) | (b << 16));
}

std::optional<HostSkin> HostSkin::fromSettings(const std::filesystem::path& file)
{
    HostSkin skin;
    if (file.empty() || !std::filesystem::exists(file))
        return skin;
    QSettings settings(QString::fromStdString(file.string()), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Skin"));
    if (!settings.value(QStringLiteral("Enabled"), true).toBool())
        return std::nullopt;
    for (const Entry& entry : kEntries) {
        const QVariant value = settings.value(QLatin1String(entry.key));
        if (!value.isValid())
            continue;
        // QSettings reads an unquoted "#..." as a comment-free string, but a "-1" as text too.
        const std::string text = value.toString().trimmed().toStdString();
        if (const std::optional<int32_t> color = parseColor(text))
            skin.m_colors[entry.operation] = *color;
        else
            std::cerr << "zel-host: " << file.string() << ": " << entry.key << "=" << text
                      << " is not a colour (#RRGGBB or none); the default is kept\n";
    }
    return skin;
}

std::filesystem::path HostSkin::settingsFile(const std::filesystem::path& programFolder)
{
    if (const char* chosen = std::getenv("ZEL_HOST_SETTINGS"); chosen != nullptr && *chosen != '\0')
        return chosen;
    return programFolder / "zel-host.ini";
}

bool HostSkin::Invoke(std::string_view operation, int32_t& result)
{
    const auto found = m_colors.find(operation);
    if (found == m_colors.end())
        return false;
    result = found->second;
    return true;
}

} // namespace zelhost
