#include "ComponentLibrary.h"

#include <dlfcn.h>

namespace zelhost {

ComponentLibrary::ComponentLibrary(const std::filesystem::path& file)
{
    m_handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        const char* why = dlerror();
        throw std::runtime_error("cannot load " + file.string() + ": " + (why != nullptr ? why : "unknown reason"));
    }
    m_getClassObject = reinterpret_cast<zel::DllGetClassObjectFn>(dlsym(m_handle, "DllGetClassObject"));
    if (m_getClassObject == nullptr)
        throw std::runtime_error(file.string() + " has no DllGetClassObject entry point");
}

ComponentLibrary::~ComponentLibrary()
{
    // The library stays mapped: objects it made may still be referenced by the toolkit (fonts,
    // styles) until the process ends, and unloading gains nothing for a short-lived host.
}

zel::IComponent* ComponentLibrary::createComponent(const char* clsid)
{
    zel::IClassFactory* rawFactory = nullptr;
    const int32_t result = m_getClassObject(clsid, &rawFactory);
    if (result != zel::Result::Ok || rawFactory == nullptr)
        throw std::runtime_error(std::string("DllGetClassObject refused ") + clsid + " (result " +
                                 std::to_string(result) + ")");
    std::unique_ptr<zel::IClassFactory> factory(rawFactory);
    zel::IComponent* object = factory->CreateInstance();
    if (object == nullptr)
        throw std::runtime_error(std::string("the factory of ") + clsid + " returned no object");
    return object;
}

std::filesystem::path ComponentLibrary::programFolder()
{
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : program.parent_path();
}

std::filesystem::path ComponentLibrary::besideProgram()
{
    const std::filesystem::path beside = programFolder() / "libzelscript.so";
    std::error_code ec;
    if (std::filesystem::exists(beside, ec))
        return beside;
    return (programFolder() / ZEL_LIB_FROM_BINDIR / ZEL_LIBRARY_SONAME).lexically_normal();
}

std::filesystem::path ComponentLibrary::defaultPathData(const std::filesystem::path& library)
{
    const std::filesystem::path beside = library.parent_path() / "data";
    std::error_code ec;
    if (std::filesystem::is_directory(beside, ec))
        return beside;
    return (programFolder() / ZEL_DATA_FROM_BINDIR / "data").lexically_normal();
}

} // namespace zelhost
