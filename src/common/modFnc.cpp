#include "common/modFnc.h"

#include "common/General.h"
#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorRecord.h"

#include <pwd.h>
#include <unistd.h>

#include <filesystem>

namespace zel::modFnc {

std::unique_ptr<IComponent> CreateObject(std::string_view className, std::string_view serverName)
{
    try {
        if (!serverName.empty())
            raise(462, "The remote server machine does not exist or is unavailable: " + std::string(serverName));
        return com::ClassRegistry::instance().create(className);
    } catch (...) {
        rethrowWithTag(" modFnc.CreateObject() ");
    }
}

bool FSOFileDelete(std::string_view path)
{
    try {
        const std::filesystem::path file(General::NativePath(path));
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(file, ec)))
            return true;
        // Deleting needs write access to the folder only; the file's own read-only bit does
        // not matter on this system, which is what "forced" deletion asks for.
        if (!std::filesystem::remove(file, ec) || ec)
            raise(ErrorNumber::PathFileAccess, "Permission denied: cannot delete " + file.string() +
                                                   (ec ? " (" + ec.message() + ")" : std::string()));
        return true;
    } catch (...) {
        rethrowWithTag(" modFnc.FSOFileDelete() ");
    }
}

std::string UserName()
{
    std::string name;
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr)
        name = entry->pw_name;
    else if (const char* login = getlogin(); login != nullptr)
        name = login;
    if (name.size() > 100)
        name.resize(100);
    return name;
}

} // namespace zel::modFnc
