#include "platform/module/Module.h"

#include <dlfcn.h>

#include <mutex>
#include <optional>

namespace zel::Module {
namespace {

struct Location
{
    std::filesystem::path folder;
    std::string baseName;
    std::filesystem::path file;
};

std::mutex& locationMutex()
{
    static std::mutex m;
    return m;
}

std::optional<Location>& overridden()
{
    static std::optional<Location> location;
    return location;
}

// dladdr on a function of this module names the file the code was loaded from, which is the
// shared library when a host loaded us and the executable otherwise.
Location realLocation()
{
    static const Location location = [] {
        Dl_info info{};
        if (dladdr(reinterpret_cast<const void*>(&realLocation), &info) != 0 && info.dli_fname != nullptr) {
            std::error_code ec;
            std::filesystem::path file = std::filesystem::weakly_canonical(info.dli_fname, ec);
            if (ec)
                file = info.dli_fname;
            return Location{file.parent_path(), file.stem().string(), file};
        }
        return Location{std::filesystem::current_path(), "zelscript", {}};
    }();
    return location;
}

Location current()
{
    std::lock_guard lock(locationMutex());
    if (overridden())
        return *overridden();
    return realLocation();
}

} // namespace

std::filesystem::path folder()
{
    return current().folder;
}

std::filesystem::path filePath()
{
    return current().file;
}

std::string baseName()
{
    return current().baseName;
}

void overrideLocation(const std::filesystem::path& folder, const std::string& baseName)
{
    std::lock_guard lock(locationMutex());
    if (folder.empty())
        overridden().reset();
    else
        overridden() = Location{folder, baseName, folder / baseName};
}

} // namespace zel::Module
