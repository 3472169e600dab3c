#include "platform/module/Module.h"

#include <dlfcn.h>
#include <link.h>

#include <mutex>
#include <optional>

namespace zel::Module {
namespace {

struct Location
{
    std::filesystem::path folder;
    std::string baseName;
    std::filesystem::path file;
    std::filesystem::path dataFolder;
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

// "libzelscript.so.1.0" and "libzelscript.so" both name the component "libzelscript".
std::string baseNameOf(const std::filesystem::path& file)
{
    const std::string name = file.filename().string();
    for (std::size_t at = name.find(".so"); at != std::string::npos; at = name.find(".so", at + 1))
        if (at > 0 && (at + 3 == name.size() || name[at + 3] == '.'))
            return name.substr(0, at);
    return file.stem().string();
}

// An installed library lies in the library folder and a tool in the program folder; both find
// the data folder at the relative place the build recorded from the install layout.
std::filesystem::path dataFolderBeside(const std::filesystem::path& folder)
{
    for (const char* relative : {ZEL_DATA_FROM_LIBDIR, ZEL_DATA_FROM_BINDIR}) {
        std::error_code ec;
        const std::filesystem::path candidate = (folder / relative).lexically_normal();
        if (std::filesystem::is_directory(candidate, ec))
            return candidate;
    }
    return folder;
}

// dladdr on a function of this module names the file the code was loaded from: the shared
// library when a host loaded us. For the main program the loader keeps no path (dladdr would
// answer with argv[0], relative to wherever the program was started), so the running program's
// own file is asked for instead.
Location realLocation()
{
    static const Location location = [] {
        Dl_info info{};
        link_map* map = nullptr;
        std::filesystem::path loaded;
        if (dladdr1(reinterpret_cast<const void*>(&realLocation), &info, reinterpret_cast<void**>(&map),
                    RTLD_DL_LINKMAP) != 0 &&
            map != nullptr && map->l_name != nullptr && map->l_name[0] != '\0') {
            loaded = map->l_name;
        } else {
            std::error_code ec;
            loaded = std::filesystem::read_symlink("/proc/self/exe", ec);
        }
        if (loaded.has_parent_path()) {
            std::error_code ec;
            std::filesystem::path folder = std::filesystem::weakly_canonical(loaded.parent_path(), ec);
            if (ec)
                folder = loaded.parent_path();
            return Location{folder, baseNameOf(loaded), folder / loaded.filename(), dataFolderBeside(folder)};
        }
        const std::filesystem::path folder = std::filesystem::current_path();
        return Location{folder, "zelscript", {}, folder};
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

std::filesystem::path dataFolder()
{
    return current().dataFolder;
}

void overrideLocation(const std::filesystem::path& folder, const std::string& baseName,
                      const std::filesystem::path& dataFolder)
{
    std::lock_guard lock(locationMutex());
    if (folder.empty())
        overridden().reset();
    else
        overridden() =
            Location{folder, baseName, folder / baseName, dataFolder.empty() ? dataFolderBeside(folder) : dataFolder};
}

} // namespace zel::Module
