#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace zel {

// The first error of a script as the background check found it; Number 0 when it compiles.
struct IdleCheckResult
{
    int generation = 0;
    int Number = 0;
    std::string Description;
    int Line = 0;
    int Column = 0;
};

// Checks scripts on a thread of its own, so that typing never waits for a check. Each request
// replaces the one still waiting; each check uses a new script engine that only parses. The
// answer goes to `done` on the worker thread (which must hand it to the window's thread).
class IdleCheck
{
public:
    explicit IdleCheck(std::function<void(const IdleCheckResult&)> done);
    // Waits for a check under way, then ends the thread.
    ~IdleCheck();
    IdleCheck(const IdleCheck&) = delete;
    IdleCheck& operator=(const IdleCheck&) = delete;

    void request(int generation, std::string language, std::string script);

private:
    struct Request
    {
        int generation;
        std::string language;
        std::string script;
    };
    void run();

    std::function<void(const IdleCheckResult&)> m_done;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_pending;
    bool m_stop = false;
    std::thread m_thread;
};

// Runs the editor's check on a fresh engine of the language.
IdleCheckResult checkInBackground(int generation, const std::string& language, const std::string& script);

} // namespace zel
