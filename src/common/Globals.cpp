#include "common/Globals.h"

namespace zel {

Globals& globals()
{
    static Globals state;
    return state;
}

} // namespace zel
