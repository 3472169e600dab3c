#include "hostparts/defaults/DefaultComponents.h"

#include "hostparts/defaults/LanguageFile.h"
#include "hostparts/defaults/SharedData.h"
#include "hostparts/defaults/SmallComponents.h"
#include "platform/com/ClassRegistry.h"

namespace zel {
namespace {

template <class T>
void registerIfMissing(const char* clsid, const char* progId = "")
{
    auto& registry = com::ClassRegistry::instance();
    if (!registry.inProcessCreator(clsid))
        registry.registerClass(clsid, progId, [] { return std::make_unique<T>(); });
}

} // namespace

void registerDefaultComponents()
{
    registerIfMissing<SharedData>(kClsidSharedData);
    registerIfMissing<LanguageFile>(kClsidLanguageFile);
    registerIfMissing<LogComponent>(kClsidLogComponent);
    registerIfMissing<DataEncode>(kClsidDataEncode, kProgIdDataEncode);
    registerIfMissing<WindowComponent>(kClsidWindowComponent);
    registerIfMissing<WizardCancel>(kClsidWizardCancel);
}

} // namespace zel
