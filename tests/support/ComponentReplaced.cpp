#include "support/TestSupport.h"

#include "hostparts/defaults/DefaultComponents.h"

// Apart from the other helpers, so that only the tests that replace a component link the
// default components.

namespace zel::test {

ComponentReplaced::ComponentReplaced(const char* clsid, com::ClassRegistry::Creator creator) : m_clsid(clsid)
{
    com::ClassRegistry::instance().unregisterClass(clsid);
    if (creator)
        com::ClassRegistry::instance().registerClass(clsid, "", std::move(creator));
}

ComponentReplaced::~ComponentReplaced()
{
    com::ClassRegistry::instance().unregisterClass(m_clsid);
    registerDefaultComponents();
}

} // namespace zel::test
