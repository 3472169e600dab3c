#include "platform/error/Clock.h"

#include <ctime>

namespace zel::Clock {

std::string generalDate(std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[32];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(buffer, n);
}

std::string generalDateNow()
{
    return generalDate(std::chrono::system_clock::now());
}

} // namespace zel::Clock
