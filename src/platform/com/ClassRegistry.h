#pragma once

#include "zel/ZelScriptEditor.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zel::com {

// Creates components by class id ("{...}") or class name ("OMBRELDataEncode.Encode"), the way
// the system creates the host product's components. Classes come from two places: those
// registered in this process (the library's defaults, or a host's own), and the per-user
// registration file, whose entries name a library with a DllGetClassObject entry point. An
// entry of the file for another library wins over an in-process class of the same id.
class ClassRegistry
{
public:
    using Creator = std::function<std::unique_ptr<IComponent>()>;

    static ClassRegistry& instance();

    // Registers (or replaces) an in-process class under its id and name (either may be empty).
    void registerClass(const std::string& clsid, const std::string& progId, Creator creator);
    // Forgets an in-process class, by id or by name. Unknown ids are ignored.
    void unregisterClass(std::string_view clsidOrProgId);
    // True when an in-process class or a file entry answers to the id or name.
    bool isRegistered(std::string_view clsidOrProgId) const;

    // A new instance; throws an error record 429 when the class is unknown, its library cannot
    // be loaded, or its factory fails.
    std::unique_ptr<IComponent> create(std::string_view clsidOrProgId) const;

    // A new instance of the interface T; 429 also when the object does not implement T.
    template <class T> std::unique_ptr<T> createAs(std::string_view clsidOrProgId) const
    {
        std::unique_ptr<IComponent> object = create(clsidOrProgId);
        if (auto* typed = dynamic_cast<T*>(object.get())) {
            object.release();
            return std::unique_ptr<T>(typed);
        }
        raiseCannotCreate(clsidOrProgId, "the object does not offer the expected interface");
    }

    // The in-process creator for an id or name; empty when none is registered.
    Creator inProcessCreator(std::string_view clsidOrProgId) const;

    [[noreturn]] static void raiseCannotCreate(std::string_view clsidOrProgId, std::string_view why);

private:
    struct Class
    {
        std::string clsid;
        std::string progId;
        Creator creator;
    };
    const Class* find(std::string_view clsidOrProgId) const;

    mutable std::mutex m_mutex;
    std::vector<Class> m_classes;
};

// The per-user registration file: one class a line, "CLSID<TAB>ProgId<TAB>library path".
// Its place is $ZEL_CLASS_REGISTRY when set, else $XDG_CONFIG_HOME/zelscript/classes.reg, else
// ~/.config/zelscript/classes.reg.
namespace RegistrationFile {

struct Entry
{
    std::string clsid;
    std::string progId;
    std::string library;
};

std::filesystem::path path();
// Every entry of the file; none when the file is missing. Malformed lines are skipped.
std::vector<Entry> read();
// Adds or replaces the entries (matched by class id), writing the file atomically.
void add(const std::vector<Entry>& entries);
// Removes every entry of that library, writing the file atomically.
void removeLibrary(const std::string& library);
// The entry for an id or name, or an entry with an empty clsid.
Entry lookup(std::string_view clsidOrProgId);

} // namespace RegistrationFile

// Counts the objects of the public classes alive, for DllCanUnloadNow. A public class holds one
// as a member.
class ObjectCounter
{
public:
    ObjectCounter() { ++s_alive; }
    ObjectCounter(const ObjectCounter&) { ++s_alive; }
    ObjectCounter& operator=(const ObjectCounter&) = default;
    ~ObjectCounter() { --s_alive; }
    static int alive() { return s_alive.load(); }

private:
    static inline std::atomic<int> s_alive{0};
};

} // namespace zel::com
