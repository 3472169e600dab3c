#include "host/forms/IdleCheck.h"

#include "platform/script/EditorSyntaxCheck.h"

namespace zel {

IdleCheckResult checkInBackground(int generation, const std::string& language, const std::string& script)
{
    script::ScriptControl control;
    control.SetLanguage(language);
    std::string message;
    IdleCheckResult result;
    result.generation = generation;
    if (!script::checkScriptSyntax(control, script, message)) {
        const script::ScriptError& error = control.Error();
        result.Number = error.Number;
        result.Description = error.Description;
        result.Line = error.Line;
        result.Column = error.Column;
    }
    return result;
}

IdleCheck::IdleCheck(std::function<void(const IdleCheckResult&)> done)
    : m_done(std::move(done)), m_thread([this] { run(); })
{
}

IdleCheck::~IdleCheck()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void IdleCheck::request(int generation, std::string language, std::string script)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending = Request{generation, std::move(language), std::move(script)};
    }
    m_wake.notify_one();
}

void IdleCheck::run()
{
    for (;;) {
        Request next;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || m_pending; });
            if (m_stop)
                return;
            next = std::move(*m_pending);
            m_pending.reset();
        }
        try {
            m_done(checkInBackground(next.generation, next.language, next.script));
        } catch (...) {
            // A check that fails for want of memory leaves the script unmarked; the check button
            // still answers.
        }
    }
}

} // namespace zel
