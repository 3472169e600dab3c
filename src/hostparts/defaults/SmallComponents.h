#pragma once

#include "platform/com/ClassRegistry.h"
#include "zel/ZelScriptEditor.h"

#include <filesystem>
#include <string>

namespace zel {

// The default log component of error reports: writes each report (the first of its two calls)
// to a log of its own, "<name>.Reports.Log" beside the component or in the per-user state
// folder (UserFiles::stateFile), with the context text.
// It never raises: a report that cannot be written is told on standard error.
class LogComponent final : public ILogComponent
{
public:
    void Report(int32_t kind, std::string_view description, std::string_view title, std::string_view source,
                const ErrorRecord& error, int32_t flag, std::string_view contextText, double level, int32_t reserved1,
                int32_t reserved2, std::string_view extra, int32_t reserved3) override;

    static std::filesystem::path filePath();

private:
    com::ObjectCounter m_counter;
};

// The default data-encoding component. Stored values have the form "ZEL1:" followed by the
// base64 text of their UTF-8 bytes; this keeps passwords out of plain sight in activity files
// but is no protection against a reader who knows the format. A value without the prefix is
// taken as clear text, and a malformed one raises 5.
class DataEncode final : public IDataEncode
{
public:
    std::string Decrypt(std::string_view stored) override;
    // The stored form of clear text.
    static std::string Encode(std::string_view clear);

private:
    com::ObjectCounter m_counter;
};

// The default window component: remembers the editor's window handle, nothing more.
class WindowComponent final : public IWindowComponent
{
public:
    void SetWindow(int64_t windowHandle) override { m_window = windowHandle; }
    int64_t window() const { return m_window; }

private:
    int64_t m_window = 0;
    com::ObjectCounter m_counter;
};

// The default wizard-cancel component: takes the call and does nothing.
class WizardCancel final : public IWizardCancel
{
public:
    void Cancel() override {}

private:
    com::ObjectCounter m_counter;
};

} // namespace zel
