#pragma once

#include "zel/ZelScriptEditor.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace zelhost {

// The component library loaded the way any host loads it: dlopen, then its exported entry
// points only.
class ComponentLibrary
{
public:
    // Loads the library; throws std::runtime_error when it or its entry points are missing.
    explicit ComponentLibrary(const std::filesystem::path& file);
    ~ComponentLibrary();
    ComponentLibrary(const ComponentLibrary&) = delete;
    ComponentLibrary& operator=(const ComponentLibrary&) = delete;

    // A new instance of a public class, cast to its interface; throws when it cannot be made.
    template <class T> std::unique_ptr<T> create(const char* clsid)
    {
        std::unique_ptr<zel::IComponent> object(createComponent(clsid));
        auto* typed = dynamic_cast<T*>(object.get());
        if (typed == nullptr)
            throw std::runtime_error(std::string("the class ") + clsid + " does not offer the expected interface");
        object.release();
        return std::unique_ptr<T>(typed);
    }

    // The library this program loads: libzelscript.so beside it (the build tree, a portable
    // copy), else the installed library at its place relative to the program's folder.
    static std::filesystem::path besideProgram();

    // The path-data folder to use by default: "data" beside the library when there is one, else
    // the installed one relative to the program's folder.
    static std::filesystem::path defaultPathData(const std::filesystem::path& library);

    // The folder of this program.
    static std::filesystem::path programFolder();

private:
    zel::IComponent* createComponent(const char* clsid);
    void* m_handle = nullptr;
    zel::DllGetClassObjectFn m_getClassObject = nullptr;
};

} // namespace zelhost
