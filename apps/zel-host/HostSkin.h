#pragma once

#include "zel/ZelScriptEditor.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace zelhost {

// The demo host's skin: six colours read from the [Skin] section of a small settings file
//   [Skin]
//   Enabled=true
//   FormBackColor=#DDE3EC       ; "#RRGGBB", or "none" / "-1" for no colour
//   TabBackColor=#C9D6E8
//   ColorFont=#1B2A41
//   ButtonBackColor=#EEF2F8
//   ToolbarBackColor=#CFDBEA
//   ToolbarColorFont=#1B2A41
// These are also the built-in colours; a key that is missing keeps its built-in colour.
class HostSkin final : public zel::ISkin
{
public:
    // The built-in colours.
    HostSkin();

    // The skin of the settings file, or nothing when the file turns the skin off (Enabled=false).
    // A missing file gives the built-in skin; a colour that cannot be read is reported on standard
    // error and keeps its default.
    static std::optional<HostSkin> fromSettings(const std::filesystem::path& file);

    // The settings file in force: $ZEL_HOST_SETTINGS, else zel-host.ini beside the program.
    static std::filesystem::path settingsFile(const std::filesystem::path& programFolder);

    // "#RRGGBB" as 0x00BBGGRR; -1 for "none" or "-1"; nothing for anything else.
    static std::optional<int32_t> parseColor(const std::string& text);

    bool Invoke(std::string_view operation, int32_t& result) override;

private:
    std::map<std::string, int32_t, std::less<>> m_colors;
};

} // namespace zelhost
