#include "platform/module/UserFiles.h"

#include "platform/module/Module.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace zel::UserFiles {
namespace {

std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : ".";
}

// An XDG variable counts only when it holds an absolute path; otherwise the default below HOME.
std::filesystem::path xdgFolder(const char* variable, const char* besideHome)
{
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/')
        return std::filesystem::path(value) / "zelscript";
    return homeFolder() / besideHome / "zelscript";
}

std::filesystem::path created(const std::filesystem::path& folder)
{
    std::error_code ec;
    if (std::filesystem::create_directories(folder, ec))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    return folder;
}

} // namespace

bool besideComponent()
{
    return access(Module::folder().c_str(), W_OK) == 0;
}

std::filesystem::path stateFolder()
{
    return xdgFolder("XDG_STATE_HOME", ".local/state");
}

std::filesystem::path configFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path stateFile(std::string_view name)
{
    if (besideComponent())
        return Module::folder() / name;
    return created(stateFolder()) / name;
}

std::filesystem::path settingsFileToRead(std::string_view name)
{
    if (!besideComponent()) {
        std::error_code ec;
        std::filesystem::path own = configFolder() / name;
        if (std::filesystem::exists(own, ec))
            return own;
    }
    return Module::dataFolder() / name;
}

std::filesystem::path settingsFileToWrite(std::string_view name)
{
    const std::filesystem::path installed = Module::dataFolder() / name;
    if (besideComponent())
        return installed;
    const std::filesystem::path own = created(configFolder()) / name;
    std::error_code ec;
    if (!std::filesystem::exists(own, ec) && std::filesystem::exists(installed, ec))
        std::filesystem::copy_file(installed, own, ec);
    return own;
}

} // namespace zel::UserFiles
