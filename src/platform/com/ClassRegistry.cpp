#include "platform/com/ClassRegistry.h"

#include "platform/error/ErrorRecord.h"
#include "platform/module/Module.h"
#include "platform/text/Text.h"

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zel::com {
namespace {

// Class ids compare without regard to letter case, as the platform's registry does; so do
// class names.
bool sameId(std::string_view a, std::string_view b)
{
    return Text::equalsIgnoringAsciiCase(a, b);
}

std::unique_ptr<IComponent> createFromLibrary(const RegistrationFile::Entry& entry, std::string_view requested)
{
    // Libraries stay loaded for the life of the process: objects they made may be alive anywhere.
    void* handle = dlopen(entry.library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        ClassRegistry::raiseCannotCreate(requested, std::string("cannot load ") + entry.library + ": " +
                                                        (why != nullptr ? why : "unknown reason"));
    }
    auto entryPoint = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (entryPoint == nullptr)
        ClassRegistry::raiseCannotCreate(requested, entry.library + " has no DllGetClassObject entry point");
    IClassFactory* rawFactory = nullptr;
    if (entryPoint(entry.clsid.c_str(), &rawFactory) != Result::Ok || rawFactory == nullptr)
        ClassRegistry::raiseCannotCreate(requested, entry.library + " does not provide the class");
    std::unique_ptr<IClassFactory> factory(rawFactory);
    std::unique_ptr<IComponent> object(factory->CreateInstance());
    if (!object)
        ClassRegistry::raiseCannotCreate(requested, "the class factory returned no object");
    return object;
}

bool isThisLibrary(const std::string& library)
{
    std::error_code ec;
    return !Module::filePath().empty() && std::filesystem::equivalent(library, Module::filePath(), ec);
}

} // namespace

ClassRegistry& ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::registerClass(const std::string& clsid, const std::string& progId, Creator creator)
{
    std::lock_guard lock(m_mutex);
    for (Class& c : m_classes) {
        if ((!clsid.empty() && sameId(c.clsid, clsid)) || (!progId.empty() && sameId(c.progId, progId))) {
            c = Class{clsid, progId, std::move(creator)};
            return;
        }
    }
    m_classes.push_back(Class{clsid, progId, std::move(creator)});
}

void ClassRegistry::unregisterClass(std::string_view clsidOrProgId)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_classes,
                  [&](const Class& c) { return sameId(c.clsid, clsidOrProgId) || sameId(c.progId, clsidOrProgId); });
}

const ClassRegistry::Class* ClassRegistry::find(std::string_view id) const
{
    for (const Class& c : m_classes)
        if ((!c.clsid.empty() && sameId(c.clsid, id)) || (!c.progId.empty() && sameId(c.progId, id)))
            return &c;
    return nullptr;
}

ClassRegistry::Creator ClassRegistry::inProcessCreator(std::string_view clsidOrProgId) const
{
    std::lock_guard lock(m_mutex);
    const Class* c = find(clsidOrProgId);
    return c != nullptr ? c->creator : Creator();
}

bool ClassRegistry::isRegistered(std::string_view clsidOrProgId) const
{
    return inProcessCreator(clsidOrProgId) || !RegistrationFile::lookup(clsidOrProgId).clsid.empty();
}

std::unique_ptr<IComponent> ClassRegistry::create(std::string_view clsidOrProgId) const
{
    if (clsidOrProgId.empty())
        raiseCannotCreate(clsidOrProgId, "no class id or class name was given");
    const RegistrationFile::Entry entry = RegistrationFile::lookup(clsidOrProgId);
    if (!entry.clsid.empty() && !isThisLibrary(entry.library))
        return createFromLibrary(entry, clsidOrProgId);
    Creator creator = inProcessCreator(clsidOrProgId);
    if (!creator && !entry.clsid.empty())
        creator = inProcessCreator(entry.clsid);
    if (!creator)
        raiseCannotCreate(clsidOrProgId, "the class is not registered");
    std::unique_ptr<IComponent> object = creator();
    if (!object)
        raiseCannotCreate(clsidOrProgId, "the class returned no object");
    return object;
}

void ClassRegistry::raiseCannotCreate(std::string_view clsidOrProgId, std::string_view why)
{
    raise(ErrorNumber::CannotCreateComponent,
          "Cannot create component '" + std::string(clsidOrProgId) + "': " + std::string(why));
}

namespace RegistrationFile {

std::filesystem::path path()
{
    if (const char* explicitPath = std::getenv("ZEL_CLASS_REGISTRY"); explicitPath != nullptr && *explicitPath)
        return explicitPath;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config)
        return std::filesystem::path(config) / "zelscript" / "classes.reg";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".config" / "zelscript" / "classes.reg";
}

std::vector<Entry> read()
{
    std::vector<Entry> entries;
    std::ifstream in(path());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Entry e;
        if (std::getline(fields, e.clsid, '\t') && std::getline(fields, e.progId, '\t') &&
            std::getline(fields, e.library) && !e.clsid.empty() && !e.library.empty())
            entries.push_back(std::move(e));
    }
    return entries;
}

namespace {

void writeAll(const std::vector<Entry>& entries)
{
    const std::filesystem::path target = path();
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    const std::filesystem::path temporary = target.string() + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "# Classes of in-process components: class id, class name, library.\n";
        for (const Entry& e : entries)
            out << e.clsid << '\t' << e.progId << '\t' << e.library << '\n';
        out.flush();
        if (!out)
            raise(ErrorNumber::PathFileAccess, "Cannot write the class registration file " + temporary.string());
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        raise(ErrorNumber::PathFileAccess, "Cannot replace the class registration file " + target.string());
    }
}

} // namespace

void add(const std::vector<Entry>& added)
{
    std::vector<Entry> entries = read();
    for (const Entry& a : added) {
        std::erase_if(entries, [&](const Entry& e) { return sameId(e.clsid, a.clsid); });
        entries.push_back(a);
    }
    writeAll(entries);
}

void removeLibrary(const std::string& library)
{
    std::vector<Entry> entries = read();
    std::erase_if(entries, [&](const Entry& e) { return e.library == library; });
    writeAll(entries);
}

Entry lookup(std::string_view clsidOrProgId)
{
    for (Entry& e : read())
        if (sameId(e.clsid, clsidOrProgId) || (!e.progId.empty() && sameId(e.progId, clsidOrProgId)))
            return e;
    return {};
}

} // namespace RegistrationFile
} // namespace zel::com
