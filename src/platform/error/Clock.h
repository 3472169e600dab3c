#pragma once

#include <chrono>
#include <string>

namespace zel::Clock {

// A date and time in the system's general form, local time: "2026-12-06 14:05:09".
std::string generalDate(std::chrono::system_clock::time_point when);

// generalDate() of the current moment.
std::string generalDateNow();

} // namespace zel::Clock
