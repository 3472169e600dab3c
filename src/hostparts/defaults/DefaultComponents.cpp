#include "hostparts/defaults/DefaultComponents.h"

#include "hostparts/colorizer/Colorizer.h"
#include "hostparts/defaults/LanguageFile.h"
#include "hostparts/defaults/SharedData.h"
#include "hostparts/defaults/SmallComponents.h"
#include "platform/com/ClassRegistry.h"

namespace zel {
namespace {

// The colouring component as the editor creates it by class id: one instance per colouring.
class ColorizerComponent final : public IColorizer
{
public:
    std::string Colorize(std::string_view plainText) override { return m_colorizer.Colorize(plainText); }

private:
    hostparts::Colorizer m_colorizer;
    com::ObjectCounter m_counter;
};

template <class T> void registerIfMissing(const char* clsid, const char* progId = "")
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
    registerIfMissing<ColorizerComponent>(kClsidColorizer);
}

} // namespace zel
