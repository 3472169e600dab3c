// The four entry points of the in-process server and its class factory.

#include "component/FormToolkit.h"
#include "component/PublicClasses.h"
#include "platform/com/ClassRegistry.h"
#include "platform/module/Module.h"
#include "platform/text/Text.h"

#include <mutex>

namespace zel {
namespace {

void initialiseLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        registerLibraryClasses();
        installFormToolkit();
    });
}

class ClassFactory final : public IClassFactory
{
public:
    explicit ClassFactory(com::ClassRegistry::Creator creator) : m_creator(std::move(creator)) {}
    IComponent* CreateInstance() override { return m_creator().release(); }

private:
    com::ClassRegistry::Creator m_creator;
    com::ObjectCounter m_counter;
};

bool isPublicClass(std::string_view id)
{
    for (const char* known :
         {kClsidFormEngine, kClsidEngine, kClsidRobot, kProgIdFormEngine, kProgIdEngine, kProgIdRobot})
        if (Text::equalsIgnoringAsciiCase(id, known))
            return true;
    return false;
}

} // namespace
} // namespace zel

extern "C" ZEL_API int32_t DllGetClassObject(const char* clsid, zel::IClassFactory** factory)
{
    using namespace zel;
    if (factory == nullptr)
        return Result::Pointer;
    *factory = nullptr;
    if (clsid == nullptr || !isPublicClass(clsid))
        return Result::ClassNotAvailable;
    try {
        initialiseLibrary();
        com::ClassRegistry::Creator creator = com::ClassRegistry::instance().inProcessCreator(clsid);
        if (!creator)
            return Result::ClassNotAvailable;
        *factory = new ClassFactory(std::move(creator));
        return Result::Ok;
    } catch (...) {
        return Result::Fail;
    }
}

extern "C" ZEL_API int32_t DllCanUnloadNow()
{
    return zel::com::ObjectCounter::alive() == 0 ? zel::Result::Ok : zel::Result::False;
}

extern "C" ZEL_API int32_t DllRegisterServer()
{
    using namespace zel;
    try {
        const std::string library = Module::filePath().string();
        com::RegistrationFile::add({{kClsidFormEngine, kProgIdFormEngine, library},
                                    {kClsidEngine, kProgIdEngine, library},
                                    {kClsidRobot, kProgIdRobot, library}});
        return Result::Ok;
    } catch (...) {
        return Result::CannotRegister;
    }
}

extern "C" ZEL_API int32_t DllUnregisterServer()
{
    using namespace zel;
    try {
        com::RegistrationFile::removeLibrary(Module::filePath().string());
        return Result::Ok;
    } catch (...) {
        return Result::CannotRegister;
    }
}
