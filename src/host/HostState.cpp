#include "host/HostState.h"

#include "host/cRobot.h"

namespace zel {

HostState& hostState()
{
    static HostState state;
    return state;
}

} // namespace zel
