// A host's own component library: provides a data-encoding component that reverses the text,
// to prove that the registration file routes creation into another library.

#include "zel/ZelScriptEditor.h"

#include <cstring>
#include <string>

namespace {

constexpr char kPluginClsid[] = "{0D1E2F30-4152-6374-8596-A7B8C9DAEBFC}";

class ReversingEncode final : public zel::IDataEncode
{
public:
    std::string Decrypt(std::string_view stored) override { return std::string(stored.rbegin(), stored.rend()); }
};

class Factory final : public zel::IClassFactory
{
public:
    zel::IComponent* CreateInstance() override { return new ReversingEncode; }
};

} // namespace

extern "C" ZEL_API int32_t DllGetClassObject(const char* clsid, zel::IClassFactory** factory)
{
    if (factory == nullptr)
        return zel::Result::Pointer;
    if (clsid == nullptr || std::strcmp(clsid, kPluginClsid) != 0)
        return zel::Result::ClassNotAvailable;
    *factory = new Factory;
    return zel::Result::Ok;
}
