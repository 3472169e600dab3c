#pragma once

#include <memory>

namespace zel {

class cRobot;

// The part of the process-wide state that belongs to the host layer: the robot script object the
// form engine creates and the editor and the wizard read and write. One copy per loaded library;
// a second form engine replaces what the first set. The state the lower layers read (path-data
// folder, language, skin, activity data) is zel::globals().
struct HostState
{
    std::shared_ptr<cRobot> gobjRobot;
};

HostState& hostState();

} // namespace zel
